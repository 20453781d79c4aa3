#!/usr/bin/env bash
# A time trial end to end: the easy course's recording played with --course
# passes every gate, prints its time once and keeps it as the best with the
# run beside it; a second play of it races the kept ghost and keeps the best;
# a live attempt shows the ghost waiting at the first gate among the hoops.
# A broken course file is one line and the game flies without it.
. "$(dirname "$0")/lib.sh"
e2e_init
copy_data
rec=$SOURCE/tests/data/recordings/valley_course.rec
best=$XDG_DATA_HOME/pelorin/best-times

start_app pelorin "$WORK" --play "$rec" --course courses/valley.course
wait_window "Tessaly -- Pelorin 2000"
wait_output 'Course "valley" finished in' 90
line=$(grep '^Course ' "$WORK/stdout")
[[ "$line" =~ ^Course\ \"valley\"\ finished\ in\ [0-9]+\.[0-9][0-9]\ s\ \(a\ new\ best\)$ ]] ||
  fail "the finish's line: $line"
time=$(sed -E 's/.* in ([0-9.]+) s.*/\1/' <<<"$line")
steps=$(awk -v t="$time" 'BEGIN { printf "%d", t * 100 + 0.5 }')
grep -Eq "^course [0-9a-f]{16} $steps [0-9]{4}-[0-9]{2}-[0-9]{2}\$" "$best" || fail "no best time kept: $(cat "$best")"
ghost=$(ls "$XDG_DATA_HOME"/pelorin/ghosts/*.rec)
cmp -s "$ghost" "$rec" || fail "the best run kept is not the run played"
send_keys shift+q
wait_exit

# The same run again: the kept ghost flies along, the time is not a new best.
start_app pelorin "$WORK" --play "$rec" --course courses/valley.course
wait_window "Tessaly -- Pelorin 2000"
wait_output 'Course "valley" finished in' 90
line=$(grep '^Course ' "$WORK/stdout")
[ "$line" = "Course \"valley\" finished in $time s (best $time s)" ] || fail "the second finish: $line"
[ "$(grep -c '^course ' "$best")" = 1 ] || fail "the best times hold more than one entry: $(cat "$best")"
send_keys shift+q
wait_exit

# Live, the ghost waits at the first gate: the chase view along the runway
# sees the hoops and the translucent jet ahead.
start_app pelorin "$WORK" --course courses/valley.course
wait_window "Tessaly -- Pelorin 2000"
sleep 1
screenshot course_ghost_waiting
orange=$(count_colour course_ghost_waiting "255 166 25" 40)
above "$orange" 50 || fail "no lit hoop in view ($orange orange pixels)"
send_keys shift+q
wait_exit

# A damaged best-times file is set aside with one line, and the game flies on.
printf 'pelorin-best 1\ncourse zz\n' >"$best"
start_app pelorin "$WORK" --course courses/valley.course
wait_window "Tessaly -- Pelorin 2000"
wait_output "$best: line 2: not an entry (kind, key, value, date); set aside as $best.damaged, and a fresh one started"
[ -f "$best.damaged" ] && [ ! -e "$best" ] || fail "the damaged best times were not set aside"
send_keys shift+q
wait_exit

# A broken course: one line naming the file and line, and the game flies.
printf 'pelorin-course 1\nname x\nlandscape none\ngate 1 2 3 0 0 0 50\n' >"$WORK/broken.course"
start_app pelorin "$WORK" --course broken.course
wait_window "Tessaly -- Pelorin 2000"
wait_output "broken.course: line 4: the gate faces no direction; flying without a course"
send_keys shift+q
wait_exit
[ "$EXIT_STATUS" = 0 ] || fail "the game without its course ended with $EXIT_STATUS"
echo "course: ok"
