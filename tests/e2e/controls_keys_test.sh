#!/usr/bin/env bash
# The pilot's keys acknowledge on the console: the throttle moves the resting
# aircraft, g and the fog and time keys print their lines, R then N quits.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"

# Paused, the throttle changes nothing the state line shows.
send_keys p bracketright bracketright bracketleft plus equal minus shift+p
wait_output "Plane: "
start="Plane: pos = 3075.00, 30.00, -9470.00, dir = 0.00, 0.00, 1.00 (1.00), up = 0.00, 1.00, 0.00 (1.00), normal = -1.00, 0.00, 0.00 (1.00)"
[ "$(grep '^Plane: ' "$WORK/stdout" | tail -n 1)" = "$start" ] || fail "paused state line is not the start pose"

# Unpaused, thrust 11 rolls the aircraft forward along the ground, never fast
# enough to break the gear (above 60): ask for the state line until it moves.
send_keys p
line=""
for i in $(seq 1 50); do
  ask_plane
  line=$LINE
  [ "$line" != "$start" ] && break
done
above "$PZ" -9470 || fail "thrust did not move the aircraft forward: $line"
case "$line" in
  "Plane: pos = 3075.00, 30.00, $PZ, dir = 0.00, 0.00, 1.00 (1.00), up = 0.00, 1.00, 0.00 (1.00), normal = -1.00, 0.00, 0.00 (1.00)") ;;
  *) fail "rolling state line is off the ground or turned: $line" ;;
esac
send_keys backslash

# Paused, so that no step can find the raised gear resting on its belly
# (some 100 ms after the raise) however slowly the second press arrives.
send_keys p g g p
wait_output "Lowering landing gear"
[ "$(count_output "Raising landing gear")" = 1 ] || fail "no single raise line"
grep -A1 -x "Raising landing gear" "$WORK/stdout" | tail -n 1 | grep -qx "Lowering landing gear" ||
  fail "gear lines not in order"

send_keys d shift+d
for i in $(seq 1 100); do
  [ "$(count_output "fogDensity = 0.000004")" -ge 2 ] && break
  sleep 0.05
done
[ "$(count_output "fogDensity = 0.000004")" = 2 ] || fail "fog lines: $(grep fogDensity "$WORK/stdout")"

send_keys shift+t shift+t
wait_output "Time passes by."
[ "$(count_output "Time has stopped.")" = 1 ] || fail "no time-stopped line"

# Case-sensitive: q and n without the question do nothing.
send_keys q n shift+n
sleep 0.3
kill -0 "$APP_PID" 2>/dev/null || fail "q or n ended the program"

screenshot controls_keys
send_keys shift+r shift+n
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "R then N ended with status $EXIT_STATUS"
echo "ok"
