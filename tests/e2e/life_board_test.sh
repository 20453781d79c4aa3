#!/usr/bin/env bash
# L shows the cell board standing in the world, black cells on a lit white
# board, seen from the chase view; L again hides it.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"

# The board (x 0..1000, y 0..1000, z 500) seen from 500 behind the start pose.
REGION=62x56+451+182

# board_colour NAME HEX: pixels of exactly that colour in the board's region.
board_colour() {
  "$CONVERT" "$SHOTS/$1.png" -crop "$REGION" -depth 8 txt:- | grep -c "#$2" || true
}


has_black() { [ "$(board_colour "$1" 000000)" -gt 0 ]; }
# Mostly sky: a wing tip of the aircraft reaches into the region.
all_sky() { [ "$(board_colour "$1" 87CFEB)" -ge 3000 ]; }

send_keys 2
until_shot life_before 25 all_sky life_before || fail "board region is not sky before L"
send_keys L
until_shot life_board 25 has_black life_board || fail "no live (black) cells after L"
board=$(pixel life_board 452 236)
live=$(board_colour life_board 000000)
[ "$(board_colour life_board 87CFEB)" -lt 200 ] || fail "the board does not fill its square"
echo "live pixels: $live, corner $board"

# Stepped once a second: the picture changes within a few seconds.
changed() {
  screenshot life_later
  ! cmp -s <("$CONVERT" "$SHOTS/life_board.png" -crop "$REGION" rgb:-) \
            <("$CONVERT" "$SHOTS/life_later.png" -crop "$REGION" rgb:-)
}
for i in $(seq 1 20); do changed && break; sleep 0.25; done
changed || echo "board did not change (it may have died out or become still)"

send_keys L
until_shot life_hidden 25 all_sky life_hidden || fail "board still shown after the second L"
send_keys Q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"
echo "ok"
