# Sourced by every end-to-end test: runs the real programs in a scratch working
# directory under a private Xvfb, drives them with xdotool, collects their
# console output and exit status, and saves screenshots as PNG.
#
#   e2e_init                     scratch dir $WORK, private display, silent sound, cleanup trap,
#                                XDG folders of its own under $WORK (never the user's settings)
#   start_app PROG [DIR [ARG...]] start build/PROG with ARGs in DIR (default $WORK); stdin is a pipe;
#                                every start has no settings file unless KEEP_SETTINGS=1
#   wait_window TITLE            wait for the window, focus it; sets $WID
#   send_keys KEY...             xdotool key names (plus, bracketright, shift+p ...)
#   type_text TEXT               types literal text into the window
#   send_input TEXT              writes TEXT and a line end to the program's stdin
#   close_input                  closes the program's stdin (end of input)
#   click X Y [BUTTON]           click at window pixel (X, Y)
#   drag X0 Y0 X1 Y1 [BUTTON] [STEPS]
#   wait_output TEXT [SECONDS]   wait until stdout holds TEXT (fixed string)
#   count_output TEXT            number of stdout lines equal to TEXT
#   wait_exit [SECONDS]          wait for the program to end; sets $EXIT_STATUS
#   close_window                 asks $WID to close, as a window manager's close button does
#   screenshot NAME              $SHOTS/NAME.png of the window
#   pixel NAME X Y               "R G B" (0..255) of a screenshot's pixel
#   fail MESSAGE                 print and exit 1
#   ask_plane                    P, wait for the state line; sets LINE, PY (altitude), PZ
#   sync_keys                    P and wait for its line: every key sent before it was handled
#   above A B                    true when number A > number B
#   shoot_until NAME CHECK       screenshot NAME until CHECK NAME succeeds (slow builds)
#   white_in NAME X Y W H        count of pure white pixels in a screenshot rectangle
#   until_shot NAME TRIES CMD... screenshot NAME until CMD succeeds, at most TRIES times
#   count_colour NAME "R G B" [TOL]  pixels of a screenshot within TOL of the colour

set -euo pipefail

BUILD=${PELORIN_BUILD:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../../build" && pwd)}
SOURCE=${PELORIN_SOURCE:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
SHOTS=${PELORIN_SHOTS:-$BUILD/screenshots}
CONVERT=/usr/bin/convert
[ -x "$CONVERT" ] || CONVERT=convert

# shellcheck source=scripts/xvfb.sh
. "$SOURCE/scripts/xvfb.sh"

APP_PID=""
WID=""
EXIT_STATUS=""

fail() {
  echo "FAIL: $*" >&2
  if [ -n "${WORK:-}" ]; then
    echo "--- stdout (last 40 lines)" >&2; tail -n 40 "$WORK/stdout" 2>/dev/null >&2 || true
    echo "--- stderr (last 40 lines)" >&2; tail -n 40 "$WORK/stderr" 2>/dev/null >&2 || true
  fi
  exit 1
}

e2e_cleanup() {
  exec 7>&- 2>/dev/null || true
  if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then
    kill "$APP_PID" 2>/dev/null || true
    wait "$APP_PID" 2>/dev/null || true
  fi
  stop_xvfb
  if [ -n "${WORK:-}" ] && [ -z "${KEEP_WORK:-}" ]; then rm -rf "$WORK"; fi
}

e2e_init() {
  WORK=$(mktemp -d /tmp/pelorin-e2e.XXXXXX)
  # The sound mixes but plays nowhere, whatever the machine has: no test
  # depends on a sound card or server, and none hears one line about its lack.
  export SDL_AUDIODRIVER=dummy
  # The programs read and write settings, recovery files and screenshots
  # under these: a developer's own never change a test, nor does a test
  # change them.
  export XDG_CONFIG_HOME=$WORK/xdg/config XDG_DATA_HOME=$WORK/xdg/data
  export XDG_STATE_HOME=$WORK/xdg/state XDG_CACHE_HOME=$WORK/xdg/cache
  # Mesa keeps its shader cache there and complains of a missing folder.
  mkdir -p "$XDG_CACHE_HOME"
  mkdir -p "$SHOTS"
  trap e2e_cleanup EXIT
  start_xvfb "${E2E_SCREEN:-1280x1024x24}" || fail "no Xvfb"
}

# Copies the delivered data (images, default landscape) into a directory.
copy_data() {
  local dir=${1:-$WORK}
  cp -r "$SOURCE"/data/. "$dir"/
}

start_app() {
  local prog=$1 dir=${2:-$WORK}
  shift $(($# < 2 ? $# : 2))
  [ -x "$BUILD/$prog" ] || fail "no program $BUILD/$prog"
  # Each start from the defaults, as before settings were kept, unless the
  # test is about what one run leaves to the next.
  [ -n "${KEEP_SETTINGS:-}" ] || rm -rf "${XDG_CONFIG_HOME:?}/pelorin"
  rm -f "$WORK/stdin" && mkfifo "$WORK/stdin"
  : >"$WORK/stdout"; : >"$WORK/stderr"
  # The pictures these tests check are the classic display's; a test of the
  # instruments display sets DISPLAY_OPTION empty.
  [ "$prog" = pelorin ] && set -- ${DISPLAY_OPTION---classic} "$@"
  (cd "$dir" && exec "$BUILD/$prog" "$@" <"$WORK/stdin" >"$WORK/stdout" 2>"$WORK/stderr") &
  APP_PID=$!
  exec 7>"$WORK/stdin"
  EXIT_STATUS=""
}

wait_window() {
  local title=$1 i
  WID=""
  for i in $(seq 1 200); do
    WID=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n 1 || true)
    [ -n "$WID" ] && break
    kill -0 "$APP_PID" 2>/dev/null || fail "program ended before its window \"$title\" appeared"
    sleep 0.05
  done
  [ -n "$WID" ] || fail "window \"$title\" did not appear"
  xdotool windowfocus --sync "$WID" 2>/dev/null || xdotool windowfocus "$WID"
  xdotool mousemove --window "$WID" 1 1
  sleep 0.2
}

send_keys() {
  xdotool key --delay 30 "$@"
}

type_text() {
  xdotool type --delay 30 "$1"
}

send_input() {
  printf '%s\n' "$1" >&7
}

close_input() {
  exec 7>&-
}

click() {
  local x=$1 y=$2 button=${3:-1}
  xdotool mousemove --window "$WID" "$x" "$y" click "$button"
}

drag() {
  local x0=$1 y0=$2 x1=$3 y1=$4 button=${5:-1} steps=${6:-10} i
  xdotool mousemove --window "$WID" "$x0" "$y0" mousedown "$button"
  for i in $(seq 1 "$steps"); do
    xdotool mousemove --window "$WID" $((x0 + (x1 - x0) * i / steps)) $((y0 + (y1 - y0) * i / steps))
    sleep 0.02
  done
  xdotool mouseup "$button"
}

wait_output() {
  local text=$1 seconds=${2:-20} i
  for i in $(seq 1 $((seconds * 20))); do
    grep -qF -- "$text" "$WORK/stdout" 2>/dev/null && return 0
    sleep 0.05
  done
  fail "no \"$text\" on standard output within ${seconds}s"
}

count_output() {
  grep -cxF -- "$1" "$WORK/stdout" || true
}

wait_exit() {
  local seconds=${1:-20} i
  for i in $(seq 1 $((seconds * 20))); do
    if ! kill -0 "$APP_PID" 2>/dev/null; then
      set +e; wait "$APP_PID"; EXIT_STATUS=$?; set -e
      APP_PID=""
      return 0
    fi
    sleep 0.05
  done
  fail "program did not end within ${seconds}s"
}

close_window() {
  "$BUILD/close-window" "$WID" || fail "could not ask window $WID to close"
}

screenshot() {
  local name=$1
  xwd -silent -id "$WID" | "$CONVERT" xwd:- "png:$SHOTS/$name.png" || fail "screenshot $name"
}

pixel() {
  local name=$1 x=$2 y=$3
  "$CONVERT" "$SHOTS/$name.png" -crop "1x1+$x+$y" -depth 8 txt:- | tail -n 1 |
    sed -E 's/.*\(([0-9.]+),([0-9.]+),([0-9.]+).*/\1 \2 \3/' | awk '{printf "%d %d %d\n", $1, $2, $3}'
}

# near "R G B" "R G B" TOL: true when every channel is within TOL.
near() {
  local -a a b
  read -r -a a <<<"$1"; read -r -a b <<<"$2"
  local tol=${3:-8} i d
  for i in 0 1 2; do
    d=$((a[i] - b[i])); [ $d -lt 0 ] && d=$((-d))
    [ $d -le "$tol" ] || return 1
  done
  return 0
}

# Sends P and waits for its state line; sets LINE, PY (altitude) and PZ.
ask_plane() {
  local before i
  before=$(grep -c '^Plane: ' "$WORK/stdout" || true)
  send_keys shift+p
  for i in $(seq 1 500); do
    [ "$(grep -c '^Plane: ' "$WORK/stdout" || true)" -gt "$before" ] && break
    sleep 0.02
  done
  [ "$(grep -c '^Plane: ' "$WORK/stdout" || true)" -gt "$before" ] || fail "P was not answered"
  LINE=$(grep '^Plane: ' "$WORK/stdout" | tail -n 1)
  PY=$(sed -E 's/^Plane: pos = [-0-9.]+, ([-0-9.]+), .*/\1/' <<<"$LINE")
  PZ=$(sed -E 's/^Plane: pos = [-0-9.]+, [-0-9.]+, ([-0-9.]+),.*/\1/' <<<"$LINE")
}

# The keys are handled in order, so once P's line is out every key sent
# before it has been; the pause lets the frame they asked for reach the screen.
sync_keys() {
  ask_plane
  sleep 0.3
}

above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# A slow (sanitizer) build may answer a key before the frame it asked for is
# on the screen, so a picture is taken again until it shows what it should.
shoot_until() {
  local name=$1 check=$2 i
  for i in $(seq 1 50); do
    screenshot "$name"
    "$check" "$name" && return 0
    sleep 0.2
  done
  return 1
}

# Pure white pixels of a screenshot in a rectangle (top left origin).
white_in() {
  local name=$1 x=$2 y=$3 w=$4 h=$5
  "$CONVERT" "$SHOTS/$name.png" -crop "${w}x${h}+${x}+${y}" +repage txt:- | grep -ci '#FFFFFF' || true
}

until_shot() {
  local name=$1 tries=$2 i
  shift 2
  for i in $(seq 1 "$tries"); do
    screenshot "$name"
    "$@" && return 0
    sleep 0.2
  done
  return 1
}

# Reads the image's colour histogram, much faster than a dump of every pixel.
count_colour() {
  local -a c
  read -r -a c <<<"$2"
  "$CONVERT" "$SHOTS/$1.png" -depth 8 -format %c histogram:info:- |
    awk -v r="${c[0]}" -v g="${c[1]}" -v b="${c[2]}" -v t="${3:-3}" '
      { split($0, f, /[:(),]+/); dr = f[3] - r; dg = f[4] - g; db = f[5] - b
        if (dr * dr <= t * t && dg * dg <= t * t && db * db <= t * t) n += f[1] }
      END { print n + 0 }'
}
