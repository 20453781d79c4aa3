#!/usr/bin/env bash
# The flight recorder in the real game: a short keyboard flight recorded with
# --record (a take-off, the instant replay and back, the final state line, Q
# during a second instant replay), replayed with --play (F9 at work in it) and
# --track to the same final state; one
# ended by closing the window replays to its last state line too; a
# recording whose inputs were changed is caught where it diverges; bad files
# and bad options give one line and their exit status; a replay skipped
# through and played faster ends in the state of one played through.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
rec=$WORK/flight.rec

start_app pelorin "$WORK" --record "$rec"
wait_window "Tessaly -- Pelorin 2000"
# The take-off of flight_takeoff_test: thrust 30 (the gear holds however
# slowly the polls come back), three degrees up once rolling.
send_keys 2 bracketright bracketright bracketright
for i in $(seq 1 400); do
  ask_plane
  above "$PZ" -9070 && break
done
send_keys Down Down Down
for i in $(seq 1 400); do
  ask_plane
  above "$PY" 60 && break
done
above "$PY" 60 || fail "the aircraft did not leave the ground: $LINE"
send_keys g p
wait_output "Raising landing gear"
# Paused, the live state cannot move: the instant replay must put it back.
ask_plane
before=$LINE
send_keys ctrl+r
sleep 0.5
screenshot recording_instant_replay
send_keys ctrl+r
ask_plane
[ "$LINE" = "$before" ] || fail "the instant replay did not put the game back: $before then $LINE"
send_keys p
sleep 0.5
ask_plane
live=$LINE
# Q in the middle of an instant replay ends the game, and the recording ends
# with the live game's state (the replays below check its final digest).
send_keys ctrl+r
sleep 0.3
send_keys shift+q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended the recorded game with status $EXIT_STATUS"

# --play shows the recording at real speed, the flight's own state lines
# included, and stays on the last frame. F9 switches the sound there too.
start_app pelorin "$WORK" --play "$rec"
wait_window "Tessaly -- Pelorin 2000"
send_keys F9
wait_output "Sound off"
send_keys F9
wait_output "Sound on"
wait_output "replay ended after" 60
played=$(grep '^Plane: ' "$WORK/stdout" | tail -n 1)
[ "$played" = "$live" ] || fail "--play ended in another state: $live then $played"
screenshot recording_play_end
ended=$(grep '^replay ended after' "$WORK/stdout")
ask_plane
through=$LINE
send_keys shift+q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q after --play ended with status $EXIT_STATUS"

# f held plays faster and s skips to where something changes: both run the
# very steps a replay played through runs, so it ends in the same state.
start_app pelorin "$WORK" --play "$rec"
wait_window "Tessaly -- Pelorin 2000"
xdotool keydown f
sleep 1
xdotool keyup f
for i in $(seq 1 400); do
  grep -q '^replay ended after' "$WORK/stdout" && break
  send_keys s
done
wait_output "replay ended after" 30
[ "$(grep '^replay ended after' "$WORK/stdout")" = "$ended" ] || fail "a skipped replay ended elsewhere: $(grep '^replay ended' "$WORK/stdout")"
[ "$(grep '^Plane: ' "$WORK/stdout" | tail -n 1)" = "$live" ] || fail "a skipped replay missed the flight's own state line"
ask_plane
[ "$LINE" = "$through" ] || fail "a skipped replay ended in another state: $through then $LINE"
send_keys shift+q
wait_exit

# --track replays it without a window to the same end.
(cd "$WORK" && "$BUILD/pelorin" --track "$rec" >"$WORK/track.csv" 2>"$WORK/track.err") ||
  fail "--track failed: $(cat "$WORK/track.err")"
head -n 1 "$WORK/track.csv" | grep -qx 'time,x,y,z,heading,pitch,roll,speed,thrust,gear,on_ground,crashed' ||
  fail "--track header: $(head -n 1 "$WORK/track.csv")"
[ "$(wc -l <"$WORK/track.csv")" -gt 10 ] || fail "--track printed too few rows"

# pelorin-landscape draws it from above, from the recording or its track.
(cd "$WORK" && "$BUILD/pelorin-landscape" map "$rec" "$WORK/map.png") || fail "map of the recording failed"
(cd "$WORK" && "$BUILD/pelorin-landscape" map "$WORK/track.csv" -o "$WORK/map-csv.png") || fail "map of the track failed"
cmp -s "$WORK/map.png" "$WORK/map-csv.png" || fail "the recording and its track drew different maps"
cp "$WORK/map.png" "$SHOTS/recording_map.png"

# Closing the window ends the recording as Q does: the state line asked for
# just before the close is the one the replay ends on.
start_app pelorin "$WORK" --record "$WORK/closed.rec"
wait_window "Tessaly -- Pelorin 2000"
send_keys bracketright p
ask_plane
closed=$LINE
close_window
wait_exit
start_app pelorin "$WORK" --play "$WORK/closed.rec"
wait_window "Tessaly -- Pelorin 2000"
wait_output "replay ended after" 30
played=$(grep '^Plane: ' "$WORK/stdout" | tail -n 1)
[ "$played" = "$closed" ] || fail "a recording closed by the window ended elsewhere: $closed then $played"
send_keys shift+q
wait_exit

# One byte of a recorded input changed: a throttle step turned into another
# key. The chunk's checksum is mended so the damage is the input alone.
python3 "$SOURCE/tests/e2e/recording_edit.py" "$rec" "$WORK/changed.rec" ']' '='
set +e
(cd "$WORK" && "$BUILD/pelorin" --track "$WORK/changed.rec" >/dev/null 2>"$WORK/changed.err")
status=$?
set -e
[ "$status" = 1 ] || fail "a changed input replayed with status $status"
grep -qE '^replay diverged at step [0-9]+$' "$WORK/changed.err" || fail "no divergence line: $(cat "$WORK/changed.err")"
[ "$(wc -l <"$WORK/changed.err")" = 1 ] || fail "more than one line: $(cat "$WORK/changed.err")"

# Bad files and options: one line on standard error, the status, no window.
mkfifo "$WORK/pipe.rec"
mkdir "$WORK/folder.rec"
head -c 40 "$rec" >"$WORK/cut.rec"
: >"$WORK/empty.rec"
cp "$rec" "$WORK/other-landscape.rec"
for case in "1 --play $WORK/pipe.rec" "1 --track $WORK/folder.rec" "1 --timedemo $WORK/cut.rec" \
  "1 --play $WORK/empty.rec" "1 --play $WORK/missing.rec" "2 --play" "2 --record a --play b" "2 --fly"; do
  read -r want args <<<"$case"
  set +e
  # shellcheck disable=SC2086
  (cd "$WORK" && timeout 20 "$BUILD/pelorin" $args >/dev/null 2>"$WORK/bad.err")
  status=$?
  set -e
  [ "$status" = "$want" ] || fail "pelorin $args: status $status, not $want ($(cat "$WORK/bad.err"))"
  [ "$(wc -l <"$WORK/bad.err")" = 1 ] || fail "pelorin $args: not one line: $(cat "$WORK/bad.err")"
done
echo "1 2 3" >"$WORK/landscape.dmf"
set +e
(cd "$WORK" && "$BUILD/pelorin" --track "$rec" >/dev/null 2>"$WORK/bad.err")
status=$?
set -e
[ "$status" = 1 ] && grep -q "another landscape file" "$WORK/bad.err" ||
  fail "a recording over another landscape: status $status, $(cat "$WORK/bad.err")"
set +e
(cd "$WORK" && "$BUILD/pelorin-landscape" map "$WORK/cut.rec" "$WORK/bad.png" 2>"$WORK/bad.err")
status=$?
set -e
[ "$status" = 1 ] && [ ! -e "$WORK/bad.png" ] && [ "$(wc -l <"$WORK/bad.err")" = 1 ] ||
  fail "map of a cut recording: status $status, $(cat "$WORK/bad.err")"
[ -z "$(xdotool search --name '^Tessaly -- Pelorin 2000$' 2>/dev/null || true)" ] || fail "a window was left open"
echo "ok"
