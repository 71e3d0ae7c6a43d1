#!/usr/bin/env bash
# Builds the program in build/, with the run preset (CMakePresets.json): the program alone. A build/ that the tests
# preset configured (scripts/test.sh) is built as it is, since it holds the same program: configuring it with the
# run preset would take the tests out of it until the next test run configured them in again.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -gt 0 ]; then
    echo "usage: $0 (no arguments: the settings of each build are in CMakePresets.json)" >&2
    exit 2
fi

bash scripts/install-packages.sh build run
if ! grep -Eqsi '^KELVRAST_BUILD_TESTS:BOOL=(ON|1|TRUE|YES|Y)$' build/CMakeCache.txt; then
    cmake --preset run >/dev/null
fi
cmake --build --preset run -j"$(nproc)"
