#!/usr/bin/env bash
# A student types an answer, the program is killed before it is recorded, and the next start under the same name
# puts the answer back in the Answer box.
source "$(dirname "$0")/lib/session.sh"

draft="$XDG_STATE_HOME/kelvrast/draft_Ann_Lee.txt"
typed="typed before the kill"

start_ann() {
    start_program
    prompt=$(wait_window kelvrast)
    type_into "$prompt" "Ann Lee"
    xdotool key Return
}

start_ann
form=$(wait_window Form1)
click_at "$form" "${CENTRE_cmdNextQuestion[@]}"
click_at "$form" "${CENTRE_txt_answer[@]}"
xdotool type --delay 15 -- "$typed"
# The draft holds the whole text a second after the last keystroke; a busy machine is given longer.
for _ in $(seq 200); do
    LC_ALL=C grep -qaP 't\x00h\x00e\x00 \x00k\x00i\x00l\x00l\x00' "$draft" 2>/dev/null && break
    sleep 0.1
done
LC_ALL=C grep -qaP 't\x00h\x00e\x00 \x00k\x00i\x00l\x00l\x00' "$draft" || fail "no draft holds the typed text"
[ "$(stat -c %a "$draft")" = 600 ] || fail "the draft is not for the student's account alone"
[ "$(stat -c %a "$(dirname "$draft")")" = 700 ] || fail "the drafts' folder is not for the student's account alone"

kill -KILL "$PROGRAM_PID"
wait "$PROGRAM_PID" || true
PROGRAM_PID=
wait_window_gone Form1

start_ann
told=$(wait_window kelvrast)
xdotool windowfocus --sync "$told"
xdotool key Return
form=$(wait_window Form1)
click_at "$form" "${CENTRE_txt_answer[@]}"
xdotool key ctrl+a ctrl+c
sleep 0.3
[ "$(xclip -o -selection clipboard)" = "$typed" ] || fail "the Answer box holds '$(xclip -o -selection clipboard)'"

click_at "$form" "${CENTRE_cmd_quit[@]}"
expect_program_ends_well
[ -f "$draft" ] || fail "quit program took the draft away"
echo "PASS"
