#!/usr/bin/env bash
# Losing the X display ends both programs as closing their window does: the
# simulator's recording gets its end (its last chunk the flight's end, its
# replay checked against the final digest), and the editor keeps its unsaved
# grid in a recovery file of its own.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
export XDG_STATE_HOME=$WORK/state

start_app pelorin "$WORK" --record "$WORK/lost.rec"
wait_window "Tessaly -- Pelorin 2000"
send_keys bracketright bracketright
sync_keys
stop_xvfb
wait_exit
[ "$EXIT_STATUS" != 0 ] || fail "the simulator ended with status 0 without its display"
last=$(python3 - "$WORK/lost.rec" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
pos = 8 + 2
pos += 1 + data[pos] + 1 + 8 + 8
kind = None
while pos < len(data):
    kind = chr(data[pos])
    length = shift = 0
    pos += 1
    while True:
        b = data[pos]
        pos += 1
        length |= (b & 0x7F) << shift
        shift += 7
        if not b & 0x80:
            break
    pos += length + 2
print(kind if pos == len(data) else "cut")
PY
)
[ "$last" = X ] || fail "the recording does not end with the flight's end (last chunk: $last)"
(cd "$WORK" && "$BUILD/pelorin" --track lost.rec >/dev/null) || fail "the recording does not replay to its end"

start_xvfb "${E2E_SCREEN:-1280x1024x24}" || fail "no second Xvfb"
start_app pelorin-editor
wait_window "Pelorin Editor"
send_keys h
wait_output "Setting function to high"
click 320 240
wait_output "New Height: 8000"
stop_xvfb
wait_exit
grep -q "^Unsaved changes kept in $XDG_STATE_HOME/pelorin/editor-recovery-[0-9-]*\.dmf$" "$WORK/stdout" ||
  fail "no recovery file when the display went: $(tail -n 3 "$WORK/stdout")"
[ "$(ls "$XDG_STATE_HOME/pelorin" | wc -l)" = 1 ] || fail "not one recovery file: $(ls "$XDG_STATE_HOME/pelorin")"
grep -qw 8000 "$XDG_STATE_HOME"/pelorin/editor-recovery-*.dmf || fail "the recovery file does not hold the edit"
if grep -qE "runtime error|ERROR: AddressSanitizer" "$WORK/stderr"; then fail "sanitizer error on standard error"; fi
echo "ok"
