#!/usr/bin/env bash
# Builds the program and runs every test: logic, window (offscreen) and end to end (under Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh googletest libgtest-dev libgmock-dev xvfb xauth xdotool xclip x11-utils
bash scripts/build.sh -DKELVRAST_BUILD_TESTS=ON
ctest --test-dir build --output-on-failure -j"$(nproc)"
