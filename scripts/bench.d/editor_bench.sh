#!/usr/bin/env bash
# The editor's frame time with the point lattice off and on, in a real
# window under the current display (Mesa's software renderer under Xvfb).
#   EDITOR_BENCH_FRAMES  frames timed per case (default 60)
#   BENCH_TABLE          if set, rows for the combined table are appended
set -euo pipefail
export LC_ALL=C
build=${1:-build}
# A frame with the lattice on must leave room for 60 frames a second.
TARGET_MS=16
out=$("$build/editor-frame-bench" "${EDITOR_BENCH_FRAMES:-60}")
printf '%s\n' "$out"
[ -n "${BENCH_TABLE:-}" ] || exit 0
printf '%s\n' "$out" | awk -v target="$TARGET_MS" '
  /lattice off:/ { case_ = "editor frame, lattice off"; t = ""; m = "" }
  /lattice on:/ { case_ = "editor frame, lattice on"; t = "< " target " ms" }
  /point by point/ { case_ = "editor frame, lattice without its list"; t = ""; m = "" }
  /median/ {
    for (i = 1; i <= NF; i++) if ($i == "median") v = $(i + 1)
    if (t != "") m = (v < target ? "yes" : "NO")
    printf "%s\t%s ms\t\t\t%s\t%s\n", case_, v, t, m
  }' >>"$BENCH_TABLE"
