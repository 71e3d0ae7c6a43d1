#!/usr/bin/env bash
# The program is installed into a fresh prefix, found there through its desktop entry as a menu would find it,
# with its icon, and started through the entry's command; its windows carry the class the entry names, so the
# desktop puts them under the entry's icon.
source "$(dirname "$0")/lib/session.sh"

ID=org.example.kelvrast
build=$(dirname "$KELVRAST")
while [ ! -f "$build/CMakeCache.txt" ]; do
    [ "$build" != / ] || fail "no build folder holds $KELVRAST"
    build=$(dirname "$build")
done
prefix="$WORK/prefix"
cmake --install "$build" --prefix "$prefix" >"$WORK/install.log" 2>&1 || fail "install failed: $(cat "$WORK/install.log")"

# What a menu does: look the entry up in the data folders, take its icon from the hicolor theme, run its command.
export XDG_DATA_DIRS="$prefix/share"
entry="$prefix/share/applications/$ID.desktop"
[ -f "$entry" ] || fail "no desktop entry $entry"
key() { sed -n "s/^$1=//p" "$entry"; }
icon="$prefix/share/icons/hicolor/scalable/apps/$(key Icon).svg"
[ -s "$icon" ] || fail "the entry's icon $(key Icon) is not installed as $icon"
[ -f "$prefix/share/metainfo/$ID.metainfo.xml" ] || fail "the metadata is not installed"

PATH="$prefix/bin:$PATH" bash -c "exec $(key Exec)" >"$WORK/program.log" 2>&1 &
PROGRAM_PID=$!
started_installed() {
    for _ in $(seq 100); do
        [ "$(readlink "/proc/$PROGRAM_PID/exe" 2>/dev/null)" = "$prefix/bin/kelvrast" ] && return 0
        sleep 0.1
    done
    return 1
}
started_installed || fail "the entry did not start the installed program"

# WM_CLASS holds the instance and the class name; the desktop matches either against StartupWMClass.
expect_class() {
    local class
    class=$(xprop -id "$1" WM_CLASS | sed -n 's/^WM_CLASS(STRING) = //p')
    [ "$class" = "\"$(key StartupWMClass)\", \"$(key StartupWMClass)\"" ] ||
        fail "window $1 has the class $class, the entry expects $(key StartupWMClass)"
}

prompt=$(wait_window kelvrast)
expect_class "$prompt"
type_into "$prompt" "Ann Lee"
xdotool key Return
form=$(wait_window Form1)
expect_class "$form"

click_at "$form" "${CENTRE_cmd_quit[@]}"
expect_program_ends_well
echo "PASS"
