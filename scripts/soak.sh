#!/usr/bin/env bash
# Soak test: each program under a private Xvfb receives seeded random keys,
# clicks and drags for a bounded time. Passes when neither program crashes,
# no sanitizer report appears, every console line is one the program is
# known to print, every landscape the editor reports saved is complete, and
# (for runs longer than a minute) resident memory grows by less than 2 MB
# after the first minute.
#
#   scripts/soak.sh BUILD_DIR SECONDS [pelorin|pelorin-editor] [SEED]
set -uo pipefail
build=$(cd "${1:-build}" && pwd)
seconds=${2:-30}
only=${3:-}
seed=${4:-20261207}
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/.." && pwd)
# shellcheck source=scripts/xvfb.sh
. "$here/xvfb.sh"

status=0
fail() { echo "SOAK FAIL ($prog): $*" >&2; status=1; }

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status" 2>/dev/null || echo 0; }

sim_keys=(plus equal minus underscore bracketright bracketleft backslash g M p R Y y P
          1 2 3 4 5 w d D F T t C c l L B z Left Right Up Down Escape space G m q x)
editor_keys=(g i m h r s x I G W q Escape space c w)
answers=("landscape.dmf" "my land.dmf" "$(printf 'a%.0s' $(seq 1 200))" "/nonexistent/dir/x.dmf"
         "/proc/forbidden.dmf" "12" "-300" "9000" "abc" "" "sub/dir.dmf" "   spaced   ")

soak_one() {
  prog=$1
  local work out err pid started now sample first_minute_rss=0 last_rss=0 elapsed
  work=$(mktemp -d /tmp/pelorin-soak.XXXXXX)
  cp -r "$source_dir"/data/. "$work"/
  out=$work/stdout; err=$work/stderr
  start_xvfb 1280x1024x24 || { fail "no Xvfb"; return; }
  mkfifo "$work/stdin"
  # For long runs the frame shim (a test-only preload) samples the heap once
  # a second; the program itself reads no option or variable.
  local shim=""
  [ "$seconds" -gt 60 ] && [ -e "$build/libframe_shim.so" ] && shim="$build/libframe_shim.so"
  if [ -n "$shim" ]; then
    (cd "$work" && PELORIN_FRAME_LOG="$work/frames.log" LD_PRELOAD="$shim" \
      ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
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
      if [ "$prog" = pelorin-editor ] && { [ "$key" = c ] || [ "$key" = w ]; }; then
        # The editor waits on its console for these two keys: answer first.
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
    local growth=$((last_rss - first_minute_rss))
    echo "$prog: resident memory after the first minute ${first_minute_rss} kB, at the end ${last_rss} kB (growth ${growth} kB)"
    if [ -s "$work/frames.log" ]; then
      # Heap bytes after the first minute against the last sample. Resident
      # memory also grows with llvmpipe's compiled shader variants, one per
      # new combination of GL state the random keys reach (fog modes,
      # lights, textures, culling, day and night): code the driver maps
      # outside the heap, which the program cannot release.
      local heap
      heap=$(awk '$1 == "H" { if (!t0) t0 = $2; if ($2 - t0 >= 60e9 && !first) first = $3; last = $3 }
                  END { if (first) printf "%d %d %d", first / 1024, last / 1024, (last - first) / 1024 }' "$work/frames.log")
      if [ -n "$heap" ]; then
        set -- $heap
        echo "$prog: heap in use after the first minute $1 kB, at the end $2 kB (growth $3 kB)"
        [ "$3" -lt 2048 ] || fail "heap grew by $3 kB"
      else
        [ "$growth" -lt 2048 ] || fail "resident memory grew by ${growth} kB"
      fi
    else
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
