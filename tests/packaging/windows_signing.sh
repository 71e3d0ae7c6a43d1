#!/usr/bin/env bash
# Packs the Windows program as a school with a code-signing certificate would, with a throwaway certificate made
# here, and checks with osslsigncode that the installer, the MSI and kelvrast.exe inside each package carry a valid
# Authenticode signature by it, and that SHA256SUMS covers the three packages. The checks must also refuse an
# unsigned program, an altered installer and another certificate, and a half-given certificate must stop the
# packing rather than leave the packages unsigned.
# Usage: windows_signing.sh path/to/build-windows   (inside the Wine session of scripts/test-windows.sh)
set -euo pipefail
BUILD=$(realpath "${1:?usage: windows_signing.sh path/to/build-windows}")
ROOT=$(realpath "$(dirname "$0")/../..")
: "${WINE_DRIVE_C:?run inside the Wine session of scripts/test-windows.sh}"
OUT=$(mktemp -d /tmp/kelvrast-signing-XXXXXX)
trap 'rm -rf "$OUT"' EXIT
# shellcheck source=tests/packaging/lib/windows.sh
source "$(dirname "$0")/lib/windows.sh"

# A school's certificate: self-signed, for code signing, its key kept under a password.
keys=$OUT/keys
mkdir -p "$keys"
make_certificate() {
    openssl req -x509 -newkey rsa:2048 -days 2 -subj "/CN=$2" -addext extendedKeyUsage=codeSigning \
        -passout pass:lab-secret -keyout "$keys/$1.key" -out "$keys/$1.pem" 2>"$keys/$1.log" ||
        fail "openssl made no certificate: $(cat "$keys/$1.log")"
}
make_certificate school 'kelvrast test school'
make_certificate other 'another school'

export KELVRAST_SIGN_CERT=$keys/school.pem KELVRAST_SIGN_KEY=$keys/school.key KELVRAST_SIGN_PASSWORD=lab-secret
mkdir "$OUT/packages"
bash "$ROOT/scripts/lib/pack-windows.sh" "$BUILD" "$OUT/packages" >"$OUT/pack.log" 2>&1 ||
    fail "the signed packages were not made: $(cat "$OUT/pack.log")"
installer=$(find "$OUT/packages" -maxdepth 1 -name 'kelvrast-*-win64.exe')
zip=$(find "$OUT/packages" -maxdepth 1 -name 'kelvrast-*-win64.zip')
msi=$(find "$OUT/packages" -maxdepth 1 -name 'kelvrast-*-win64.msi')
[ -f "$installer" ] && [ -f "$zip" ] && [ -f "$msi" ] || fail "not all three packages were made: $(ls "$OUT/packages")"

# Whether $1 carries a valid signature by the certificate $2: self-signed, it is its own certificate authority.
signed_by() {
    osslsigncode verify -CAfile "$keys/$2.pem" -in "$1" >"$OUT/verify.log" 2>&1 &&
        grep -q "CN=kelvrast test school" "$OUT/verify.log"
}
expect_signed() {
    signed_by "$1" school || fail "$2 is not signed by the school's certificate: $(cat "$OUT/verify.log")"
}

# The program inside the packages: the zip's copy, and the copies that the installer and the MSI install.
unzip -p "$zip" kelvrast.exe >"$OUT/from-zip.exe"
expect_signed "$OUT/from-zip.exe" "kelvrast.exe in the zip"
expect_signed "$installer" "the installer"
expect_signed "$msi" "the MSI"

wine "$installer" /S || fail "the silent install of the signed installer failed"
program="$WINE_DRIVE_C/Program Files/kelvrast"
within_30s test -f "$program/kelvrast.exe" || fail "the signed installer put no kelvrast.exe"
expect_signed "$program/kelvrast.exe" "kelvrast.exe as the installer installs it"
wine "$program/Uninstall.exe" /S || fail "the silent uninstall failed"
within_30s missing "$program/kelvrast.exe" || fail "the uninstaller left kelvrast.exe"
wine msiexec /i "$(winepath -w "$msi")" /qn || fail "the silent install of the signed MSI failed"
expect_signed "$program/kelvrast.exe" "kelvrast.exe as the MSI installs it"
wine msiexec /x "$(winepath -w "$msi")" /qn || fail "the silent uninstall of the MSI failed"
missing "$program/kelvrast.exe" || fail "uninstalling the MSI left kelvrast.exe"

# The checks see a missing signature, a change after signing and a stranger's certificate.
! signed_by "$BUILD/src/kelvrast.exe" school || fail "the unsigned build of kelvrast.exe passed as signed"
cp "$installer" "$OUT/altered.exe"
printf 'X' | dd of="$OUT/altered.exe" bs=1 seek=$(($(stat -c %s "$installer") / 2)) conv=notrunc status=none
! signed_by "$OUT/altered.exe" school || fail "an installer altered after signing passed as signed"
! signed_by "$installer" other || fail "the installer passed as signed by a certificate that did not sign it"

sums=$OUT/packages/SHA256SUMS
[ -f "$sums" ] || fail "no SHA256SUMS beside the packages"
[ "$(awk '{ print $2 }' "$sums" | sort | tr '\n' ' ')" = \
    "$(basename "$installer") $(basename "$msi") $(basename "$zip") " ] ||
    fail "SHA256SUMS does not cover the installer, the zip and the MSI alone: $(cat "$sums")"
(cd "$OUT/packages" && sha256sum --quiet -c SHA256SUMS) >"$OUT/sums.log" 2>&1 ||
    fail "the packages do not match SHA256SUMS: $(cat "$OUT/sums.log")"
cp "$OUT/altered.exe" "$installer"
! (cd "$OUT/packages" && sha256sum --quiet -c SHA256SUMS) >/dev/null 2>&1 ||
    fail "SHA256SUMS accepted an altered installer"

# A certificate without its key is a mistake: the packing stops instead of signing nothing.
mkdir "$OUT/half"
! env -u KELVRAST_SIGN_KEY bash "$ROOT/scripts/lib/pack-windows.sh" "$BUILD" "$OUT/half" >"$OUT/half.log" 2>&1 ||
    fail "a certificate without its key made packages: $(ls "$OUT/half")"
echo "PASS"
