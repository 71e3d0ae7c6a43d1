#!/usr/bin/env bash
# Reproduces every figure of docs/performance.md in one run on this machine, each measured side by side with what
# it is compared against (runs interleaved, medians):
#   1. launch to the name prompt: the program against a minimal Qt program that only shows an input dialog;
#   2. name to window: the program with a 100 MB master file against an empty one, beside the line-reading floor
#      of that file;
#   3. peak memory (VmHWM) of the program with the 100 MB master file against the empty one;
#   4. the recording and display benchmarks (scripts/bench.sh, which runs the scan benchmark as well).
# Everything runs under a private Xvfb with a temporary home folder. PERF_RUNS sets the runs per figure (21).
# The summary is also kept in build-perf/performance-summary.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=$ROOT/build-perf
RUNS=${PERF_RUNS:-21}
WARMUPS=3
MASTER_BYTES=100000000

bash scripts/install-packages.sh build run e2e perf
cmake -S perf -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" -j"$(nproc)" --target kelvrast minimal_prompt window_timer scan_floor
KELVRAST=$BUILD/kelvrast/kelvrast
MINIMAL=$BUILD/minimal_prompt
TIMER=$BUILD/window_timer

# A private X server and home folder, as the end-to-end tests have them.
source "$ROOT/tests/e2e/lib/session.sh" "$KELVRAST"
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
FOLDER=$HOME/kelvrast
mkdir -p "$FOLDER"
RESULTS=$WORK/results
mkdir -p "$RESULTS"

# key=value fields of the timer's output, one value a line.
field() { sed -n "s/.*\b$1=\([0-9.]*\).*/\1/p" "$2"; }
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
spread() { sort -n | awk 'NR == 1 { low = $1 } { high = $1 } END { print low "-" high }'; }

echo "== launch to the name prompt: $RUNS runs each, interleaved, after $WARMUPS warm-up runs"
for run in $(seq $((WARMUPS + RUNS))); do
    for program in kelvrast minimal_prompt; do
        binary=$KELVRAST
        [ "$program" = minimal_prompt ] && binary=$MINIMAL
        line=$("$TIMER" "$program" -- "$binary" 2>>"$RESULTS/programs.log")
        [ "$run" -gt $WARMUPS ] && echo "$line" >>"$RESULTS/launch_$program.txt"
    done
done

echo "== name to window and peak memory: 100 MB master file against an empty one, $RUNS runs each"
# Two students: one with a term's work in a 100 MB master file, one with an empty master file. The file is put on
# the disk first, so that the fdatasync of the first header does not pay for writing it; each run's header is cut
# off again, so every run starts from the same file.
big=$FOLDER/masterFile_ann_example.txt
empty=$FOLDER/masterFile_bob_example.txt
"$BUILD/scan_floor" write "$big" $MASTER_BYTES
sync "$big"
big_size=$(stat -c %s "$big")
for run in $(seq $((WARMUPS + RUNS))); do
    for student in ann bob; do
        truncate -s "$([ $student = ann ] && echo "$big_size" || echo 0)" "$FOLDER/masterFile_${student}_example.txt"
        line=$("$TIMER" kelvrast "$student example" Form1 -- "$KELVRAST" 2>>"$RESULTS/programs.log")
        [ "$run" -gt $WARMUPS ] && echo "$line" >>"$RESULTS/form_$student.txt"
    done
done
truncate -s "$big_size" "$big"

echo "== line-reading floor of the same file, in one process: $RUNS runs"
"$BUILD/scan_floor" time "$big" "$RUNS" | tee "$RESULTS/floor.txt"

echo "== benchmarks"
bash scripts/bench.sh

launch_kelvrast=$(field prompt_ms "$RESULTS/launch_kelvrast.txt" | median)
launch_minimal=$(field prompt_ms "$RESULTS/launch_minimal_prompt.txt" | median)
form_big=$(field form_ms "$RESULTS/form_ann.txt" | median)
form_empty=$(field form_ms "$RESULTS/form_bob.txt" | median)
hwm_big=$(field vmhwm_kb "$RESULTS/form_ann.txt" | median)
hwm_empty=$(field vmhwm_kb "$RESULTS/form_bob.txt" | median)
launch_kelvrast_range=$(field prompt_ms "$RESULTS/launch_kelvrast.txt" | spread)
launch_minimal_range=$(field prompt_ms "$RESULTS/launch_minimal_prompt.txt" | spread)
form_big_range=$(field form_ms "$RESULTS/form_ann.txt" | spread)
form_empty_range=$(field form_ms "$RESULTS/form_bob.txt" | spread)
read_lines=$(field read_lines_ms "$RESULTS/floor.txt")
scan=$(field scan_ms "$RESULTS/floor.txt")
read_bytes=$(field read_ms "$RESULTS/floor.txt")

python3 - "$ROOT/build-bench/bench-results" >"$RESULTS/benchmarks.txt" <<'PY'
import json, pathlib, sys
for path in sorted(pathlib.Path(sys.argv[1]).glob("*.json")):
    for b in json.loads(path.read_text())["benchmarks"]:
        if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
            continue
        per_line = f", {b['per_line'] * 1e6:.2f} us per line" if "per_line" in b else ""
        print(f"  {path.stem:20} {b['name']:40} {b['real_time']:8.1f} {b['time_unit']}{per_line}")
PY

verdict() { awk -v v="$1" -v limit="$2" 'BEGIN { print (v <= limit) ? "within" : "MISSED" }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
extra=$(awk -v a="$form_big" -v b="$form_empty" 'BEGIN { printf "%.1f", a - b }')
hwm_extra=$(awk -v a="$hwm_big" -v b="$hwm_empty" 'BEGIN { printf "%.2f", (a - b) / 1024 }')
{
    echo "Summary ($RUNS runs each, medians; $(nproc) cores, $(uname -r), Qt $(pkg-config --modversion Qt6Core))"
    echo "1. launch to name prompt: kelvrast $launch_kelvrast ms ($launch_kelvrast_range)," \
        "minimal Qt prompt $launch_minimal ms ($launch_minimal_range)," \
        "ratio $(ratio "$launch_kelvrast" "$launch_minimal") ($(verdict "$(ratio "$launch_kelvrast" "$launch_minimal")" 1.2) 1.2)"
    echo "2. name to window: 100 MB master file $form_big ms ($form_big_range), empty $form_empty ms" \
        "($form_empty_range), extra $extra ms;" \
        "line-reading floor $read_lines ms (bare read(2) $read_bytes ms), extra / floor" \
        "$(ratio "$extra" "$read_lines") ($(verdict "$(ratio "$extra" "$read_lines")" 2) 2)"
    echo "   in one process: scanMasterFile $scan ms against the floor $read_lines ms, ratio $(ratio "$scan" "$read_lines")"
    echo "3. VmHWM: 100 MB master file $hwm_big kB, empty $hwm_empty kB, difference $hwm_extra MB" \
        "($(verdict "$hwm_extra" 5) 5 MB)"
    echo "4. benchmarks (wall time per iteration; the median where the benchmark repeats):"
    cat "$RESULTS/benchmarks.txt"
} | tee "$BUILD/performance-summary.txt"
