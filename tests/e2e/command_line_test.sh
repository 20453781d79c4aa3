#!/usr/bin/env bash
# The command lines of the three programs as a user tries them (--help and
# --version without a display, both forms of a value, unknown options,
# missing values): status and first line. Then the simulator's settings
# file: the game starts as it was left, an option for one run stays out of
# the file, a damaged file is named with its line and left as it is, and
# --quiet leaves only what was asked for.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data

# PROGRAM STATUS FIRST-LINE ARGUMENTS...: the first line an extended regular
# expression with _ for a blank.
cases=(
  "pelorin 0 ^usage:_pelorin --help"
  "pelorin 0 ^usage:_pelorin -h"
  "pelorin 0 ^pelorin_[0-9]+\.[0-9]+\.[0-9]+$ --version"
  "pelorin 2 ^pelorin:_unknown_option_--fly_\(see_pelorin_--help\)$ --fly"
  "pelorin 2 ^pelorin:_unknown_option_-x_\(see_pelorin_--help\)$ -x"
  "pelorin 2 ^pelorin:_--record_needs_a_file_name_\(see_pelorin_--help\)$ --record"
  "pelorin 2 ^pelorin:_--record_needs_a_file_name --record="
  "pelorin 2 ^pelorin:_--volume_needs_a_value --volume"
  "pelorin 2 ^pelorin:_--mute_takes_no_value --mute=1"
  "pelorin 2 ^pelorin:_unexpected_argument_extra extra"
  "pelorin 1 missing\.rec --play=missing.rec"
  "pelorin 1 missing\.rec --play missing.rec"
  "pelorin 1 missing\.rec --track=missing.rec"
  "pelorin-editor 0 ^usage:_pelorin-editor --help"
  "pelorin-editor 0 ^pelorin-editor_[0-9.]+$ --version"
  "pelorin-editor 2 ^pelorin-editor:_unknown_option_--fly_\(see_pelorin-editor_--help\)$ --fly"
  "pelorin-editor 2 ^pelorin-editor:_unexpected_argument_b a b"
  "pelorin-landscape 0 ^usage:_pelorin-landscape --help"
  "pelorin-landscape 0 ^usage:_pelorin-landscape -h"
  "pelorin-landscape 0 ^pelorin-landscape_[0-9.]+$ --version"
  "pelorin-landscape 2 ^pelorin-landscape:_unknown_option_--fly --fly"
  "pelorin-landscape 2 ^pelorin-landscape:_-o_needs_a_file_name export landscape.dmf -o"
  "pelorin-landscape 2 ^pelorin-landscape:_unknown_option_--grey16_for_info info landscape.dmf --grey16"
  "pelorin-landscape 0 ^$ export landscape.dmf --output=out.png --grey16"
  "pelorin-landscape 0 ^$ export landscape.dmf --output out2.png"
)
for case in "${cases[@]}"; do
  read -r prog want first args <<<"$case"
  first=${first//_/ }
  set +e
  # shellcheck disable=SC2086
  (cd "$WORK" && env -u DISPLAY timeout 20 "$BUILD/$prog" $args >"$WORK/cl.out" 2>"$WORK/cl.err")
  status=$?
  set -e
  line=$(cat "$WORK/cl.out" "$WORK/cl.err" | head -n 1)
  [ "$status" = "$want" ] || fail "$prog $args: status $status, not $want ($line)"
  grep -qE -- "$first" <<<"$line" || fail "$prog $args: first line \"$line\" is not /$first/"
  if [ "$want" = 2 ]; then
    [ "$(wc -l <"$WORK/cl.err")" = 1 ] || fail "$prog $args: not one line: $(cat "$WORK/cl.err")"
  fi
done
[ -s "$WORK/out.png" ] && [ -s "$WORK/out2.png" ] || fail "the value forms wrote no image"

# The game starts as it was left: the chase view and a window of 700 x 500
# kept; --volume for one run stays out of the file.
export KEEP_SETTINGS=1
conf=$XDG_CONFIG_HOME/pelorin/pelorin.conf
start_app pelorin "$WORK" -geometry 700x500 --volume 10
wait_window "Tessaly -- Pelorin 2000"
send_keys 2
sync_keys
send_keys shift+q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"
grep -qx "view = 2" "$conf" || fail "the view was not kept: $(cat "$conf")"
! grep -q "^volume" "$conf" || fail "--volume for one run was written: $(cat "$conf")"
! grep -q "^width" "$conf" || fail "-geometry for one run was written: $(cat "$conf")"
sed -i 's/^\[window\]$/[window]\nwidth = 700\nheight = 500/' "$conf"
start_app pelorin "$WORK" --quiet
wait_window "Tessaly -- Pelorin 2000"
[ "$(xwininfo -id "$WID" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')" = 700x500 ] ||
  fail "the kept window size was not used: $(xwininfo -id "$WID" | grep -E 'Width|Height')"
ask_plane
send_keys shift+q
wait_exit
# Quiet: the state line that was asked for, and nothing else.
[ "$(wc -l <"$WORK/stdout")" = 1 ] || fail "--quiet printed more than the state line: $(head -n 5 "$WORK/stdout")"

# A damaged line: one line naming the file and the line, the defaults, the
# file as it was.
printf '[sound]\nvolume = 30\nvolume is loud\n' >"$conf"
cp "$conf" "$WORK/damaged.conf"
start_app pelorin "$WORK"
wait_window "Tessaly -- Pelorin 2000"
send_keys 5
sync_keys
send_keys shift+q
wait_exit
grep -qx "$conf:3: not understood; settings at their defaults for this run" "$WORK/stderr" ||
  fail "no line naming the damaged file: $(cat "$WORK/stderr")"
cmp -s "$conf" "$WORK/damaged.conf" || fail "the damaged file was written over"
[ "$(grep -c 'Max Delta!' "$WORK/stdout")" -gt 0 ] || fail "without --quiet the loading lines are gone"
echo "ok"
