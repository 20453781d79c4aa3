#!/usr/bin/env bash
# A take-off run: thrust 30, the nose raised three degrees once the aircraft
# rolls, the gear raised in the air, and the altitude of the state line
# rising afterwards.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"


send_keys bracketright bracketright bracketright
# Thrust 30 takes the jet to speed 60 and no further, so the gear, which
# gives way above 60, holds however late a slow machine answers the polls
# and delivers the arrows: the jet lifts off at any speed from about 35
# (some 4 s and 12000 units of runway and grass before tile 0's edge).
for i in $(seq 1 400); do
  ask_plane
  above "$PZ" -9070 && break
done
above "$PZ" -9070 || fail "the aircraft did not roll: $LINE"
send_keys Down Down Down
for i in $(seq 1 400); do
  ask_plane
  above "$PY" 60 && break
done
above "$PY" 60 || fail "the aircraft did not leave the ground: $LINE"
send_keys g
wait_output "Raising landing gear"
ask_plane
first=$PY
for i in $(seq 1 400); do
  ask_plane
  above "$PY" "$first" && break
done
above "$PY" "$first" || fail "altitude is not rising: $first then $PY"
screenshot flight_takeoff
send_keys shift+q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"
echo "ok"
