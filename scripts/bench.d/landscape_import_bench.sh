#!/usr/bin/env bash
# Wall-clock time of pelorin-landscape importing a 4096 x 4096 16-bit
# heightmap to the simulator's largest grid (2049 points a side): the whole
# command, from opening the PNG to the landscape file saved and synced. The
# heightmap is ImageMagick's fractal plasma, a rough surface that compresses
# about as badly as real elevation data does. No display is needed.
#   IMPORT_BENCH_RUNS  imports timed (default 5)
#   BENCH_TABLE        if set, a row for the combined table is appended
set -euo pipefail
export LC_ALL=C
build=$(cd "${1:-build}" && pwd)
runs=${IMPORT_BENCH_RUNS:-5}
tool="$build/pelorin-landscape"
[ -x "$tool" ] || { echo "landscape_import_bench: no $tool" >&2; exit 1; }
work=$(mktemp -d /tmp/pelorin-import-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

convert -seed 7 -size 4096x4096 plasma:fractal -colorspace Gray -depth 16 "$work/height.png"
: >"$work/times"
for _ in $(seq 1 "$runs"); do
  rm -f "$work/landscape.dmf"
  start=${EPOCHREALTIME/./}
  "$tool" import "$work/height.png" -o "$work/landscape.dmf" --size 2049
  end=${EPOCHREALTIME/./}
  echo $(( (end - start) / 1000 )) >>"$work/times"
done
grep -q '^2049 2049 ' "$work/landscape.dmf" || { echo "landscape_import_bench: no 2049 grid written" >&2; exit 1; }
median=$(sort -n "$work/times" | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
slowest=$(sort -n "$work/times" | tail -n 1)
printf 'import 4096 x 4096 16-bit PNG to 2049 x 2049: %d runs, median %d ms, slowest %d ms\n' "$runs" "$median" "$slowest"
met=$(awk -v m="$median" 'BEGIN { print (m < 2000 ? "yes" : "NO") }')
if [ -n "${BENCH_TABLE:-}" ]; then
  printf '%s\t%s\t%s\t%s\t%s\t%s\n' "landscape import 4096^2 PNG to 2049" "$median ms" "max $slowest ms" "" "< 2000 ms" \
    "$met" >>"$BENCH_TABLE"
fi
