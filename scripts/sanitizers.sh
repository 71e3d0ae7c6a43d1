#!/usr/bin/env bash
# Builds the program and all its tests with AddressSanitizer (leaks included) and UndefinedBehaviorSanitizer in
# build-asan/ (the sanitizers preset, which also sets the sanitizers' options for the tests) and runs the whole
# test suite there, end-to-end tests included. Any sanitizer report fails its test.
# The system libraries under Qt leave allocations at exit; tests/lsan.supp names those libraries only, never the
# program's code, and the test sanitizers.leak_check shows that a leak of the program's own still fails.
# Arguments go to ctest (for example -R ResumeTest).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh build run tests e2e deb
cmake --preset sanitizers >/dev/null
cmake --build --preset sanitizers -j"$(nproc)"
ctest --preset sanitizers -j"$(nproc)" "$@"
