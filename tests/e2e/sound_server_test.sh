#!/usr/bin/env bash
# The sound comes back after its server went away: the real game plays into
# a PulseAudio server of the test's own (a null sink, nothing heard), the
# server is killed and started again, and the game says in one line that the
# sound is lost and in one that it is back, and its stream is on the new
# server. The frame shim logs every frame meanwhile: the longest gap between
# frames while the server was gone and came back is printed (the open runs
# on a thread of its own, so it should stay near the frame time).
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
command -v pulseaudio >/dev/null || fail "no pulseaudio (scripts/install-deps.sh test installs it)"
SHIM="$BUILD/libframe_shim.so"
[ -e "$SHIM" ] || fail "no $SHIM"

# A server for this test alone: its own socket, runtime folder and home, no
# cookie needed, a null sink for the game to play into.
mkdir -p "$WORK/pulse/run" "$WORK/pulse/home"
sock=$WORK/pulse/sock
PULSE_PID=""
start_pulse() {
  rm -f "$sock"
  (export HOME=$WORK/pulse/home XDG_RUNTIME_DIR=$WORK/pulse/run
   exec pulseaudio -n --daemonize=no --system=false --exit-idle-time=-1 --use-pid-file=no \
     -L "module-native-protocol-unix socket=$sock auth-anonymous=1" -L module-null-sink \
     --log-level=error >>"$WORK/pulse/log" 2>&1) &
  PULSE_PID=$!
  for _ in $(seq 1 100); do
    PULSE_SERVER=unix:$sock pactl info >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  fail "the test's PulseAudio did not start: $(tail -n 5 "$WORK/pulse/log")"
}
stop_pulse() {
  kill -9 "$PULSE_PID" 2>/dev/null || true
  wait "$PULSE_PID" 2>/dev/null || true
  PULSE_PID=""
}
trap 'stop_pulse; e2e_cleanup' EXIT
game_streams() { PULSE_SERVER=unix:$sock pactl list short sink-inputs 2>/dev/null | wc -l; }
wait_stderr() {
  for _ in $(seq 1 $(($2 * 20))); do
    grep -qF -- "$1" "$WORK/stderr" && return 0
    sleep 0.05
  done
  fail "no \"$1\" on standard error within $2 s"
}

start_pulse
export PULSE_SERVER=unix:$sock SDL_AUDIODRIVER=pulseaudio
export PELORIN_FRAME_LOG=$WORK/frames.log LD_PRELOAD=$SHIM ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
start_app pelorin
unset LD_PRELOAD
wait_window "Tessaly -- Pelorin 2000"
send_keys bracketright bracketright bracketright
for _ in $(seq 1 100); do [ "$(game_streams)" -gt 0 ] && break; sleep 0.05; done
[ "$(game_streams)" -gt 0 ] || fail "the game plays no stream on the test's server: $(cat "$WORK/stderr")"

# Three seconds of steady play, to compare the frames with.
steady=$(date +%s%N)
sleep 3
from=$(date +%s%N)
stop_pulse
wait_stderr "Sound lost (" 10
sleep 1
start_pulse
wait_stderr "Sound is back" 15
to=$(date +%s%N)
for _ in $(seq 1 100); do [ "$(game_streams)" -gt 0 ] && break; sleep 0.05; done
[ "$(game_streams)" -gt 0 ] || fail "the sound is said to be back but plays no stream"
[ "$(grep -c "^Sound lost" "$WORK/stderr")" = 1 ] || fail "not one line for the loss: $(cat "$WORK/stderr")"
[ "$(grep -c "^Sound is back" "$WORK/stderr")" = 1 ] || fail "not one line for the return: $(cat "$WORK/stderr")"
send_keys shift+q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"

# The longest gap between frame starts in [from, to], in ms.
longest() {
  awk -v from="$1" -v to="$2" '$1 == "C" && $2 >= from && $2 <= to { if (last) { d = $2 - last; if (d > m) m = d } last = $2 }
    END { printf "%.1f", m / 1e6 }' "$WORK/frames.log"
}
echo "longest gap between frames while the server was gone and came back: $(longest "$from" "$to") ms" \
  "(in 3 s of steady play before: $(longest "$steady" "$from") ms)"
echo "ok"
