#!/usr/bin/env bash
# Packs the Windows program into a temporary folder and, under the test run's Wine, installs the MSI silently as a
# lab administrator would (msiexec /i /qn), with the working folder on a network drive, checks the program, the
# Start Menu shortcut, the entry in the list of installed programs and the working folder kept for the program,
# installs a newer version over it (it must replace the older one, not stand beside it, and keep the working
# folder), then uninstalls it silently (msiexec /x /qn): the program and its setting go, c:\kelvrast and the answer
# files in it stay.
# Usage: windows_msi.sh path/to/build-windows   (inside the Wine session of scripts/test-windows.sh)
set -euo pipefail
BUILD=$(realpath "${1:?usage: windows_msi.sh path/to/build-windows}")
ROOT=$(realpath "$(dirname "$0")/../..")
: "${WINE_DRIVE_C:?run inside the Wine session of scripts/test-windows.sh}"
OUT=$(mktemp -d /tmp/kelvrast-msi-XXXXXX)
trap 'rm -rf "$OUT"' EXIT
# shellcheck source=tests/packaging/lib/windows.sh
source "$(dirname "$0")/lib/windows.sh"

# Packed as scripts/package-windows.sh packs.
bash "$ROOT/scripts/lib/pack-windows.sh" "$BUILD" "$OUT" \
    >"$OUT/pack.log" 2>&1 || fail "the packages were not made: $(cat "$OUT/pack.log")"
msi=$(find "$OUT" -maxdepth 1 -name 'kelvrast-*-win64.msi')
zip=$(find "$OUT" -maxdepth 1 -name 'kelvrast-*-win64.zip')
[ -f "$msi" ] && [ -f "$zip" ] || fail "no MSI and zip were made: $(ls "$OUT")"
version=$(sed -n 's/.*kelvrast-\(.*\)-win64\.msi$/\1/p' <<<"$msi")

# The same MSI with a later version and, as every build, a ProductCode of its own.
newer_version=$((${version%%.*} + 1)).0.0
sed "s/Version=\"$version\"/Version=\"$newer_version\"/" "$OUT/_CPack_Packages/msi/kelvrast.wxs" \
    >"$OUT/_CPack_Packages/msi/newer.wxs"
grep -q "Version=\"$newer_version\"" "$OUT/_CPack_Packages/msi/newer.wxs" || fail "the MSI's source names no version"
(cd "$OUT/_CPack_Packages/msi" && wixl -a x64 -o "$OUT/newer.msi" newer.wxs) >"$OUT/wixl.log" 2>&1 ||
    fail "the newer MSI was not made: $(cat "$OUT/wixl.log")"

program="$WINE_DRIVE_C/Program Files/kelvrast"
work="$WINE_DRIVE_C/kelvrast"
mkdir -p "$work"
printf 'answers\r\n' >"$work/send_0107Ann.txt"

# The keys under $1 that hold the value line $2, each with its values.
keys_holding() {
    wine reg query "$1" /s 2>/dev/null | tr -d '\r' |
        awk -v value="$2" '/^HKEY_/ { if (block ~ value) printf "%s", block; block = $0 "\n"; next }
                           { block = block $0 "\n" }
                           END { if (block ~ value) printf "%s", block }'
}
# The entries of the list of installed programs named kelvrast.
entries() { keys_holding 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' '\n +DisplayName +REG_SZ +kelvrast\n'; }
# Per machine, the shortcut belongs in the Start Menu of all users: Windows resolves ProgramMenuFolder to it when
# ALLUSERS=1, which the MSI sets. Wine's msiexec puts it in the installing user's Start Menu instead, so either
# place is taken.
shortcut() {
    local found
    found=$(find "$WINE_DRIVE_C/ProgramData" "$WINE_DRIVE_C/users" \
        -path '*/Start Menu/Programs/kelvrast/kelvrast.lnk' 2>/dev/null | head -n1)
    [ -n "$found" ] && echo "$found"
}

# The working folder the program reads, as the MSI keeps it.
working_folder() {
    wine reg query 'HKLM\Software\kelvrast' /v WorkingFolder 2>/dev/null | tr -d '\r' |
        sed -n 's/^ *WorkingFolder *REG_SZ *//p'
}

wine msiexec /i "$(winepath -w "$msi")" /qn 'WORKINGFOLDER=H:\kelvrast' || fail "the silent install failed"
[ "$(working_folder)" = 'H:\kelvrast' ] || fail "the working folder given at install is not kept: $(working_folder)"
[ -f "$program/kelvrast.exe" ] || fail "no kelvrast.exe under Program Files"
cmp -s "$program/kelvrast.exe" <(unzip -p "$zip" kelvrast.exe) || fail "the MSI and the zip hold different programs"
link=$(shortcut) || fail "no Start Menu shortcut kelvrast"
grep -aq 'kelvrast\.exe' "$link" || fail "the shortcut does not lead to kelvrast.exe"

entry=$(entries)
[ "$(grep -c '^HKEY_' <<<"$entry")" -eq 1 ] || fail "not one entry kelvrast in the list of installed programs: $entry"
grep -Eq "DisplayVersion +REG_SZ +$version$" <<<"$entry" || fail "the entry is not of version $version: $entry"
grep -Eq 'Publisher +REG_SZ +kelvrast developers$' <<<"$entry" || fail "the entry names no publisher: $entry"
grep -Eq 'UninstallString +REG_EXPAND_SZ +MsiExec.exe /[IX]\{' <<<"$entry" || fail "the entry has no uninstaller: $entry"
# The entry's icon: Windows Installer publishes ARPPRODUCTICON as the ProductIcon of the product, a copy of the icon
# kept under C:\Windows\Installer.
product=$(keys_holding 'HKLM\Software\Classes\Installer\Products' '\n +ProductName +REG_SZ +kelvrast\n')
icon=$(sed -n 's/^ *ProductIcon *REG_SZ *\(.*\)$/\1/p' <<<"$product")
[ -n "$icon" ] || fail "the installed product has no icon: $product"
cmp -s "$(winepath -u "$icon")" "$ROOT/data/kelvrast.ico" || fail "the product's icon $icon is not kelvrast.ico"

wine msiexec /i "$(winepath -w "$OUT/newer.msi")" /qn || fail "the silent install of a newer version failed"
entry=$(entries)
[ "$(grep -c '^HKEY_' <<<"$entry")" -eq 1 ] || fail "the newer version stands beside the older one: $entry"
grep -Eq "DisplayVersion +REG_SZ +$newer_version$" <<<"$entry" || fail "the newer version did not replace the older: $entry"
[ -f "$program/kelvrast.exe" ] || fail "upgrading lost kelvrast.exe"
shortcut >/dev/null || fail "upgrading lost the Start Menu shortcut"
[ "$(working_folder)" = 'H:\kelvrast' ] || fail "upgrading lost the working folder: $(working_folder)"

wine msiexec /x "$(winepath -w "$OUT/newer.msi")" /qn || fail "the silent uninstall failed"
missing "$program/kelvrast.exe" || fail "uninstalling left kelvrast.exe"
missing "$program" || fail "uninstalling left the program's folder"
! shortcut >/dev/null || fail "uninstalling left the Start Menu shortcut"
left=$(find "$WINE_DRIVE_C/ProgramData" "$WINE_DRIVE_C/users" -path '*/Start Menu/Programs/kelvrast' 2>/dev/null)
[ -z "$left" ] || fail "uninstalling left the Start Menu folder $left"
[ -z "$(entries)" ] || fail "uninstalling left the entry in the list of installed programs: $(entries)"
! wine reg query 'HKLM\Software\kelvrast' >/dev/null 2>&1 || fail "uninstalling left the key HKLM\Software\kelvrast"
[ "$(cat "$work/send_0107Ann.txt")" = $'answers\r' ] || fail "uninstalling touched c:\\kelvrast"
[ "$(ls "$work")" = send_0107Ann.txt ] || fail "c:\\kelvrast changed: $(ls "$work")"
echo "PASS"
