#!/usr/bin/env bash
# Packs the Windows program of a build folder into a folder: the installer, the zip and the MSI
# (kelvrast-<version>-win64.exe, .zip, .msi).
# Usage: pack-windows.sh path/to/build-windows OUTPUT-FOLDER
set -euo pipefail
BUILD=$(realpath "${1:?usage: pack-windows.sh path/to/build-windows OUTPUT-FOLDER}")
OUT=$(realpath "${2:?usage: pack-windows.sh path/to/build-windows OUTPUT-FOLDER}")

name=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "$BUILD/CPackConfig.cmake")
[ -n "$name" ] || { echo "$0: no package name in $BUILD/CPackConfig.cmake" >&2; exit 1; }

cpack -G "NSIS;ZIP" -B "$OUT" --config "$BUILD/CPackConfig.cmake"

# The MSI takes the program from the zip, as the installer holds it.
stage=$OUT/_CPack_Packages/msi
rm -rf "$stage"
mkdir -p "$stage"
cp "$BUILD/msi/kelvrast.wxs" "$BUILD/msi/kelvrast.ico" "$stage/"
unzip -p "$OUT/$name.zip" kelvrast.exe >"$stage/kelvrast.exe"
(cd "$stage" && wixl -a x64 -o "$OUT/$name.msi" kelvrast.wxs)
