#!/usr/bin/env bash
# On Windows, from the installer on: a lab administrator installs the program silently, a student starts it, types
# a name, works through the assignment (an answer, a note, an answer on two lines, an empty answer), reads the SEND
# file back in the Question box and reaches the closing message; the files in c:\kelvrast hold every record whole.
source "$(dirname "$0")/lib/session.sh"

install_program
start_program
prompt=$(wait_window kelvrast)
paste_into "$prompt" "Alpha Beta"
xdotool key Return
form=$(wait_window Form1)
geometry=$(xdotool getwindowgeometry "$form" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "725x573" ] || fail "the window measures $geometry, not 725x573"

master='C:\kelvrast\masterFile_Alpha_Beta.txt'
send="C:\\kelvrast\\send_$(date +%m%d)Alpha_Beta.txt"
notes='C:\kelvrast\notes_Alpha_Beta.txt'
answers_in() { blocks "$1" "$2" | grep -c '^answer ' || true; }

answer() {
    click "$form" txt_answer
    xdotool type --delay 15 -- "$1"
}
more_answers_than() { [ "$(answers_in master "$master")" -gt "$1" ]; }
record() {
    local before
    before=$(answers_in master "$master")
    click "$form" cmd_enter_response
    eventually more_answers_than "$before" || fail "an answer was not recorded"
}

# Entry 1: an answer. Entry 2: a note, then an answer on two lines. Entry 3: an empty answer. Then the rest.
click "$form" cmdNextQuestion
answer "four"
record
click "$form" cmdNextQuestion
answer "check the units first"
click "$form" cmd_save_as_notes
eventually test -f "$WINE_DRIVE_C/kelvrast/notes_Alpha_Beta.txt" || fail "no notes file"
answer "first line"
xdotool key Return
xdotool type --delay 15 -- "second line"
record
click "$form" cmdNextQuestion
record
for entry in 4 5 6; do
    click "$form" cmdNextQuestion
    answer "answer $entry"
    record
done

click "$form" cmd_displayCumulativeText
shown=$(copy_box "$form" txt_question)
grep -q "^second line" <<<"$shown" && grep -q "NOTES -------> check the units first" <<<"$shown" ||
    fail "the Question box does not show the SEND file: $(head -c 300 <<<"$shown")"

# The end of the questions: the closing message, answered with Enter, ends the program.
click "$form" cmdNextQuestion
closing=$(wait_window kelvrast)
point_at "$closing"
xdotool key Return
expect_program_ends_well

expected_master="header qa fenwick
answer \`questionNumber 10001 |four
notes check the units first
answer \`questionNumber 10001 |first line\\nsecond line
answer \`questionNumber 10002 |
answer \`questionNumber 10002 |answer 4
answer \`questionNumber 10003 |answer 5
answer \`questionNumber 10003 |answer 6"
[ "$(blocks master "$master")" = "$expected_master" ] || fail "the master file holds: $(blocks master "$master")"
[ "$(blocks send "$send" | grep -c '^answer ')" -eq 6 ] || fail "the SEND file holds: $(blocks send "$send")"
[ "$(blocks notes "$notes")" = "notes check the units first" ] || fail "the notes file holds: $(blocks notes "$notes")"
[ "$(ls "$FOLDER")" = "$(printf 'masterFile_Alpha_Beta.txt\nnotes_Alpha_Beta.txt\nsend_%sAlpha_Beta.txt' "$(date +%m%d)")" ] ||
    fail "c:\\kelvrast holds: $(ls -a "$FOLDER")"
echo "PASS"
