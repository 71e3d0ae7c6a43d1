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
record() {
    local before
    before=$(answers_in master "$master")
    click "$form" cmd_enter_response
    eventually test "$(answers_in master "$master")" -gt "$before" || fail "the answer '$*' was not recorded"
}

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

click "$form" cmd_displayCumulativeText
shown=$(copy_box "$form" txt_question)
grep -q "first line" <<<"$shown" && grep -q "NOTES -------> check the units first" <<<"$shown" ||
    fail "the Question box does not show the SEND file: $(head -c 300 <<<"$shown")"

click "$form" cmd_quit
closing=$(wait_window kelvrast)
point_at "$closing"
xdotool key Return
expect_program_ends_well

expected_master="header qa fenwick
answer \`questionNumber 10001 |four
notes check the units first
answer \`questionNumber 10001 |first line\\nsecond line
answer \`questionNumber 10002 |"
[ "$(blocks master "$master")" = "$expected_master" ] || fail "the master file holds: $(blocks master "$master")"
[ "$(blocks send "$send" | grep -c '^answer ')" -eq 3 ] || fail "the SEND file holds: $(blocks send "$send")"
[ "$(blocks notes "$notes")" = "notes check the units first" ] || fail "the notes file holds: $(blocks notes "$notes")"
[ "$(ls "$FOLDER")" = "$(printf 'masterFile_Alpha_Beta.txt\nnotes_Alpha_Beta.txt\nsend_%sAlpha_Beta.txt' "$(date +%m%d)")" ] ||
    fail "c:\\kelvrast holds: $(ls -a "$FOLDER")"
echo "PASS"
