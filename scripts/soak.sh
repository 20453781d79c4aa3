#!/usr/bin/env bash
# Soak test: each program under a private Xvfb receives seeded random keys,
# clicks and drags for a bounded time. Passes when neither program crashes,
# no sanitizer report appears, every console line is one the program is
# known to print, every landscape the editor reports saved is complete, and
# (for runs longer than a minute) after the first minute the memory the
# program's own code holds grows by less than 2 MB and the program names no
# further GL display lists or textures.
#
# Resident memory is reported but is not the measure: the random keys walk
# the GL driver through thousands of combinations of state (fog modes,
# lights, textures, culling, views, day and night), and llvmpipe compiles and
# keeps code for each new one, on its heap and in mappings of its own. The
# heap witness (build/libheap_shim.so, preloaded; the program itself reads
# no option or variable) attributes every heap block to the code that asked
# for it, so a leak of ours shows however much the driver caches, and counts
# the GL objects named, whose memory is the driver's.
#
#   scripts/soak.sh BUILD_DIR SECONDS [pelorin|pelorin-editor] [SEED] [flying]
#
# "flying" gives the simulator only the keys a pilot flies with (throttle,
# stick, gear, views, pause, print, restart) and none that switch rendering
# state, to compare resident memory when the driver has little to compile.
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
seconds=${2:-30}
only=${3:-}
seed=${4:-20261207}
flying=${5:-}
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/.." && pwd)
# shellcheck source=scripts/xvfb.sh
. "$here/xvfb.sh"
# The sound mixes on SDL's audio thread, heard or not, whatever the machine has.
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

status=0
fail() { echo "SOAK FAIL ($prog): $*" >&2; status=1; }

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }

sim_keys=(plus equal minus underscore bracketright bracketleft backslash g M p R Y y P
          1 2 3 4 5 w d D F T t C c l L B z F9 F11 F12 Left Right Up Down Escape space G m q x ctrl+r)
[ "$flying" = flying ] && sim_keys=(plus equal minus underscore bracketright bracketleft backslash
                                   g M p R Y y P 1 2 3 4 5 Left Right Up Down ctrl+r)
editor_keys=(g i m h r s x I G W q Escape space c w ctrl+z ctrl+y ctrl+o F11 F12)
answers=("landscape.dmf" "my land.dmf" "$(printf 'a%.0s' $(seq 1 200))" "/nonexistent/dir/x.dmf"
         "/proc/forbidden.dmf" "12" "-300" "9000" "abc" "" "sub/dir.dmf" "   spaced   ")

soak_one() {
  prog=$1
  local work out err pid started now sample first_minute_rss=0 last_rss=0 elapsed
  work=$(mktemp -d /tmp/pelorin-soak.XXXXXX)
  # Settings, recovery files and pictures of its own: what the user keeps
  # never changes a run, nor does a run change it.
  export XDG_CONFIG_HOME=$work/xdg/config XDG_DATA_HOME=$work/xdg/data XDG_STATE_HOME=$work/xdg/state XDG_CACHE_HOME=$work/xdg/cache
  mkdir -p "$XDG_CACHE_HOME"
  cp -r "$source_dir"/data/. "$work"/
  # F12's pictures stay in the scratch folder, not the user's home.
  mkdir -p "$work/shots"
  export PELORIN_SCREENSHOTS="$work/shots"
  out=$work/stdout; err=$work/stderr
  start_xvfb 1280x1024x24 || { fail "no Xvfb"; return; }
  mkfifo "$work/stdin"
  local shim=""
  if [ "$seconds" -gt 60 ] && [ -e "$build/libheap_shim.so" ] && ! ldd "$build/$prog" | grep -q libasan; then
    shim="$build/libheap_shim.so"
  fi
  if [ -n "$shim" ]; then
    (cd "$work" && PELORIN_HEAP_LOG="$work/heap.log" LD_PRELOAD="$shim" \
      exec "$build/$prog" <"$work/stdin" >"$out" 2>"$err") &
  else
    (cd "$work" && exec "$build/$prog" <"$work/stdin" >"$out" 2>"$err") &
  fi
  pid=$!
  exec 8>"$work/stdin"
  local title="Tessaly -- Pelorin 2000" keys
  [ "$prog" = pelorin-editor ] && title="Pelorin Editor"
  local wid="" i
  for i in $(seq 1 200); do
    wid=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)
    [ -n "$wid" ] && break
    sleep 0.05
  done
  [ -n "$wid" ] || { fail "window never appeared"; kill "$pid" 2>/dev/null; stop_xvfb; return; }
  xdotool windowfocus "$wid" 2>/dev/null
  RANDOM=$seed
  started=$(date +%s)
  local input_open=1
  while :; do
    now=$(date +%s); elapsed=$((now - started))
    [ "$elapsed" -ge "$seconds" ] && break
    kill -0 "$pid" 2>/dev/null || { fail "program ended after ${elapsed}s"; break; }
    local action=$((RANDOM % 10)) x=$((RANDOM % 640)) y=$((RANDOM % 480))
    if [ "$prog" = pelorin ]; then
      keys=("${sim_keys[@]}")
    else
      keys=("${editor_keys[@]}")
    fi
    if [ $action -lt 6 ]; then
      local key=${keys[$((RANDOM % ${#keys[@]}))]}
      if [ "$prog" = pelorin-editor ] && { [ "$key" = c ] || [ "$key" = w ] || [ "$key" = ctrl+o ]; }; then
        # The editor waits on its console for these keys: answer first.
        if [ $input_open = 1 ] && [ $((RANDOM % 50)) -eq 0 ] && [ "$elapsed" -gt $((seconds / 2)) ]; then
          exec 8>&-; input_open=0
        elif [ $input_open = 1 ]; then
          printf '%s\n' "${answers[$((RANDOM % ${#answers[@]}))]}" >&8
        fi
      fi
      xdotool key --window "$wid" "$key" 2>/dev/null
    elif [ $action -lt 8 ]; then
      xdotool mousemove --window "$wid" $x $y click $((RANDOM % 3 + 1)) 2>/dev/null
    else
      local b=$((RANDOM % 3 + 1))
      xdotool mousemove --window "$wid" $x $y mousedown $b 2>/dev/null
      for i in 1 2 3 4 5; do
        xdotool mousemove --window "$wid" $(((x + i * 13) % 640)) $(((y + i * 7) % 480)) 2>/dev/null
      done
      xdotool mouseup $b 2>/dev/null
    fi
    sample=$(rss_kb "$pid")
    [ "$elapsed" -lt 60 ] && first_minute_rss=$sample
    last_rss=$sample
  done
  if kill -0 "$pid" 2>/dev/null; then
    if [ "$prog" = pelorin ]; then
      xdotool key --window "$wid" Q 2>/dev/null
      for i in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
      wait "$pid"; local code=$?
      [ "$code" = 0 ] || fail "Q ended with status $code"
    else
      kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
    fi
  fi
  exec 8>&-
  stop_xvfb
  if grep -qE 'AddressSanitizer|runtime error|LeakSanitizer' "$err"; then
    fail "sanitizer report:"; head -n 30 "$err" >&2
  fi
  if [ "$seconds" -gt 60 ] && [ "$first_minute_rss" -gt 0 ]; then
    echo "$prog: resident memory after the first minute ${first_minute_rss} kB, at the end ${last_rss} kB (growth $((last_rss - first_minute_rss)) kB)"
    local heap=""
    # "H ns heap own blocks lists textures": the first sample a minute or
    # more into the run against the last.
    [ -s "$work/heap.log" ] && heap=$(awk '
      $1 == "H" { if (!t0) t0 = $2
                  if ($2 - t0 >= 60e9 && first == "") { first = $3; own0 = $4; lists0 = $6; textures0 = $7 }
                  last = $3; own = $4; blocks = $5; lists = $6; textures = $7; if ($8 == "table-full") full = 1 }
      END { if (first != "") printf "%d %d %d %d %d %d %d %d/%d %d/%d %d %d", first / 1024, last / 1024, (last - first) / 1024,
                                    own0 / 1024, own / 1024, (own - own0) / 1024, blocks,
                                    lists0, textures0, lists, textures, lists - lists0, textures - textures0
            if (full) printf " full" }' "$work/heap.log")
    if [ -n "$heap" ]; then
      set -- $heap
      echo "$prog: whole heap after the first minute $1 kB, at the end $2 kB (growth $3 kB)"
      echo "$prog: held by the program's own code after the first minute $4 kB, at the end $5 kB in $7 blocks (growth $6 kB)"
      echo "$prog: GL display lists/textures named after the first minute $8, at the end $9"
      [ "$6" -lt 2048 ] || fail "the program's own memory grew by $6 kB"
      [ "${10}" -le 0 ] || fail "the program named ${10} more GL display lists"
      [ "${11}" -le 0 ] || fail "the program named ${11} more GL textures"
      [ "$4" -gt 0 ] || fail "the heap witness saw no block of the program's"
      [ "${12:-}" != full ] || fail "the heap witness lost count"
    else
      local growth=$((last_rss - first_minute_rss))
      [ "$growth" -lt 2048 ] || fail "resident memory grew by ${growth} kB"
    fi
  fi
  "$here/soak-check-output.sh" "$prog" "$out" "$work" || fail "console output not well-formed"
  echo "$prog: ${seconds}s soak, $(wc -l <"$out") console lines, status $([ $status = 0 ] && echo ok || echo FAILED)"
  if [ $status = 0 ]; then rm -rf "$work"; else echo "kept $work" >&2; fi
}

for p in pelorin pelorin-editor; do
  [ -n "$only" ] && [ "$only" != "$p" ] && continue
  soak_one "$p"
done
exit $status
