#!/usr/bin/env bash
# Builds the program and all its tests with AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer in
# build-asan/ and runs the whole test suite there, end-to-end tests included. Any sanitizer report fails its test.
# The system libraries under Qt leave allocations at exit; tests/lsan.supp names those libraries only, never the
# program's code, and the test sanitizers.leak_check shows that a leak of the program's own still fails.
# Arguments go to ctest (for example -R ResumeTest).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

bash scripts/install-packages.sh build run tests e2e deb
# _GLIBCXX_ASSERTIONS adds bounds checks to the standard containers, which the sanitizers cannot see into.
flags="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined -D_GLIBCXX_ASSERTIONS"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVRAST_BUILD_TESTS=ON -DCMAKE_CXX_FLAGS="$flags" \
    >/dev/null
cmake --build build-asan -j"$(nproc)"

export ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$ROOT/tests/lsan.supp:print_suppressions=0
ctest --test-dir build-asan --output-on-failure -j"$(nproc)" "$@"
