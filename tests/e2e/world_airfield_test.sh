#!/usr/bin/env bash
# The airfield as a player first sees it: the jet from the chase view with
# textures on and off, the parked jet and the delta wing from above, and the
# whole airfield from high up. The free camera (view 3) is steered with
# drags: left turns it, middle moves it along its view (25 units a pixel),
# right moves it sideways and up (3 units a pixel).
. "$(dirname "$0")/lib.sh"


e2e_init
copy_data
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"
wait_output "Finished Reading Landscape!"
send_keys T
wait_output "Time has stopped."

# Chase view: the jet from 500 behind, on the runway. A slow machine (a
# sanitizer build under load) may not have drawn the window's first frame yet.
sky="135 207 235"
send_keys 2; sleep 0.5
sky_drawn() { near "$(pixel world_chase 320 20)" "$sky" 3; }
until_shot world_chase 20 sky_drawn || fail "no sky above the chase view"
send_keys t; sleep 0.5
screenshot world_chase_untextured
send_keys t; sleep 0.3

# Free camera from the chase position (3075, 30, -9970), looking along +z:
# 11000 forward, 2000 east and 3000 up, then look straight down on the
# parked jet (5000, 1000) and the delta wing (5100, 1300).
send_keys 3; sleep 0.3
drag 320 460 320 20 2 20; sleep 0.2
drag 600 100 267 400 3 20; sleep 0.2
drag 600 100 267 400 3 20; sleep 0.2
drag 320 40 320 440 3 20; sleep 0.2
drag 320 240 320 250 2 10; sleep 0.2
drag 320 100 320 190 1 30; sleep 0.5
screenshot world_parked
# Rise 33000 for most of the airfield.
for i in 1 2 3; do drag 320 20 320 460 2 20; sleep 0.2; done
sleep 0.3
screenshot world_airfield_overhead
send_keys t; sleep 0.5
screenshot world_airfield_overhead_untextured

send_keys Q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"

runway="92 92 88"
# Chase: sky above, runway below, the jet's dark engines in the middle.
near "$(pixel world_chase 320 350)" "$runway" 6 || fail "no runway under the chase view"
centre=$(pixel world_chase 320 240)
near "$centre" "$runway" 20 && fail "no jet in the chase view (centre $centre)"
# The untextured terrain keeps its bare vertex colours and differs from the
# textured one; the jet and the runway stay as they were.
[ "$(count_colour world_chase_untextured "$runway" 6)" -gt 50000 ] || fail "no runway untextured"
near "$(pixel world_chase 30 200)" "$(pixel world_chase_untextured 30 200)" 6 &&
  fail "the terrain looks the same with textures off"
# From above: the delta wing's deep blue, the jet's light grey, the tall
# blue building and the white markings.
[ "$(count_colour world_parked "31 15 146" 12)" -gt 300 ] || fail "no delta wing from above"
[ "$(count_colour world_parked "255 255 255" 3)" -gt 1500 ] || fail "no markings from above"
[ "$(count_colour world_parked "61 92 255" 12)" -gt 5000 ] || fail "no tall building from above"
[ "$(count_colour world_parked "168 171 176" 20)" -gt 200 ] || fail "no parked jet from above"
# High above: red building tops and the grass; with textures off the
# ground plane shows its plain colour.
[ "$(count_colour world_airfield_overhead "255 31 39" 20)" -gt 100 ] || fail "no red roofs"
[ "$(count_colour world_airfield_overhead_untextured "92 153 29" 8)" -gt 1000 ] ||
  fail "no plain ground plane with textures off"
echo "ok"
