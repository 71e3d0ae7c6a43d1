#!/usr/bin/env bash
# Builds the program and runs every test: logic, window (offscreen), end to end (under Xvfb) and packaging.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh tests e2e deb
bash scripts/build.sh -DKELVRAST_BUILD_TESTS=ON
ctest --test-dir build --output-on-failure -j"$(nproc)"
