#!/usr/bin/env bash
# Packs the Windows program of a build folder into a folder: the installer, the zip and the MSI
# (kelvrast-<version>-win64.exe, .zip, .msi), signed when a certificate is given (scripts/lib/sign-windows.sh), and
# SHA256SUMS over the three. kelvrast.exe is signed before it is packed, so all three hold the same signed program.
# Usage: pack-windows.sh path/to/build-windows OUTPUT-FOLDER
set -euo pipefail
BUILD=$(realpath "${1:?usage: pack-windows.sh path/to/build-windows OUTPUT-FOLDER}")
OUT=$(realpath "${2:?usage: pack-windows.sh path/to/build-windows OUTPUT-FOLDER}")
SCRIPTS=$(dirname "$(realpath "$0")")

name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake")
[ -n "$name" ] || { echo "$0: no package name in $BUILD/CPackConfig.cmake" >&2; exit 1; }

cpack -G "NSIS;ZIP" -B "$OUT" --config "$BUILD/CPackConfig.cmake"

# The MSI takes the program from the zip: the one signed copy that the installer holds too.
stage=$OUT/_CPack_Packages/msi
rm -rf "$stage"
mkdir -p "$stage"
cp "$BUILD/msi/kelvrast.wxs" "$BUILD/msi/kelvrast.ico" "$stage/"
unzip -p "$OUT/$name.zip" kelvrast.exe >"$stage/kelvrast.exe"
(cd "$stage" && wixl -a x64 -o "$OUT/$name.msi" kelvrast.wxs)

bash "$SCRIPTS/sign-windows.sh" "$OUT/$name.exe" "$OUT/$name.msi"
(cd "$OUT" && sha256sum "$name.exe" "$name.zip" "$name.msi" >SHA256SUMS)
