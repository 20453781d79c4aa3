#!/usr/bin/env bash
# A landscape painted in the editor and saved as "landscape.dmf" is the one
# the simulator reads: started in the same directory it echoes the same
# 41 x 41 heights, in the file's order. F5 does the same in one key: from a
# folder without images and with a relative TMPDIR, the simulator starts
# beside the open editor, echoes the painted grid, and its scratch folder goes
# when it ends.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
start_app pelorin-editor
wait_window "Pelorin Editor"
send_keys h
wait_output "Setting function to high"
click 320 240
drag 180 400 460 120 1 20
send_keys r
wait_output "Setting function to random"
drag 460 400 180 120 1 20
send_keys i
wait_output "Setting function to increase by 100"
click 250 300
click 250 300
send_keys w
wait_output "Writing to what filename? "
before=$(cat "$WORK/landscape.dmf" 2>/dev/null || true)
send_input "landscape.dmf"
for i in $(seq 1 100); do
  [ "$(cat "$WORK/landscape.dmf")" != "$before" ] && break
  sleep 0.05
done
[ "$(wc -l <"$WORK/landscape.dmf")" = 42 ] || fail "the saved landscape.dmf is not 42 lines"
[ "$(awk 'NR == 22 { print $21 }' "$WORK/landscape.dmf")" = 8000 ] || fail "grid point (20, 20) is not 8000"
raised=$(awk 'NR > 1 { for (i = 1; i <= NF; i++) if ($i > 0) n++ } END { print n + 0 }' "$WORK/landscape.dmf")
[ "$raised" -gt 20 ] || fail "only $raised raised points in the saved landscape"
kill "$APP_PID"; wait "$APP_PID" 2>/dev/null || true; APP_PID=""
saved_stdout=$(cat "$WORK/stdout")

# The simulator echoes the header, then every height with "%f\n".
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"
wait_output "41.000000 41.000000 50.000000 0.000000 0.000000"
wait_output "Finished Reading Landscape!" 30
awk 'NR > 1 { for (i = 1; i <= NF; i++) printf "%f\n", $i }' "$WORK/landscape.dmf" >"$WORK/expected"
grep -A 1681 -xF "41.000000 41.000000 50.000000 0.000000 0.000000" "$WORK/stdout" | tail -n +2 >"$WORK/echoed"
[ "$(wc -l <"$WORK/echoed")" = 1681 ] || fail "the simulator echoed $(wc -l <"$WORK/echoed") heights, not 1681"
diff -q "$WORK/expected" "$WORK/echoed" >/dev/null || fail "echoed heights differ from the file: $(diff "$WORK/expected" "$WORK/echoed" | head -5)"
grep -qx "New Height: 8000" <<<"$saved_stdout" || fail "the editor did not report the high point"
send_keys Q
wait_exit

mkdir "$WORK/elsewhere" "$WORK/tmp"
# Relative, as the editor sees it from its working directory.
TMPDIR=../tmp start_app pelorin-editor "$WORK/elsewhere"
wait_window "Pelorin Editor"
editor_window=$WID
editor_pid=$APP_PID
send_keys r
wait_output "Setting function to random"
drag 460 400 180 120 1 20
send_keys w
send_input "painted.dmf"
for i in $(seq 1 100); do [ "$(wc -l <"$WORK/elsewhere/painted.dmf" 2>/dev/null || echo 0)" = 42 ] && break; sleep 0.05; done
send_keys F5
wait_output "Flying the grid: $BUILD/pelorin"
wait_window "Tessaly -- Pelorin 2000"
sim_window=$WID
wait_output "Finished Reading Landscape!" 30
awk 'NR > 1 { for (i = 1; i <= NF; i++) printf "%f\n", $i }' "$WORK/elsewhere/painted.dmf" >"$WORK/expected"
grep -A 1681 -xF "41.000000 41.000000 50.000000 0.000000 0.000000" "$WORK/stdout" | tail -n +2 >"$WORK/echoed"
diff -q "$WORK/expected" "$WORK/echoed" >/dev/null || fail "F5's simulator echoed other heights: $(diff "$WORK/expected" "$WORK/echoed" | head -5)"
grep -q "could not load image file" "$WORK/stderr" && fail "F5's simulator found no images"
shoot_until editor_f5 true
# The editor answers while the simulator runs.
focus() { WID=$1; xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"; }
focus "$editor_window"
send_keys i
wait_output "Setting function to increase by 100"
focus "$sim_window"
send_keys Q
for i in $(seq 1 100); do [ -z "$(ls "$WORK/tmp")" ] && break; sleep 0.05; done
[ -z "$(ls "$WORK/tmp")" ] || fail "the scratch folder outlived the simulator: $(ls "$WORK/tmp")"
kill -0 "$editor_pid" 2>/dev/null || fail "the editor ended with the simulator"
# Driver leaks at exit are not ours; memory errors are.
if grep -qE "runtime error|ERROR: AddressSanitizer" "$WORK/stderr"; then fail "sanitizer error on standard error"; fi
echo "ok"
