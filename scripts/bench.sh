#!/usr/bin/env bash
# Builds the benchmarks in build-bench/ (Release, the bench preset) and runs them: the master-file scan, "Enter
# Response" and "display SEND file", each next to the plainest code that does the same work, and a keystroke in the
# Answer box with drafts kept and without. Arguments go to every
# benchmark program (for example --benchmark_filter=Scan). Results are also kept as JSON in build-bench/bench-results/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh build tests bench
cmake --preset bench >/dev/null
cmake --build --preset bench -j"$(nproc)"

results=build-bench/bench-results
mkdir -p "$results"
run() {
    local name=$1
    shift
    echo "== $name"
    "build-bench/bench/$name" --benchmark_out="$results/$name.json" --benchmark_out_format=json "$@"
}

# About 100 MB read per iteration: two seconds give each of the three readers tens of iterations.
run scan_benchmark --benchmark_min_time=2 "$@"
# Both wait on fdatasync, so the disk's moods are evened out by interleaved repetitions and the median.
run recording_benchmark --benchmark_min_time=1 --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true "$@"
run display_benchmark --benchmark_min_time=1 --benchmark_repetitions=3 --benchmark_report_aggregates_only=true "$@"
# Drafts on and off side by side, interleaved, so that the machine's moods fall on both alike.
run keystroke_benchmark --benchmark_min_time=1 --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true "$@"
