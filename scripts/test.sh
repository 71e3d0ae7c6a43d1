#!/usr/bin/env bash
# Builds the program and runs every test: logic, window (offscreen), end to end (under Xvfb) and packaging. The
# build is the tests preset's (CMakePresets.json), in build/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh build run tests e2e deb
cmake --preset tests >/dev/null
cmake --build --preset tests -j"$(nproc)"
ctest --preset tests -j"$(nproc)"
