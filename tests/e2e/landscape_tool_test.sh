#!/usr/bin/env bash
# pelorin-landscape against the real simulator: a 16-bit heightmap drawn by
# ImageMagick imports to a file the simulator reads without an "ERROR!" line,
# and info tells beforehand the header echo, the ERROR! count and where tile
# 0 lies, for that file and for the same file cut short.
. "$(dirname "$0")/lib.sh"
e2e_init
TOOL="$BUILD/pelorin-landscape"
[ -x "$TOOL" ] || fail "no $TOOL"

"$CONVERT" -size 300x200 radial-gradient:white-black -depth 16 "$WORK/hill.png"
identify -format '%z' "$WORK/hill.png" | grep -qx 16 || fail "ImageMagick did not write a 16-bit image"
mkdir -p "$WORK/whole" "$WORK/short"
copy_data "$WORK/whole"; copy_data "$WORK/short"
"$TOOL" import "$WORK/hill.png" -o "$WORK/whole/landscape.dmf" --size 61 --height 6000 || fail "import failed"
head -c -3000 "$WORK/whole/landscape.dmf" >"$WORK/short/landscape.dmf"

# Runs the simulator in $1 until its terrain is loaded; compares with info.
check_against_info() {
  local dir=$1 expected_errors=$2 info header centre
  info=$("$TOOL" info "$dir/landscape.dmf") || fail "info failed on $dir"
  start_app pelorin "$dir"
  wait_output "Finished Reading Landscape!" 60
  wait_window "Tessaly -- Pelorin 2000"
  send_keys Q
  wait_exit
  [ -s "$WORK/stderr" ] && fail "the simulator complained: $(cat "$WORK/stderr")"
  [ "$(grep -c '^Translate X' "$WORK/stdout")" = 16 ] || fail "not 16 tiles"
  header=$(grep -A1 '^Translate X' "$WORK/stdout" | tail -n 1)
  grep -qxF "header echo: $header" <<<"$info" || fail "header echo \"$header\" differs from info: $info"
  [ "$(count_output 'ERROR!')" = "$expected_errors" ] || fail "$(count_output 'ERROR!') ERROR! lines, wanted $expected_errors"
  grep -qx "ERROR! lines: $expected_errors" <<<"$info" || fail "info disagrees on ERROR! lines: $info"
  grep -qx 'grid size: 61 x 61 points' <<<"$info" || fail "info's size: $info"
  centre=$(grep -m1 '^Translate X' "$WORK/stdout" | awk '{ print "tile 0 centre: x " $3 " z " $6 }')
  grep -qxF "$centre" <<<"$info" || fail "tile 0 lies at \"$centre\", info: $info"
}

check_against_info "$WORK/whole" 0
# 3000 bytes of "NNNN " heights: some 600 of them missing.
missing=$(( 61 * 61 - $(tail -n +2 "$WORK/short/landscape.dmf" | wc -w) ))
check_against_info "$WORK/short" "$missing"

# course: a golden recording gives the same course twice, and the delivered
# courses come from their recordings as they are made.
copy_data "$WORK/course"
recordings=$SOURCE/tests/data/recordings
(cd "$WORK/course" &&
  "$BUILD/pelorin-landscape" course "$recordings/keyboard_takeoff_landing.rec" -o one.course &&
  "$BUILD/pelorin-landscape" course "$recordings/keyboard_takeoff_landing.rec" -o two.course &&
  "$BUILD/pelorin-landscape" course "$recordings/valley_course.rec" --every 2 --radius 300 -o valley.course &&
  "$BUILD/pelorin-landscape" course "$recordings/peaks_course.rec" --every 1 --radius 150 -o peaks.course) ||
  fail "course could not be made"
[ "$(grep -c '^gate ' "$WORK/course/one.course")" -ge 2 ] || fail "no gates: $(cat "$WORK/course/one.course")"
diff <(sed 1,2d "$WORK/course/one.course") <(sed 1,2d "$WORK/course/two.course") >/dev/null ||
  fail "the same recording gave two courses"
cmp -s "$WORK/course/valley.course" "$SOURCE/data/courses/valley.course" || fail "valley.course is not remade as delivered"
cmp -s "$WORK/course/peaks.course" "$SOURCE/data/courses/peaks.course" || fail "peaks.course is not remade as delivered"
echo "ok"
