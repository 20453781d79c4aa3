#!/usr/bin/env bash
# Raising the gear on the ground drops the aircraft onto its belly: it crashes,
# the game pauses with the restart question open (p cannot lift it), and Y
# restarts at the start pose, resting level on the ground.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"

ask_plane() {
  local before i
  before=$(grep -c '^Plane: ' "$WORK/stdout" || true)
  send_keys shift+p
  for i in $(seq 1 200); do
    [ "$(grep -c '^Plane: ' "$WORK/stdout" || true)" -gt "$before" ] && break
    sleep 0.02
  done
  LINE=$(grep '^Plane: ' "$WORK/stdout" | tail -n 1)
}

send_keys g
wait_output "Raising landing gear"
# The crash freezes the aircraft: wait for two equal state lines off the start height.
previous=""
for i in $(seq 1 200); do
  ask_plane
  case "$LINE" in "Plane: pos = 3075.00, 30.00,"*) previous=""; continue ;; esac
  [ "$LINE" = "$previous" ] && break
  previous=$LINE
  sleep 0.1
done
[ "$LINE" = "$previous" ] || fail "the aircraft did not stop after touching down on its belly: $LINE"
screenshot flight_crash
# The question holds the pause.
send_keys p
sleep 0.2
ask_plane
[ "$LINE" = "$previous" ] || fail "p lifted the pause of the restart question: $LINE"

# A restart answered while the explosion still runs is taken back by its next
# frame, so answer until the aircraft is seen resting at the start.
rest="Plane: pos = 3075.00, 34.00, "
level=", dir = 0.00, 0.00, 1.00 (1.00), up = 0.00, 1.00, 0.00 (1.00), normal = -1.00, 0.00, 0.00 (1.00)"
for i in $(seq 1 100); do
  send_keys y
  ask_plane
  case "$LINE" in "$rest"-94[67]*"$level") break ;; esac
  sleep 0.1
done
case "$LINE" in
  "$rest"-94[67]*"$level") ;;
  *) fail "Y did not restart at the start pose: $LINE" ;;
esac
# Resting again: the gear key works and the game runs.
send_keys g
wait_output "Raising landing gear"
send_keys shift+q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"
echo "ok"
