#!/usr/bin/env bash
# Two players in one sky on loopback: a server, a watcher and a flyer. The
# flyer takes off as the README's recipe says; the watcher sees its jet with
# its name and lists it on Tab; the flyer quits and its jet is gone from the
# watcher within a second. The server says who joined and left.
. "$(dirname "$0")/lib.sh"
e2e_init
export XDG_CACHE_HOME=$WORK/cache XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
mkdir -p "$WORK/watcher" "$WORK/flyer"
copy_data "$WORK/watcher"
copy_data "$WORK/flyer"

# A free port of the loopback, so that tests running side by side differ.
PORT=$(python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
"$BUILD/pelorin-server" --port "$PORT" --bind 127.0.0.1 >"$WORK/server.out" 2>&1 &
SERVER_PID=$!
WATCHER_PID=""
stop_others() {
  local status=$?
  if [ "$status" -ne 0 ]; then
    echo "--- the server's lines" >&2; cat "$WORK/server.out" >&2 || true
    echo "--- the watcher's lines (last 10, and its standard error)" >&2
    grep -v '^[-0-9. ]*$' "$WORK/watcher.out" | tail -n 10 >&2 || true
    cat "$WORK/watcher.err" >&2 || true
  fi
  [ -n "$WATCHER_PID" ] && kill "$WATCHER_PID" 2>/dev/null || true
  kill "$SERVER_PID" 2>/dev/null || true
  e2e_cleanup
}
trap stop_others EXIT
for i in $(seq 1 100); do grep -q listening "$WORK/server.out" && break; sleep 0.05; done
grep -q "pelorin-server: listening on 127.0.0.1 port $PORT for up to 16 players" "$WORK/server.out" ||
  fail "the server did not listen: $(cat "$WORK/server.out")"

(cd "$WORK/watcher" && exec "$BUILD/pelorin" --connect "127.0.0.1:$PORT" --name watcher \
  --record "$WORK/watcher.rec" >"$WORK/watcher.out" 2>"$WORK/watcher.err" </dev/null) &
WATCHER_PID=$!
for i in $(seq 1 200); do
  WATCHER_WID=$(xdotool search --onlyvisible --name "^Tessaly -- Pelorin 2000\$" 2>/dev/null | head -n 1 || true)
  [ -n "$WATCHER_WID" ] && break
  sleep 0.05
done
[ -n "$WATCHER_WID" ] || fail "the watcher's window did not appear: $(cat "$WORK/watcher.err")"
grep -q "Joined 127.0.0.1:$PORT as watcher" "$WORK/watcher.out" || fail "the watcher did not say it joined"

# A join with a name taken is refused: one line on standard error, status
# 1, no window.
refused_as() {
  local status
  set +e
  "$BUILD/pelorin" --connect "127.0.0.1:$PORT" --name "$1" >/dev/null 2>"$WORK/refused.err" </dev/null
  status=$?
  set -e
  [ "$status" = 1 ] && grep -q "refused to let us join: the name $1 is taken" "$WORK/refused.err" ||
    fail "$2 (status $status): $(cat "$WORK/refused.err")"
}
refused_as watcher "a taken name was let in"

start_app pelorin "$WORK/flyer" --connect "127.0.0.1:$PORT" --name flyer
for i in $(seq 1 200); do
  WID=$(xdotool search --onlyvisible --name "^Tessaly -- Pelorin 2000\$" 2>/dev/null | grep -vx "$WATCHER_WID" | head -n 1 || true)
  [ -n "$WID" ] && break
  sleep 0.05
done
[ -n "$WID" ] || fail "the flyer's window did not appear"
# Side by side: a window under another one has no picture to take.
xdotool windowmove "$WID" 640 0
xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
wait_output "Finished Reading Landscape!"
grep -q "watcher joined from 127.0.0.1" "$WORK/server.out" || fail "no join line for the watcher"
grep -q "flyer joined from 127.0.0.1" "$WORK/server.out" || fail "no join line for the flyer"
for i in $(seq 1 100); do grep -q "^flyer joined" "$WORK/watcher.out" && break; sleep 0.05; done
grep -q "^flyer joined" "$WORK/watcher.out" || fail "the watcher was not told of the flyer"

# The watcher looks on from its chase view.
xdotool windowfocus --sync "$WATCHER_WID" 2>/dev/null || xdotool windowfocus "$WATCHER_WID"
send_keys 2
sleep 0.3
xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"

# The flyer takes off beside the watcher (README: ] three times, Down three
# times once it rolls, g once it is up).
send_keys bracketright bracketright bracketright
for i in $(seq 1 400); do
  ask_plane
  above "$PZ" -9070 && break
done
above "$PZ" -9070 || fail "the flyer did not roll: $LINE"
# Rolling past on the watcher's left, its name above it.
FLYER_WID=$WID
WID=$WATCHER_WID
# The name is drawn smooth, so its pixels are near white rather than white.
light_in() {
  "$CONVERT" "$SHOTS/$1.png" -crop "${4}x${5}+${2}+${3}" +repage -depth 8 txt:- |
    awk -F'[(),]+' 'NR > 1 && $2 > 200 && $3 > 200 && $4 > 200 { n++ } END { print n + 0 }'
}
named_shown() { [ "$(light_in shared_sky_rolling 0 0 320 240)" -gt 8 ]; }
until_shot shared_sky_rolling 10 named_shown || fail "no name over the flyer's jet"
WID=$FLYER_WID
send_keys Down Down Down
for i in $(seq 1 400); do
  ask_plane
  above "$PY" 60 && break
done
above "$PY" 60 || fail "the flyer did not leave the ground: $LINE"
send_keys g
wait_output "Raising landing gear"

# The watcher sees the flyer's jet ahead with its name, and lists it on Tab.
WID=$WATCHER_WID
xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
send_keys Tab
# The list of players under the instruments: "Players: 2", the watcher and,
# on its third line, the flyer, in white on a dark backing.
flyer_line() { white_in "$1" 5 110 80 22; }
list_shown() { [ "$(white_in shared_sky_watcher 5 75 200 60)" -gt 150 ] && [ "$(flyer_line shared_sky_watcher)" -gt 20 ]; }
until_shot shared_sky_watcher 30 list_shown || fail "the list of players is not shown"

# The flyer quits; the server and the watcher see it go within a second.
WID=$FLYER_WID
xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
send_keys shift+q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "Q ended the flyer with status $EXIT_STATUS"
quit=$(date +%s.%N)
for i in $(seq 1 40); do grep -q "^flyer left" "$WORK/watcher.out" && break; sleep 0.025; done
gone=$(date +%s.%N)
grep -q "^flyer left" "$WORK/watcher.out" || fail "the flyer's jet is still with the watcher after 1 s"
awk -v a="$quit" -v b="$gone" 'BEGIN { exit !(b - a < 1.0) }' || fail "the flyer went only after $(awk -v a="$quit" -v b="$gone" 'BEGIN{print b - a}') s"
grep -q "flyer left from 127.0.0.1" "$WORK/server.out" || fail "no leave line for the flyer"
WID=$WATCHER_WID
list_shorter() { [ "$(flyer_line shared_sky_watcher_alone)" -lt 5 ]; }
until_shot shared_sky_watcher_alone 30 list_shorter ||
  fail "the list still shows the flyer ($(flyer_line shared_sky_watcher_alone) white pixels on its line)"

# A game killed says no goodbye: its name comes back to its machine once the
# server has heard nothing from it for 5 s, not before.
join_as() {
  (cd "$WORK/flyer" && exec "$BUILD/pelorin" --mute --connect "127.0.0.1:$PORT" --name "$1" >"$WORK/$2.out" 2>&1 </dev/null) &
  LOST_PID=$!
  for i in $(seq 1 100); do grep -q "^Joined" "$WORK/$2.out" && break; sleep 0.05; done
  grep -q "^Joined" "$WORK/$2.out" || fail "$1 did not join: $(cat "$WORK/$2.out")"
}
join_as lost lost1
kill -KILL "$LOST_PID"; wait "$LOST_PID" 2>/dev/null || true
refused_as lost "a name was taken back at once"
sleep 5.5
join_as lost lost2
grep -q "lost left from 127.0.0.1:[0-9]* (unheard for [0-9]* s, and asked for again" "$WORK/server.out" ||
  fail "no leave line for the killed game"
kill "$LOST_PID"; wait "$LOST_PID" 2>/dev/null || true

# The server, told to stop, says goodbye to the watcher and ends with 0.
kill -TERM "$SERVER_PID"
set +e; wait "$SERVER_PID"; status=$?; set -e
[ "$status" = 0 ] || fail "the server ended with status $status"
grep -q "pelorin-server: stopped" "$WORK/server.out" || fail "the server did not say it stopped"
for i in $(seq 1 100); do grep -q "The server said goodbye" "$WORK/watcher.out" && break; sleep 0.05; done
grep -q "The server said goodbye: the server is stopping" "$WORK/watcher.out" || fail "the watcher was not told"

# The watcher's recording keeps what it saw of the flyer beside it, and
# replays with it.
xdotool windowfocus --sync "$WATCHER_WID" 2>/dev/null || xdotool windowfocus "$WATCHER_WID"
send_keys shift+q
set +e; wait "$WATCHER_PID"; status=$?; set -e
WATCHER_PID=""
[ "$status" = 0 ] || fail "Q ended the watcher with status $status"
[ "$(head -c 4 "$WORK/watcher.rec.friends")" = PFRN ] && grep -q flyer "$WORK/watcher.rec.friends" ||
  fail "the watcher's recording has no side file with the flyer"
[ "$(stat -c %s "$WORK/watcher.rec.friends")" -gt 2000 ] || fail "the side file holds no flight of the flyer"
set +e
(cd "$WORK/watcher" && "$BUILD/pelorin" --timedemo "$WORK/watcher.rec") >"$WORK/replay.out" 2>"$WORK/replay.err" </dev/null
status=$?
set -e
[ "$status" = 0 ] && ! grep -q friends "$WORK/replay.err" ||
  fail "the shared flight did not replay (status $status): $(cat "$WORK/replay.err")"
echo "ok"
