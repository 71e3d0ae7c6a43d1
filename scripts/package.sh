#!/usr/bin/env bash
# Builds the program and packs it into a Debian package in build/, ready for `sudo apt install ./build/<name>.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh deb
bash scripts/build.sh
(cd build && cpack -G DEB)
