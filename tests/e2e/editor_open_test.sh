#!/usr/bin/env bash
# Opening, undoing and closing with the real editor: the delivered landscape
# opened from the command line, painted, the drag undone and saved back byte
# for byte; the drag redone and the window closed, leaving a recovery file
# of its own that Ctrl+O opens to the same grid, and that the next start
# counts; a clean close writes nothing.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
export XDG_STATE_HOME=$WORK/state
# A file an earlier close left stays as it is.
mkdir -p "$XDG_STATE_HOME/pelorin"
echo "earlier" >"$XDG_STATE_HOME/pelorin/editor-recovery-20000101-000000.dmf"
cp "$WORK/landscape.dmf" "$WORK/delivered.dmf"

# Waits until FILE exists and is complete (42 lines).
wait_file() {
  local i
  for i in $(seq 1 100); do [ "$(wc -l <"$1" 2>/dev/null || echo 0)" = 42 ] && return 0; sleep 0.05; done
  fail "$1 was not written"
}

start_app pelorin-editor "$WORK" landscape.dmf
wait_window "Pelorin Editor"
wait_output "Opened landscape.dmf"
# The delivered landscape's highest point is drawn in its colour: point (x, y)
# lies at window pixel (128 + 9.6 x, 432 - 9.6 y).
read -r px py <<<"$(awk 'NR > 1 { for (i = 1; i <= NF; i++) if ($i > m) { m = $i; x = NR - 2; y = i - 1 } }
  END { printf "%d %d\n", 128 + 9.6 * x, 432 - 9.6 * y }' "$WORK/delivered.dmf")"
until_shot editor_opened 50 eval '[ "$(pixel editor_opened "$px" "$py" | cut -d" " -f1)" -gt 120 ]' ||
  fail "the highest point of the delivered landscape is drawn $(pixel editor_opened "$px" "$py")"

send_keys h
wait_output "Setting function to high"
drag 200 300 440 300 1 12
wait_output "New Height: 8000"
sleep 0.3
send_keys ctrl+z
wait_output "Undo"
send_keys w
send_input "back.dmf"
wait_file "$WORK/back.dmf"
cmp "$WORK/back.dmf" "$WORK/delivered.dmf" || fail "one Ctrl+Z did not take back the whole drag"

send_keys ctrl+y
wait_output "Redo"
close_window
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "closing the window ended with status $EXIT_STATUS"
recovery=$(sed -n "s|^Unsaved changes kept in \($XDG_STATE_HOME/pelorin/editor-recovery-[0-9]\{8\}-[0-9]\{6\}\.dmf\)\$|\1|p" "$WORK/stdout")
[ -n "$recovery" ] || fail "no recovery line: $(tail -n 3 "$WORK/stdout")"
[ "$(cat "$XDG_STATE_HOME/pelorin/editor-recovery-20000101-000000.dmf")" = earlier ] || fail "a close replaced an earlier recovery file"
wait_file "$recovery"
[ "$(grep -o '\b8000\b' "$recovery" | wc -l)" -gt "$(grep -o '\b8000\b' "$WORK/delivered.dmf" | wc -l)" ] ||
  fail "the recovery file does not hold the drag"

start_app pelorin-editor
wait_window "Pelorin Editor"
wait_output "2 recovery files wait in $XDG_STATE_HOME/pelorin"
send_keys ctrl+o
wait_output "Reading from what filename? "
send_input "$recovery"
wait_output "Opened $recovery"
send_keys w
send_input "reopened.dmf"
wait_file "$WORK/reopened.dmf"
cmp "$WORK/reopened.dmf" "$recovery" || fail "the recovery file did not open to the grid it holds"
touch -d 2000-01-01 "$recovery"
close_window
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "a clean close ended with status $EXIT_STATUS"
grep -q "Unsaved changes" "$WORK/stdout" && fail "a clean close wrote a recovery file"
[ "$(stat -c %Y "$recovery")" -lt 1000000000 ] || fail "a clean close touched the recovery file"
if grep -qE "runtime error|ERROR: AddressSanitizer" "$WORK/stderr"; then fail "sanitizer error on standard error"; fi
echo "ok"
