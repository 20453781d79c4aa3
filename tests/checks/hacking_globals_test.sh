#!/usr/bin/env bash
# HACKING.md's tables of global state stay true: every global a header
# declares extern has a row, and every row names a global that still exists.
set -euo pipefail
cd "${PELORIN_SOURCE:-$(dirname "$0")/../..}"

# Names declared extern in the headers: "extern int a;", "extern float b[3];",
# "extern void* (*c)(size_t);".
declared=$(find . \( -path ./.git -o -path './build*' -o -path ./tests -o -path ./debian \) -prune -o -name '*.h' -print |
  xargs cat | perl -ne '
  next unless /^extern\s[^;]*;/;
  if (/\(\s*\*\s*(\w+)\s*\)\s*\(/) { print "$1\n" }
  elsif (/(\w+)\s*(\[[^\]]*\]\s*)*;/) { print "$1\n" }' | sort -u)
# First cell of the rows of the tables under "## Global state".
documented=$(awk '/^## /{ on = ($0 ~ /^## Global state/) } on && /^\| `/ { split($0, c, "`"); print c[2] }' HACKING.md | sort -u)

missing=$(comm -23 <(printf '%s\n' "$declared") <(printf '%s\n' "$documented"))
stale=$(comm -13 <(printf '%s\n' "$declared") <(printf '%s\n' "$documented"))
status=0
if [ -n "$missing" ]; then
  echo "HACKING.md has no row for these globals:"; printf '  %s\n' $missing; status=1
fi
if [ -n "$stale" ]; then
  echo "HACKING.md has rows for globals no header declares:"; printf '  %s\n' $stale; status=1
fi
[ "$status" -eq 0 ] && echo "HACKING.md: $(printf '%s\n' "$declared" | grep -c .) globals, each with a row"
exit "$status"
