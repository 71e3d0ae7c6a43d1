#!/usr/bin/env bash
# Runs a command under a Wine of its own (scripts/lib/wine-session.sh): a fresh prefix and wineserver, ended when
# the command ends, and the command's exit status as this script's. For a test that must find the prefix as only
# it has left it, whatever the other tests of the run leave in the run's shared one.
# Usage: in-own-wine-session.sh COMMAND [ARGUMENT...]
set -euo pipefail
[ $# -gt 0 ] || {
    echo "usage: $0 COMMAND [ARGUMENT...]" >&2
    exit 2
}
# shellcheck source=scripts/lib/wine-session.sh
source "$(dirname "$0")/wine-session.sh"
"$@"
