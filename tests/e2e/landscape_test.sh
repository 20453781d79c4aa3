#!/usr/bin/env bash
# The simulator's terrain loading on the console: 16 generated tiles, then the
# landscape file's echo when there is one; a refused file keeps the terrain.
. "$(dirname "$0")/lib.sh"
e2e_init

# The terrain section of a run's console: from the first tile to the end line.
terrain_lines() {
  sed -n '/^Max Delta! /,/^Finished Reading Landscape!$/p' "$1"
}

run_in() {
  local dir=$1 out=$2
  start_app pelorin "$dir"
  wait_output "Finished Reading Landscape!" 60
  wait_window "Tessaly -- Pelorin 2000"
  send_keys Q
  wait_exit
  [ "$EXIT_STATUS" = 0 ] || fail "Q ended with status $EXIT_STATUS"
  cp "$WORK/stdout" "$out"
  cp "$WORK/stderr" "$out.err"
}

# Without a landscape file: two lines per tile, then the end line.
mkdir -p "$WORK/bare"; copy_data "$WORK/bare"; rm -f "$WORK/bare/landscape.dmf"
run_in "$WORK/bare" "$WORK/bare.out"
terrain_lines "$WORK/bare.out" >"$WORK/bare.terrain"
[ "$(wc -l <"$WORK/bare.terrain")" = 33 ] || fail "expected 33 terrain lines without a file, got $(wc -l <"$WORK/bare.terrain")"
[ "$(grep -cx 'Max Delta! 3000' "$WORK/bare.terrain")" = 16 ] || fail "not 16 Max Delta lines"
[ "$(grep -cE '^Translate X: -?[0-9]+\.[0-9]{6} Translate Z: -?[0-9]+\.[0-9]{6}$' "$WORK/bare.terrain")" = 16 ] ||
  fail "not 16 placement lines"
paste -d' ' <(sed -n '1~2p' "$WORK/bare.terrain" | head -16) <(sed -n '2~2p' "$WORK/bare.terrain") |
  grep -qvE '^Max Delta! 3000 Translate X: ' && fail "tile lines are not paired in order"

# With the delivered file: the same tiles, then its header and 1681 heights.
mkdir -p "$WORK/file"; copy_data "$WORK/file"
run_in "$WORK/file" "$WORK/file.out"
terrain_lines "$WORK/file.out" >"$WORK/file.terrain"
diff <(head -32 "$WORK/bare.terrain") <(head -32 "$WORK/file.terrain") >/dev/null ||
  fail "the 16 tiles differ between two runs"
[ "$(sed -n 33p "$WORK/file.terrain")" = "41.000000 41.000000 50.000000 0.000000 0.000000" ] ||
  fail "no header echo after the tiles: $(sed -n 33p "$WORK/file.terrain")"
[ "$(wc -l <"$WORK/file.terrain")" = $((33 + 1 + 1681)) ] || fail "expected 1681 height lines"
expected=$(tail -n +2 "$SOURCE/data/landscape.dmf" | tr -s ' \n' '\n' | grep -v '^$' | awk '{printf "%d.000000\n", $1}')
[ "$(sed -n '34,1714p' "$WORK/file.terrain")" = "$expected" ] || fail "height echo differs from the file"

# A refused size: one line on stderr, the generated terrain, a normal run.
mkdir -p "$WORK/bad"; copy_data "$WORK/bad"
printf '1e9 1e9 50 0 0\n1 2 3\n' >"$WORK/bad/landscape.dmf"
run_in "$WORK/bad" "$WORK/bad.out"
grep -q '^landscape.dmf: grid size ' "$WORK/bad.out.err" || fail "no refusal on stderr"
terrain_lines "$WORK/bad.out" | sed -n 33p | grep -qx '1000000000.000000 1000000000.000000 50.000000 0.000000 0.000000' ||
  fail "no header echo for the refused file"
[ "$(terrain_lines "$WORK/bad.out" | wc -l)" = 34 ] || fail "a refused file must read no heights"
echo "ok"
