#!/usr/bin/env bash
# The engines glow grey at thrust 0 and yellow at full thrust, with flames
# behind them, seen from the chase view (pictures exhaust_idle and
# exhaust_full); T stops and restarts the day clock.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"

# The engines seen from 500 behind the start pose: the model covers most of
# the glows, their rims show around the nozzles.
ENGINES=240x60+200+230

# yellow_pixels NAME: glow-yellow pixels around the engines.
yellow_pixels() {
  "$CONVERT" "$SHOTS/$1.png" -crop "$ENGINES" -depth 8 txt:- |
    sed -n 's/^[^(]*(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1 \2 \3/p' |
    awk '$1 > 200 && $2 > 180 && $3 < 130 { n++ } END { print n + 0 }'
}
no_yellow() { [ "$(yellow_pixels "$1")" -eq 0 ]; }
yellow() { [ "$(yellow_pixels "$1")" -gt 40 ]; }


send_keys 2
sleep 1
screenshot exhaust_idle
no_yellow exhaust_idle || fail "yellow glows at thrust 0"

send_keys bracketright bracketright bracketright bracketright bracketright \
          bracketright bracketright bracketright bracketright bracketright
until_shot exhaust_full 25 yellow exhaust_full ||
  fail "glows not yellow at full thrust: $(yellow_pixels exhaust_full) yellow pixels"

send_keys T
wait_output "Time has stopped."
send_keys T
wait_output "Time passes by."
[ "$(count_output "Time has stopped.")" = 1 ] || fail "T printed its line more than once"

send_keys Q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"
echo "ok"
