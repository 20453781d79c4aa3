#!/usr/bin/env bash
# Painting with the real editor: keys and clicks in the window, console
# answers through its standard input, the lines it prints, and what the
# window shows for a flat grid, a painted one and the point lattice.
. "$(dirname "$0")/lib.sh"
e2e_init
start_app pelorin-editor
wait_window "Pelorin Editor"
sleep 0.3

# Without a window manager the window sits at (-1, -1), so a screenshot
# lacks the window's first column and row; wpixel takes window pixels.
read -r OFF_X OFF_Y < <(xwininfo -id "$WID" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} END {print (x < 0 ? -x : 0), (y < 0 ? -y : 0)}')
wpixel() { pixel "$1" $(($2 - OFF_X)) $(($3 - OFF_Y)); }

# Lines of stdout from line $1 on.
lines_from() { tail -n +"$1" "$WORK/stdout"; }
line_count() { wc -l <"$WORK/stdout"; }

# The flat grid: a green square, black around it. Under load the first
# frame may come late, so wait for it.
for i in $(seq 1 50); do
  screenshot editor_flat
  near "$(wpixel editor_flat 320 240)" "77 128 26" 3 && break
  sleep 0.1
done
near "$(wpixel editor_flat 320 240)" "77 128 26" 3 || fail "centre of the flat grid is $(wpixel editor_flat 320 240)"
# The grid covers window pixels 128..511 and 48..431 exactly.
near "$(wpixel editor_flat 128 48)" "77 128 26" 3 || fail "top left grid pixel is not green"
near "$(wpixel editor_flat 511 431)" "77 128 26" 3 || fail "bottom right grid pixel is not green"
near "$(wpixel editor_flat 127 240)" "0 0 0" 0 || fail "pixel left of the grid is not black"
near "$(wpixel editor_flat 512 240)" "0 0 0" 0 || fail "pixel right of the grid is not black"
near "$(wpixel editor_flat 20 240)" "0 0 0" 0 || fail "left of the grid is not black"
near "$(wpixel editor_flat 320 15)" "0 0 0" 0 || fail "above the grid is not black"

# A drag with increase selected: every motion event inside the grid counts
# as one more press, so every cell line off the border is followed by a
# "New Height" line.
send_keys i
wait_output "Setting function to increase by 100"
start=$(($(line_count) + 1))
drag 200 300 440 300 1 12
wait_output "New Height: "
sleep 0.3
lines_from "$start" | awk '
  /^-?[0-9]+ -?[0-9]+$/ { if (want) exit 1; x = $1; y = $2
    want = (x > 0 && x < 40 && y > 0 && y < 40); cells++; next }
  /^New Height: [0-9]+$/ { if (!want) exit 1; want = 0; raised++; next }
  /^ERROR: / { if (want) exit 1; next }
  { exit 1 }
  END { if (want || cells < 5 || raised < 5) exit 1 }' || fail "drag output is not cell lines each followed by its edit"

# Small steps land several motion events on one point: each adds 100.
start=$(($(line_count) + 1))
drag 320 350 330 350 1 10
sleep 0.3
lines_from "$start" | grep -x "New Height: 200" >/dev/null || fail "a point under several motion events was raised only once"

# "g" twice: four lines, the lattice back off, ground selected.
start=$(($(line_count) + 1))
send_keys g g
wait_output "Turning Grids Off!"
sleep 0.2
expected=$'Turning Grids On!\nSetting function to ground\nTurning Grids Off!\nSetting function to ground'
[ "$(lines_from "$start")" = "$expected" ] || fail "g twice printed: $(lines_from "$start")"

# High at the centre, random a little to the right.
send_keys h
wait_output "Setting function to high"
click 320 240
wait_output "New Height: 8000"
# Row 5 of the start window's 50 is the top border, row 4 is outside.
start=$(($(line_count) + 1))
click 320 55
click 320 45
expected=$'20 0\nERROR: Borders can\'t be edited\n20 -1\nERROR: Outside of the border'
for i in $(seq 1 100); do [ "$(lines_from "$start")" = "$expected" ] && break; sleep 0.05; done
[ "$(lines_from "$start")" = "$expected" ] || fail "clicks at the top border printed: $(lines_from "$start")"
send_keys r
wait_output "Setting function to random"
click 400 160
click 416 160
# A high ridge dragged across the grid with a smoothed flank.
send_keys h
drag 180 400 460 120 1 30
send_keys s
drag 190 400 470 120 1 30
sleep 0.3
screenshot editor_painted
# Half a pixel from the vertex, the colour is within a tenth of a cell of it.
near "$(wpixel editor_painted 320 240)" "166 41 41" 12 || fail "the high point is drawn $(wpixel editor_painted 320 240)"

# Contour with an answer that is not a number, then one read as "%d" reads
# it: the number it begins with.
send_keys c
wait_output "Enter Elevation:  "
send_input "lots"
wait_output "Not a whole number; elevation stays 0"
send_keys c
send_input "2500abc"
sleep 0.3
click 240 160
wait_output "New Height: 2500"

# Saves: a bad place is reported, a good name writes the file.
send_keys w
wait_output "Writing to what filename? "
# While the console waits the window says so, in the notice's own colour,
# drawn before the read blocks; after a save it names the file instead.
notice() { count_colour "$1" "115 230 255" 3; }
waiting() { [ "$(notice "$1")" -gt 200 ]; }
shoot_until editor_waits_for_name waiting || fail "the window does not say the terminal waits"
send_input "no/such/dir/x.dmf"
wait_output "Save failed, nothing written: no/such/dir/x.dmf: "
send_keys w
send_input "painted.dmf"
for i in $(seq 1 100); do [ -s "$WORK/painted.dmf" ] && break; sleep 0.05; done
[ -s "$WORK/painted.dmf" ] || fail "painted.dmf was not written"
[ "$(wc -l <"$WORK/painted.dmf")" = 42 ] || fail "painted.dmf has $(wc -l <"$WORK/painted.dmf") lines"
[ "$(head -n 1 "$WORK/painted.dmf")" = "41 41 50.000000 0.000000 0.000000" ] || fail "bad header"
awk 'NR > 1 && (NF != 41 || $0 !~ / $/) { exit 1 }' "$WORK/painted.dmf" || fail "a body line is not 41 numbers each followed by a blank"
[ "$(awk 'NR == 22 { print $21 }' "$WORK/painted.dmf")" = 8000 ] || fail "grid point (20, 20) is not 8000 in the file"
saved() { n=$(notice "$1"); [ "$n" -gt 20 ] && [ "$n" -lt "$(notice editor_waits_for_name)" ]; }
shoot_until editor_saved saved || fail "the window does not say the save succeeded"
! grep -q "Saved" "$WORK/stdout" || fail "the save printed a console line"
# Saving through a symbolic link replaces the file it points to.
mkdir "$WORK/real" && echo old >"$WORK/real/land.dmf" && ln -s real/land.dmf "$WORK/linked.dmf"
send_keys w
send_input "linked.dmf"
for i in $(seq 1 100); do cmp -s "$WORK/real/land.dmf" "$WORK/painted.dmf" && break; sleep 0.05; done
cmp -s "$WORK/real/land.dmf" "$WORK/painted.dmf" || fail "saving through a link did not update its target"
[ -L "$WORK/linked.dmf" ] || fail "saving through a link replaced the link"

# The lattice over the painted grid.
send_keys g
wait_output "Turning Grids On!"
sleep 0.3
screenshot editor_lattice
white=$("$CONVERT" "$SHOTS/editor_lattice.png" -fill black +opaque white -fill white -opaque white -format "%[fx:mean*w*h]" info:)
[ "${white%.*}" -gt 3000 ] || fail "only $white white lattice pixels"

# End of console input: the next save is refused, the editor keeps running.
close_input
send_keys w
wait_output "No file name given (end of input); nothing saved"
kill -0 "$APP_PID" 2>/dev/null || fail "the editor ended at the end of its input"
cp "$WORK/painted.dmf" "$SHOTS/editor_painted.dmf"
# Driver leaks at exit are not ours; memory errors are.
if grep -qE "runtime error|ERROR: AddressSanitizer" "$WORK/stderr"; then fail "sanitizer error on standard error"; fi
echo "ok"
