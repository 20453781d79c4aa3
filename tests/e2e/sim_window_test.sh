#!/usr/bin/env bash
# The simulator opens its titled 640 x 480 window and clears it to the sky.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"
geometry=$(xdotool getwindowgeometry "$WID" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "640x480" ] || fail "window is $geometry, not 640x480"
wait_output "Finished Reading Landscape!"
# The first frames may still be on their way on a busy machine: look again
# for a few seconds before judging the picture.
for i in $(seq 1 40); do
  screenshot sim_start
  sky=$(pixel sim_start 320 2)
  near "$sky" "135 207 235" 3 && break
  sleep 0.25
done
near "$sky" "135 207 235" 3 || fail "top row is $sky, not the sky colour"
send_keys Q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"
echo "ok"
