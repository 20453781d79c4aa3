#!/usr/bin/env bash
# The real game's sound, recorded by SDL's disk audio driver (raw 16-bit
# stereo at 48 kHz, written as it is mixed): idle, a roll at thrust 25 that is
# louder and higher, F9 off and on, and the pause, each found in the file
# read back; --mute records silence; and a driver that cannot open leaves one
# line on standard error and standard output as it is with sound.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
STATS="$BUILD/sound-stats"
[ -x "$STATS" ] || fail "no $STATS"
RAW="$WORK/sound.raw"
RATE=48000

# Seconds of sound recorded so far.
now() { awk -v b="$(stat -c %s "$RAW")" -v r=$RATE 'BEGIN { printf "%.3f", b / 4 / r }'; }
# "RMS Hz" of the stretch FROM TO (seconds) of the recording.
stats() { "$STATS" "$RAW" $RATE "$1" "$2"; }
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }
plus() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", a + b }'; }

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$RAW" start_app pelorin
wait_window "Tessaly -- Pelorin 2000"
# The steps, which feed the sound, run once the first frame is out.
ask_plane
sleep 2
idle_end=$(now)
send_keys bracketright bracketright plus plus plus plus plus
sleep 4
roll_end=$(now)
read -r idle_rms idle_hz <<<"$(stats "$(plus "$idle_end" -1)" "$idle_end")"
read -r roll_rms roll_hz <<<"$(stats "$(plus "$roll_end" -1)" "$roll_end")"
echo "idle: RMS $idle_rms, $idle_hz Hz; rolling at thrust 25: RMS $roll_rms, $roll_hz Hz"
above "$idle_rms" 0.003 || fail "the idle is silent: RMS $idle_rms"
at_least "$roll_rms" "$(plus "$idle_rms" "$idle_rms")" || fail "the roll is not twice as loud as the idle"
above "$roll_hz" "$(awk -v h="$idle_hz" 'BEGIN { print h * 1.3 }')" || fail "the roll is not clearly higher than the idle"

send_keys F9
wait_output "Sound off"
off=$(now)
sleep 0.5
read -r off_rms _ <<<"$(stats "$(plus "$off" 0.1)" "$(now)")"
send_keys F9
wait_output "Sound on"
sleep 0.5
read -r on_rms _ <<<"$(stats "$(plus "$(now)" -0.25)" "$(now)")"
echo "F9: RMS $off_rms off, $on_rms on again"
above 0.0005 "$off_rms" || fail "F9 did not silence the sound: RMS $off_rms"
above "$on_rms" "$(awk -v r="$roll_rms" 'BEGIN { print r / 2 }')" || fail "F9 did not bring the sound back"

# The pause: loud until the key, then silent. The file's length just before
# and just after p is sent brackets the key; the level, in 5 ms pieces around
# it, must fall from the roll's to almost nothing within 50 ms.
before=$(now)
send_keys p
after=$(now)
sleep 1
args=()
for i in $(seq -20 60); do
  args+=("$(plus "$before" "$(awk -v i="$i" 'BEGIN { print i * 0.005 }')")" "$(plus "$before" "$(awk -v i="$i" 'BEGIN { print (i + 1) * 0.005 }')")")
done
"$STATS" "$RAW" $RATE "${args[@]}" >"$WORK/pause.txt"
read -r loud_until quiet_from <<<"$(awk -v r="$roll_rms" '
  $1 > r / 2 { loud = NR } $1 < r / 100 && loud && !quiet { quiet = NR }
  END { printf "%.3f %.3f\n", (loud - 20) * 0.005, (quiet - 21) * 0.005 }' "$WORK/pause.txt")"
read -r paused_rms _ <<<"$(stats "$(plus "$after" 0.2)" "$(now)")"
echo "pause: sent between 0 and $(plus "$after" "-$before")s; loud until ${loud_until}s, near silence from ${quiet_from}s; RMS $paused_rms after"
above "$loud_until" -0.01 || fail "the sound fell before the pause"
above "$(plus "$after" "-$before")" "$(plus "$loud_until" -0.1)" || fail "the sound went on long after the pause"
above 0.05 "$(plus "$quiet_from" "-$loud_until")" || fail "the pause took more than 50 ms to silence the sound"
above 0.0005 "$paused_rms" || fail "not silent while paused: RMS $paused_rms"
send_keys Q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"

# --mute: the device plays, silence.
rm -f "$RAW"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$RAW" start_app pelorin "$WORK" --mute
wait_window "Tessaly -- Pelorin 2000"
send_keys bracketright bracketright
sleep 1.5
send_keys Q
wait_exit
read -r muted_rms _ <<<"$(stats 0 "$(now)")"
above "$(now)" 1 || fail "--mute recorded only $(now) s"
[ "$muted_rms" = 0.000000 ] || fail "--mute was not silent: RMS $muted_rms"

# Without a usable device the game flies silent; standard output is the same
# line for line as with sound, standard error one line more.
fly() {
  start_app pelorin
  wait_window "Tessaly -- Pelorin 2000"
  ask_plane
  local start=$PZ
  send_keys bracketright bracketright T T F9
  wait_output "Sound off"
  sleep 0.5
  ask_plane
  above "$PZ" "$start" || fail "$SDL_AUDIODRIVER: the aircraft did not roll: $LINE"
  send_keys Q
  wait_exit
  [ "$EXIT_STATUS" = 0 ] || fail "$SDL_AUDIODRIVER: status $EXIT_STATUS"
  grep -v '^Plane: ' "$WORK/stdout" >"$WORK/$SDL_AUDIODRIVER.out"
  cp "$WORK/stderr" "$WORK/$SDL_AUDIODRIVER.err"
}
SDL_AUDIODRIVER=dummy fly
SDL_AUDIODRIVER=no-such-driver fly
[ ! -s "$WORK/dummy.err" ] || fail "with sound: standard error: $(cat "$WORK/dummy.err")"
[ "$(wc -l <"$WORK/no-such-driver.err")" = 1 ] || fail "without a device: standard error: $(cat "$WORK/no-such-driver.err")"
grep -qxE 'No sound \(.+\): the game flies silent' "$WORK/no-such-driver.err" ||
  fail "without a device: $(cat "$WORK/no-such-driver.err")"
cmp -s "$WORK/dummy.out" "$WORK/no-such-driver.out" || fail "standard output differs without a device"
echo "ok"
