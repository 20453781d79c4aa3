# Sourced: start_xvfb SIZE starts a private Xvfb on a free display number and
# exports DISPLAY; stop_xvfb ends it. Used by the test runner and by every
# end-to-end test, so tests never share a keyboard focus.

start_xvfb() {
  local size=${1:-1280x1024x24} numfile i n
  # The server picks a free display itself (-displayfd) and writes its number
  # once it accepts connections; choosing a number here raced with tests
  # started at the same moment, which then shared one display and its focus.
  numfile=$(mktemp /tmp/pelorin-xvfb.XXXXXX)
  Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset 3>"$numfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  for i in $(seq 1 200); do
    n=$(tr -dc '0-9' <"$numfile")
    if [ -n "$n" ] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
      rm -f "$numfile"
      export DISPLAY=":$n"
      return 0
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$numfile"
  kill "$XVFB_PID" 2>/dev/null || true
  echo "could not start Xvfb" >&2
  return 1
}

stop_xvfb() {
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}
