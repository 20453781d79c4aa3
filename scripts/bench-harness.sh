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

# One row of the combined table (measurement, median, p95 or slowest, rate,
# target, met), when the caller collects one.
row() {
  if [ -n "${BENCH_TABLE:-}" ]; then printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$@" >>"$BENCH_TABLE"; fi
}
