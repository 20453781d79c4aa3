#!/usr/bin/env bash
# The engines glow grey at thrust 0 and yellow at full thrust, with flames
# behind them, seen from the chase view; T stops and restarts the day clock.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"

# Screen positions of the two glows from 500 behind the start pose.
GLOWS="277 258 360 258"

glows_are() {
  local name=$1 want=$2 tol=$3 x y
  set -- $GLOWS
  while [ $# -gt 0 ]; do
    x=$1; y=$2; shift 2
    near "$(pixel "$name" "$x" "$y")" "$want" "$tol" || return 1
  done
}

until_shot() {
  local name=$1 tries=$2 i
  shift 2
  for i in $(seq 1 "$tries"); do
    screenshot "$name"
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

send_keys 2
# Dark grey glows, lit only a little by the scene's ambient light.
until_shot exhaust_idle 25 glows_are exhaust_idle "66 66 66" 30 ||
  fail "no grey glows in the chase view: $(pixel exhaust_idle 277 258)"

send_keys bracketright bracketright bracketright bracketright bracketright \
          bracketright bracketright bracketright bracketright bracketright
until_shot exhaust_full 25 glows_are exhaust_full "255 240 60" 25 ||
  fail "glows not yellow at full thrust: $(pixel exhaust_full 277 258)"

send_keys T
wait_output "Time has stopped."
send_keys T
wait_output "Time passes by."
[ "$(count_output "Time has stopped.")" = 1 ] || fail "T printed its line more than once"

send_keys Q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"
echo "ok"
