#!/usr/bin/env bash
# Packs the Windows program with cpack into a temporary folder and, under the test run's Wine, installs it silently
# as a lab administrator would, checks what the installer put where, then uninstalls it silently: the program goes,
# c:\kelvrast and the answer files in it stay. Also checks that the zip holds kelvrast.exe alone.
# Usage: windows_installer.sh path/to/build-windows   (inside the Wine session of scripts/test-windows.sh)
set -euo pipefail
BUILD=$(realpath "${1:?usage: windows_installer.sh path/to/build-windows}")
: "${WINE_DRIVE_C:?run inside the Wine session of scripts/test-windows.sh}"
OUT=$(mktemp -d /tmp/kelvrast-installer-XXXXXX)
trap 'rm -rf "$OUT"' EXIT

# shellcheck source=tests/packaging/lib/windows.sh
source "$(dirname "$0")/lib/windows.sh"

cpack -G "NSIS;ZIP" -B "$OUT" --config "$BUILD/CPackConfig.cmake" >"$OUT/cpack.log" 2>&1 ||
    fail "cpack did not make the packages: $(cat "$OUT/cpack.log")"
installer=$(find "$OUT" -maxdepth 1 -name 'kelvrast-*-win64.exe')
zip=$(find "$OUT" -maxdepth 1 -name 'kelvrast-*-win64.zip')
[ -f "$installer" ] && [ -f "$zip" ] || fail "cpack made no installer and zip: $(ls "$OUT")"
[ "$(unzip -Z1 "$zip")" = kelvrast.exe ] || fail "the zip holds more than kelvrast.exe: $(unzip -Z1 "$zip")"

program="$WINE_DRIVE_C/Program Files/kelvrast"
shortcut="$WINE_DRIVE_C/ProgramData/Microsoft/Windows/Start Menu/Programs/kelvrast/kelvrast.lnk"
work="$WINE_DRIVE_C/kelvrast"
mkdir -p "$work"
printf 'answers\r\n' >"$work/send_0107Ann.txt"

wine "$installer" /S || fail "the silent install failed"
within_30s test -f "$program/kelvrast.exe" || fail "no kelvrast.exe under Program Files"
within_30s test -f "$shortcut" || fail "no Start Menu shortcut kelvrast"
cmp -s "$program/kelvrast.exe" <(unzip -p "$zip" kelvrast.exe) || fail "the installer and the zip hold different programs"

key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\kelvrast'
entry=$(wine reg query "$key" 2>/dev/null | tr -d '\r') || fail "no entry in the list of installed programs"
for value in 'DisplayName +REG_SZ +kelvrast$' 'DisplayIcon +REG_SZ +C:\\Program Files\\kelvrast\\kelvrast.exe$' \
    'UninstallString +REG_SZ +"C:\\Program Files\\kelvrast\\Uninstall.exe"$'; do
    grep -Eq "$value" <<<"$entry" || fail "the uninstall entry lacks $value: $entry"
done

# The uninstaller starts a copy of itself from the temporary folder and returns at once: wait for the files to go.
wine "$program/Uninstall.exe" /S || fail "the silent uninstall failed"
within_30s missing "$program/kelvrast.exe" || fail "the uninstaller left kelvrast.exe"
within_30s missing "$shortcut" || fail "the uninstaller left the Start Menu shortcut"
[ "$(cat "$work/send_0107Ann.txt")" = $'answers\r' ] || fail "uninstalling touched c:\\kelvrast"
[ "$(ls "$work")" = send_0107Ann.txt ] || fail "c:\\kelvrast changed: $(ls "$work")"
echo "PASS"
