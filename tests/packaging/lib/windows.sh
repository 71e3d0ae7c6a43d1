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

# Wine can fail to start a process before any of its code runs, with "failed to map the shared user data"
# (STATUS_CONFLICTING_ADDRESSES): something already lay at the fixed address where every Windows process finds that
# page. Only such a start is tried again, up to three times; any other failure is the command's own and stands.
wine() {
    local errors status try
    errors=$(mktemp)
    for try in 1 2 3; do
        if command wine "$@" 2>"$errors"; then status=0; else status=$?; fi
        cat "$errors" >&2
        [ "$status" -ne 0 ] && [ "$try" -lt 3 ] && grep -q 'failed to map the shared user data' "$errors" || break
    done
    rm -f "$errors"
    return "$status"
}
