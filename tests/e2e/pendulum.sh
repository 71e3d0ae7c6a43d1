#!/usr/bin/env bash
# A student starts the pendulum display: circles appear in the left drawing area, and the right one stays empty.
source "$(dirname "$0")/lib/session.sh"
GRAB_WINDOW=${2:?usage: pendulum.sh path/to/kelvrast path/to/grab_window path/to/form_centres}

dark_pixels() { "$GRAB_WINDOW" "$form" "$@"; }

start_program
prompt=$(wait_window kelvrast)
type_into "$prompt" "Alpha Beta Gamma"
xdotool key Return
form=$(wait_window Form1)
sleep 0.5

[ "$(dark_pixels "${PLACE_Picture1[@]}")" -eq 0 ] || fail "Picture1 shows something before the pendulum was started"
click_at "$form" "${CENTRE_cmd_pend_exp[@]}"

drawn=0
for _ in $(seq 50); do
    drawn=$(dark_pixels "${PLACE_Picture1[@]}")
    [ "$drawn" -gt 0 ] && break
    sleep 0.1
done
[ "$drawn" -gt 0 ] || fail "no circle appeared in Picture1"
[ "$(dark_pixels "${PLACE_Picture2[@]}")" -eq 0 ] || fail "something was drawn in Picture2"

click_at "$form" "${CENTRE_cmd_quit[@]}"
expect_program_ends_well
echo "PASS"
