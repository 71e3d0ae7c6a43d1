#!/usr/bin/env bash
# Cross-builds the program's core and its tests for Windows with mingw-w64 in build-windows/ and runs them under
# Wine, in a Wine prefix made fresh for the run. Ends with ctest's summary. Arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh cmake ninja-build g++-mingw-w64-x86-64-posix googletest wine wine64
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DKELVRAST_BUILD_TESTS=ON \
    >/dev/null
cmake --build build-windows -j"$(nproc)"

source scripts/lib/wine-session.sh
ctest --test-dir build-windows --output-on-failure -j"$(nproc)" "$@"
