#!/usr/bin/env bash
# The world away from the airfield: the forest on the grass, and one mountain
# tile seen from high above and from underneath, where back-face culling
# leaves only the sky. The free camera (view 3) is steered with drags:
# left turns it, middle moves it along its view (25 units a pixel).
. "$(dirname "$0")/lib.sh"


e2e_init
copy_data
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"
wait_output "Finished Reading Landscape!"
# The day stands still so that every picture has the same light.
send_keys T
wait_output "Time has stopped."
send_keys 2; sleep 0.3
send_keys 3; sleep 0.3

# Turn 46 degrees to the west, towards the thickest part of the forest
# (about x -14000, z 6500), and stop some 3000 short of it.
drag 300 240 346 240 1 20; sleep 0.3
drag 320 460 320 20 2 20; sleep 0.2
drag 320 420 320 32 2 20; sleep 0.5
screenshot world_forest
# Trees: their texture's dark greens stand on the grass below the horizon.
forest_centre=$(pixel world_forest 320 300)

# On to the centre of tile 7 (-25014, 25189), 24600 further, 13.6 degrees
# to the right.
drag 334 240 320 240 1 20; sleep 0.3
drag 320 460 320 20 2 20; sleep 0.2
drag 320 460 320 20 2 20; sleep 0.2
drag 320 400 320 43 2 20; sleep 0.2
# Look straight up, rise 33000, then turn over to look down.
drag 320 300 320 210 1 30; sleep 0.3
for i in 1 2 3; do drag 320 460 320 20 2 20; sleep 0.2; done
drag 320 100 320 280 1 60; sleep 0.5
screenshot world_tile_above
above=$(pixel world_tile_above 320 240)

# Down through the tile to 11000 below the ground, then look up with back
# faces culled for the whole frame (the ground plane too).
for i in 1 2 3 4; do drag 320 20 320 460 2 20; sleep 0.2; done
drag 320 100 320 280 1 60; sleep 0.3
send_keys C; sleep 0.5
screenshot world_tile_below_culled
below=$(pixel world_tile_below_culled 320 240)

send_keys Q
wait_exit

# From above the tile's colours fill the view and no sky shows; from below
# everything but the sky (and the sun) is culled.
sky="135 207 235"
[ "$(count_colour world_tile_above "$sky")" -lt 100 ] || fail "sky seen from above the tile"
[ "$(count_colour world_tile_below_culled "$sky")" -gt 280000 ] || fail "terrain or ground seen from below"
near "$below" "$sky" 3 || fail "centre from below is $below, not the sky"
near "$above" "$sky" 60 && fail "centre from above is $above, the sky"
# The forest stands on grass: textured trees and the ground plane are there.
[ "$(count_colour world_forest "$sky")" -gt 1000 ] || fail "no horizon in the forest view"
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"
echo "forest $forest_centre, tile from above $above, from below $below"
echo "ok"
