#!/usr/bin/env bash
# Each program's --help and its manual page name the same long options, so an
# option added to one is not forgotten in the other. --help: every --name at
# the start of an option line; manual page: the first \-\-name of every
# tagged paragraph's tag (the line after .TP).
set -euo pipefail
source=${PELORIN_SOURCE:-$(cd "$(dirname "$0")/../.." && pwd)}
build=${PELORIN_BUILD:-$source/build}

status=0
for prog in pelorin pelorin-editor pelorin-landscape; do
  [ -x "$build/$prog" ] || { echo "FAIL: no $build/$prog" >&2; exit 1; }
  helped=$("$build/$prog" --help | sed -nE 's/^ +(-[a-z], )?(--[a-z0-9-]+).*/\2/p' | sort -u)
  paged=$(perl -ne 'if ($tag) { print "--$1\n" if /\\-\\-([a-z0-9][a-z0-9\\-]*)/ } $tag = /^\.TP/' \
    "$source/packaging/man/$prog.6" | sed 's/\\//g' | sort -u)
  if [ -z "$helped" ] || [ "$helped" != "$paged" ]; then
    echo "FAIL: $prog --help (<) and $prog.6 (>) name different options:" >&2
    diff <(echo "$helped") <(echo "$paged") | grep '^[<>]' >&2 || true
    status=1
  fi
done
[ "$status" = 0 ] && echo "options: --help and the manual pages agree"
exit $status
