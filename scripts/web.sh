#!/usr/bin/env bash
# Builds the browser edition's site into build-web/site/ and serves it on this machine, at http://localhost:8080/
# unless another port is given. A school copies build-web/site/ to its own web host instead.
# Usage: web.sh [--port N]
set -euo pipefail
cd "$(dirname "$0")/.."

port=8080
while [ $# -gt 0 ]; do
    case $1 in
    --port)
        [ $# -ge 2 ] && [[ $2 =~ ^[0-9]+$ ]] || { echo "usage: $0 [--port N]" >&2; exit 2; }
        port=$2
        shift 2
        ;;
    *)
        echo "usage: $0 [--port N]" >&2
        exit 2
        ;;
    esac
done

bash scripts/install-packages.sh web
cmake --preset web >/dev/null
cmake --build --preset web --target site
exec node scripts/lib/serve-site.mjs build-web/site "$port"
