#!/usr/bin/env bash
# Cross-builds the Windows program's core and its tests with mingw-w64 in build-windows/ (the windows preset of
# CMakePresets.json) and runs them under Wine, in a Wine prefix made fresh for the run. Ends with ctest's summary.
# Arguments go to ctest (for example -R FilesContract).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh windows windows-package windows-e2e
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)"

source scripts/lib/wine-session.sh
ctest --preset windows -j"$(nproc)" "$@"
