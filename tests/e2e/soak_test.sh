#!/usr/bin/env bash
# Both programs under 30 seconds of seeded random keys, clicks, drags and
# console answers: no crash, no sanitizer report, only known console lines,
# and every landscape the editor wrote complete. `make soak` runs it longer.
set -euo pipefail
build=${PELORIN_BUILD:-$(dirname "$0")/../../build}
exec "$(dirname "$0")/../../scripts/soak.sh" "$build" "${SOAK_SECONDS:-30}"
