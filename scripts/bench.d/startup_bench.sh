#!/usr/bin/env bash
# Time from process start to the first frame shown, and peak resident memory,
# of both programs: each started several times under its own Xvfb with the
# frame shim preloaded (it timestamps every swap), left running a moment
# after its first frame, its VmHWM read, then ended. Prints per program the
# median milliseconds from start to its window created, to its main loop
# entered (everything loaded) and to its first frame shown, the slowest first
# frame, and the median peak memory; once for starts on a warm shader cache,
# as every start after the first on a machine is, and once for first starts
# on an empty one, when llvmpipe compiles all the first frame's shaders. The
# bench keeps both caches of its own, whatever the user's holds.
#   STARTUP_BENCH_RUNS     starts per program (default 7)
#   STARTUP_BENCH_SECONDS  running time after the first frame (default 1.5)
#   BENCH_TABLE            if set, rows for the combined table are appended
#   BENCH_MACHINE          if set, the GL version and renderer are appended
set -euo pipefail
export LC_ALL=C
build=$(cd "${1:-build}" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
runs=${STARTUP_BENCH_RUNS:-7}
settle=${STARTUP_BENCH_SECONDS:-1.5}
shim="$build/libframe_shim.so"
for program in pelorin pelorin-editor; do
  [ -x "$build/$program" ] || { echo "startup_bench: no $build/$program" >&2; exit 1; }
done
[ -e "$shim" ] || { echo "startup_bench: no $shim" >&2; exit 1; }

# shellcheck source=scripts/bench-harness.sh
. "$source_dir/scripts/bench-harness.sh"
bench_start startup-bench 1280x1024x24

# One start of $1: prints "<ms to first swap> <VmHWM kB> <ms to window
# created> <ms to main loop entered>", the last two to show where the time
# goes.
one_start() {
  local program=$1 cache=$2 log="$work/frames.log" started first hwm
  rm -f "$log" "$work/started" "$work/stdin"
  mkfifo "$work/stdin"
  # The start time is taken in the child just before exec, without a fork,
  # so the figure covers loading, linking and everything the program does.
  (cd "$work/run" && echo "${EPOCHREALTIME/./}" >"$work/started" && MESA_SHADER_CACHE_DIR="$cache" \
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" PELORIN_FRAME_LOG="$log" LD_PRELOAD="$shim" \
    exec "$build/$program" <"$work/stdin" >"$work/stdout" 2>"$work/stderr") &
  app=$!
  exec 7>"$work/stdin"
  first=""
  for _ in $(seq 1 1000); do
    first=$(awk '$1 == "S" { print $2; exit }' "$log" 2>/dev/null || true)
    [ -n "$first" ] && break
    kill -0 "$app" 2>/dev/null || { echo "startup_bench: $program ended before its first frame" >&2; cat "$work/stderr" >&2; exit 1; }
    sleep 0.01
  done
  [ -n "$first" ] || { echo "startup_bench: $program showed no frame in 10 s" >&2; exit 1; }
  sleep "$settle"
  hwm=$(awk '$1 == "VmHWM:" { print $2 }' "/proc/$app/status")
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  app=""
  exec 7>&-
  [ -s "$work/renderer" ] || sed -n 's/^R //p' "$log" | head -n 1 >"$work/renderer"
  started=$(cat "$work/started")
  awk -v s="$started" -v f="$first" -v m="$hwm" '
    $1 == "W" && !w { w = $2 } $1 == "M" && !l { l = $2 }
    function ms(t) { return t ? (t / 1000 - s) / 1000 : -1 }
    END { printf "%.1f %d %.1f %.1f\n", ms(f), m, ms(w), ms(l) }' "$log"
}

# Nearest-rank percentile of the numbers on standard input.
percentile() {
  sort -n | awk -v p="$1" '{ v[NR] = $1 } END { k = int(NR * p / 100 + 0.999); if (k < 1) k = 1; print v[k] }'
}

printf 'milliseconds from process start\n'
printf '%-16s %-6s %6s %9s %9s %14s %14s %10s\n' program cache starts "window" "loaded" "first frame" "slowest first" "peak MB"
for program in pelorin pelorin-editor; do
  for cache in warm empty; do
    : >"$work/results"
    # Fills the warm cache; not measured.
    [ $cache = warm ] && one_start "$program" "$work/cache-$program" >/dev/null
    for i in $(seq 1 "$runs"); do
      if [ $cache = warm ]; then
        one_start "$program" "$work/cache-$program" >>"$work/results"
      else
        one_start "$program" "$work/cache-empty-$program-$i" >>"$work/results"
      fi
    done
    median=$(awk '{ print $1 }' "$work/results" | percentile 50)
    slowest=$(awk '{ print $1 }' "$work/results" | percentile 100)
    memory=$(awk '{ print $2 / 1024 }' "$work/results" | percentile 50)
    window=$(awk '{ print $3 }' "$work/results" | percentile 50)
    loaded=$(awk '{ print $4 }' "$work/results" | percentile 50)
    printf '%-16s %-6s %6d %9.1f %9.1f %14.1f %14.1f %10.1f\n' "$program" $cache "$runs" "$window" "$loaded" "$median" "$slowest" "$memory"
    met=$(awk -v m="$median" 'BEGIN { print (m <= 500 ? "yes" : "NO") }')
    if [ $cache = warm ]; then
      row "$program: start to first frame" "$median ms" "max $slowest ms" "" "<= 500 ms" "$met"
      row "$program: peak resident memory" "$(printf '%.1f MB' "$memory")" "" "" "" ""
    else
      row "$program: cold start to first frame" "$median ms" "max $slowest ms" "" "<= 500 ms" "$met"
    fi
  done
done
if [ -s "$work/renderer" ]; then
  echo "GL: $(cat "$work/renderer")"
  if [ -n "${BENCH_MACHINE:-}" ]; then echo "GL: $(cat "$work/renderer")" >>"$BENCH_MACHINE"; fi
fi
