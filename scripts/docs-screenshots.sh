#!/usr/bin/env bash
# Makes the README's pictures (docs/chase.png, docs/editor.png) with the real
# programs under a private Xvfb, and docs/landscape.png with pelorin-landscape. Run from the repository after a build.
set -euo pipefail
export PELORIN_BUILD=${1:-$PWD/build}
export PELORIN_SOURCE=$PWD
export PELORIN_SHOTS=$PWD/docs
. tests/e2e/lib.sh
e2e_init
copy_data
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"
wait_output "Finished Reading Landscape!"
# Full throttle, the nose up three degrees early in the run, gear up in the air.
send_keys 2 bracketright bracketright bracketright bracketright bracketright \
  bracketright bracketright bracketright bracketright bracketright
for i in $(seq 1 400); do ask_plane; above "$PZ" -9070 && break; done
send_keys Down Down Down
for i in $(seq 1 400); do ask_plane; above "$PY" 120 && break; done
send_keys g
for i in $(seq 1 400); do ask_plane; above "$PY" 400 && break; done
screenshot chase
send_keys shift+q
wait_exit

start_app pelorin-editor
wait_window "Pelorin Editor"
# A mountain of plateaus at 8000, a 4000 shelf beside it, then smoothing.
send_keys h
for y in $(seq 150 9 260); do drag 250 $y 330 $y 1 12; done
send_input 4000
send_keys c
wait_output "Enter Elevation:"
for y in $(seq 270 9 340); do drag 330 $y 420 $y 1 14; done
send_keys s
for pass in 1 2; do
  for y in $(seq 130 9 360); do drag 210 $y 450 $y 1 30; done
done
sleep 0.5
screenshot editor
kill "$APP_PID"

# The delivered landscape as export draws it, eight pixels a grid point.
"$PELORIN_BUILD/pelorin-landscape" export data/landscape.dmf -o "$WORK/landscape.png"
"$CONVERT" "$WORK/landscape.png" -scale 800% docs/landscape.png
