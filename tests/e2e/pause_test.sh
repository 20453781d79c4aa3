#!/usr/bin/env bash
# The pause text and the restart question in the middle of the window, and an
# explosion frame after a belly landing. The explosion is stretched to 400 ms
# a frame by the preloaded frame shim so that a screenshot can catch it.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data



# The pause text's row: baseline at half the height, 24-pixel font.
paused_pixels() { white_in "$1" 270 216 90 30; }
question_pixels() { white_in "$1" 220 216 200 30; }
has_status() { [ "$(white_in "$1" 35 433 140 32)" -gt 100 ]; }
shows_paused() { [ $(( $(paused_pixels "$1") - $(paused_pixels pause_none) )) -gt 60 ]; }
shows_question() { [ $(( $(question_pixels "$1") - $(question_pixels pause_none) )) -gt 150 ]; }

start_app pelorin
wait_window "Tessaly -- Pelorin 2000"
# In the chase view; the runway's white markings count in every picture, so
# the texts are measured against the same view before the key.
send_keys 2
sync_keys
shoot_until pause_none has_status || fail "no chase view"
send_keys p
sync_keys
shoot_until pause_paused shows_paused || true
n=$(( $(paused_pixels pause_paused) - $(paused_pixels pause_none) ))
[ "$n" -gt 60 ] || fail "\"Paused\" adds $n white pixels"
n=$(( $(white_in pause_paused 200 216 66 30) - $(white_in pause_none 200 216 66 30) ))
[ "$n" -lt 5 ] || fail "the pause text starts left of 50 pixels before the centre"
send_keys p R
sync_keys
shoot_until pause_restart shows_question || true
n=$(( $(question_pixels pause_restart) - $(question_pixels pause_none) ))
[ "$n" -gt 150 ] || fail "\"Restart game? (Y/N)\" adds $n white pixels"
send_keys n
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "N ended with status $EXIT_STATUS"

# Explosion: raise the gear while resting, in the chase view.
SHIM="$BUILD/libframe_shim.so"
[ -e "$SHIM" ] || fail "no $SHIM"
export LD_PRELOAD="$SHIM" PELORIN_EXPLOSION_MS=400 ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
start_app pelorin
unset LD_PRELOAD PELORIN_EXPLOSION_MS
wait_window "Tessaly -- Pelorin 2000"
send_keys 2
sync_keys
shoot_until pause_before_crash has_status || fail "no chase view"
send_keys g
wait_output "Raising landing gear"
# The first explosion frame opens the question; frames then follow every 400 ms.
found=""
for i in $(seq 1 100); do
  screenshot pause_explosion
  if [ $(( $(question_pixels pause_explosion) - $(question_pixels pause_before_crash) )) -gt 150 ]; then
    found=1
    break
  fi
  sleep 0.1
done
[ -n "$found" ] || fail "no restart question after the belly landing"
sleep 1.2
screenshot pause_explosion
# The quad (frame 4 or so: 40 % of the window) covers the middle above the text.
n=$("$CONVERT" "$SHOTS/pause_before_crash.png" "$SHOTS/pause_explosion.png" -crop 200x60+220+120 +repage \
      -compose difference -composite -threshold 4% -format '%[fx:round(mean*w*h)]' info:)
[ "$n" -gt 3000 ] || fail "no explosion over the middle of the window ($n pixels changed)"
send_keys n
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "N ended with status $EXIT_STATUS"
echo "ok"
