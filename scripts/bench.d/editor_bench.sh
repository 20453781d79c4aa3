#!/usr/bin/env bash
# The editor's frame time with the point lattice off and on, in a real
# window under the current display (Mesa's software renderer under Xvfb).
set -euo pipefail
build=${1:-build}
"$build/editor-frame-bench" "${EDITOR_BENCH_FRAMES:-60}"
