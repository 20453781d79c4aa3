#!/usr/bin/env bash
# The windows at any size: -geometry opens the size asked for, F11 fills the
# screen and F11 again gives the window back its size and place, F12 writes
# the frame to a new PNG file that matches a grab of the window, and a folder
# that takes no file costs one line while the game goes on; the editor
# likewise, started with --fullscreen.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
screen=$(xdpyinfo | awk '$1 == "dimensions:" { print $2 }')

# "WxH X Y" of the window, as the X server has it.
place() {
  xwininfo -id "$WID" | awk '$1 == "Width:" { w = $2 } $1 == "Height:" { h = $2 }
    /Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF } END { print w "x" h, x, y }'
}
# Waits until the window is $1 ("WxH X Y", or "WxH" for the size alone).
wait_place() {
  local i now
  for i in $(seq 1 100); do
    now=$(place)
    [ "$now" = "$1" ] || [ "${now%% *}" = "$1" ] && return 0
    sleep 0.05
  done
  fail "window is $now, not $1"
}

export PELORIN_SCREENSHOTS=$WORK/shots
mkdir "$PELORIN_SCREENSHOTS"
start_app pelorin "$WORK" -geometry 1024x768+30+20
wait_window "Tessaly -- Pelorin 2000"
wait_place "1024x768 30 20"
send_keys F11
wait_place "$screen 0 0"
send_keys F11
wait_place "1024x768 30 20"

# Paused, every frame is the same, so the one written matches the screen's.
send_keys p
sync_keys
send_keys F12
wait_output "Screenshot saved: $PELORIN_SCREENSHOTS/pelorin-"
file=$(sed -n 's/^Screenshot saved: //p' "$WORK/stdout")
[ "$(identify -format '%wx%h' "$file")" = 1024x768 ] || fail "$file is $(identify -format '%wx%h' "$file")"
screenshot window_modes_grab
cp "$file" "$SHOTS/window_modes_f12.png"
diff=$("${CONVERT%convert}compare" -metric AE "$file" "$SHOTS/window_modes_grab.png" null: 2>&1 || true)
[ "$diff" = 0 ] || fail "the PNG differs from the window in $diff pixels"
send_keys Q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"

# A folder that is a file: one line, and the game answers the next key.
export PELORIN_SCREENSHOTS=$file
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"
send_keys F12
wait_output "Screenshot not saved: $file: Not a directory"
sync_keys
[ "$(grep -c '^Screenshot' "$WORK/stdout")" = 1 ] || fail "more than one screenshot line"
send_keys Q
wait_exit

export PELORIN_SCREENSHOTS=$WORK/shots
start_app pelorin-editor "$WORK" -geometry 800x600 --fullscreen
wait_window "Pelorin Editor"
wait_place "$screen 0 0"
send_keys F11
wait_place 800x600
send_keys F12
wait_output "Screenshot saved: $PELORIN_SCREENSHOTS/pelorin-"
file=$(sed -n 's/^Screenshot saved: //p' "$WORK/stdout")
[ "$(identify -format '%wx%h' "$file")" = 800x600 ] || fail "$file is $(identify -format '%wx%h' "$file")"
cp "$file" "$SHOTS/window_modes_editor.png"
echo "ok"
