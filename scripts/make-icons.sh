#!/usr/bin/env bash
# Makes the desktop icons in packaging/icons/ from the game's own pictures: the
# jet as the model picture tool renders it (pelorin), and the editor's painted
# grid from docs/editor.png with the jet over it (pelorin-editor). Run from the
# repository after a build: scripts/make-icons.sh [BUILD].
set -euo pipefail
build=${1:-$PWD/build}
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
out=packaging/icons/hicolor
tmp=$(mktemp -d /tmp/pelorin-icons.XXXXXX)
trap 'rm -rf "$tmp"' EXIT

scripts/with-display.sh "$build/model-shots" "$tmp" >/dev/null

# The renderer draws without smoothing, so the sky around the jet is one flat
# colour: a flood fill from a corner lifts it cleanly.
"$convert" "$tmp/jet_icon.ppm" -alpha set -fill none -draw "color 0,0 floodfill" \
  -trim +repage "$tmp/jet.png"

# A rounded tile of a given colour or picture, 256 pixels a side.
rounded() { # SOURCE_ARGS... OUT
  local out=${*: -1}
  "$convert" "${@:1:$#-1}" -resize 256x256! \
    \( -size 256x256 xc:none -fill white -draw "roundrectangle 8,8 247,247 40,40" \) \
    -compose DstIn -composite "$out"
}

rounded -size 256x256 gradient:"#6d9fe0"-"#b9d3f2" "$tmp/sky.png"
"$convert" "$tmp/sky.png" \( "$tmp/jet.png" -resize 200x200 \) -gravity center -compose over -composite \
  "$tmp/pelorin.png"

# The grid square of the editor's picture, then a smaller jet in its corner.
rounded docs/editor.png -crop 384x384+127+46 +repage "$tmp/grid.png"
"$convert" "$tmp/grid.png" \( "$tmp/jet.png" -resize 150x150 \) -gravity southeast -geometry +14+14 \
  -compose over -composite "$tmp/pelorin-editor.png"

for size in 16 32 48 64 128 256; do
  mkdir -p "$out/${size}x${size}/apps"
  for name in pelorin pelorin-editor; do
    "$convert" "$tmp/$name.png" -filter Lanczos -resize "${size}x${size}" -strip \
      "$out/${size}x${size}/apps/$name.png"
  done
done
echo "icons written to $out"
