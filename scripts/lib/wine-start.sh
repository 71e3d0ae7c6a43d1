#!/usr/bin/env bash
# Runs a Windows program as `wine PROGRAM ARGUMENT...` does, with its exit status. Wine can fail to start a process
# before any of its code runs, with "failed to map the shared user data" (STATUS_CONFLICTING_ADDRESSES): something
# already lay at the fixed address where every Windows process finds that page. Only such a start is made again, up
# to three times; any other failure is the program's own and stands. The Windows tests run through it (CMake's
# emulator for the windows preset), and so do the package tests' own Wine commands.
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
for try in 1 2 3; do
    if wine "$@" 2>"$errors"; then status=0; else status=$?; fi
    cat "$errors" >&2
    if [ "$status" -eq 0 ] || [ "$try" -eq 3 ] || ! grep -q 'failed to map the shared user data' "$errors"; then
        break
    fi
done
exit "$status"
