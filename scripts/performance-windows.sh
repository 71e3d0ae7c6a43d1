#!/usr/bin/env bash
# The Windows program's launch and size figures, measured under Wine on this machine:
#   1. launch to the name prompt: kelvrast.exe against a bare Win32 program that only shows an input dialog
#      (perf/windows/minimal_prompt.cpp), with and without kelvrast.exe's application manifest, runs
#      interleaved, medians, in one Wine session on a private Xvfb;
#   2. the sizes of kelvrast.exe, the installer, the MSI and the zip (made by scripts/package-windows.sh).
# PERF_RUNS sets the runs per program (21). The timer is the one of scripts/performance.sh: it reads the moment the
# X server maps the prompt window, so neither program needs a hook. No window manager runs: both programs meet the
# same bare X server.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
RUNS=${PERF_RUNS:-21}
WARMUPS=3

bash scripts/install-packages.sh build e2e perf windows windows-package
bash scripts/package-windows.sh >/dev/null
cmake --build --preset windows -j"$(nproc)" --target minimal_prompt_win32 minimal_prompt_styled_win32
cmake -S perf -B build-perf -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-perf -j"$(nproc)" --target window_timer
TIMER=$ROOT/build-perf/window_timer
KELVRAST=$ROOT/build-windows/src/kelvrast.exe
MINIMAL=$ROOT/build-windows/perf/windows/minimal_prompt_win32.exe
STYLED=$ROOT/build-windows/perf/windows/minimal_prompt_styled_win32.exe

WORK=$(mktemp -d /tmp/kelvrast-perf-windows-XXXXXX)
source tests/e2e/lib/display.sh
start_private_display "$WORK"
WINE_SESSION_DISPLAY=$DISPLAY source scripts/lib/wine-session.sh
trap 'end_wine_session; kill "$XVFB_PID" 2>/dev/null || true; rm -rf "$WORK"' EXIT

median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
spread() { sort -n | awk 'NR == 1 { low = $1 } { high = $1 } END { print low "-" high }'; }

echo "== launch to the name prompt under Wine: $RUNS runs each, interleaved, after $WARMUPS warm-up runs"
for run in $(seq $((WARMUPS + RUNS))); do
    for program in kelvrast minimal_prompt styled_prompt; do
        case $program in
        kelvrast) binary=$KELVRAST ;;
        minimal_prompt) binary=$MINIMAL ;;
        styled_prompt) binary=$STYLED ;;
        esac
        line=$("$TIMER" kelvrast -- wine "$binary" 2>>"$WORK/programs.log")
        [ "$run" -gt $WARMUPS ] && echo "${line#prompt_ms=}" >>"$WORK/launch_$program.txt"
    done
done
kelvrast_ms=$(median <"$WORK/launch_kelvrast.txt")
minimal_ms=$(median <"$WORK/launch_minimal_prompt.txt")
printf 'kelvrast.exe         %s ms (runs %s ms)\n' "$kelvrast_ms" "$(spread <"$WORK/launch_kelvrast.txt")"
printf 'bare input dialog    %s ms (runs %s ms)\n' "$minimal_ms" "$(spread <"$WORK/launch_minimal_prompt.txt")"
styled_ms=$(median <"$WORK/launch_styled_prompt.txt")
printf 'the same, styled     %s ms (runs %s ms; with kelvrast.exe'"'"'s manifest)\n' "$styled_ms" \
    "$(spread <"$WORK/launch_styled_prompt.txt")"
awk -v a="$kelvrast_ms" -v b="$minimal_ms" -v c="$styled_ms" 'BEGIN {
    printf "ratio                %.2fx against the bare dialog, %.2fx against the styled one (target: within 1.2x)\n",
        a / b, a / c }'

echo "== sizes"
for file in "$KELVRAST" build-windows/kelvrast-*-win64.exe build-windows/kelvrast-*-win64.msi build-windows/kelvrast-*-win64.zip; do
    printf '%-40s %8d bytes (%s KiB)\n' "$(basename "$file")" "$(stat -c %s "$file")" "$(($(stat -c %s "$file") / 1024))"
done
