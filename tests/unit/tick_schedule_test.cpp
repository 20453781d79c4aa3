// The timers' schedule against a fake clock: due times kept whatever the
// frames cost, the backlog bound, and the step run through it unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "sim/flight/aircraft.h"
#include "sim/flight/flight_tick.h"
#include "sim/flight/ground_contact.h"
#include "sim/shell/tick_schedule.h"
#include "sim/shell/timers.h"

namespace {

const int64_t MS = 1000000;

// When the toolkit runs a timer armed at `now` for `delayMs`: its clock counts
// whole milliseconds, so it may fire up to one early; a frame of `frameMs`
// that started at `now` delays the run further.
int64_t NextRun(int64_t now, unsigned delayMs, int frameMs)
{
    int64_t fires = std::max(now, (now / MS + delayMs) * MS);
    return std::max(fires, now + frameMs * MS);
}

// The number of due times (first at 25 ms, then every 10 ms) at or before t.
int64_t DueBy(int64_t t)
{
    return t < 25 * MS ? 0 : (t - 25 * MS) / (10 * MS) + 1;
}

} // namespace

TEST(TickSchedule, EveryStepRunsOnceItIsDueAndNeverBefore)
{
    for (int frameMs : {3, 9, 14, 40}) {
        TickSchedule s;
        StartSchedule(s, 0, 25, 10);
        EXPECT_EQ(TakeDueTicks(s, 25 * MS - 1), 0) << "the first step waits its 25 ms";
        int64_t now = 0, wrong = 0, early = 0;
        unsigned delay = 25;
        while (s.ticksRun < 10000) {
            now = NextRun(now, delay, frameMs);
            if (TakeDueTicks(s, now) == 0)
                early++;
            if (s.ticksRun != DueBy(now))
                wrong++;
            delay = DelayToNextMs(s, now);
        }
        EXPECT_EQ(wrong, 0) << "frames of " << frameMs << " ms";
        EXPECT_EQ(early, 0) << "frames of " << frameMs << " ms";
        EXPECT_LE(now, (25 + 10 * 9999 + frameMs + 2) * MS) << "10,000 steps in 100 s of game time";
    }
}

TEST(TickSchedule, ABacklogOverAQuarterSecondIsDropped)
{
    TickSchedule s;
    StartSchedule(s, 0, 25, 10);
    EXPECT_EQ(TakeDueTicks(s, 265 * MS), 25) << "240 ms late: caught up";
    EXPECT_EQ(TakeDueTicks(s, 2000 * MS), 1) << "1.7 s late: one step, then on from now";
    EXPECT_EQ(s.nextDueNs, 2010 * MS);
    EXPECT_EQ(DelayToNextMs(s, 2000 * MS), 11u);
    EXPECT_EQ(DelayToNextMs(s, 2010 * MS), 0u);
}

// Steps through the schedule, with a pause in the middle and frames of every
// length, leave the aircraft exactly as the same number of direct steps do;
// steps due while paused are not made up afterwards.
TEST(TickSchedule, ScheduledStepsFlyBitForBitAsDirectSteps)
{
    auto start = [] {
        ResetPlane(plane);
        plane.pos.y = 5000.0f;
        plane.thrust = 60.0f;
        plane.speed = 40.0f;
        RotateBody(plane, 20.0f, plane.dir);
        landed = 0;
        paused = 0;
        gravity = 2.5f;
    };
    start();
    StartSchedule(flightSchedule, 0, FLIGHT_FIRST_DELAY_MS, FLIGHT_PERIOD_MS);
    const int frames[] = {3, 9, 14, 40, 7};
    int64_t now = 0, pausedSteps = 0;
    unsigned delay = FLIGHT_FIRST_DELAY_MS;
    for (int run = 0; flightSchedule.ticksRun < 1000; run++) {
        now = NextRun(now, delay, frames[run % 5]);
        paused = now >= 3000 * MS && now < 3500 * MS;
        int ran = RunDueSteps(now);
        if (paused)
            pausedSteps += ran;
        delay = DelayToNextMs(flightSchedule, now);
    }
    paused = 0;
    Body scheduled = plane;
    float scheduledGravity = gravity;
    EXPECT_GT(pausedSteps, 45);

    start();
    for (int64_t i = 0; i < flightSchedule.ticksRun - pausedSteps; i++)
        SimulationStep(PilotInput());
    EXPECT_EQ(std::memcmp(&scheduled, &plane, sizeof plane), 0);
    EXPECT_EQ(scheduledGravity, gravity);
}
