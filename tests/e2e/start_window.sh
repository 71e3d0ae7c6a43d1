#!/usr/bin/env bash
# A student starts the program, types a name beyond ASCII into the prompt, and sees the window "Form1".
source "$(dirname "$0")/lib/session.sh"

start_program
prompt=$(wait_window kelvrast)
paste_into "$prompt" "Zoë Brontë"
xdotool key Return

form=$(wait_window Form1)
geometry=$(xdotool getwindowgeometry "$form" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "725x573" ] || fail "the window measures $geometry, not 725x573"

folder="$HOME/kelvrast"
send="$folder/send_$(date +%m%d)Zoë_Brontë.txt"
master="$folder/masterFile_Zoë_Brontë.txt"
[ -d "$folder" ] || fail "the working folder was not made"
[ -f "$send" ] || fail "no SEND file $send"
[ -f "$master" ] || fail "no master file"

# One header of four lines in each file, the same in both, ending with the title.
[ "$(tr -cd '\n' <"$master" | wc -c)" -eq 4 ] || fail "the master file does not hold one header"
cmp -s "$master" "$send" || fail "the two files hold different headers"
[ "$(sed -n 4p "$master")" = $'qa fenwick\r' ] || fail "the header does not end with the title"
[ "$(sed -n 2p "$master")" = $'assignment #001\r' ] || fail "the header's second line is wrong"

click_at "$form" "${CENTRE_cmd_quit[@]}"
expect_program_ends_well
echo "PASS"
