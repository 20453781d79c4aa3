#!/usr/bin/env bash
# The simulator's folders form layers that include one way, top to bottom:
#
#   sim/shell                    entry, input, timers, set-up (the toolkit, SDL)
#   sim/render, sim/assets,      drawing and what it draws from; the sound,
#   sim/sound                    an output beside the frame
#   sim/flight                   the simulation: aircraft, contact, explosion, clock, cell board
#   sim/landscape                terrain tiles and the ground query
#   sim/view                     the view and display switches and the window's size
#   sim/math, then common/       vectors; what both programs share
#
# A file may include its own layer and any below it, never one above; GL,
# GLU and GLUT headers only in the top two layers and SDL's only in the shell,
# so the simulation and everything under it is tested without a window or a
# device. Inside a layer the includes run one way too: a header and its
# source count as one module, and no module of sim/ reaches itself again
# through others (a circle), so each can be understood, tested and moved
# without the rest of its circle. The editor and the
# landscape tool use common/ and themselves only, and toolkit/ (what both
# programs' shells do alike with the windowing toolkit) only common/; the
# simulator's shell and the editor may use toolkit/. The server (server/)
# uses common/ and itself only, and the simulator's shell may use it for
# --host; the network library's headers belong to those two alone.
set -euo pipefail
cd "${PELORIN_SOURCE:-$(dirname "$0")/../..}"

rank() {
  case "$1" in
    sim/shell/*) echo 6 ;;
    sim/render/* | sim/assets/* | sim/sound/*) echo 5 ;;
    sim/flight/*) echo 4 ;;
    sim/landscape/*) echo 3 ;;
    sim/view/*) echo 2 ;;
    sim/math/*) echo 1 ;;
    common/*) echo 0 ;;
    *) echo -1 ;;
  esac
}

status=0
checked=0
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT
while IFS= read -r file; do
  from=$(rank "$file")
  while IFS= read -r line; do
    [ -n "$line" ] || continue
    checked=$((checked + 1))
    case "$line" in
      '<enet/'*)
        if [[ "$file" != sim/shell/* && "$file" != server/* ]]; then
          echo "$file includes $line: the network library belongs to sim/shell and server/"
          status=1
        fi
        continue ;;
      '<'*)
        if [ "$from" -ge 0 ] && [ "$from" -lt 5 ] && [[ "$line" =~ ^\<(GL/|SDL) ]]; then
          echo "$file includes $line: the toolkit and GL belong to sim/shell, sim/render and sim/assets"
          status=1
        elif [ "$from" -eq 5 ] && [[ "$line" =~ ^\<SDL ]]; then
          echo "$file includes $line: SDL belongs to sim/shell"
          status=1
        fi
        continue ;;
    esac
    to=$(rank "$line")
    if [[ "$file" == sim/* && "$line" == sim/* && "${file%.*}" != "${line%.*}" ]]; then
      echo "${file%.*} ${line%.*}" >>"$edges"
    fi
    case "$file" in
      editor/*) [[ "$line" == editor/* || "$line" == common/* || "$line" == toolkit/* ]] || { echo "$file includes $line: the editor uses editor/, toolkit/ and common/ only"; status=1; } ;;
      toolkit/*) [[ "$line" == toolkit/* || "$line" == common/* ]] || { echo "$file includes $line: toolkit/ uses common/ only"; status=1; } ;;
      server/*) [[ "$line" == server/* || "$line" == common/* ]] || { echo "$file includes $line: the server uses server/ and common/ only"; status=1; } ;;
      sim/*) if [[ "$line" == toolkit/* || "$line" == server/* ]]; then
               [ "$from" -eq 6 ] || { echo "$file includes $line: only sim/shell uses toolkit/ and server/"; status=1; }
             elif [ "$to" -lt 0 ]; then
               echo "$file includes $line: the simulator uses sim/, common/ and, in its shell, toolkit/ and server/ only"
               status=1
             elif [ "$to" -gt "$from" ]; then
               echo "$file includes $line, which lies above it: sim/shell > sim/render, sim/assets > sim/flight > sim/landscape > sim/view > sim/math > common"
               status=1
             fi ;;
      landscape-tool/*) [[ "$line" == landscape-tool/* || "$line" == common/* ]] || { echo "$file includes $line: the landscape tool uses landscape-tool/ and common/ only"; status=1; } ;;
      *)
        if [ "$to" -gt "$from" ]; then
          echo "$file includes $line, which lies above it: sim/shell > sim/render, sim/assets > sim/flight > sim/landscape > sim/view > sim/math > common"
          status=1
        elif [ "$from" -eq 0 ] && [ "$to" -lt 0 ]; then
          echo "$file includes $line: common/ includes nothing of the programs"
          status=1
        fi ;;
    esac
  done < <(sed -n -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*("([^"]+)"|(<[^>]+>)).*/\2\3/p' "$file")
done < <(git ls-files -co --exclude-standard -- 'sim/*.cpp' 'sim/*.h' 'common/*.cpp' 'common/*.h' \
           'editor/*.cpp' 'editor/*.h' 'server/*.cpp' 'server/*.h' 'landscape-tool/*.cpp' 'landscape-tool/*.h' 'toolkit/*.cpp' 'toolkit/*.h')

# tsort names the modules of each circle it finds, one per line after a
# line saying it found one.
circle=()
report_circle() {
  [ "${#circle[@]}" -gt 0 ] || return 0
  local files=() m
  for m in "${circle[@]}"; do
    for f in "$m.h" "$m.cpp"; do [ -e "$f" ] && files+=("$f"); done
  done
  echo "a circle of includes (a header and its source count as one): ${files[*]}"
  status=1
  circle=()
}
while IFS= read -r line; do
  case "$line" in
    *'input contains a loop'*) report_circle ;;
    tsort:\ *) circle+=("${line#tsort: }") ;;
  esac
done < <(tsort "$edges" 2>&1 >/dev/null)
report_circle

[ "$status" -eq 0 ] && echo "includes: $checked checked, every one runs down the layers, no circle among the modules of sim/"
exit "$status"
