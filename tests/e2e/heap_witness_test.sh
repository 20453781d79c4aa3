#!/usr/bin/env bash
# The long soak's heap witness must see the program's own blocks, including
# those the C runtime allocates on its behalf, and only those: a probe holds
# 4 MiB of its own, frees more than that, and has a GL library allocate about
# 1 MB on the library's account; and the GL objects it names are counted.
set -euo pipefail
build=${PELORIN_BUILD:-build}
log=$(mktemp /tmp/pelorin-heap.XXXXXX)
trap 'rm -f "$log"' EXIT
PELORIN_HEAP_LOG=$log LD_PRELOAD="$build/libheap_shim.so" "$build/heap_probe" >/dev/null
read -r kind _ heap own blocks lists textures rest <"$log"
echo "exit sample: heap $heap bytes, the program's $own bytes in $blocks blocks, $lists lists, $textures textures ${rest:-}"
[ "$kind" = E ] || { echo "FAIL: expected one exit sample, got: $(cat "$log")"; exit 1; }
mib=1048576
# Four blocks of 1 MiB plus a vector, a string, an open file and stdout's buffer.
[ "$own" -ge $((4 * mib)) ] && [ "$own" -lt $((4 * mib + 16384)) ] || { echo "FAIL: own bytes $own"; exit 1; }
[ "$blocks" -ge 7 ] && [ "$blocks" -le 9 ] || { echo "FAIL: own blocks $blocks"; exit 1; }
[ $((heap - own)) -ge $((mib / 2)) ] || { echo "FAIL: the library's blocks were counted as the program's"; exit 1; }
# Lists 5 to 9 compiled, 5 again, 5 and 6 deleted; textures 7, 8, 9 bound, 7 deleted.
[ "$lists" = 3 ] && [ "$textures" = 2 ] || { echo "FAIL: GL names counted wrong"; exit 1; }
[ -z "${rest:-}" ] || { echo "FAIL: $rest"; exit 1; }
echo PASS
