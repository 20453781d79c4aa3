#!/usr/bin/env bash
# The simulator's frame time per camera view: the real program under its own
# Xvfb, with the frame shim preloaded to timestamp every frame (its glClear to
# the return of its swap) and every run of the step and clock timers with the
# steps and ticks run so far. Prints, per window size and view, the median and
# 95th percentile frame time, the median part of it spent inside the swap
# (where the software renderer rasterises and presents), frames per second,
# and simulation steps and day-clock ticks per wall second (100 and 4 are what
# the timers are built for).
#   FRAME_BENCH_SECONDS  measuring time per view (default 3)
#   FRAME_BENCH_SIZES    window sizes, one program run each
#                        (default "640x480 1280x960")
#   BENCH_TABLE          if set, rows for the combined table are appended
set -euo pipefail
export LC_ALL=C
build=$(cd "${1:-build}" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${FRAME_BENCH_SECONDS:-3}
sizes=${FRAME_BENCH_SIZES:-640x480 1280x960}
shim="$build/libframe_shim.so"
[ -x "$build/pelorin" ] || { echo "frame_bench: no $build/pelorin" >&2; exit 1; }
[ -e "$shim" ] || { echo "frame_bench: no $shim" >&2; exit 1; }
# Game time must keep wall-clock time in every view and window size: steps
# and clock ticks per wall second within half a per cent of 100 and 4.
TARGET_STEPS_LOW=99.5
TARGET_STEPS_HIGH=100.5
TARGET_TICKS_LOW=3.98
TARGET_TICKS_HIGH=4.02

# shellcheck source=scripts/bench-harness.sh
. "$source_dir/scripts/bench-harness.sh"
# Large enough for the biggest size with room to spare: no window manager
# places the window, so it must fit from the origin.
bench_start frame-bench 1600x1200x24

now_ns() { date +%s%N; }

# Frame times (ms) of the frames that started inside [from, to].
frame_times() {
  awk -v from="$1" -v to="$2" '
    $1 == "C" { start = $2 }
    $1 == "S" && start >= from && start <= to { printf "%.3f\n", ($2 - start) / 1e6; start = 0 }
  ' "$work/frames.log" | sort -n
}

# Median time (ms) from the swap's call to its return, which is where
# Mesa's software renderer finishes rasterising and presents the frame.
swap_median() {
  awk -v from="$1" -v to="$2" '
    $1 == "C" { start = $2 }
    $1 == "B" { b = $2 }
    $1 == "S" && b && start >= from && start <= to { printf "%.3f\n", ($2 - b) / 1e6; b = 0 }
  ' "$work/frames.log" | sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "-" }'
}

count_in() {
  awk -v kind="$1" -v from="$2" -v to="$3" '$1 == kind && $2 >= from && $2 <= to { n++ } END { print n + 0 }' "$work/frames.log"
}

# Ticks per wall second of the timer whose lines are of kind $1, between its
# first and last run inside [from, to]: each line carries the count run so
# far, so runs that caught up on several ticks count every one.
rate_in() {
  awk -v kind="$1" -v from="$2" -v to="$3" '
    $1 == kind && $2 >= from && $2 <= to { if (!t0) { t0 = $2; n0 = $3 } t1 = $2; n1 = $3 }
    END { if (t1 > t0) printf "%.2f", (n1 - n0) / ((t1 - t0) / 1e9); else print "-" }
  ' "$work/frames.log"
}

# Measures the current view of the window of size $1 under the label $2.
measure() {
  local size=$1 name=$2 from to
  sleep 0.5
  from=$(now_ns)
  sleep "$seconds"
  to=$(now_ns)
  if ! kill -0 "$app" 2>/dev/null; then
    echo "frame_bench: the simulator ended during $size $name; its standard error ends:" >&2
    tail -n 20 "$work/stderr" >&2
    exit 1
  fi
  local times n median p95 swaps span fps sps tps met
  times=$(frame_times "$from" "$to")
  n=$(printf '%s\n' "$times" | grep -c . || true)
  if [ "$n" -eq 0 ]; then
    median=-; p95=-
  else
    median=$(printf '%s\n' "$times" | awk -v n="$n" 'NR == int((n + 1) / 2) { print }')
    p95=$(printf '%s\n' "$times" | awk -v n="$n" 'BEGIN { k = int(n * 0.95 + 0.999); if (k < 1) k = 1 } NR == k { print }')
  fi
  swaps=$(count_in S "$from" "$to")
  span=$(awk -v a="$from" -v b="$to" 'BEGIN { print (b - a) / 1e9 }')
  fps=$(awk -v c="$swaps" -v s="$span" 'BEGIN { printf "%.1f", c / s }')
  sps=$(rate_in T "$from" "$to")
  tps=$(rate_in K "$from" "$to")
  printf '%-9s %-10s %8d %12s %12s %12s %10s %10s %10s\n' "$size" "$name" "$n" "$median" "$p95" "$(swap_median "$from" "$to")" "$fps" "$sps" "$tps"
  met=$(awk -v s="$sps" -v k="$tps" -v sl="$TARGET_STEPS_LOW" -v sh="$TARGET_STEPS_HIGH" -v kl="$TARGET_TICKS_LOW" -v kh="$TARGET_TICKS_HIGH" \
    'BEGIN { print (s + 0 >= sl && s + 0 <= sh && k + 0 >= kl && k + 0 <= kh ? "yes" : "NO") }')
  row "frame $size $name" "$median ms" "$p95 ms" "$fps frames/s, $sps steps/s, $tps ticks/s" \
    "$TARGET_STEPS_LOW-$TARGET_STEPS_HIGH steps/s, $TARGET_TICKS_LOW-$TARGET_TICKS_HIGH ticks/s" "$met"
}

# One program run at window size $1 (WIDTHxHEIGHT), every view in turn.
run_size() {
  local size=$1 width=${1%x*} height=${1#*x} wid geometry
  rm -f "$work/frames.log" "$work/stdin"
  mkfifo "$work/stdin"
  (cd "$work/run" && ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" PELORIN_FRAME_LOG="$work/frames.log" LD_PRELOAD="$shim" \
    exec "$build/pelorin" <"$work/stdin" >"$work/stdout" 2>"$work/stderr") &
  app=$!
  exec 7>"$work/stdin"

  bench_wait_window frame_bench
  xdotool windowmove --sync "$wid" 0 0 2>/dev/null || xdotool windowmove "$wid" 0 0
  xdotool windowsize --sync "$wid" "$width" "$height" 2>/dev/null || xdotool windowsize "$wid" "$width" "$height"
  geometry=$(xwininfo -id "$wid" | awk '$1 == "Width:" { w = $2 } $1 == "Height:" { h = $2 } END { print w "x" h }')
  [ "$geometry" = "$size" ] || { echo "frame_bench: window is $geometry, not $size" >&2; exit 1; }
  xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"

  measure "$size" "1 cockpit"
  xdotool key 2; measure "$size" "2 chase"
  xdotool key 2; measure "$size" "6 orbit"
  xdotool key 3; measure "$size" "3 fixed"
  xdotool key 4; measure "$size" "4 tower"
  xdotool key 5; measure "$size" "5 overhead"
  xdotool key Q 2>/dev/null || true
  for _ in $(seq 1 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  app=""
  exec 7>&-
}

printf '%-9s %-10s %8s %12s %12s %12s %10s %10s %10s\n' size view frames "median ms" "p95 ms" "of it swap" "frames/s" "steps/s" "ticks/s"
for size in $sizes; do
  run_size "$size"
done
