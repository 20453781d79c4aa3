#!/usr/bin/env bash
# Raising the gear on the ground drops the aircraft onto its belly: it crashes,
# the game pauses with the restart question open, and Y (which acts only on
# that question) restarts at the start pose, resting level with the gear down.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"


send_keys g
wait_output "Raising landing gear"
# The crash freezes the aircraft below its start height (only the crash pauses
# this game). Equal lines may also come from a slow step, so this is only the
# moment to look; the answer below is what proves the question was open.
previous=""
for i in $(seq 1 200); do
  ask_plane
  case "$LINE" in "Plane: pos = 3075.00, 30.00,"*) previous=""; continue ;; esac
  [ "$LINE" = "$previous" ] && break
  previous=$LINE
  sleep 0.2
done
screenshot flight_crash

# A restart answered while the explosion still runs is taken back by its next
# frame, so answer until the aircraft is seen resting at the start.
rest="Plane: pos = 3075.00, 34.00, "
level=", dir = 0.00, 0.00, 1.00 (1.00), up = 0.00, 1.00, 0.00 (1.00), normal = -1.00, 0.00, 0.00 (1.00)"
for i in $(seq 1 100); do
  send_keys shift+y
  ask_plane
  case "$LINE" in "$rest"-94[67]*"$level") break ;; esac
  sleep 0.1
done
case "$LINE" in
  "$rest"-94[67]*"$level") ;;
  *) fail "Y did not restart at the start pose: $LINE" ;;
esac
# Resting again with the gear down: the gear key raises it once more.
send_keys g
for i in $(seq 1 100); do
  [ "$(count_output "Raising landing gear")" -ge 2 ] && break
  sleep 0.05
done
[ "$(count_output "Raising landing gear")" = 2 ] || fail "the gear was not down after the restart"
send_keys shift+q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"
echo "ok"
