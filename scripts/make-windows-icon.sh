#!/usr/bin/env bash
# Makes the Windows program's icon, data/kelvrast.ico, from the program's own icon data/org.example.kelvrast.svg:
# the picture drawn afresh at each size Windows asks for (16, 24, 32, 48, 64 and 256 pixels), with its
# transparency, in one .ico file. Run it again after a change of the SVG, and commit both files.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh icons
work=$(mktemp -d /tmp/kelvrast-icon-XXXXXX)
trap 'rm -rf "$work"' EXIT

pictures=()
for size in 16 24 32 48 64 256; do
    rsvg-convert --width "$size" --height "$size" --keep-aspect-ratio --format png \
        --output "$work/$size.png" data/org.example.kelvrast.svg
    pictures+=("$work/$size.png")
done
# ImageMagick keeps each picture as one image of the icon, with its alpha channel.
convert "${pictures[@]}" data/kelvrast.ico
identify data/kelvrast.ico
