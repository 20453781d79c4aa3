#!/usr/bin/env bash
# The simulator loads the nine delivered images in the set's order, one
# loading line each, and runs with them (screenshot texture_game.png).
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"
wait_output "loading RGB texture: sun.rgb"
expected="loading RGB texture: floor.rgb
loading RGB texture: metal1.rgb
loading RGB texture: metal2.rgb
loading RGB texture: explosion0.rgba
loading RGB texture: explosion1.rgb
loading RGB texture: explosion2.rgb
loading RGB texture: explosion3.rgb
loading RGB texture: tree.rgb
loading RGB texture: sun.rgb"
loading=$(grep '^loading RGB texture: ' "$WORK/stdout" || true)
[ "$loading" = "$expected" ] || fail "loading lines were: $loading"
[ ! -s "$WORK/stderr" ] || fail "stderr: $(cat "$WORK/stderr")"
sleep 1
screenshot texture_game
send_keys Q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"
echo "ok"
