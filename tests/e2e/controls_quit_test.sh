#!/usr/bin/env bash
# Q ends the simulator with status 0 at any time, also with the cell board shown.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
start_app pelorin
wait_window "Tessaly -- Pelorin 2000"
send_keys shift+l p shift+q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"
echo "ok"
