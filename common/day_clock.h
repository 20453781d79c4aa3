// The day's arithmetic, shared by the game's clock and the server's, which
// keeps one day for everyone who flies together.
#pragma once

// Timer period of one clock tick, in milliseconds: four ticks a second.
const int DAY_CLOCK_PERIOD_MS = 250;

// The horizon rules shared by the clock's step sizes and the sky's drawing:
// the sun is down strictly between 95 and 265 degrees, the moon is up from 91
// to 270 inclusive.
bool SunBelowHorizon(float sunDegrees);
bool MoonAboveHorizon(float moonDegrees);
// One tick of the sun and moon.
void StepDayClock(float& sunDegrees, float& moonDegrees);
