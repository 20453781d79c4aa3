#!/usr/bin/env bash
# What a course and its ghost cost the frame: the simulator at 640 x 480 under
# its own Xvfb with the frame shim preloaded, once plain and once flying the
# easy course against its recording as the ghost, in the cockpit and the chase
# view at the start, where the lit first gate, the hoops beyond it and the
# ghost waiting at the first gate are in view. Prints the median frame time of
# each, and the difference, whose target is at most 1 ms.
#   COURSE_BENCH_SECONDS  measuring time per view (default 3)
#   COURSE_BENCH_GHOST    the ghost's option (default "--ghost valley_course.rec";
#                         empty: the course alone)
#   BENCH_TABLE           if set, rows for the combined table are appended
set -euo pipefail
export LC_ALL=C
build=$(cd "${1:-build}" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${COURSE_BENCH_SECONDS:-3}
shim="$build/libframe_shim.so"
[ -x "$build/pelorin" ] || { echo "course_frame_bench: no $build/pelorin" >&2; exit 1; }
[ -e "$shim" ] || { echo "course_frame_bench: no $shim" >&2; exit 1; }
TARGET_MS=1.0

# shellcheck source=scripts/bench-harness.sh
. "$source_dir/scripts/bench-harness.sh"
bench_start course-frame-bench 1024x768x24
cp "$source_dir/tests/data/recordings/valley_course.rec" "$work/run/"

now_ns() { date +%s%N; }

# Median frame time (ms, the clear to the swap's return) of the frames that
# started inside [from, to].
median_in() {
  awk -v from="$1" -v to="$2" '
    $1 == "C" { start = $2 }
    $1 == "S" && start >= from && start <= to { printf "%.3f\n", ($2 - start) / 1e6; start = 0 }
  ' "$work/frames.log" | sort -n | awk '{ v[NR] = $1 } END { if (NR) print v[int((NR + 1) / 2)]; else print "-" }'
}

measure() {
  local from to
  sleep 0.5
  from=$(now_ns)
  sleep "$seconds"
  to=$(now_ns)
  kill -0 "$app" 2>/dev/null || { echo "course_frame_bench: the simulator ended; its standard error ends:" >&2; tail -n 20 "$work/stderr" >&2; exit 1; }
  median_in "$from" "$to"
}

# One program run with the arguments given; prints the cockpit's and the
# chase view's median frame times.
run() {
  local wid
  rm -f "$work/frames.log" "$work/stdin"
  mkfifo "$work/stdin"
  (cd "$work/run" && ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" PELORIN_FRAME_LOG="$work/frames.log" LD_PRELOAD="$shim" \
    exec "$build/pelorin" -geometry 640x480+0+0 "$@" <"$work/stdin" >"$work/stdout" 2>"$work/stderr") &
  app=$!
  exec 7>"$work/stdin"
  bench_wait_window course_frame_bench
  xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid"
  local cockpit chase
  cockpit=$(measure)
  xdotool key 2
  chase=$(measure)
  xdotool key Q 2>/dev/null || true
  for _ in $(seq 1 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  app=""
  exec 7>&-
  echo "$cockpit $chase"
}

read -r plain_cockpit plain_chase < <(run)
read -r course_cockpit course_chase < <(run --course courses/valley.course ${COURSE_BENCH_GHOST---ghost valley_course.rec})
printf '%-10s %14s %14s %10s\n' view "plain ms" "course ms" "more ms"
for view in cockpit chase; do
  plain_var=plain_$view; course_var=course_$view
  plain=${!plain_var}; course=${!course_var}
  more=$(awk -v a="$plain" -v b="$course" 'BEGIN { printf "%.3f", b - a }')
  printf '%-10s %14s %14s %10s\n' "$view" "$plain" "$course" "$more"
  met=$(awk -v m="$more" -v t="$TARGET_MS" 'BEGIN { print (m + 0 <= t ? "yes" : "NO") }')
  row "frame 640x480 $view, course and ghost" "$course ms" "" "$more ms more than plain ($plain ms)" "<= $TARGET_MS ms more" "$met"
done
