#!/usr/bin/env bash
# On Windows: the program is killed the moment the student clicks "Enter Response". Whatever the kill cut short,
# the next start finds and mends it, and every file in c:\kelvrast then holds whole blocks only, the resumed
# header among them.
source "$(dirname "$0")/lib/session.sh"

install_program
# Starts the program as Kim Lee and sets form to the window.
start_as_kim() {
    start_program
    paste_into "$(wait_window kelvrast)" "Kim Lee"
    xdotool key Return
    form=$(wait_window Form1)
}

start_as_kim
click "$form" cmdNextQuestion
click "$form" txt_answer
xdotool type --delay 15 -- "an answer that is being written when the program dies"
click "$form" cmd_enter_response
kill -9 "$PROGRAM_PID"
wait "$PROGRAM_PID" 2>/dev/null || true
PROGRAM_PID=

# The kill may land before the answer is recorded: its text then comes back as a draft, with a message to close
# first. The message has the prompt's title, so it is told apart by being another window.
start_program
prompt=$(wait_window kelvrast)
paste_into "$prompt" "Kim Lee"
xdotool key Return
draft_message_or_form() {
    local message
    window_shown Form1 && return 0
    message=$(window_titled kelvrast)
    [ -n "$message" ] && [ "$message" != "$prompt" ] && xdotool windowfocus --sync "$message" key Return
    return 1
}
eventually draft_message_or_form || fail "no window titled 'Form1' appeared; the windows shown: $(shown_windows)"
form=$(wait_window Form1)
click "$form" cmd_quit
expect_program_ends_well

master='C:\kelvrast\masterFile_Kim_Lee.txt'
send="C:\\kelvrast\\send_$(date +%m%d)Kim_Lee.txt"
for file in "master $master" "send $send"; do
    read -r kind path <<<"$file"
    held=$(blocks "$kind" "$path")
    [ "$(grep -c '^header ' <<<"$held")" -ge 1 ] || fail "$path holds no header: $held"
    # The answer went in whole, or not at all.
    grep -v '^header ' <<<"$held" | grep -qv '^answer .*|an answer that is being written when the program dies$' &&
        fail "$path holds a block that was not recorded: $held"
done
[ -z "$(ls "$FOLDER" | grep -v -e '^masterFile_Kim_Lee.txt$' -e '^send_[0-9]*Kim_Lee.txt$' || true)" ] ||
    fail "c:\\kelvrast holds: $(ls -a "$FOLDER")"
echo "PASS"
