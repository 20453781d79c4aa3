// The day clock: sun and moon angles advanced by a 250 ms timer.
#pragma once

extern float sunAngle;  // degrees, 0 = overhead
extern float moonAngle; // degrees, 180 = overhead
extern int timePasses;  // the angles advance only while set

// One step of the sun and moon, unless time is stopped or the game paused.
void AdvanceClock();
// GLUT timer (value 1): AdvanceClock, re-arm after 250 ms, redisplay.
void ClockTick(int value);
