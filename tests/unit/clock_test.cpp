// The day clock's step sizes, wrap-around and standstill.
#include <gtest/gtest.h>

#include "sim/flight/clock.h"
#include "sim/flight/ground_contact.h"

struct ClockCase {
    float before;
    float after;
};

TEST(Clock, SunStepIsChosenFromTheAngleBeforeTheStep)
{
    const ClockCase cases[] = {
        {0.0f, 0.2f},      // overhead at start
        {95.0f, 95.2f},    // sunset itself is still day
        {95.2f, 95.7f},    // below the horizon: fast
        {264.9f, 265.4f},
        {265.0f, 265.2f},  // sunrise itself is day again
        {359.9f, 0.0f},    // 360.1 resets to exactly 0, not 0.1
        {359.8f, 0.0f},    // reaching 360 exactly also resets
    };
    for (const ClockCase& c : cases) {
        sunAngle = c.before;
        moonAngle = 0.0f;
        AdvanceClock();
        EXPECT_FLOAT_EQ(sunAngle, c.after) << "from " << c.before;
    }
}

TEST(Clock, MoonIsSlowFrom91To270InclusiveAndFastElsewhere)
{
    const ClockCase cases[] = {
        {0.0f, 1.4f},
        {90.9f, 92.3f},
        {91.0f, 91.07f},
        {180.0f, 180.07f},
        {270.0f, 270.07f},
        {270.1f, 271.5f},
        {359.0f, 0.0f},    // 360.4 resets to exactly 0
    };
    for (const ClockCase& c : cases) {
        sunAngle = 0.0f;
        moonAngle = c.before;
        AdvanceClock();
        EXPECT_FLOAT_EQ(moonAngle, c.after) << "from " << c.before;
    }
}

TEST(Clock, AFullDayIs1290Ticks)
{
    sunAngle = 0.0f;
    int ticks = 0;
    do {
        AdvanceClock();
        ticks++;
    } while (sunAngle != 0.0f && ticks < 5000);
    EXPECT_EQ(ticks, 1290);
}

TEST(Clock, StandsStillWhilePausedOrTimeStopped)
{
    sunAngle = 100.0f;
    moonAngle = 200.0f;
    paused = 1;
    for (int i = 0; i < 10; i++)
        AdvanceClock();
    EXPECT_EQ(sunAngle, 100.0f);
    EXPECT_EQ(moonAngle, 200.0f);

    paused = 0;
    timePasses = 0;
    AdvanceClock();
    EXPECT_EQ(sunAngle, 100.0f);
    EXPECT_EQ(moonAngle, 200.0f);

    // Resumes from the same angles.
    timePasses = 1;
    AdvanceClock();
    EXPECT_FLOAT_EQ(sunAngle, 100.5f);
    EXPECT_FLOAT_EQ(moonAngle, 200.07f);
}
