#!/usr/bin/env bash
# A shared sky's costs, on the loopback only, each run bounded in players and
# time and stopping by itself:
#  - bandwidth: what one player receives per other player and what all
#    receive (the server's sending) with 16 and with 64 bots flying a
#    recording at the game's rate, and the server's CPU meanwhile;
#  - how far a friend's drawn jet is from where it really was, through a
#    loss-and-delay relay (no loss; 5 % loss and 50 +- 20 ms; 20 % loss);
#  - the game's frame time at 640 x 480 with 1, 8 and 31 friends' jets in view.
#   NET_BENCH_SECONDS  seconds per run (default 10)
#   NET_BENCH_PARTS    which parts: bandwidth, distance, frame (default all three)
#   BENCH_TABLE        if set, rows for the combined table are appended
set -euo pipefail
export LC_ALL=C
build=$(cd "${1:-build}" && pwd)
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${NET_BENCH_SECONDS:-10}
recording=$source_dir/tests/data/recordings/keyboard_takeoff_landing.rec
shim="$build/libframe_shim.so"
for program in pelorin-server net-bot udp-relay pelorin; do
  [ -x "$build/$program" ] || { echo "net_bench: no $build/$program" >&2; exit 1; }
done
# 31 friends' jets may cost at most this much more frame time than one.
TARGET_FRAME_GROWTH=1.25

# shellcheck source=scripts/bench-harness.sh
. "$source_dir/scripts/bench-harness.sh"
bench_start net-bench 800x600x24
server=""
relay=""
stop_net() {
  [ -n "$relay" ] && kill "$relay" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  bench_cleanup
}
trap stop_net EXIT

free_port() {
  python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

port=$(free_port)
(cd "$work/run" && exec "$build/pelorin-server" --port "$port" --bind 127.0.0.1 --max-players 64) >"$work/server.out" 2>&1 &
server=$!
for _ in $(seq 1 100); do grep -q listening "$work/server.out" && break; sleep 0.05; done

parts=${NET_BENCH_PARTS:-bandwidth distance frame}
part() { [[ " $parts " == *" $1 "* ]]; }

part bandwidth && echo "bandwidth and the server's CPU ($seconds s a run, states at 33.3 a second)"
for bots in $(part bandwidth && echo 16 64); do
  before=$(cpu_ticks "$server"); t0=$(date +%s.%N)
  line=$(cd "$work/run" && "$build/net-bot" --server "$port" --bots "$bots" --seconds "$seconds" --recording "$recording")
  after=$(cpu_ticks "$server"); t1=$(date +%s.%N)
  cpu=$(awk -v a="$before" -v b="$after" -v s="$t0" -v e="$t1" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.1f", 100 * (b - a) / hz / (e - s) }')
  echo "$line; server CPU $cpu % of one core"
  per=$(sed -E 's/.* ([0-9]+) B\/s per other player.*/\1/' <<<"$line")
  all=$(sed -E 's/.*receive ([0-9]+) B\/s \(([0-9]+) with headers\)$/\2/' <<<"$line")
  row "net $bots bots: received per other player" "$per B/s" "" "server sends $all B/s in all (with headers)" "" ""
  row "net $bots bots: server CPU" "$cpu %" "" "of one core, while $bots bots send 33.3 states/s" "" ""
done

part distance && echo && echo "drawn against true position of a friend's jet ($seconds s a run)"
part distance || set --
part distance && set -- "0 0 0 no loss" "0.05 50 20 5 % loss, 50 +- 20 ms" "0.20 0 0 20 % loss"
for condition in "$@"; do
  read -r loss delay jitter label <<<"$condition"
  relay_port=$(free_port)
  "$build/udp-relay" "$relay_port" "$port" "$loss" "$delay" "$jitter" $((seconds + 8)) >"$work/relay.out" &
  relay=$!
  sleep 0.2
  line=$(cd "$work/run" && "$build/net-bot" --server "$port" --bots 2 --seconds "$seconds" --observe "$relay_port" \
    --recording "$recording" | tail -n 1)
  kill "$relay" 2>/dev/null; wait "$relay" 2>/dev/null || true; relay=""
  echo "$label: $line"
  read -r shown_median shown_p99 live_median live_p99 < <(sed -E 's/.*shown median ([0-9.na-]+) p99 ([0-9.na-]+); at the moment itself median ([0-9.na-]+) p99 ([0-9.na-]+).*/\1 \2 \3 \4/' <<<"$line")
  row "net drawn-vs-true, $label" "$shown_median" "$shown_p99" "units at the moment shown; $live_median / $live_p99 at the moment itself (100 ms behind by design)" "" ""
done

part frame && echo && echo "frame time at 640x480 with friends' jets standing in view of the cockpit (median, p95 ms)"
if ! part frame; then
  :
elif [ -e "$shim" ]; then
  declare -A medians
  for jets in 1 8 31; do
    rm -f "$work/frames.log"
    mkfifo "$work/stdin.$jets"
    (cd "$work/run" && PELORIN_FRAME_LOG="$work/frames.log" LD_PRELOAD="$shim" \
      exec "$build/pelorin" --connect "127.0.0.1:$port" --name "viewer$jets" <"$work/stdin.$jets" >"$work/stdout" 2>"$work/stderr") &
    app=$!
    exec 7>"$work/stdin.$jets"
    wid=""
    for _ in $(seq 1 200); do
      wid=$(xdotool search --onlyvisible --name '^Tessaly -- Pelorin 2000$' 2>/dev/null | head -n 1 || true)
      [ -n "$wid" ] && break
      sleep 0.05
    done
    [ -n "$wid" ] || { echo "net_bench: no window" >&2; cat "$work/stderr" >&2; exit 1; }
    xdotool windowmove --sync "$wid" 0 0 2>/dev/null || true
    xdotool windowsize --sync "$wid" 640 480 2>/dev/null || true
    # Standing jets need few states; at 4 a second the server and the bots,
    # which share this machine's processors, take little from the frame.
    (cd "$work/run" && "$build/net-bot" --server "$port" --bots "$jets" --seconds $((seconds + 2)) --park --rate 4 >/dev/null) &
    bots=$!
    sleep 2
    from=$(date +%s%N); sleep "$seconds"; to=$(date +%s%N)
    wait "$bots" || true
    times=$(awk -v from="$from" -v to="$to" '$1 == "C" { start = $2 } $1 == "S" && start >= from && start <= to { printf "%.3f\n", ($2 - start) / 1e6; start = 0 }' "$work/frames.log" | sort -n)
    n=$(printf '%s\n' "$times" | grep -c . || true)
    median=$(printf '%s\n' "$times" | awk -v n="$n" 'NR == int((n + 1) / 2) { print }')
    p95=$(printf '%s\n' "$times" | awk -v n="$n" 'BEGIN { k = int(n * 0.95 + 0.999); if (k < 1) k = 1 } NR == k { print }')
    medians[$jets]=$median
    echo "$jets jets: $n frames, median $median, p95 $p95"
    row "net frame 640x480, $jets friends' jets" "$median ms" "$p95 ms" "$n frames in $seconds s" "" ""
    # Q says goodbye to the server, so the next viewer's run starts clean.
    xdotool windowfocus --sync "$wid" 2>/dev/null || true
    xdotool key Q 2>/dev/null || true
    for _ in $(seq 1 100); do kill -0 "$app" 2>/dev/null || break; sleep 0.05; done
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    app=""
    exec 7>&-
  done
  growth=$(awk -v a="${medians[1]}" -v b="${medians[31]}" 'BEGIN { printf "%.2f", b / a }')
  met=$(awk -v g="$growth" -v t="$TARGET_FRAME_GROWTH" 'BEGIN { print (g <= t ? "yes" : "NO") }')
  echo "31 jets cost $growth times the frame time of 1"
  row "net frame 640x480, 31 jets against 1" "x$growth" "" "" "<= x$TARGET_FRAME_GROWTH" "$met"
else
  echo "net_bench: no $shim, no frame times" >&2
fi
