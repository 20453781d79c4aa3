#!/usr/bin/env bash
# Memory check: short scripted sessions of the simulator and the editor under
# valgrind memcheck, each in a private Xvfb. Fails when memcheck reports an
# error or a definite leak that tests/valgrind.supp does not account for; that
# file suppresses only what lies inside Mesa, X, freeglut and the dynamic
# loader, so whatever remains passes through our own code.
#
#   scripts/check-memory.sh [BUILD_DIR [pelorin|pelorin-editor]]
#     BUILD_DIR defaults to build-memory; naming a program runs only its session.
#
# Environment: MEMCHECK_GALLIUM picks Mesa's software driver (llvmpipe by
# default: its first frame costs a minute of code generation under valgrind,
# but then a frame takes about a second, where softpipe needs ten);
# MEMCHECK_VERBOSE=1 prints when each step was answered; KEEP_WORK=1 keeps
# the scratch directory with the logs.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/.." && pwd)
build=${1:-$source_dir/build-memory}
only=${2:-}
supp=$source_dir/tests/valgrind.supp
# Our sources; a frame whose file lies under one of these is ours.
our_dirs="sim/|editor/|common/"
# Valgrind's status when it found an error; any other non-zero status is the
# program's own (or a signal).
VG_ERROR_STATUS=99

# shellcheck source=scripts/xvfb.sh
. "$here/xvfb.sh"
# The sound mixes on SDL's audio thread, heard or not, whatever the machine has.
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

started_all=$(date +%s)
command -v valgrind >/dev/null || { echo "check-memory: valgrind is not installed (scripts/install-deps.sh memory)" >&2; exit 1; }

# Optimised code with line tables: the sessions stay short, the stacks readable.
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
fi
build=$(cd "$build" && pwd)
cmake --build "$build" -j "$(nproc 2>/dev/null || echo 2)" --target pelorin pelorin-editor >/dev/null || {
  echo "check-memory: build failed" >&2; exit 1; }

work=$(mktemp -d /tmp/pelorin-memcheck.XXXXXX)
# Settings, recovery files and pictures of its own: what the user keeps
# never changes a run, nor does a run change it.
export XDG_CONFIG_HOME=$work/xdg/config XDG_DATA_HOME=$work/xdg/data XDG_STATE_HOME=$work/xdg/state XDG_CACHE_HOME=$work/xdg/cache
mkdir -p "$XDG_CACHE_HOME"
app_pid=""
cleanup() {
  exec 8>&- 2>/dev/null || true
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then
    kill -KILL "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
  fi
  stop_xvfb
  if [ -z "${KEEP_WORK:-}" ]; then rm -rf "$work"; else echo "check-memory: logs kept in $work"; fi
}
trap cleanup EXIT

status=0
summary=()
prog=""; dir=""; out=""; log=""; wid=""

note() { echo "check-memory ($prog): $*"; }
session_fail() { echo "check-memory ($prog): FAIL: $*" >&2; status=1; }

# Starts PROG under memcheck in DIR with a pipe on its standard input (fd 8).
start_under_valgrind() {
  prog=$1; dir=$2
  out=$work/$prog.stdout; log=$work/$prog.memcheck.log
  rm -f "$work/$prog.stdin"; mkfifo "$work/$prog.stdin"
  (cd "$dir" && LIBGL_ALWAYS_SOFTWARE=1 GALLIUM_DRIVER=${MEMCHECK_GALLIUM:-llvmpipe} exec valgrind \
      --tool=memcheck --error-exitcode=$VG_ERROR_STATUS --suppressions="$supp" \
      --leak-check=full --errors-for-leak-kinds=definite --show-leak-kinds=definite \
      --keep-debuginfo=yes --num-callers=40 --fullpath-after="$source_dir/" \
      --log-file="$log" "$build/$prog" <"$work/$prog.stdin" >"$out" 2>"$work/$prog.stderr") &
  app_pid=$!
  exec 8>"$work/$prog.stdin"
}

# Waits for the program's window (memcheck makes start-up take seconds).
wait_window() {
  local title=$1 i
  wid=""
  for i in $(seq 1 1200); do
    wid=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1 || true)
    [ -n "$wid" ] && break
    kill -0 "$app_pid" 2>/dev/null || return 1
    sleep 0.1
  done
  [ -n "$wid" ] || return 1
  xdotool windowfocus --sync "$wid" 2>/dev/null || xdotool windowfocus "$wid" 2>/dev/null
  xdotool mousemove --window "$wid" 1 1
}

lines_matching() { grep -cF -- "$1" "$out" 2>/dev/null || true; }

# Waits until stdout holds at least COUNT lines containing TEXT; a session
# step that is never answered fails the run.
wait_count() {
  local text=$1 count=$2 seconds=${3:-90} i
  for i in $(seq 1 $((seconds * 10))); do
    [ "$(lines_matching "$text")" -ge "$count" ] && return 0
    kill -0 "$app_pid" 2>/dev/null || { session_fail "ended while waiting for \"$text\""; return 1; }
    sleep 0.1
  done
  session_fail "no \"$text\" (line $count) within ${seconds}s"
  return 1
}

# Sends KEYS, then waits for one more line containing TEXT.
key_then() {
  local text=$1 before; shift
  before=$(lines_matching "$text")
  xdotool key --window "$wid" --delay 40 "$@" || return 1
  wait_count "$text" $((before + 1)) || { session_fail "keys $* went unanswered"; return 1; }
  [ -z "${MEMCHECK_VERBOSE:-}" ] || note "keys $* answered at $(($(date +%s) - t0))s"
}

# The simulator prints its state line for P; a second P answered after the
# first proves the frame drawn after the earlier keys has been shown.
sim_keys() {
  key_then "Plane: " "$@" P && key_then "Plane: " P
}

editor_click() { xdotool mousemove --window "$wid" "$1" "$2" click 1; }
editor_drag() {
  local x0=$1 y0=$2 x1=$3 y1=$4 steps=8 i
  xdotool mousemove --window "$wid" "$x0" "$y0" mousedown 1
  for i in $(seq 1 $steps); do
    xdotool mousemove --window "$wid" $((x0 + (x1 - x0) * i / steps)) $((y0 + (y1 - y0) * i / steps))
    sleep 0.05
  done
  xdotool mouseup 1
}

# Ends the program and collects its exit status (sets $exit_status).
wait_end() {
  local seconds=$1 i
  for i in $(seq 1 $((seconds * 10))); do
    kill -0 "$app_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$app_pid" 2>/dev/null; then
    session_fail "did not end within ${seconds}s"
    kill -KILL "$app_pid" 2>/dev/null
  fi
  wait "$app_pid"; exit_status=$?
  app_pid=""
  exec 8>&- 2>/dev/null || true
}

# Reads memcheck's verdict from the log: unsuppressed errors (definite leaks
# included), definite-leak bytes, suppressed count; prints the stacks of the
# reported errors, marking those with a frame in our sources.
judge() {
  local errors suppressed definite ours
  if ! grep -q "ERROR SUMMARY:" "$log" 2>/dev/null; then
    session_fail "memcheck wrote no summary (log $log)"
    summary+=("$prog: no memcheck summary")
    return
  fi
  errors=$(sed -nE 's/.*ERROR SUMMARY: ([0-9,]+) errors.*/\1/p' "$log" | tail -n 1 | tr -d ,)
  suppressed=$(sed -nE 's/.*ERROR SUMMARY: .*suppressed: ([0-9,]+) from.*/\1/p' "$log" | tail -n 1 | tr -d ,)
  definite=$(sed -nE 's/.*definitely lost: ([0-9,]+) bytes in ([0-9,]+) blocks.*/\1 bytes in \2 blocks/p' "$log" | tail -n 1)
  [ -n "$definite" ] || definite="0 bytes"
  # Each reported error is a paragraph of the log. It is ours when its
  # innermost frame past the allocator lies in our sources; main sits at the
  # bottom of every stack, so deeper frames say nothing.
  ours=$(awk -v dirs="$our_dirs" '
      /^==[0-9]+== $/ { inerr = 0; next }
      /^==[0-9]+== (Invalid|Conditional|Use of|Syscall|Mismatched|Source and|Argument|[0-9,]+ .*definitely lost)/ { inerr = 1; decided = 0; next }
      inerr && !decided && /^==[0-9]+== +(at|by) 0x/ && !/vgpreload/ {
        decided = 1; if ($0 ~ "\\((" dirs ")") n++ }
      END { print n + 0 }' "$log")
  summary+=("$(printf '%-15s errors %s (%s of them ours), definitely lost %s (unsuppressed), suppressed %s, exit status %s' \
    "$prog" "$errors" "$ours" "$definite" "${suppressed:-0}" "$exit_status")")
  if [ "${errors:-1}" != 0 ]; then
    session_fail "memcheck reported $errors error(s), $ours of them in our code:"
    awk '/^==[0-9]+== (Invalid|Conditional|Use of|Syscall|Mismatched|Source and|Argument|[0-9,]+ .*definitely lost)/ { p = 1 }
         p { print } /^==[0-9]+== $/ { p = 0 }' "$log" >&2
    echo "check-memory ($prog): an error lying wholly inside a library belongs in $supp, by object" >&2
  fi
}

# --- Simulator: views 1-6, throttle, gear, cell board, pause, fog, textures,
# lights, the other switches, the restart question, quit.
run_sim() {
  sim_dir=$work/sim
  mkdir -p "$sim_dir" && cp -r "$source_dir"/data/. "$sim_dir"/
  start_xvfb 1280x1024x24 || { echo "check-memory: no Xvfb" >&2; exit 1; }
  t0=$(date +%s)
  start_under_valgrind pelorin "$sim_dir"
  if ! wait_window "Tessaly -- Pelorin 2000"; then
    session_fail "window never appeared"
  else
    note "window after $(($(date +%s) - t0))s"
    sim_keys bracketright bracketright plus minus &&
    key_then "Raising landing gear" g &&
    sim_keys 2 &&
    sim_keys 3 &&
    { xdotool mousemove --window "$wid" 300 200 mousedown 1 mousemove --window "$wid" 340 230 mouseup 1; sim_keys; } &&
    sim_keys 4 &&
    sim_keys 5 &&
    sim_keys 2 2 &&
    key_then "Lowering landing gear" g &&
    sim_keys L &&
    sim_keys p &&
    sim_keys p backslash &&
    key_then "fogDensity = " d &&
    key_then "fogDensity = " D &&
    sim_keys F F &&
    sim_keys t &&
    sim_keys t L 1 &&
    sim_keys l c z B C w M Left Down &&
    sim_keys R y M l c z B C w Right Up &&
    key_then "Time has stopped." T
    xdotool key --window "$wid" Q
  fi
  wait_end 120
  [ "$exit_status" = 0 ] || session_fail "exit status $exit_status (0 expected after Q; $VG_ERROR_STATUS means memcheck errors)"
  judge
  stop_xvfb
  note "done in $(($(date +%s) - t0))s"
}

# --- Editor: functions, clicks and drags, contour elevation, saves, lattice.
# It has no quit key: the session ends with SIGTERM, so only the definite
# leaks of its report mean anything (the grid is held to the end on purpose).
run_editor() {
  ed_dir=$work/editor
  mkdir -p "$ed_dir"
  start_xvfb 1280x1024x24 || { echo "check-memory: no Xvfb" >&2; exit 1; }
  t0=$(date +%s)
  start_under_valgrind pelorin-editor "$ed_dir"
  if ! wait_window "Pelorin Editor"; then
    session_fail "window never appeared"
  else
    note "window after $(($(date +%s) - t0))s"
    key_then "Setting function to increase by 100" i &&
    editor_drag 200 300 440 300 &&
    wait_count "New Height: " 3 &&
    key_then "Setting function to high" h &&
    { editor_click 320 240; wait_count "New Height: 8000" 1; } &&
    key_then "Setting function to random" r &&
    { editor_click 400 160; editor_click 5 5; editor_click 130 240; wait_count "ERROR: Borders can't be edited" 1; } &&
    key_then "Setting function to decrease by 100" m &&
    { editor_click 320 240; wait_count "New Height: 7900" 1; } &&
    key_then "Setting function to countour" c &&
    { printf '2500\n' >&8; editor_click 240 160; wait_count "New Height: 2500" 1; } &&
    key_then "Setting function to countour" c &&
    { printf 'lots\n' >&8; wait_count "Not a whole number" 1; } &&
    key_then "Writing to what filename? " w &&
    { printf 'no/such/dir/x.dmf\n' >&8; wait_count "Save failed, nothing written" 1; } &&
    key_then "Turning Grids On!" g &&
    # Smoothing prints nothing of its own; a click outside the grid marks the end.
    { xdotool key --window "$wid" s; editor_drag 190 400 470 120; editor_click 5 5
      wait_count "ERROR: Outside of the border" 2; } &&
    key_then "Writing to what filename? " w &&
    { printf 'painted.dmf\n' >&8; key_then "Turning Grids Off!" g; }
    for i in $(seq 1 100); do [ -s "$ed_dir/painted.dmf" ] && break; sleep 0.1; done
    [ "$(wc -l <"$ed_dir/painted.dmf" 2>/dev/null)" = 42 ] || session_fail "painted.dmf was not saved whole"
    # End of input: the next save is refused, the editor goes on.
    exec 8>&-
    key_then "No file name given (end of input)" w
  fi
  kill -0 "$app_pid" 2>/dev/null || session_fail "ended before its session was over"
  kill -TERM "$app_pid" 2>/dev/null
  wait_end 120
  judge
  stop_xvfb
  note "done in $(($(date +%s) - t0))s"
}

[ "$only" = pelorin-editor ] || run_sim
[ "$only" = pelorin ] || run_editor

echo "check-memory summary ($(($(date +%s) - started_all))s in all):"
printf '  %s\n' "${summary[@]}"
if [ $status = 0 ]; then echo "check-memory: passed"; else echo "check-memory: FAILED" >&2; fi
exit $status
