#!/usr/bin/env bash
# The desktop entry passes desktop-file-validate without a single remark, and names the program's own binary and
# its icon, which is drawn under the entry's own id.
# Usage: desktop_entry.sh path/to/data
set -euo pipefail
DATA=${1:?usage: desktop_entry.sh path/to/data}
ID=org.example.kelvrast
entry="$DATA/$ID.desktop"

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
key() { sed -n "s/^$1=//p" "$entry"; }

remarks=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate refused the entry: $remarks"
[ -z "$remarks" ] || fail "desktop-file-validate has remarks: $remarks"
[ "$(key Exec)" = kelvrast ] || fail "the entry starts '$(key Exec)', not kelvrast"
[ "$(key Icon)" = "$ID" ] || fail "the entry's icon is '$(key Icon)', not $ID"
[ -s "$DATA/$ID.svg" ] || fail "no icon $ID.svg"
[ "$(key StartupWMClass)" = kelvrast ] || fail "the window class the entry expects is not kelvrast"
echo "PASS"
