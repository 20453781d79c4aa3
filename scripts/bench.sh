#!/usr/bin/env bash
# Prints every benchmark: the machine, the function benchmarks, then the
# whole-program harnesses under the current display, each with its own
# detail, and at the end one combined table with the targets and whether
# they are met. Ends with status 1 if any part failed to run.
set -uo pipefail
export LC_ALL=C
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/pelorin-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
export BENCH_TABLE="$work/table.tsv" BENCH_MACHINE="$work/machine.txt"
: >"$BENCH_TABLE"
failed=0

{
  echo "date: $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "CPU: $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo), $(nproc) processors available"
  echo "memory: $(awk '/^MemTotal/ { printf "%.1f GB", $2 / 1048576 }' /proc/meminfo)"
  echo "kernel: $(uname -sr)"
  echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
} >"$BENCH_MACHINE"
cat "$BENCH_MACHINE"
echo

# Function benchmarks: the median of five repetitions, CPU time, so that
# other work on the machine inflates the figures as little as possible.
if "$build/benchmarks" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
  --benchmark_out="$work/functions.csv" --benchmark_out_format=csv; then
  awk -F, '
    /^"/ && $1 ~ /_median"$/ {
      name = $1; gsub(/"/, "", name); sub(/_median$/, "", name); sub(/^BM_/, "", name)
      target = ""; met = ""
      # The sound is mixed on the audio thread once a buffer: 10 ms of it
      # must cost at most 0.2 ms of one core.
      if (name == "MixTenMilliseconds") {
        seconds = $4 * ($5 == "ns" ? 1e-9 : $5 == "us" ? 1e-6 : $5 == "ms" ? 1e-3 : 1)
        target = "<= 0.2 ms"; met = seconds <= 0.2e-3 ? "yes" : "NO"
      }
      # A course of 40 gates must leave the step under 2 microseconds.
      if (name == "SimulationStepCourseFortyGates") {
        seconds = $4 * ($5 == "ns" ? 1e-9 : $5 == "us" ? 1e-6 : $5 == "ms" ? 1e-3 : 1)
        target = "< 2 us"; met = seconds < 2e-6 ? "yes" : "NO"
      }
      printf "function %s\t%.3g %s\t\t\t%s\t%s\n", name, $4, $5, target, met
    }' "$work/functions.csv" >>"$BENCH_TABLE"
else
  echo "bench: the function benchmarks failed" >&2
  failed=1
fi

for harness in "$here"/bench.d/*.sh; do
  [ -e "$harness" ] || continue
  echo
  echo "== $(basename "$harness" .sh)"
  bash "$harness" "$build" || { echo "bench: $(basename "$harness") failed" >&2; failed=1; }
done

echo
echo "== all measurements"
cat "$BENCH_MACHINE"
awk -F'\t' '
  BEGIN { printf "%-44s %-12s %-16s %-32s %-16s %s\n", "measurement", "median", "p95 / slowest", "rate", "target", "met" }
  { printf "%-44s %-12s %-16s %-32s %-16s %s\n", $1, $2, $3, $4, $5, $6 }' "$BENCH_TABLE"
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
missed=$(awk -F'\t' '$6 == "NO" { n++ } END { print n + 0 }' "$BENCH_TABLE")
echo "targets missed: $missed"
exit $failed
