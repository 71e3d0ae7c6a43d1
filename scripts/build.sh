#!/usr/bin/env bash
# Configures and builds the program (and its tests) in build/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh build run
cmake -S . -B build -G Ninja "$@" >/dev/null
cmake --build build -j"$(nproc)"
