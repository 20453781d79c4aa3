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

# Seconds recorded so far; "RMS Hz" of the stretches FROM TO ... (seconds).
now() { awk -v b="$(stat -c %s "$RAW")" 'BEGIN { printf "%.3f", b / 4 / 48000 }'; }
stats() { "$STATS" "$RAW" 48000 "$@"; }
calc() { awk "BEGIN { printf \"%.3f\", $1 }"; }
check() { awk "BEGIN { exit !($1) }" || fail "$2"; }

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$RAW" start_app pelorin
wait_window "Tessaly -- Pelorin 2000"
ask_plane # the steps, which feed the sound, run once the first frame is out
# The device opens right after that first frame.
for i in $(seq 1 200); do [ -s "$RAW" ] && break; sleep 0.05; done
send_keys F9
wait_output "Sound off"
off=$(now)
sleep 0.5
read -r off_rms _ <<<"$(stats "$(calc "$off + 0.1")" "$(now)")"
send_keys F9
wait_output "Sound on"
sleep 1
read -r on_rms _ <<<"$(stats "$(calc "$(now) - 0.5")" "$(now)")"
echo "F9 at idle: RMS $off_rms off, $on_rms on again"
check "$off_rms < 0.0005" "F9 did not silence the sound"
check "$on_rms > 0.003" "F9 did not bring the sound back"
sleep 1
idle=$(now)
send_keys bracketright bracketright plus plus plus plus plus
sleep 4
# The pause after 4 s at thrust 25, rolling at speed 50. The file's length
# just before and just after p is sent brackets the key; in 5 ms pieces
# around it the level must fall from the roll's to under a hundredth of it
# within 50 ms, and stay there.
before=$(now)
send_keys p
after=$(now)
sleep 1
read -r idle_rms idle_hz roll_rms roll_hz <<<"$(stats "$(calc "$idle - 1")" "$idle" "$(calc "$before - 1")" "$before" | tr '\n' ' ')"
echo "idle: RMS $idle_rms, $idle_hz Hz; rolling at thrust 25: RMS $roll_rms, $roll_hz Hz"
check "$idle_rms > 0.003" "the idle is silent"
check "$roll_rms >= 2 * $idle_rms" "the roll is not twice as loud as the idle"
check "$roll_hz > 1.3 * $idle_hz" "the roll is not clearly higher than the idle"
read -r loud quiet <<<"$(stats $(awk -v t="$before" 'BEGIN { for (i = -20; i < 60; i++) print t + i * 0.005, t + (i + 1) * 0.005 }') |
  awk -v r="$roll_rms" '{ v[NR] = $1 } $1 > r / 2 { loud = NR }
    END { for (q = loud + 1; q <= NR && v[q] >= r / 100; q++); print (loud - 20) * 0.005, (q - 21) * 0.005 }')"
read -r paused_rms _ <<<"$(stats "$(calc "$after + 0.2")" "$(now)")"
echo "pause: p sent within $(calc "$after - $before") s; loud until ${loud} s, quiet from ${quiet} s; RMS $paused_rms after"
check "$loud > -0.01" "the sound fell before the pause"
check "$loud < $after - $before + 0.1" "the sound went on long after the pause"
check "$quiet - $loud <= 0.05" "the pause took more than 50 ms to silence the sound"
check "$paused_rms < 0.0005" "not silent while paused"
send_keys Q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"

rm -f "$RAW"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$RAW" start_app pelorin "$WORK" --mute
wait_window "Tessaly -- Pelorin 2000"
send_keys bracketright bracketright
# The device opens after the first frame, which a slow build takes a while to show.
for i in $(seq 1 200); do [ -s "$RAW" ] && break; sleep 0.05; done
sleep 1.5
send_keys Q
wait_exit
read -r muted_rms _ <<<"$(stats 0 "$(now)")"
check "$(now) > 1 && $muted_rms == 0" "--mute recorded $(now) s at RMS $muted_rms"

# Without a usable device the game flies silent; standard output is the same
# as with sound (but for the state lines' numbers), standard error one line.
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
  grep -v '^Plane: ' "$WORK/stdout" >"$WORK/$SDL_AUDIODRIVER.out"
  cp "$WORK/stderr" "$WORK/$SDL_AUDIODRIVER.err"
}
SDL_AUDIODRIVER=dummy fly
SDL_AUDIODRIVER=no-such-driver fly
[ ! -s "$WORK/dummy.err" ] || fail "with sound: standard error: $(cat "$WORK/dummy.err")"
[ "$(grep -cxE 'No sound \(.+\): the game flies silent' "$WORK/no-such-driver.err")" = 1 ] &&
  [ "$(wc -l <"$WORK/no-such-driver.err")" = 1 ] || fail "without a device: $(cat "$WORK/no-such-driver.err")"
cmp -s "$WORK/dummy.out" "$WORK/no-such-driver.out" || fail "standard output differs without a device"
echo "ok"
