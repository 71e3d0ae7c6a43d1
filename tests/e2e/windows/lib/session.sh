# shellcheck shell=bash
# Shared by the Windows end-to-end tests: a private X server with a small window manager, a Wine of its own that
# shows its windows there, the program installed from its installer as a lab administrator would, and ways to act
# on its windows as a student would. Sourced by a test, given the Windows build folder.
set -euo pipefail

BUILD=$(realpath "${1:?usage: test.sh path/to/build-windows}")
ROOT=$(realpath "$(dirname "${BASH_SOURCE[0]}")/../../../..")
WORK=$(mktemp -d /tmp/kelvrast-e2e-windows-XXXXXX)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# shellcheck source=tests/e2e/lib/display.sh
source "$ROOT/tests/e2e/lib/display.sh"
start_private_display "$WORK" || fail "no X server of our own"
# Without a window manager Wine waits for window-manager state each time a window hides. With this one the
# keyboard follows the pointer: the helpers below point at a window before they type.
evilwm -fn fixed >"$WORK/evilwm.log" 2>&1 &
WM_PID=$!
WINE_SESSION_DISPLAY=$DISPLAY source "$ROOT/scripts/lib/wine-session.sh"
FOLDER=$WINE_DRIVE_C/kelvrast

cleanup() {
    [ -n "${PROGRAM_PID:-}" ] && kill -9 "$PROGRAM_PID" 2>/dev/null || true
    end_wine_session
    kill "$WM_PID" "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

# Waits up to 20 seconds for a command to succeed. The command is run anew each time: give a function or a command,
# never a "$(...)" argument, which would be read once, before the wait.
eventually() {
    for _ in $(seq 200); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Where to click: the centre of every control of the form, in pixels from the top left of the client area.
# shellcheck source=tests/e2e/lib/form_centres.sh
source "$ROOT/tests/e2e/lib/form_centres.sh"
read_form_centres < <(wine "$BUILD/tests/form_centres.exe") || fail "the form's centres could not be read"

# Installs the program silently from its installer, as a lab administrator would.
install_program() {
    cpack -G NSIS -B "$WORK/packages" --config "$BUILD/CPackConfig.cmake" >"$WORK/cpack.log" 2>&1 ||
        fail "cpack did not make the installer: $(cat "$WORK/cpack.log")"
    wine "$WORK"/packages/kelvrast-*-win64.exe /S || fail "the silent install failed"
    eventually test -f "$WINE_DRIVE_C/Program Files/kelvrast/kelvrast.exe" || fail "the installer put no kelvrast.exe"
}

start_program() {
    wine 'C:\Program Files\kelvrast\kelvrast.exe' >"$WORK/program.log" 2>&1 &
    PROGRAM_PID=$!
}

# The id of the visible window titled exactly $1, waiting up to 20 seconds.
window_titled() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
shown_windows() {
    local id
    for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
        printf "'%s' " "$(xdotool getwindowname "$id")"
    done
}
wait_window() {
    local id=""
    eventually window_shown "$1" ||
        fail "no window titled '$1' appeared; the windows shown: $(shown_windows); the program said: $(cat "$WORK/program.log")"
    id=$(window_titled "$1")
    echo "$id"
}
window_shown() { [ -n "$(window_titled "$1")" ]; }
window_gone() { [ -z "$(window_titled "$1")" ]; }
wait_window_gone() {
    eventually window_gone "$1" || fail "the window titled '$1' stayed"
}

# Points at a window, so that the keyboard reaches it, and types or presses keys there.
point_at() { xdotool mousemove --sync --window "$1" 20 20; }
paste_into() {
    printf '%s' "$2" | xclip -selection clipboard
    point_at "$1"
    xdotool key ctrl+v
}

# Clicks the centre of a control of the form.
click() {
    local -n centre="CENTRE_$2"
    xdotool mousemove --sync --window "$1" "${centre[0]}" "${centre[1]}" click 1
}

clipboard_holds_text() { [ -n "$(xclip -o -selection clipboard 2>/dev/null)" ]; }

# What a large box shows, as Ctrl+A Ctrl+C copies it; the clipboard is emptied first, so the copy is this one.
copy_box() {
    printf '' | xclip -selection clipboard
    click "$1" "$2"
    xdotool key ctrl+a ctrl+c
    eventually clipboard_holds_text || fail "nothing was copied from $2"
    xclip -o -selection clipboard
}

# How many blocks a file holds whole; fails if it holds anything else.
blocks() {
    wine "$BUILD/tests/check_answer_file.exe" "$1" "$2" 2>"$WORK/checker.log" | tr -d '\r' ||
        fail "$2 is not made of whole blocks: $(cat "$WORK/checker.log")"
}

# Waits up to 20 seconds for the program to end, and fails unless it ended with status 0.
expect_program_ends_well() {
    local status=0
    eventually eval '! kill -0 "$PROGRAM_PID" 2>/dev/null' || fail "the program did not end"
    wait "$PROGRAM_PID" || status=$?
    PROGRAM_PID=
    [ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$WORK/program.log")"
}
