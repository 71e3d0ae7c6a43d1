#!/usr/bin/env bash
# Retakes the README's screenshots of the Windows program: installs it under Wine from its installer on a private
# X server, walks a student's first steps and saves the window at each one as a PNG in docs/screenshots/windows/.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
OUT="$ROOT/docs/screenshots/windows"

bash scripts/install-packages.sh screenshots windows windows-package windows-e2e
bash scripts/package-windows.sh >/dev/null
cmake --build --preset windows -j"$(nproc)" --target form_centres check_answer_file

# The same private display, Wine and helpers as the Windows end-to-end tests.
source "$ROOT/tests/e2e/windows/lib/session.sh" "$ROOT/build-windows"

mkdir -p "$OUT"
# The frame that the window manager draws around the window is left out: what is shown is what Windows draws.
shoot() {
    eventually window_shown "$2" || fail "no window $2 to shoot"
    sleep 0.5 # let the last repaint reach the screen
    import -window "$1" "$OUT/$3.png"
    echo "saved docs/screenshots/windows/$3.png"
}

install_program
start_program
prompt=$(wait_window kelvrast)
paste_into "$prompt" "Ann Lee"
shoot "$prompt" kelvrast name-prompt
xdotool key Return

form=$(wait_window Form1)
click "$form" cmdNextQuestion
click "$form" txt_answer
xdotool type --delay 10 -- "Yes, I understand: I answer here and click Enter Response."
shoot "$form" Form1 question

click "$form" cmd_enter_response
for _ in 2 3 4 5 6; do
    click "$form" cmdNextQuestion
    click "$form" cmd_enter_response
done
click "$form" cmdNextQuestion
closing=$(wait_window kelvrast)
shoot "$closing" kelvrast closing-message
point_at "$closing"
xdotool key Return
expect_program_ends_well
