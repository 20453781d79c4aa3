#!/usr/bin/env bash
# Runs a command with an X display: the caller's own if DISPLAY is set,
# otherwise a private Xvfb (Mesa's software renderer draws into it).
set -euo pipefail
if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=scripts/xvfb.sh
. "$here/xvfb.sh"
start_xvfb 1280x1024x24
set +e
"$@"
status=$?
stop_xvfb
exit $status
