#!/usr/bin/env bash
# Records the regression flights of tests/data/recordings again, from the
# scripted pilots of tools/make_recordings.cpp over the delivered landscape.
# Run it when a change alters the flight on purpose, and commit the new
# recordings with that change so that review sees the flight changed.
#
#   scripts/rerecord.sh [BUILD]      (default build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake --build "$build" -j2 --target make-recordings pelorin
cd "$root/data"
"$build/make-recordings" "$root/tests/data/recordings"
for recording in "$root"/tests/data/recordings/*.rec; do
  "$build/pelorin" --track "$recording" >/dev/null
done
echo "recordings written and replayed: $(ls "$root"/tests/data/recordings | tr '\n' ' ')"
