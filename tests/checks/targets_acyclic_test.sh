#!/usr/bin/env bash
# The build's targets link one another without a cycle: the graph that
# `cmake --graphviz` draws for the configured tree sorts topologically.
set -euo pipefail
build=${PELORIN_BUILD:?the configured build tree}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cmake --graphviz="$out/targets.dot" "$build" >/dev/null
# Edges are written as  "nodeA" -> "nodeB" ... ; tsort fails on a loop.
edges=$(sed -n 's/^ *"\([^"]*\)" -> "\([^"]*\)".*/\1 \2/p' "$out/targets.dot")
[ -n "$edges" ] || { echo "no edges in the target graph" >&2; exit 1; }
if ! printf '%s\n' "$edges" | tsort >/dev/null 2>"$out/tsort.err"; then
  echo "the target graph has a cycle:" >&2
  cat "$out/tsort.err" >&2
  exit 1
fi
echo "target graph: $(printf '%s\n' "$edges" | wc -l) edges, no cycle"
