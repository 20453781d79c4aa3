// Touchdowns measured and scored.
#include "sim/flight/landing_score.h"

#include <cmath>

#include "sim/flight/aircraft.h"

Touchdown lastTouchdown;
int64_t touchdownCount;
static int airborneSteps;

void ResetLandingScoreState()
{
    lastTouchdown = Touchdown();
    touchdownCount = 0;
    airborneSteps = 0;
}

static float Part(float measure, float limit)
{
    float share = std::fabs(measure) / limit;
    return 25.0f * (share < 1.0f ? share : 1.0f);
}

int ScoreTouchdown(float sink, float nose, float bank, float offset)
{
    if (!std::isfinite(sink) || !std::isfinite(nose) || !std::isfinite(bank) || !std::isfinite(offset))
        return 0;
    float lost = Part(sink > 0.0f ? sink : 0.0f, SCORE_SINK_LIMIT) + Part(nose, SCORE_NOSE_LIMIT) +
                 Part(bank, SCORE_BANK_LIMIT) + Part(offset, SCORE_OFFSET_LIMIT);
    return (int)std::lround(100.0f - lost);
}

Touchdown MeasureTouchdown(const Body& moved, float fromY)
{
    Touchdown t;
    t.sink = fromY - moved.pos.y;
    float y = moved.dir.y > 1.0f ? 1.0f : (moved.dir.y < -1.0f ? -1.0f : moved.dir.y);
    t.nose = (float)(std::asin((double)y) * RAD_TO_DEG);
    t.bank = (float)(std::atan2(-(double)moved.normal.y, (double)moved.up.y) * RAD_TO_DEG);
    t.offset = std::fabs(moved.pos.x - RUNWAY_CENTRE_X);
    t.score = ScoreTouchdown(t.sink, t.nose, t.bank, t.offset);
    return t;
}

void WatchTouchdown(const Body& moved, float fromY, bool wasLanded, bool crashed)
{
    bool down = landed != 0;
    if (down && !wasLanded && !crashed && airborneSteps >= SCORED_MIN_AIRBORNE_STEPS) {
        lastTouchdown = MeasureTouchdown(moved, fromY);
        touchdownCount++;
    }
    airborneSteps = down || crashed ? 0 : airborneSteps + 1;
}
