#!/usr/bin/env bash
# An install under a prefix chosen only at install time works: the launcher,
# reached through a symbolic link from an empty directory, finds the simulator
# and the images, flies over the landscape of the directory it was started
# from, removes its scratch directory and passes Q's status 0 through. A
# recording named relative to that directory is written there, and the
# installed pelorin-landscape draws it through the launcher beside it.
. "$(dirname "$0")/lib.sh"
e2e_init
prefix=$WORK/prefix
cmake --install "$BUILD" --prefix "$prefix" >"$WORK/install.log" || fail "cmake --install: $(tail -n 3 "$WORK/install.log")"
mkdir "$WORK/links" "$WORK/start" "$WORK/tmp"
ln -s "$prefix/bin/pelorin" "$WORK/links/pelorin"
printf '3 3 50 0 0\n0 0 0\n0 4321 0\n0 0 0\n' >"$WORK/start/landscape.dmf"
export TMPDIR=$WORK/tmp
BUILD=$WORK/links start_app pelorin "$WORK/start" --record flight.rec
wait_window "Tessaly -- Pelorin 2000"
wait_output "4321.000000"
send_keys shift+q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q through the launcher ended with status $EXIT_STATUS"
[ -z "$(ls -A "$WORK/tmp")" ] || fail "the launcher left $(ls -A "$WORK/tmp") behind"
(cd "$WORK/start" && "$WORK/links/pelorin" --track flight.rec >track.csv) || fail "--track through the launcher"
(cd "$WORK/start" && "$WORK/links/pelorin" --track=flight.rec >track-equals.csv) || fail "--track=FILE through the launcher"
cmp -s "$WORK/start/track.csv" "$WORK/start/track-equals.csv" || fail "--track=FILE through the launcher gave another track"
help=$("$WORK/links/pelorin" --help) || fail "--help through the launcher: status $?"
grep -q -- "--record FILE" <<<"$help" || fail "--help through the launcher does not list --record"
(cd "$WORK/start" && "$prefix/bin/pelorin-landscape" map flight.rec map.png) || fail "map through the launcher"
[ -s "$WORK/start/map.png" ] || fail "no map"
echo "ok"
