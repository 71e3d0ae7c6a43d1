#!/usr/bin/env bash
# Configures and builds the program (and its tests) in build/.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh cmake ninja-build g++ qt6-base-dev libgl-dev qt6-qpa-plugins fonts-liberation
cmake -S . -B build -G Ninja "$@" >/dev/null
cmake --build build -j"$(nproc)"
