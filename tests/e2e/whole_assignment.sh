#!/usr/bin/env bash
# A student works through the whole assignment: answers every entry (one answer on two lines, one saved as a
# note), reads the SEND file back in the Question box, clears, shows the notes, and reaches the closing message.
source "$(dirname "$0")/lib/session.sh"

# The five bytes Windows-1252 leaves undefined show as the control characters of the same number.
windows1252_to_utf8() {
    LC_ALL=C sed 's/\x81/<81>/g; s/\x8d/<8d>/g; s/\x8f/<8f>/g; s/\x90/<90>/g; s/\x9d/<9d>/g' |
        iconv -f WINDOWS-1252 -t UTF-8 |
        sed 's/<81>/\xc2\x81/g; s/<8d>/\xc2\x8d/g; s/<8f>/\xc2\x8f/g; s/<90>/\xc2\x90/g; s/<9d>/\xc2\x9d/g'
}

click() { click_at "$form" "$1" "$2"; }
type_answer() {
    click "${CENTRE_txt_answer[@]}"
    xdotool type --delay 15 -- "$1"
}

start_program
prompt=$(wait_window kelvrast)
type_into "$prompt" "Alpha Beta Gamma"
xdotool key Return
form=$(wait_window Form1)

for entry in 1 2 3 4 5 6; do
    click "${CENTRE_cmdNextQuestion[@]}"
    case $entry in
    1)
        type_answer "first line"
        xdotool key Return
        xdotool type --delay 15 -- "second line"
        click "${CENTRE_cmd_enter_response[@]}"
        ;;
    4)
        type_answer "a note"
        click "${CENTRE_cmd_save_as_notes[@]}"
        ;;
    *)
        type_answer "answer $entry"
        click "${CENTRE_cmd_enter_response[@]}"
        ;;
    esac
done

folder="$HOME/kelvrast"
send="$folder/send_$(date +%m%d)Alpha_Beta_Gamma.txt"
master="$folder/masterFile_Alpha_Beta_Gamma.txt"
notes="$folder/notes_Alpha_Beta_Gamma.txt"

# What copying the Question box gives: the SEND file's lines, each after a line break.
click "${CENTRE_cmd_displayCumulativeText[@]}"
click "${CENTRE_txt_question[@]}"
xdotool key ctrl+a ctrl+c
sleep 0.3
xclip -o -selection clipboard >"$WORK/copied.txt"
{
    printf '\n'
    windows1252_to_utf8 <"$send" | sed 's/\r$//' | sed 's/\xc2\xa0/ /g' | head -c -1
} >"$WORK/expected.txt"
cmp -s "$WORK/copied.txt" "$WORK/expected.txt" ||
    fail "the SEND file shown differs from the file: $(diff "$WORK/expected.txt" "$WORK/copied.txt" | head -5)"

type_answer "scratch"
click "${CENTRE_cmd_clear[@]}"
click "${CENTRE_cmd_display_note_file[@]}"
click "${CENTRE_txt_question[@]}"
xdotool key ctrl+a ctrl+c
sleep 0.3
grep -q "NOTES -------> a note" <(xclip -o -selection clipboard) || fail "the notes were not shown"

click "${CENTRE_cmdNextQuestion[@]}"
closing=$(wait_window kelvrast)
xdotool windowfocus --sync "$closing"
xdotool key Return
expect_program_ends_well

# Block by block: one header, five answer records and one notes record, in the order recorded.
count() { grep -c -- "$1" "$2" || true; }
opener='^\.\.\.\.\.\.!!!!!!!!\.\{35\}'$'\r''$'
[ "$(count "$opener" "$master")" -eq 12 ] || fail "the master file does not hold six records"
[ "$(count "$opener" "$send")" -eq 12 ] || fail "the SEND file does not hold six records"
[ "$(count "$opener" "$notes")" -eq 2 ] || fail "the notes file does not hold one record"
[ "$(count '^RESPONSE -->  '$'\r''$' "$master")" -eq 5 ] || fail "the master file does not hold five answers"
[ "$(count '^NOTES -------> a note'$'\r''$' "$send")" -eq 1 ] || fail "the SEND file lacks the note"
keys=$(grep -a '^`questionNumber' "$master" | tr -d '\r' | tr '\n' '|')
[ "$keys" = '`questionNumber 10001 |`questionNumber 10001 |`questionNumber 10002 |`questionNumber 10003 |`questionNumber 10003 |' ] ||
    fail "the key lines are $keys"
grep -q $'^RESPONSE -->  \r$' "$send" && grep -q $'^first line\r$' "$send" && grep -q $'^second line\r$' "$send" ||
    fail "the two-line answer is not on two lines"
[ "$(head -c 4 <(sed -n 4p "$master"))" = "qa f" ] || fail "the master file does not start with a header"
echo "PASS"
