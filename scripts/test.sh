#!/usr/bin/env bash
# Checks the sources' format, then builds the program with warnings as errors and runs every test: on Linux the
# logic, the window (offscreen), end to end (under Xvfb) and packaging, in build/ (the tests preset of
# CMakePresets.json); then the browser edition's system half in Chromium (scripts/test-web.sh); then the Windows
# core and its tests, cross-built and run under Wine (scripts/test-windows.sh). Each suite ends with its summary;
# the command fails when any suite does, after all have run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh build run tests e2e deb
bash scripts/check-format.sh
cmake --preset tests >/dev/null
cmake --build --preset tests -j"$(nproc)"
linux=0
ctest --preset tests -j"$(nproc)" || linux=$?

web=0
bash scripts/test-web.sh || web=$?

windows=0
bash scripts/test-windows.sh || windows=$?
if [ "$linux" -ne 0 ] || [ "$web" -ne 0 ] || [ "$windows" -ne 0 ]; then
    echo "FAIL: the Linux suite exited with $linux, the browser suite with $web, the Windows suite with $windows" >&2
    exit 1
fi
