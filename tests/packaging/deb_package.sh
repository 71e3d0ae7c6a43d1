#!/usr/bin/env bash
# Packs the built program with cpack into a temporary folder and checks the .deb: what it depends on, and that
# the program, desktop entry, icon and metadata lie where the desktop finds them.
# Usage: deb_package.sh path/to/build
set -euo pipefail
BUILD=$(realpath "${1:?usage: deb_package.sh path/to/build}")
ID=org.example.kelvrast
OUT=$(mktemp -d /tmp/kelvrast-deb-XXXXXX)
trap 'rm -rf "$OUT"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack -G DEB -B "$OUT" --config "$BUILD/CPackConfig.cmake" >"$OUT/cpack.log" 2>&1 ||
    fail "cpack did not make the package: $(cat "$OUT/cpack.log")"
packages=("$OUT"/*.deb)
[ ${#packages[@]} -eq 1 ] && [ -f "${packages[0]}" ] || fail "cpack made no single .deb: $(ls "$OUT")"
deb=${packages[0]}

# One dependency a line, alternatives and versions kept.
depends=$(dpkg-deb -f "$deb" Depends | sed 's/, /\n/g')
has_dependency() { grep -Eq "^($1)( |$)" <<<"$depends" || fail "Depends lacks $1: $(dpkg-deb -f "$deb" Depends)"; }
has_dependency qt6-qpa-plugins
has_dependency fonts-liberation
has_dependency 'libqt6widgets6(t64)?'
has_dependency libc6

contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for file in ./usr/bin/kelvrast \
    "./usr/share/applications/$ID.desktop" \
    "./usr/share/icons/hicolor/scalable/apps/$ID.svg" \
    "./usr/share/metainfo/$ID.metainfo.xml"; do
    grep -qxF "$file" <<<"$contents" || fail "the package lacks $file"
done
echo "PASS"
