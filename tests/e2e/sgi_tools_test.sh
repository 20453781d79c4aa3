#!/usr/bin/env bash
# The image tools: make-images rebuilds exactly the committed data/ images,
# and sgi-to-ppm shows every one as ImageMagick, an independent reader, does.
. "$(dirname "$0")/lib.sh"
WORK=$(mktemp -d /tmp/pelorin-e2e.XXXXXX)
trap 'rm -rf "$WORK"' EXIT
"$BUILD/make-images" "$WORK" >/dev/null || fail "make-images failed"
for image in floor.rgb metal1.rgb metal2.rgb explosion0.rgba explosion1.rgb explosion2.rgb \
             explosion3.rgb tree.rgb sun.rgb; do
  cmp -s "$WORK/$image" "$SOURCE/data/$image" || fail "data/$image differs from what make-images writes"
  "$BUILD/sgi-to-ppm" "$SOURCE/data/$image" "$WORK/ours.pnm" || fail "sgi-to-ppm $image"
  "$CONVERT" "sgi:$SOURCE/data/$image" -depth 8 "$WORK/theirs.pam"
  "$CONVERT" "$WORK/ours.pnm" -depth 8 "$WORK/ours.pam"
  diff=$("${CONVERT%convert}compare" -metric AE "$WORK/ours.pam" "$WORK/theirs.pam" null: 2>&1 || true)
  [ "$diff" = 0 ] || fail "$image: $diff pixels differ from ImageMagick's reading"
done
# Refusals are reported, not written as noise.
head -c 600 "$SOURCE/data/sun.rgb" >"$WORK/cut.rgb"
if "$BUILD/sgi-to-ppm" "$WORK/cut.rgb" "$WORK/cut.ppm" 2>/dev/null; then fail "a cut file was converted"; fi
[ ! -e "$WORK/cut.ppm" ] || fail "a cut file left an output"
echo "ok"
