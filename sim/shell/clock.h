// The day clock: sun and moon angles advanced by a 250 ms timer.
#pragma once

#include "sim/shell/tick_schedule.h"

extern float sunAngle;  // degrees, 0 = overhead
extern float moonAngle; // degrees, 180 = overhead
extern int timePasses;  // the angles advance only while set
extern TickSchedule clockSchedule;

const int CLOCK_PERIOD_MS = 250;
const int CLOCK_TIMER_VALUE = 1;

// The horizon rules shared by the clock's step sizes and the sky's drawing:
// the sun is down strictly between 95 and 265 degrees, the moon is up from 91
// to 270 inclusive.
bool SunBelowHorizon(float sunDegrees);
bool MoonAboveHorizon(float moonDegrees);
// One step of the sun and moon, unless time is stopped or the game paused.
void AdvanceClock();
// Starts the schedule (first tick 250 ms from now) and arms the timer.
void StartClockTimer();
// GLUT timer (value 1): AdvanceClock for each tick due, re-arm, redisplay.
void ClockTick(int value);
