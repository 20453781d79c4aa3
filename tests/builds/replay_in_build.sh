#!/usr/bin/env bash
# Builds the simulator again with other compiler flags (and optionally another
# compiler and a runner for its machine) and replays every regression
# recording with it: the --track rows of both builds must be the same bytes,
# and neither may diverge from the digests a recording keeps. A recording is
# only worth exchanging between builds that pass this.
#
#   replay_in_build.sh NAME "FLAGS" [CMAKE_ARG...]
# Environment: PELORIN_BUILD (the normal build), PELORIN_SOURCE, RUNNER (a
# command put before the other build's program, such as qemu-aarch64),
# NEEDS_CPU_FLAGS (words of /proc/cpuinfo's flags the build needs: skipped,
# status 77, without them).
set -euo pipefail
name=$1
flags=$2
shift 2
source_dir=${PELORIN_SOURCE:?}
normal=${PELORIN_BUILD:?}
other="$normal/replay-$name"

if [ -n "${NEEDS_CPU_FLAGS:-}" ]; then
  have=" $(grep -m1 '^flags' /proc/cpuinfo | cut -d: -f2) "
  for flag in $NEEDS_CPU_FLAGS; do
    if [[ "$have" != *" $flag "* ]]; then
      echo "SKIPPED: this processor lacks $flag, which the $name build needs"
      exit 77
    fi
  done
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# The flags alone decide: Release's own -O3 would come after them.
cmake -S "$source_dir" -B "$other" -DPELORIN_TESTS=OFF -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG "${launcher[@]}" "$@" >"$other.configure.log" 2>&1 ||
  { cat "$other.configure.log"; exit 1; }
cmake --build "$other" -j2 --target pelorin >"$other.build.log" 2>&1 || { tail -40 "$other.build.log"; exit 1; }

cd "$source_dir/data"
status=0
count=0
for recording in "$source_dir"/tests/data/recordings/*.rec; do
  base=$(basename "$recording" .rec)
  "$normal/pelorin" --track "$recording" >"$other/$base.normal.csv" || { echo "$base: the normal build fails"; status=1; continue; }
  if ! ${RUNNER:-} "$other/pelorin" --track "$recording" >"$other/$base.other.csv"; then
    echo "$base: the $name build does not replay it"
    status=1
  elif ! cmp -s "$other/$base.normal.csv" "$other/$base.other.csv"; then
    echo "$base: the $name build flies another track:"
    diff "$other/$base.normal.csv" "$other/$base.other.csv" | head -6
    status=1
  fi
  count=$((count + 1))
done
[ "$count" -gt 0 ] || { echo "no recordings"; exit 1; }
[ "$status" -eq 0 ] && echo "$count recordings replay bit for bit in the $name build ($flags)"
exit "$status"
