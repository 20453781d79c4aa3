// Game timers that keep their period against a monotonic clock.
#include "sim/shell/tick_schedule.h"

static const int64_t NS_PER_MS = 1000000;

void StartSchedule(TickSchedule& schedule, int64_t nowNs, int firstDelayMs, int periodMs)
{
    schedule.nextDueNs = nowNs + firstDelayMs * NS_PER_MS;
    schedule.periodNs = periodMs * NS_PER_MS;
    schedule.ticksRun = 0;
}

int TakeDueTicks(TickSchedule& schedule, int64_t nowNs)
{
    int64_t behind = nowNs - schedule.nextDueNs;
    if (behind < 0)
        return 0;
    int64_t due = 1;
    if (behind > MAX_BACKLOG_NS)
        schedule.nextDueNs = nowNs;
    else
        due += behind / schedule.periodNs;
    schedule.nextDueNs += due * schedule.periodNs;
    schedule.ticksRun += due;
    return (int)due;
}

unsigned DelayToNextMs(const TickSchedule& schedule, int64_t nowNs)
{
    int64_t remaining = schedule.nextDueNs - nowNs;
    if (remaining <= 0)
        return 0;
    return (unsigned)((remaining + NS_PER_MS - 1) / NS_PER_MS + 1);
}
