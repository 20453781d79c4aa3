#!/usr/bin/env bash
# The simulator's frame time per camera view: the real program under its own
# 640 x 480 Xvfb, with the frame shim preloaded to timestamp every frame (its
# glClear to the return of its swap) and every re-arm of the 10 ms simulation
# step. Prints, per view, the median and 95th percentile frame time, frames
# per second and simulation steps per second achieved (100 is the ceiling).
#   FRAME_BENCH_SECONDS  measuring time per view (default 3)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${FRAME_BENCH_SECONDS:-3}
shim="$build/libframe_shim.so"
[ -x "$build/pelorin" ] || { echo "frame_bench: no $build/pelorin" >&2; exit 1; }
[ -e "$shim" ] || { echo "frame_bench: no $shim" >&2; exit 1; }

# shellcheck source=scripts/xvfb.sh
. "$source_dir/scripts/xvfb.sh"
work=$(mktemp -d /tmp/pelorin-frame-bench.XXXXXX)
app=""
cleanup() {
  exec 7>&- 2>/dev/null || true
  [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
start_xvfb 640x480x24
[ -d "$source_dir/data" ] && cp -r "$source_dir/data/." "$work/"

mkfifo "$work/stdin"
(cd "$work" && ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" PELORIN_FRAME_LOG="$work/frames.log" LD_PRELOAD="$shim" \
  exec "$build/pelorin" <"$work/stdin" >"$work/stdout" 2>"$work/stderr") &
app=$!
exec 7>"$work/stdin"

wid=""
for _ in $(seq 1 200); do
  wid=$(xdotool search --onlyvisible --name '^Tessaly -- Pelorin 2000$' 2>/dev/null | head -n 1 || true)
  [ -n "$wid" ] && break
  kill -0 "$app" 2>/dev/null || { echo "frame_bench: the simulator ended early" >&2; cat "$work/stderr" >&2; exit 1; }
  sleep 0.05
done
[ -n "$wid" ] || { echo "frame_bench: no window" >&2; exit 1; }
xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"

now_ns() { date +%s%N; }

# Frame times (ms) of the frames that started inside [from, to].
frame_times() {
  awk -v from="$1" -v to="$2" '
    $1 == "C" { start = $2 }
    $1 == "S" && start >= from && start <= to { printf "%.3f\n", ($2 - start) / 1e6; start = 0 }
  ' "$work/frames.log" | sort -n
}

count_in() {
  awk -v kind="$1" -v from="$2" -v to="$3" '$1 == kind && $2 >= from && $2 <= to { n++ } END { print n + 0 }' "$work/frames.log"
}

printf '%-10s %8s %12s %12s %10s %10s\n' view frames "median ms" "p95 ms" "frames/s" "steps/s"
measure() {
  local name=$1 from to
  sleep 0.5
  from=$(now_ns)
  sleep "$seconds"
  to=$(now_ns)
  local times n median p95 swaps steps span
  times=$(frame_times "$from" "$to")
  n=$(printf '%s\n' "$times" | grep -c . || true)
  if [ "$n" -eq 0 ]; then
    median=-; p95=-
  else
    median=$(printf '%s\n' "$times" | awk -v n="$n" 'NR == int((n + 1) / 2) { print }')
    p95=$(printf '%s\n' "$times" | awk -v n="$n" 'BEGIN { k = int(n * 0.95 + 0.999); if (k < 1) k = 1 } NR == k { print }')
  fi
  swaps=$(count_in S "$from" "$to")
  steps=$(count_in T "$from" "$to")
  span=$(awk -v a="$from" -v b="$to" 'BEGIN { print (b - a) / 1e9 }')
  printf '%-10s %8d %12s %12s %10.1f %10.1f\n' "$name" "$n" "$median" "$p95" \
    "$(awk -v c="$swaps" -v s="$span" 'BEGIN { print c / s }')" \
    "$(awk -v c="$steps" -v s="$span" 'BEGIN { print c / s }')"
}

measure "1 cockpit"
xdotool key 2; measure "2 chase"
xdotool key 2; measure "6 orbit"
xdotool key 3; measure "3 fixed"
xdotool key 4; measure "4 tower"
xdotool key 5; measure "5 overhead"
xdotool key Q 2>/dev/null || true
for _ in $(seq 1 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
app=""
