# Shared by the end-to-end tests: a private X server, a temporary home folder, and ways to find the
# program's windows and act on them as a student would.
set -euo pipefail

KELVRAST=${1:?usage: test.sh path/to/kelvrast [path/to/grab_window path/to/form_centres]}
WORK=$(mktemp -d /tmp/kelvrast-e2e-XXXXXX)
export HOME="$WORK/home"
mkdir -p "$HOME"
# Drafts too stay in the temporary home folder.
export XDG_STATE_HOME="$HOME/.local/state"
export QT_QPA_PLATFORM=xcb
unset QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS

cleanup() {
    [ -n "${PROGRAM_PID:-}" ] && kill "$PROGRAM_PID" 2>/dev/null || true
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A display of our own, so that tests can run side by side.
# shellcheck source=tests/e2e/lib/display.sh
source "$(dirname "${BASH_SOURCE[0]}")/display.sh"
start_private_display "$WORK" || fail "no X server of our own"

# Where the controls are, in pixels from the window's client area's top left, from the form's table: one array a
# control, CENTRE_name=(x y) and PLACE_name=(left top width height). The end-to-end tests pass the form_centres
# program as their third argument; scripts that click nothing may leave it out.
# shellcheck source=tests/e2e/lib/form_centres.sh
source "$(dirname "${BASH_SOURCE[0]}")/form_centres.sh"
FORM_CENTRES=${3:-}
if [ -n "$FORM_CENTRES" ]; then
    centres=$("$FORM_CENTRES") || fail "$FORM_CENTRES failed"
    read_form_centres <<<"$centres" || fail "$FORM_CENTRES listed no centres"
    places=$("$FORM_CENTRES" --places) || fail "$FORM_CENTRES --places failed"
    read_form_places <<<"$places" || fail "$FORM_CENTRES --places listed no places"
    unset centres places
fi

start_program() {
    "$KELVRAST" >"$WORK/program.log" 2>&1 &
    PROGRAM_PID=$!
}

# The ids of the program's visible windows titled exactly $1.
visible_windows() {
    local id
    for id in $(xdotool search --onlyvisible --class kelvrast 2>/dev/null || true); do
        [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ] && echo "$id"
    done
    return 0
}

# The id of the visible window whose title is exactly $1, waiting up to 20 seconds.
wait_window() {
    local id
    for _ in $(seq 200); do
        id=$(visible_windows "$1" | head -n1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    fail "no window titled '$1' appeared: $(cat "$WORK/program.log")$(display_state)"
}

# What the X server was doing, for a failure's message.
display_state() {
    if kill -0 "$XVFB_PID" 2>/dev/null; then
        printf '\n(the X server on %s is running' "$DISPLAY"
        xdpyinfo >/dev/null 2>&1 && printf ' and answers)' || printf ' but does not answer)'
    else
        printf '\n(the X server on %s has stopped)' "$DISPLAY"
    fi
    printf '\n%s' "$(tail -n 20 "$WORK/xvfb.log")"
}

# Waits until no visible window is titled $1.
wait_window_gone() {
    for _ in $(seq 200); do
        [ -z "$(visible_windows "$1")" ] && return 0
        sleep 0.1
    done
    fail "the window titled '$1' stayed"
}

type_into() {
    xdotool windowfocus --sync "$1"
    xdotool type --delay 15 -- "$2"
}

# Pastes text into a window: xdotool types characters beyond ASCII through a keymap it changes on the fly,
# which can drop them on a busy machine, while a paste brings every character.
paste_into() {
    printf '%s' "$2" | xclip -selection clipboard
    xdotool windowfocus --sync "$1"
    xdotool key ctrl+v
}

# Clicks at a point given in pixels from the top left of the window's client area.
click_at() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.2
}

# Waits up to 20 seconds for the program to end, and fails unless it ended with status 0.
expect_program_ends_well() {
    local status=0
    for _ in $(seq 200); do
        kill -0 "$PROGRAM_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$PROGRAM_PID" 2>/dev/null && fail "the program did not end"
    wait "$PROGRAM_PID" || status=$?
    PROGRAM_PID=
    [ "$status" -eq 0 ] || fail "the program ended with status $status: $(cat "$WORK/program.log")"
}
