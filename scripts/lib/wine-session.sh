# Sourced: a Wine of our own for one run. A fresh prefix and home folder in a temporary folder, one persistent
# wineserver for every program of the run (a cold start costs seconds, a program under a running server a tenth
# of one), and on exit that server ended through its own prefix and the folder removed. Nothing is ended by name.
WINE_WORK=$(mktemp -d /tmp/kelvrast-wine-XXXXXX)
export WINEPREFIX=$WINE_WORK/prefix
export WINEARCH=win64
# Windows show on the X server the caller names in WINE_SESSION_DISPLAY, one of its own (Wine's desktop process,
# started with the prefix, keeps the display it was started with); without one the run must not reach a display
# the caller may have.
unset DISPLAY WAYLAND_DISPLAY
if [ -n "${WINE_SESSION_DISPLAY:-}" ]; then
    export DISPLAY=$WINE_SESSION_DISPLAY
fi
# Of Wine's own messages only its errors: a program that Wine cannot start ends with a bare exit code within a few
# hundredths of a second, and its test's output then says why. No Mono or Gecko prompts, no menu entries or file
# associations written into the home folder.
export WINEDEBUG=-all,err+all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Wine links the prefix's Desktop and Documents into the home folder: a scratch one.
export HOME=$WINE_WORK/home
mkdir -p "$HOME" "$WINEPREFIX"

end_wine_session() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    rm -rf "$WINE_WORK"
}
trap end_wine_session EXIT

wineserver -p
wine wineboot --init >"$WINE_WORK/wineboot.log" 2>&1 || {
    cat "$WINE_WORK/wineboot.log" >&2
    echo "FAIL: Wine could not make its prefix" >&2
    exit 1
}
# Without a display of the caller's, windows go to Wine's null graphics driver, which keeps windows, messages,
# focus and GDI's memory DCs and shows nothing. The desktop that wineboot started already has its driver, so the
# server of this prefix is ended and started again, and the next program's desktop comes up on the null driver.
if [ -z "${DISPLAY:-}" ]; then
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >"$WINE_WORK/reg.log" 2>&1 || {
        cat "$WINE_WORK/reg.log" >&2
        echo "FAIL: Wine's null graphics driver could not be chosen" >&2
        exit 1
    }
    wineserver -k
    wineserver -w
    wineserver -p
fi
# The services and the desktop process start here, with their output in the log: started by the first test, they
# would hold its output open, and the test would never seem to end. GetDesktopWindow returns once the desktop is up.
{ wine wineboot && wine rundll32.exe user32.dll,GetDesktopWindow; } >>"$WINE_WORK/wineboot.log" 2>&1 || {
    cat "$WINE_WORK/wineboot.log" >&2
    echo "FAIL: Wine's desktop did not start" >&2
    exit 1
}
# The drive C: of the prefix, where the Windows programs' c:\kelvrast lies.
export WINE_DRIVE_C=$WINEPREFIX/drive_c
