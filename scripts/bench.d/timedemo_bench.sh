#!/usr/bin/env bash
# The timedemo: a recording kept in the repository (take-off, the flight to
# tile 0, the crash into its slopes, the explosion, a restart) played with one
# frame after every step as fast as the machine goes, under a private Xvfb.
# The figure a player compares across machines. Three runs; the frame count
# must be the same in each.
#   TIMEDEMO_RECORDING  the recording (default tests/data/recordings/crash_tile_zero.rec)
#   BENCH_TABLE         if set, a row for the combined table is appended
set -euo pipefail
export LC_ALL=C
build=$(cd "${1:-build}" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
recording=${TIMEDEMO_RECORDING:-$source_dir/tests/data/recordings/crash_tile_zero.rec}
# shellcheck source=scripts/bench-harness.sh
. "$source_dir/scripts/bench-harness.sh"
bench_start timedemo 1280x1024x24
lines=()
for run in 1 2 3; do
  line=$(cd "$work/run" && "$build/pelorin" --timedemo "$recording" | tail -n 1)
  echo "run $run: $line"
  lines+=("$line")
done
frames=$(printf '%s\n' "${lines[@]}" | awk '{ print $3 }' | sort -u)
[ "$(printf '%s\n' "$frames" | wc -l)" = 1 ] || { echo "timedemo: the frame count differs between runs: $frames" >&2; exit 1; }
[ -n "${BENCH_TABLE:-}" ] || exit 0
# The run with the median rate.
printf '%s\n' "${lines[@]}" | sort -t: -k2 -n | sed -n 2p | awk -v name="$(basename "$recording" .rec)" '{
  for (i = 1; i <= NF; i++) {
    if ($i == "(median") median = $(i + 1)
    if ($i == "p99") p99 = $(i + 1)
    if ($i == "frames/s") rate = $(i - 1)
  }
  printf "timedemo %s\t%s ms\t%s ms (p99)\t%s frames/s, %s frames\t\t\n", name, median, p99, rate, $3
}' >>"$BENCH_TABLE"
