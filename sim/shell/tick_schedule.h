// Game timers that keep their period against a monotonic clock: which ticks
// have fallen due at a given moment and how long to wait for the next, so
// that time lost between timer runs (a long frame, a late wake-up) is made up
// instead of slowing the game. Pure arithmetic on times passed in, so it is
// tested with a fake clock.
#pragma once

#include <cstdint>

#include "common/monotonic_clock.h"

struct TickSchedule {
    int64_t nextDueNs; // monotonic time at which the next tick falls due
    int64_t periodNs;
    int64_t ticksRun;  // ticks handed out since the start; the frame harness reads it
};

// Further behind than this (a dragged window, a suspended machine), the
// backlog is dropped and the schedule carries on from now instead of racing.
const int64_t MAX_BACKLOG_NS = 250000000;

// The first tick falls due firstDelayMs after nowNs, every later one periodMs
// after the previous due time.
void StartSchedule(TickSchedule& schedule, int64_t nowNs, int firstDelayMs, int periodMs);
// How many ticks have fallen due by nowNs (0 when the timer came early), and
// moves the schedule past them; a backlog beyond MAX_BACKLOG_NS counts as one
// tick, due now.
int TakeDueTicks(TickSchedule& schedule, int64_t nowNs);
// The timer delay that reaches the next due time and never fires before it:
// 0 when it has passed, otherwise the remainder rounded up, plus a millisecond
// for toolkits whose timer clock truncates to whole milliseconds.
unsigned DelayToNextMs(const TickSchedule& schedule, int64_t nowNs);
