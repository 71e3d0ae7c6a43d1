#!/usr/bin/env bash
# The leak probe under the X server with the project's leak suppressions: a clean run must pass, and a run that
# loses one block of its own from a Qt event handler must be failed by LeakSanitizer, naming the function.
# Usage: leak_check.sh path/to/leak_probe path/to/lsan.supp
source "$(dirname "$0")/../e2e/lib/session.sh" "$1"
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$(realpath "$2")

"$KELVRAST" >"$WORK/clean.log" 2>&1 || fail "the clean run failed: $(cat "$WORK/clean.log")"

status=0
"$KELVRAST" --leak >"$WORK/leak.log" 2>&1 || status=$?
[ "$status" -ne 0 ] || fail "the run that leaks passed"
grep -q "ERROR: LeakSanitizer: detected memory leaks" "$WORK/leak.log" || fail "no leak report: $(cat "$WORK/leak.log")"
grep -q "leakOneBlock" "$WORK/leak.log" || fail "the report does not name the leaking function: $(cat "$WORK/leak.log")"
echo "PASS"
