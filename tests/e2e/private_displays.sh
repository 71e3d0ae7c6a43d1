#!/usr/bin/env bash
# Four private X servers started at the same moment, as tests running side by side start theirs: each gets a
# display of its own that answers, and each display goes away with its server, so none was someone else's.
set -euo pipefail
# shellcheck source=tests/e2e/lib/display.sh
source "$(dirname "$0")/lib/display.sh"

WORK=$(mktemp -d /tmp/kelvrast-displays-XXXXXX)
pids=()
cleanup() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
answers() { DISPLAY=$1 xdpyinfo >/dev/null 2>&1; }

# Each server is started in a shell of its own, all at once; each shell reports its display and server.
for i in 1 2 3 4; do
    mkdir "$WORK/$i"
    (
        start_private_display "$WORK/$i" || exit 1
        echo "$DISPLAY $XVFB_PID" >"$WORK/$i/started"
    ) &
done
wait
displays=()
for i in 1 2 3 4; do
    [ -f "$WORK/$i/started" ] || fail "server $i did not start: $(cat "$WORK/$i/xvfb.log")"
    read -r display pid <"$WORK/$i/started"
    displays+=("$display")
    pids+=("$pid")
done

[ "$(printf '%s\n' "${displays[@]}" | sort -u | wc -l)" -eq 4 ] || fail "two servers share a display: ${displays[*]}"
for display in "${displays[@]}"; do
    answers "$display" || fail "display $display does not answer"
done

for i in 0 1 2 3; do
    kill "${pids[$i]}"
    for _ in $(seq 50); do
        answers "${displays[$i]}" || break
        sleep 0.1
    done
    ! answers "${displays[$i]}" || fail "display ${displays[$i]} still answers without its server"
done
echo "PASS"
