# shellcheck shell=bash
# Shared by the tests of the Windows packages under the test run's Wine: how they fail, and how they wait for what
# an installer or uninstaller does to the prefix's files.

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Waits up to 30 seconds for a condition on the prefix's files.
within_30s() {
    for _ in $(seq 300); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
missing() { [ ! -e "$1" ]; }

# Wine's commands, started again when Wine could not start the process at all (scripts/lib/wine-start.sh).
wine() { bash "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/lib/wine-start.sh" "$@"; }
