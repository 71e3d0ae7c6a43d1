#!/usr/bin/env bash
# Signs a Windows file (a program, an installer, an MSI) in place with Authenticode, when a school has given a
# code-signing certificate: KELVRAST_SIGN_CERT and KELVRAST_SIGN_KEY name its certificate (chain) and private key
# as PEM files, KELVRAST_SIGN_PASSWORD is the key's password if it has one. Without them the file stays unsigned.
# Usage: sign-windows.sh FILE...
set -euo pipefail
[ $# -gt 0 ] || { echo "usage: $0 FILE..." >&2; exit 2; }

if [ -z "${KELVRAST_SIGN_CERT:-}" ] && [ -z "${KELVRAST_SIGN_KEY:-}" ]; then
    exit 0
fi
# Half a certificate is a mistake, not a wish for unsigned packages.
for variable in KELVRAST_SIGN_CERT KELVRAST_SIGN_KEY; do
    [ -r "${!variable:-}" ] || { echo "$0: $variable names no readable file: '${!variable:-}'" >&2; exit 1; }
done

password=()
if [ -n "${KELVRAST_SIGN_PASSWORD:-}" ]; then
    # Read from a pipe, not given as an argument, which every user of the machine can see.
    password=(-readpass /dev/stdin)
fi

for file in "$@"; do
    signed=$file.signing
    printf '%s' "${KELVRAST_SIGN_PASSWORD:-}" |
        osslsigncode sign -certs "$KELVRAST_SIGN_CERT" -key "$KELVRAST_SIGN_KEY" "${password[@]}" \
            -h sha256 -n kelvrast -in "$file" -out "$signed" >"$signed.log" 2>&1 || {
        cat "$signed.log" >&2
        rm -f "$signed" "$signed.log"
        echo "$0: could not sign $file" >&2
        exit 1
    }
    rm -f "$signed.log"
    mv "$signed" "$file"
done
