#!/usr/bin/env bash
# Builds the Windows benchmarks in build-windows/ (the windows preset) and runs them under a Wine of their own, each
# side by side with its baseline in one run:
# - one Enter Response on the Windows file layer against two bare durable appends of the same bytes;
# - a letter and a Backspace in the Answer box of the real Windows window, with drafts kept and without.
# Arguments go to each benchmark: the number of repetitions (11) and the seconds of each (1).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh windows
cmake --preset windows >/dev/null
cmake --build --preset windows --target recording_benchmark_win32 keystroke_benchmark_win32 \
    -j"${BENCH_JOBS:-$(nproc)}"

for benchmark in recording_benchmark_win32 keystroke_benchmark_win32; do
    echo "== $benchmark"
    bash scripts/lib/in-own-wine-session.sh wine "build-windows/bench/windows/$benchmark.exe" "$@"
done
