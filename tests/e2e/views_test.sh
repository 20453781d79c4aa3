#!/usr/bin/env bash
# Keys 1 to 5 (and 2 twice for the orbit view) switch the camera: the cockpit
# view shows the panel and no status line, every other view the status line
# at the lower left; the overhead view looks down on what the chase view sees
# from behind. Screenshots views_<n>_<name>.png of each.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"




# The start of the status line ("Thrust: ") from (35, 20) in window pixels, lower left origin.
status_pixels() { white_in "$1" 35 433 140 32; }

has_panel() {
  local r g b
  read -r r g b <<<"$(pixel "$1" 320 474)"
  [ $((r > 20 && (r - g) * (r - g) < 200)) = 1 ]
}
has_status() { [ "$(status_pixels "$1")" -gt 100 ]; }

sync_keys
shoot_until views_1_cockpit has_panel || fail "no grey panel at the bottom of the cockpit view: $(pixel views_1_cockpit 320 474)"
[ "$(status_pixels views_1_cockpit)" -lt 5 ] || fail "the cockpit view shows a status line"

shoot_view() {
  local key=$1 name=$2
  send_keys "$key"
  sync_keys
  shoot_until "$name" has_status || fail "$name: status line has $(status_pixels "$name") white pixels"
}
shoot_view 2 views_2_chase
shoot_view 2 views_6_orbit
shoot_view 3 views_3_fixed
shoot_view 4 views_4_tower
shoot_view 5 views_5_overhead

# The views differ: the overhead view against the chase view, the chase view
# against the cockpit view.
differ() {
  local n
  n=$("$CONVERT" "$SHOTS/$1.png" "$SHOTS/$2.png" -compose difference -composite -threshold 4% \
        -format '%[fx:round(mean*w*h)]' info:)
  [ "$n" -gt 2000 ] || fail "$1 and $2 differ in only $n pixels"
}
differ views_5_overhead views_2_chase
differ views_2_chase views_1_cockpit

# 2 after the orbit view is the chase view again.
send_keys 2
sync_keys
shoot_until views_2_again has_status || fail "no status line after 2 in the orbit view"
send_keys shift+q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"
echo "ok"
