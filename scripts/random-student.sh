#!/usr/bin/env bash
# Plays the random student of the window tests with new seeds, for as long as one likes: SEED is the first seed,
# ACTIONS the number of actions of each run, on the Qt window (offscreen, built in build/) or the Win32 window (under
# a Wine of its own, built in build-windows/). COUNT seeds are played from SEED on, one after another; with COUNT 0,
# until one fails or the script is stopped. A failure prints its seed, its action and the last actions; the same
# command with that seed and COUNT 1 replays it, and a fault found so becomes a fixed seed of the test.
# Usage: random-student.sh SEED ACTIONS [qt|win32] [COUNT]
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
    echo "usage: $0 SEED ACTIONS [qt|win32] [COUNT]" >&2
    exit 2
}
[ $# -ge 2 ] && [ $# -le 4 ] || usage
seed=$1
actions=$2
window=${3:-qt}
count=${4:-1}
[[ $seed =~ ^[0-9]+$ && $actions =~ ^[0-9]+$ && $count =~ ^[0-9]+$ ]] || usage

case $window in
qt)
    bash scripts/install-packages.sh build tests
    cmake --preset tests >/dev/null
    cmake --build --preset tests -j2 --target window_tests
    play() {
        QT_QPA_PLATFORM=offscreen KELVRAST_RANDOM_SEED=$1 KELVRAST_RANDOM_ACTIONS=$actions \
            build/tests/window_tests --gtest_filter='RandomStudent.*' --gtest_brief=1
    }
    ;;
win32)
    bash scripts/install-packages.sh windows
    cmake --preset windows >/dev/null
    cmake --build --preset windows -j2 --target win32_window_tests
    # shellcheck source=scripts/lib/wine-session.sh
    source scripts/lib/wine-session.sh
    play() {
        KELVRAST_RANDOM_SEED=$1 KELVRAST_RANDOM_ACTIONS=$actions \
            wine build-windows/tests/win32_window_tests.exe --gtest_filter='Win32RandomStudent.*' --gtest_brief=1
    }
    ;;
*)
    usage
    ;;
esac

played=0
while [ "$count" -eq 0 ] || [ "$played" -lt "$count" ]; do
    echo "seed $seed, $actions actions on the $window window"
    play "$seed" || {
        echo "FAIL: seed $seed; replay it with: $0 $seed $actions $window 1" >&2
        exit 1
    }
    seed=$((seed + 1))
    played=$((played + 1))
done
