#!/usr/bin/env bash
# Cross-builds the Windows program and packs it, in build-windows/: the installer kelvrast-<version>-win64.exe, the
# zip kelvrast-<version>-win64.zip that holds kelvrast.exe alone, the MSI kelvrast-<version>-win64.msi, and
# SHA256SUMS over the three. With KELVRAST_SIGN_CERT and KELVRAST_SIGN_KEY (see scripts/lib/sign-windows.sh) the
# program, the installer and the MSI are signed. Prints the files and their sizes.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh windows windows-package
cmake --preset windows >/dev/null
cmake --build --preset windows -j"$(nproc)" --target kelvrast
bash scripts/lib/pack-windows.sh build-windows build-windows
ls -l build-windows/kelvrast-*-win64.exe build-windows/kelvrast-*-win64.zip build-windows/kelvrast-*-win64.msi \
    build-windows/SHA256SUMS
