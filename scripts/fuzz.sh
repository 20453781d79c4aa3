#!/usr/bin/env bash
# Builds every tests/fuzz/NAME_fuzz.cpp with clang's libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer into build-fuzz/, runs each for a bounded time
# from its seed corpus tests/fuzz/corpus/NAME/, and keeps every crashing input
# under tests/data/fuzz-crashes/NAME/, where the unit tests replay it.
#
# A target names the library sources it needs on a line of its own:
#   // fuzz-sources: path/one.cpp path/two.cpp
# and without that line is linked with every library source of the simulator
# and the shared code, plus OpenGL, GLU and GLUT.
#
#   scripts/fuzz.sh [NAME...]      FUZZ_SECONDS (default 60) per target
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build-fuzz"
seconds=${FUZZ_SECONDS:-60}
cxx=${FUZZ_CXX:-clang++}
mkdir -p "$out"

targets=()
if [ $# -gt 0 ]; then
  for name in "$@"; do targets+=("$root/tests/fuzz/${name}_fuzz.cpp"); done
else
  for source in "$root"/tests/fuzz/*_fuzz.cpp; do
    [ -e "$source" ] && targets+=("$source")
  done
fi
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets in tests/fuzz/"; exit 0; }

status=0
for source in "${targets[@]}"; do
  name=$(basename "$source" _fuzz.cpp)
  read -r -a extra <<<"$(sed -n 's|^// fuzz-sources:||p' "$source" | head -n 1)"
  sources=("$source")
  libs=()
  if [ ${#extra[@]} -gt 0 ]; then
    for s in "${extra[@]}"; do sources+=("$root/$s"); done
  else
    for s in "$root"/common/*.cpp "$root"/sim/*/*.cpp; do
      [ "$(basename "$s")" = main.cpp ] || sources+=("$s")
    done
    libs=(-lglut -lGLU -lGL)
  fi
  binary="$out/${name}_fuzz"
  echo "== $name: building"
  "$cxx" -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" "${sources[@]}" "${libs[@]}" -o "$binary"

  # The run works on a copy, so the seeds in the tree stay as they are.
  corpus="$out/corpus/$name"
  crashes="$out/crashes/$name"
  mkdir -p "$corpus" "$crashes"
  [ -d "$root/tests/fuzz/corpus/$name" ] && cp -n "$root/tests/fuzz/corpus/$name"/* "$corpus"/ 2>/dev/null || true
  echo "== $name: fuzzing for ${seconds}s"
  set +e
  "$binary" "$corpus" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="$crashes/" -print_final_stats=1 2>"$out/$name.log"
  result=$?
  set -e
  grep -E "^(stat::number_of_executed_units|stat::new_units_added|Done)" "$out/$name.log" || true
  found=$(find "$crashes" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
  if [ "$result" -ne 0 ] || [ "$found" -gt 0 ]; then
    mkdir -p "$root/tests/data/fuzz-crashes/$name"
    find "$crashes" -type f -exec cp {} "$root/tests/data/fuzz-crashes/$name"/ \;
    echo "== $name: FAILED (status $result, $found inputs kept in tests/data/fuzz-crashes/$name; log $out/$name.log)"
    status=1
  else
    echo "== $name: no findings"
  fi
done
exit $status
