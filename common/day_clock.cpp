// The sun's and moon's steps and the horizon rules they step by.
#include "common/day_clock.h"

// Angles in degrees.
const float SUNSET = 95.0f, SUNRISE = 265.0f;
const float MOONRISE = 91.0f, MOONSET = 270.0f;

bool SunBelowHorizon(float sunDegrees)
{
    return sunDegrees > SUNSET && sunDegrees < SUNRISE;
}

bool MoonAboveHorizon(float moonDegrees)
{
    return moonDegrees >= MOONRISE && moonDegrees <= MOONSET;
}

// Degrees per tick. The sun hurries through the night and the moon through
// the day, so each spends most of its time where it can be seen.
const float SUN_STEP_DAY = 0.2f;
const float SUN_STEP_NIGHT = 0.5f;
const float MOON_STEP_UP = 0.07f;
const float MOON_STEP_DOWN = 1.4f;
const float FULL_CIRCLE = 360.0f;

// The step is chosen from the angle before it; a full circle resets to
// exactly 0 rather than the remainder, so every day starts from overhead.
void StepDayClock(float& sunDegrees, float& moonDegrees)
{
    sunDegrees += SunBelowHorizon(sunDegrees) ? SUN_STEP_NIGHT : SUN_STEP_DAY;
    if (sunDegrees >= FULL_CIRCLE)
        sunDegrees = 0.0f;
    moonDegrees += MoonAboveHorizon(moonDegrees) ? MOON_STEP_UP : MOON_STEP_DOWN;
    if (moonDegrees >= FULL_CIRCLE)
        moonDegrees = 0.0f;
}
