#!/usr/bin/env bash
# Without "metal2.rgb" the simulator announces it, reports it on standard
# error and ends with status 1 before it reads any explosion image.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
rm "$WORK/metal2.rgb"
start_app pelorin
wait_exit 30
[ "$EXIT_STATUS" = 1 ] || fail "ended with status $EXIT_STATUS, not 1"
expected=$'loading RGB texture: floor.rgb\nloading RGB texture: metal1.rgb\nloading RGB texture: metal2.rgb'
loading=$(grep '^loading RGB texture: ' "$WORK/stdout" || true)
[ "$loading" = "$expected" ] || fail "loading lines were: $loading"
[ "$(tail -n 1 "$WORK/stdout")" = "loading RGB texture: metal2.rgb" ] || fail "output went on after metal2.rgb"
[ "$(cat "$WORK/stderr")" = "metal2.rgb: could not load image file" ] || fail "stderr was: $(cat "$WORK/stderr")"

# A damaged image is refused the same way, not decoded into noise.
copy_data
head -c 700 "$SOURCE/data/tree.rgb" >"$WORK/tree.rgb"
start_app pelorin
wait_exit 30
[ "$EXIT_STATUS" = 1 ] || fail "truncated tree.rgb: status $EXIT_STATUS, not 1"
[ "$(tail -n 1 "$WORK/stdout")" = "loading RGB texture: tree.rgb" ] || fail "truncated tree.rgb: output went on"
[ "$(cat "$WORK/stderr")" = "tree.rgb: could not load image file" ] || fail "truncated tree.rgb: stderr was: $(cat "$WORK/stderr")"
echo "ok"
