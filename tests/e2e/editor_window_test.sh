#!/usr/bin/env bash
# The editor opens its titled 640 x 480 window.
. "$(dirname "$0")/lib.sh"
e2e_init
start_app pelorin-editor
wait_window "Pelorin Editor"
geometry=$(xdotool getwindowgeometry "$WID" | sed -n 's/.*Geometry: //p')
[ "$geometry" = "640x480" ] || fail "window is $geometry, not 640x480"
echo "ok"
