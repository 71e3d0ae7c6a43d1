#!/usr/bin/env bash
# Builds the Windows keystroke benchmark in build-windows/ (the windows preset) and runs it under a Wine of its own:
# a letter and a Backspace in the Answer box of the real Windows window, with drafts kept and without, side by side
# in one run. Arguments go to the benchmark: the number of repetitions (11) and the seconds of each (1).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-packages.sh windows
cmake --preset windows >/dev/null
cmake --build --preset windows --target keystroke_benchmark_win32 -j"${BENCH_JOBS:-$(nproc)}"

bash scripts/lib/in-own-wine-session.sh wine build-windows/bench/windows/keystroke_benchmark_win32.exe "$@"
