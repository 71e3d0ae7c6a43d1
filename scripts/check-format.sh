#!/usr/bin/env bash
# Fails on any C++ file of src, tests, bench, fuzz or perf that clang-format would change, and names each one.
# Format them with: clang-format -i FILE...
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh format
mapfile -t files < <(git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
    'fuzz/*.cpp' 'fuzz/*.h' 'perf/*.cpp' 'perf/*.h')
if ! clang-format --dry-run -Werror "${files[@]}"; then
    echo "FAIL: the files above are not laid out as .clang-format says; run clang-format -i on them" >&2
    exit 1
fi
echo "Format: ${#files[@]} files as .clang-format lays them out"
