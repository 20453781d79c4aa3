#!/usr/bin/env bash
# A "landscape.dmf" that cannot be read as a landscape never stops the
# simulator: a directory or a dangling link is passed over silently and the
# generated terrain stays; an empty or binary file has its header echoed and
# gives no size, so the generated terrain stays too. Every run finishes loading, opens its window and ends on Q
# with status 0, with no sanitizer report.
. "$(dirname "$0")/lib.sh"
e2e_init

terrain_lines() {
  sed -n '/^Max Delta! /,/^Finished Reading Landscape!$/p' "$WORK/stdout"
}

# Starts the simulator in DIR, waits for the loaded terrain and the window,
# quits with Q and keeps the terrain section of its console in $TERRAIN.
fly_and_quit() {
  local dir=$1 label=$2
  start_app pelorin "$dir"
  wait_output "Finished Reading Landscape!" 60
  wait_window "Tessaly -- Pelorin 2000"
  send_keys Q
  wait_exit 30
  [ "$EXIT_STATUS" = 0 ] || fail "$label: Q ended with status $EXIT_STATUS"
  ! grep -qE 'Sanitizer|runtime error' "$WORK/stderr" || fail "$label: sanitizer report"
  TERRAIN=$(terrain_lines)
}

# Bytes from a seeded generator, so every run reads the same garbage.
binary_bytes() {
  local count=$1 seed=$2 i escape escapes=""
  RANDOM=$seed
  for ((i = 0; i < count; i++)); do
    printf -v escape '\\%03o' $((RANDOM % 256))
    escapes+=$escape
  done
  printf '%b' "$escapes"
}

# The generated terrain alone: 16 tiles, two lines each, then the end line.
mkdir "$WORK/base"; copy_data "$WORK/base"; rm "$WORK/base/landscape.dmf"
fly_and_quit "$WORK/base" "no file"
GENERATED=$TERRAIN
[ "$(wc -l <<<"$GENERATED")" = 33 ] || fail "no file: expected 33 terrain lines, got $(wc -l <<<"$GENERATED")"
TILES=$(head -n 32 <<<"$GENERATED")

# Cases that cannot be opened or read: exactly the generated terrain, silently.
for fault in directory dangling-link; do
  dir=$WORK/$fault
  mkdir "$dir"; copy_data "$dir"; rm "$dir/landscape.dmf"
  case $fault in
  directory) mkdir "$dir/landscape.dmf" && cp "$SOURCE/data/landscape.dmf" "$dir/landscape.dmf/" ;;
  dangling-link) ln -s "$dir/gone.dmf" "$dir/landscape.dmf" ;;
  esac
  fly_and_quit "$dir" "$fault"
  [ "$TERRAIN" = "$GENERATED" ] || fail "$fault: terrain lines differ from the generated terrain: $TERRAIN"
  [ ! -s "$WORK/stderr" ] || fail "$fault: stderr was: $(cat "$WORK/stderr")"
done

# An empty file gives no grid size: the header echo of zeros after the tiles,
# no heights, no complaint, and tile 0 keeps its generated mountain.
dir=$WORK/empty
mkdir "$dir"; copy_data "$dir"; : >"$dir/landscape.dmf"
fly_and_quit "$dir" "empty"
[ "$TERRAIN" = "$TILES"$'\n0.000000 0.000000 0.000000 0.000000 0.000000\nFinished Reading Landscape!' ] ||
  fail "empty: terrain lines were: $(tail -n +33 <<<"$TERRAIN")"

# Binary bytes from the start stop the header scan at once: again the zero
# header, and the generated mountain stays.
dir=$WORK/binary
mkdir "$dir"; copy_data "$dir"; binary_bytes 4096 7 >"$dir/landscape.dmf"
fly_and_quit "$dir" "binary"
[ "$(head -n 32 <<<"$TERRAIN")" = "$TILES" ] || fail "binary: the generated tiles changed"
tail -n 1 <<<"$TERRAIN" | grep -qx 'Finished Reading Landscape!' || fail "binary: no end line"

# A good header over binary bytes: all 41 x 41 heights are asked for and every
# one that cannot be read is echoed as ground level.
dir=$WORK/binary-body
mkdir "$dir"; copy_data "$dir"
{ printf '41 41 50 0 0\n'; binary_bytes 4096 11; } >"$dir/landscape.dmf"
fly_and_quit "$dir" "binary body"
[ "$(sed -n 33p <<<"$TERRAIN")" = "41.000000 41.000000 50.000000 0.000000 0.000000" ] ||
  fail "binary body: header echo was: $(sed -n 33p <<<"$TERRAIN")"
[ "$(grep -cvx 'ERROR!' <<<"$TERRAIN")" = $((33 + 1 + 41 * 41)) ] ||
  fail "binary body: expected $((41 * 41)) height lines"
echo "ok"
