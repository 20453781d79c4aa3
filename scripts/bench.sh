#!/usr/bin/env bash
# Prints every benchmark: the function benchmarks, then the whole-frame
# harnesses that run the real programs under the current display.
set -euo pipefail
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
"$build/benchmarks" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
for harness in "$here"/bench.d/*.sh; do
  [ -e "$harness" ] || continue
  bash "$harness" "$build"
done
