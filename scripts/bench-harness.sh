# Sourced by the window harnesses of scripts/bench.d: a scratch directory
# ($work) holding a copy of the data in $work/run, a private Xvfb of the size
# given, the sound on, and at exit the program under measurement ($app, with
# its input on descriptor 7), the server and the directory cleaned away.
#   bench_start NAME WIDTHxHEIGHTxDEPTH
# shellcheck source=scripts/xvfb.sh
. "$source_dir/scripts/xvfb.sh"
# Every window row is measured with the sound on: mixed on SDL's audio thread
# as on a machine with a sound card, and sent nowhere (the dummy driver).
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}

bench_cleanup() {
  exec 7>&- 2>/dev/null || true
  [ -n "$app" ] && kill "$app" 2>/dev/null && wait "$app" 2>/dev/null
  stop_xvfb
  rm -rf "$work"
}

bench_start() {
  work=$(mktemp -d "/tmp/pelorin-$1.XXXXXX")
  # Settings, recovery files and pictures of its own: what the user keeps
  # never changes a run, nor does a run change it.
  export XDG_CONFIG_HOME=$work/xdg/config XDG_DATA_HOME=$work/xdg/data XDG_STATE_HOME=$work/xdg/state XDG_CACHE_HOME=$work/xdg/cache
  mkdir -p "$XDG_CACHE_HOME"
  app=""
  trap bench_cleanup EXIT
  start_xvfb "$2"
  mkdir -p "$work/run"
  [ -d "$source_dir/data" ] && cp -r "$source_dir/data/." "$work/run/"
}

# Waits for the simulator's window, started as $app with its standard error
# in $work/stderr, and sets $wid; a failure says the caller's NAME first.
#   bench_wait_window NAME
bench_wait_window() {
  wid=""
  for _ in $(seq 1 200); do
    wid=$(xdotool search --onlyvisible --name '^Tessaly -- Pelorin 2000$' 2>/dev/null | head -n 1 || true)
    [ -n "$wid" ] && return 0
    kill -0 "$app" 2>/dev/null || { echo "$1: the simulator ended early" >&2; cat "$work/stderr" >&2; exit 1; }
    sleep 0.05
  done
  echo "$1: no window" >&2
  cat "$work/stderr" >&2
  exit 1
}

# One row of the combined table (measurement, median, p95 or slowest, rate,
# target, met), when the caller collects one.
row() {
  if [ -n "${BENCH_TABLE:-}" ]; then printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$@" >>"$BENCH_TABLE"; fi
}
