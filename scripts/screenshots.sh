#!/usr/bin/env bash
# Retakes the README's screenshots: starts the program under a private X server with an empty home folder, walks
# a student's first steps and saves the window at each one as a PNG in docs/screenshots/.
# Usage: scripts/screenshots.sh [path/to/kelvrast]   (builds build/src/kelvrast when no path is given)
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
OUT="$ROOT/docs/screenshots"

bash scripts/install-packages.sh screenshots e2e build
if [ $# -eq 0 ]; then
    bash scripts/build.sh
    set -- "$ROOT/build/src/kelvrast"
fi
program=$(realpath "$1")

# The same private display, temporary home folder and helpers as the end-to-end tests.
source "$ROOT/tests/e2e/lib/session.sh" "$program"

# Where to click: the controls' centres from the form's table, as the end-to-end tests click them.
c++ -std=c++20 -I"$ROOT/src" "$ROOT/src/form/Form.cpp" "$ROOT/tests/e2e/form_centres.cpp" -o "$WORK/form_centres"
centres=$("$WORK/form_centres") || fail "form_centres failed"
read_form_centres <<<"$centres" || fail "form_centres listed no centres"

mkdir -p "$OUT"
shoot() {
    sleep 0.5 # let the last repaint reach the screen
    import -window "$1" "$OUT/$2.png"
    echo "saved docs/screenshots/$2.png"
}
answer() {
    click_at "$form" "${CENTRE_txt_answer[@]}"
    xdotool type --delay 10 -- "$1"
}

start_program
prompt=$(wait_window kelvrast)
type_into "$prompt" "Ann/Lee"
xdotool key Return
refusal=$(wait_window kelvrast)
shoot "$refusal" name-refused
xdotool windowfocus --sync "$refusal"
xdotool key Return

prompt=$(wait_window kelvrast)
type_into "$prompt" "Ann Lee"
shoot "$prompt" name-prompt
xdotool key Return

form=$(wait_window Form1)
shoot "$form" start

click_at "$form" "${CENTRE_cmdNextQuestion[@]}"
answer "Yes, I understand: I answer here and click Enter Response."
shoot "$form" question

click_at "$form" "${CENTRE_cmd_enter_response[@]}"
click_at "$form" "${CENTRE_cmdNextQuestion[@]}"
answer "Found it: send_$(date +%m%d)Ann_Lee.txt in the kelvrast folder."
click_at "$form" "${CENTRE_cmd_enter_response[@]}"
click_at "$form" "${CENTRE_cmd_displayCumulativeText[@]}"
shoot "$form" send-file
