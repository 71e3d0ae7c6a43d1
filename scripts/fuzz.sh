#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and UndefinedBehaviorSanitizer in
# build-fuzz/ (the fuzz preset), and runs each for a bounded time from its seed corpus in fuzz/corpus/<target>/.
# Fails on the first crash, leak, sanitizer report or broken invariant; the input that did it is kept in
# build-fuzz/artifacts/.
# FUZZ_SECONDS sets the time per target (60 by default); arguments name the targets to run (all by default).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=$ROOT/build-fuzz # the fuzz preset's folder
SECONDS_EACH=${FUZZ_SECONDS:-60}

bash scripts/install-packages.sh fuzz
# A build-fuzz/ once configured from fuzz/ alone cannot be configured from the top folder: its configuration
# goes, the corpus and the crash inputs stay.
if grep -qs '^CMAKE_HOME_DIRECTORY:INTERNAL=.*/fuzz$' "$BUILD/CMakeCache.txt"; then
    rm -rf "$BUILD/CMakeCache.txt" "$BUILD/CMakeFiles"
fi
cmake --preset fuzz >/dev/null
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(scan_master_file decode code_file leading_number student_file_name)
cmake --build --preset fuzz -j"$(nproc)" --target "${targets[@]/%/_fuzzer}"

# The targets write their input to files: in memory when the machine has a tmpfs, so that the disk's writeback
# does not set the pace. New inputs go to a working corpus in the build folder; the seeds stay as they are.
scratch_parent=/dev/shm
[ -d "$scratch_parent" ] && [ -w "$scratch_parent" ] || scratch_parent=$BUILD
export TMPDIR
TMPDIR=$(mktemp -d "$scratch_parent/kelvrast-fuzz-XXXXXX")
trap 'rm -rf "$TMPDIR"' EXIT
export ASAN_OPTIONS=abort_on_error=0:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for target in "${targets[@]}"; do
    corpus=$BUILD/corpus/$target
    artifacts=$BUILD/artifacts/$target
    mkdir -p "$corpus" "$artifacts"
    echo "== $target: ${SECONDS_EACH} s"
    if ! "$BUILD/${target}_fuzzer" -max_total_time="$SECONDS_EACH" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" "$ROOT/fuzz/corpus/$target" \
        >"$BUILD/$target.log" 2>&1; then
        tail -n 60 "$BUILD/$target.log"
        echo "FAIL: $target found a crash; the input is in $artifacts/" >&2
        exit 1
    fi
    grep -E "^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb)" "$BUILD/$target.log" || true
done
echo "fuzzing: ${#targets[@]} targets ran ${SECONDS_EACH} s each without a crash"
