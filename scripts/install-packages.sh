#!/usr/bin/env bash
# Installs the Debian packages of the groups given as arguments (see scripts/debian-packages.txt) that are not
# installed yet, with apt-get as root and sudo otherwise. An unknown group is an error.
# Usage: install-packages.sh GROUP...
set -euo pipefail
LIST="$(dirname "$0")/debian-packages.txt"
[ $# -gt 0 ] || { echo "usage: $0 GROUP... (groups in $LIST)" >&2; exit 2; }

declare -A groups=()
while IFS= read -r line; do
    line=${line%%#*}
    [[ $line =~ ^[[:space:]]*$ ]] && continue
    if ! [[ $line =~ ^([a-z0-9-]+):(.*)$ ]]; then
        echo "$LIST: cannot read the line '$line'" >&2
        exit 1
    fi
    groups[${BASH_REMATCH[1]}]+=" ${BASH_REMATCH[2]}"
done <"$LIST"

packages=()
for group in "$@"; do
    if [ -z "${groups[$group]+set}" ]; then
        echo "$0: no package group '$group' in $LIST; the groups are:" \
            "$(printf '%s\n' "${!groups[@]}" | sort | tr '\n' ' ')" >&2
        exit 2
    fi
    read -r -a members <<<"${groups[$group]}"
    packages+=("${members[@]}")
done

missing=()
for package in $(printf '%s\n' "${packages[@]}" | sort -u); do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
run_as_root=()
[ "$(id -u)" -eq 0 ] || run_as_root=(sudo)
"${run_as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${run_as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
