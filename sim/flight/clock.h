// The day clock: the sun and moon angles, advanced four times a second by
// the shell's timer. Like the flight step it stands still while the game is
// paused, so it lives beside it.
#pragma once

#include "common/day_clock.h"

extern float sunAngle;  // degrees, 0 = overhead
extern float moonAngle; // degrees, 180 = overhead
extern int timePasses;  // the angles advance only while set

// One step of the sun and moon, unless time is stopped or the game paused.
void AdvanceClock();
// Sun and moon at 0, time passing: the start state.
void ResetClockState();
