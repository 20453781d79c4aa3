#!/usr/bin/env bash
# Checks a soak run's console output line by line against the lines the
# program is known to print, and (for the editor) that every file it left in
# its working directory (its settings and caches under xdg/ aside) is a
# complete landscape file.
#   scripts/soak-check-output.sh pelorin|pelorin-editor STDOUT WORKDIR
set -uo pipefail
prog=$1 out=$2 work=$3
num='-?[0-9]+\.[0-9]+|-?(inf|nan)'
if [ "$prog" = pelorin ]; then
  # "zero length vector" carries no line end, so it may start any line.
  prefix='^(zero length vector)*'
  known="loading RGB texture: [a-z0-9.]+|Max Delta! 3000|Translate X: ($num) Translate Z: ($num)"
  known="$known|($num) ($num) ($num) ($num) ($num)|$num|ERROR!|Finished Reading Landscape!"
  known="$known|Raising landing gear|Lowering landing gear|fogDensity = [0-9]+\.[0-9]{6}"
  known="$known|Time has stopped\.|Time passes by\.|No longer landed|Cell board: out of memory, board stays off\.|Sound off|Sound on"
  known="$known|Screenshot saved: .*|Screenshot not saved: .*"
  p2='-?[0-9]+\.[0-9]{2}'
  known="$known|Plane: pos = $p2, $p2, $p2, dir = $p2, $p2, $p2 \($p2\), up = $p2, $p2, $p2 \($p2\), normal = $p2, $p2, $p2 \($p2\)"
  known="$known|replay ended after [0-9]+ steps"
  known="$known|Course \".*\" finished in [0-9]+\.[0-9]{2} s \((a new best|best [0-9]+\.[0-9]{2} s)\)"
  known="$known|.*; flying without a course|.*: made over another landscape than the one here"
  known="$known|.*: passes no gate of the course; flying without a ghost|.*; (set aside as .*, and )?a fresh one started"
  known="$known|[0-9]+ steps, [0-9]+ frames in [0-9]+\.[0-9]{2} s: [0-9]+\.[0-9] frames/s \(median [0-9]+\.[0-9]{2} ms, p99 [0-9]+\.[0-9]{2} ms\)"
  known="$known|"
else
  # The prompts carry no line end, so the answer's report follows them.
  prefix='^(Writing to what filename\? |Reading from what filename\? |Enter Elevation:  )*'
  known='-?[0-9]+ -?[0-9]+|ERROR: Outside of the border|ERROR: Borders can.t be edited|New Height: [0-9]+'
  known="$known|Turning Grids (On|Off)!|Setting function to (increase by 100|decrease by 100|ground|high|random|countour)"
  known="$known|Save failed, nothing written: .*|Save failed part way, the file may be incomplete: .*|No file name given \(end of input\); nothing saved"
  known="$known|File name longer than 127 characters refused; nothing saved"
  known="$known|No elevation given \(end of input\); elevation stays -?[0-9]+|Not a whole number; elevation stays -?[0-9]+"
  known="$known|Opened .*|Open failed, grid unchanged: .*|No file name given \(end of input\); nothing opened"
  known="$known|File name longer than 127 characters refused; nothing opened|Undo|Redo|Nothing to (undo|redo)"
  known="$known|Flying the grid: .*|Cannot fly the grid: .*|Unsaved changes kept in .*|Unsaved changes could not be kept: .*"
  known="$known|Screenshot saved: .*|Screenshot not saved: .*"
  known="$known|ERROR!|"
fi
bad=$(sed -E "s/$prefix//" "$out" | grep -vxE -e "$known" | head -n 5)
status=0
if [ -n "$bad" ]; then
  echo "unexpected console lines:" >&2
  printf '  %s\n' "$bad" >&2
  status=1
fi
if [ "$prog" = pelorin-editor ]; then
  while IFS= read -r -d '' f; do
    case "$f" in *.rgb|*.rgba|*/.gitkeep|*/heap.log|*/stdout|*/stderr|*/stdin|*/shots/*|*/xdg/*|*/courses/*.course) continue ;; esac
    if ! awk 'NR == 1 { if ($0 != "41 41 50.000000 0.000000 0.000000") exit 1; next }
              { if (NF != 41 || $0 !~ /^[0-9 ]+ $/) exit 1 }
              END { if (NR != 42) exit 1 }' "$f"; then
      echo "incomplete landscape file: $f" >&2
      status=1
    fi
  done < <(find "$work" -type f -print0)
fi
exit $status
