#!/usr/bin/env bash
# Each of the nine images damaged in turn (missing, a directory or an endless
# device in its place, cut short at several depths): the simulator loads the images before it in
# order, announces the damaged one, names it on standard error and ends with
# status 1 without reading any later image, and never crashes on the way.
. "$(dirname "$0")/lib.sh"
e2e_init

IMAGES=(floor.rgb metal1.rgb metal2.rgb explosion0.rgba explosion1.rgb explosion2.rgb explosion3.rgb tree.rgb sun.rgb)

# Cuts an image to a length given as bytes or as an expression of its size s:
# 100 lies inside the 512-byte header, 512 keeps exactly the header, s/2 ends
# inside the pixel data or the row tables, s-1 loses only the last byte.
CUTS=(0 100 512 's/2' 's-1')

cp -r "$SOURCE/data" "$WORK/clean"
rm -f "$WORK/clean/.gitkeep"

# Lays out a fresh data directory and breaks IMAGE in it as FAULT says.
prepare() {
  local image=$1 fault=$2 dir=$WORK/run s
  rm -rf "$dir"
  cp -r "$WORK/clean" "$dir"
  case $fault in
  missing) rm "$dir/$image" ;;
  directory) rm "$dir/$image" && mkdir "$dir/$image" && cp "$WORK/clean/$image" "$dir/$image/" ;;
  device) rm "$dir/$image" && ln -s /dev/zero "$dir/$image" ;;
  cut:*)
    s=$(stat -c %s "$WORK/clean/$image")
    head -c $((${fault#cut:})) "$WORK/clean/$image" >"$dir/$image"
    ;;
  *) fail "unknown fault $fault" ;;
  esac
}

# The run must show the loading lines of every image up to IMAGE and nothing
# after, and exactly the one refusal on standard error: a sanitizer report or
# any other complaint there fails the case.
expect_refusal() {
  local image=$1 fault=$2 expected="" name
  for name in "${IMAGES[@]}"; do
    expected+="loading RGB texture: $name"$'\n'
    [ "$name" = "$image" ] && break
  done
  expected=${expected%$'\n'}
  start_app pelorin "$WORK/run"
  wait_exit 60
  [ "$EXIT_STATUS" = 1 ] || fail "$image $fault: status $EXIT_STATUS, not 1"
  [ "$(grep '^loading RGB texture: ' "$WORK/stdout" || true)" = "$expected" ] ||
    fail "$image $fault: loading lines were: $(grep '^loading RGB texture: ' "$WORK/stdout")"
  [ "$(tail -n 1 "$WORK/stdout")" = "loading RGB texture: $image" ] ||
    fail "$image $fault: output went on after $image"
  [ "$(cat "$WORK/stderr")" = "$image: could not load image file" ] ||
    fail "$image $fault: stderr was: $(cat "$WORK/stderr")"
}

cases=0
for image in "${IMAGES[@]}"; do
  for fault in missing directory device "${CUTS[@]/#/cut:}"; do
    prepare "$image" "$fault"
    expect_refusal "$image" "$fault"
    cases=$((cases + 1))
  done
done
echo "ok ($cases cases)"
