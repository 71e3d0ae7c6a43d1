# shellcheck shell=bash
# A private X server for the scripts that run the program's window: the end-to-end tests, the screenshots, the
# performance figures and the leak check all start theirs here. Sourced, not run.

# Starts Xvfb on a display of its own and exports DISPLAY. The server itself takes the first display number whose
# socket it can claim, so servers started side by side never share one, and writes the number to a pipe once it
# accepts connections. It listens on the abstract socket alone: the kernel gives that name to one server and takes
# it back only when that server closes it, whereas the socket file in /tmp/.X11-unix can be unlinked by another
# server trying the same number or by one still shutting down. It never resets between clients either, so it keeps
# the same listener from the first check to the last test step. Sets XVFB_PID; the caller stops the server with
# kill "$XVFB_PID".
# Usage: start_private_display FOLDER   (FOLDER, which must exist, keeps the server's log as xvfb.log)
start_private_display() {
    local folder=$1
    local log="$folder/xvfb.log" pipe="$folder/xvfb-display" number=""
    rm -f "$pipe"
    mkfifo "$pipe"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -nolisten unix -noreset 3>"$pipe" >"$log" 2>&1 &
    XVFB_PID=$!
    # End of file before a number means that the server stopped first.
    read -r -t 30 number <"$pipe" || true
    rm -f "$pipe"
    if ! [[ $number =~ ^[0-9]+$ ]]; then
        echo "the X server did not start: $(cat "$log")" >&2
        return 1
    fi
    export DISPLAY=":$number"
    # The number comes when the server is ready; a client's answer confirms it.
    for _ in $(seq 50); do
        kill -0 "$XVFB_PID" 2>/dev/null || break
        if xdpyinfo >/dev/null 2>&1; then
            return 0
        fi
        sleep 0.1
    done
    echo "the X server on $DISPLAY does not answer: $(cat "$log")" >&2
    return 1
}
