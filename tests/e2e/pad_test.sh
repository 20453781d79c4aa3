#!/usr/bin/env bash
# A game controller flies the real simulator: a virtual one, attached inside
# the program by a preloaded shim and moved from a script. A short pull of the
# right trigger sets the jet rolling, Start pauses, south raises and lowers
# the gear with the keys' lines, and Start lifts the pause. The flight is
# recorded, and its replay without a window ends in the recorded state.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
SHIM="$BUILD/libpad_shim.so"
[ -e "$SHIM" ] || fail "no $SHIM"
PAD="$WORK/pad"
: >"$PAD"
export LD_PRELOAD="$SHIM" PELORIN_PAD_SCRIPT="$PAD" ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
start_app pelorin "$WORK" --record "$WORK/pad.rec"
unset LD_PRELOAD PELORIN_PAD_SCRIPT
wait_window "Tessaly -- Pelorin 2000"

pad() { printf '%s\n' "$@" >>"$PAD"; }
# The program reads the controller once a step, and a slow frame delays the
# steps: a press is held, and followed by a rest, long enough to be seen.
press() { pad "button $1 1" "wait 150" "button $1 0" "wait 150"; }
# True when the aircraft moves along the runway within about half a second.
rolling() {
  local before i
  ask_plane
  before=$PZ
  for i in $(seq 1 25); do
    sleep 0.02
    ask_plane
    above "$PZ" "$before" && return 0
  done
  return 1
}

ask_plane
start=$PZ
rolling && fail "the aircraft rolls before the trigger: $LINE"
# A quarter of a second at full pull is about a dozen units of thrust.
pad "axis 5 32767" "wait 250" "axis 5 -32768"
for i in $(seq 1 200); do
  ask_plane
  above "$PZ" "$start" && break
done
above "$PZ" "$start" || fail "the trigger did not set the aircraft rolling: $LINE"

press 6
sleep 0.4
rolling && fail "Start did not pause: $LINE"
press 0
wait_output "Raising landing gear"
press 0
wait_output "Lowering landing gear"
sleep 0.2
rolling && fail "the gear buttons lifted the pause: $LINE"
press 6
sleep 0.2
rolling || fail "Start did not lift the pause: $LINE"
pad "axis 0 20000" "axis 1 -15000" "wait 200" "axis 0 0" "axis 1 0" "wait 100"
sleep 0.5
send_keys shift+q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"
[ ! -s "$WORK/stderr" ] || fail "standard error: $(cat "$WORK/stderr")"
(cd "$WORK" && "$BUILD/pelorin" --track "$WORK/pad.rec" >/dev/null 2>"$WORK/track.err") ||
  fail "the controller's flight did not replay: $(cat "$WORK/track.err")"
echo "ok"
