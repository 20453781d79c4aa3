#!/usr/bin/env bash
# Full throttle on the runway breaks the gear above speed 60 and the next step
# on the ground is a crash: the game pauses with the restart question open and
# the cause under it. Y (which acts only on that question) restarts at the
# start pose, resting level with the gear down; R then asks without a cause.
# A dive with the gear up then names the dive.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"
send_keys 2

send_keys bracketright bracketright bracketright bracketright bracketright \
  bracketright bracketright bracketright bracketright bracketright
# The crash freezes the aircraft where it was (only the crash pauses this
# game). Equal lines may also come from a slow step, so this is only the
# moment to look; the answer below is what proves the question was open.
previous=""
for i in $(seq 1 200); do
  ask_plane
  case "$LINE" in "Plane: pos = 3075.00, 30.00, -9470.00"*) previous=""; continue ;; esac
  [ "$LINE" = "$previous" ] && break
  previous=$LINE
  sleep 0.2
done
# The question's baseline is the window's middle (240 from the top); the
# cause stands one line lower, centred.
cause_line() { [ "$(white_in "$1" 140 252 360 28)" -gt 200 ]; }
shoot_until flight_crash cause_line || fail "no cause under the restart question"

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
# Asked without a crash, the question stands alone.
send_keys shift+r
sync_keys
question_only() { [ "$(white_in "$1" 220 214 200 28)" -gt 100 ] && [ "$(white_in "$1" 140 252 360 28)" -lt 5 ]; }
shoot_until flight_question question_only || fail "R asked with a cause under the question"
# Restarted, the aircraft rests with its gear down: the gear key raises it.
send_keys shift+y
sync_keys
# A dive in the instruments display (H): paused, the nose put 10 degrees
# down and the gear raised, the first step crashes on two rules, and the
# line names the dive, not the belly landing the gear check would.
send_keys shift+h p Up Up Up Up Up Up Up Up Up Up g
wait_output "Raising landing gear"
send_keys p
# The widest run of white in the cause's band: the dive's line, "Hit the
# ground 11 degrees nose down at speed 1", is about 470 pixels wide in the
# 24-point font, "A belly landing with the gear up" about 330.
cause_width() {
  "$CONVERT" "$SHOTS/$1.png" -crop "640x28+0+252" +repage txt:- | grep -i '#FFFFFF' |
    sed -E 's/^([0-9]+),.*/\1/' | sort -n | awk 'NR == 1 { l = $1 } { r = $1 } END { print r - l + 0 }'
}
dive_line() { [ "$(cause_width "$1")" -gt 420 ]; }
shoot_until flight_dive dive_line || fail "the dive's crash line is $(cause_width flight_dive) pixels wide"
send_keys shift+q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"
echo "ok"
