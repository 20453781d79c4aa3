// The four GLUT timers, each the clock of one part of the game: the flight
// step (10 ms), the day clock (250 ms), the cell board (1 s) and a crash's
// explosion (6 ms frames). The first three keep their period against the
// monotonic clock and catch up on ticks a slow frame delayed; every run ends
// with a redisplay request.
#pragma once

#include <cstdint>

#include "sim/shell/tick_schedule.h"

const int FLIGHT_FIRST_DELAY_MS = 25;
const int FLIGHT_TIMER_VALUE = 2;
const int CLOCK_PERIOD_MS = 250;
const int CLOCK_TIMER_VALUE = 1;
const int LIFE_PERIOD_MS = 1000;
const int LIFE_TIMER_VALUE = 3;

// The frame harness reads the tick counts of the first two.
extern TickSchedule flightSchedule;
extern TickSchedule clockSchedule;
extern TickSchedule lifeSchedule;

// Runs every simulation step that has fallen due by nowNs, in order
// (RunOneStep: in live play recorded, in a replay the recording's); returns
// how many.
int RunDueSteps(int64_t nowNs);
// Start each schedule and arm its timer: the step 25 ms from now, the clock
// 250 ms, the board 1 s.
void StartFlightTimer();
void StartClockTimer();
void StartLifeTimer();
// Arms the first explosion frame 10 ms from now; StartExplosion calls it
// through its hook when a crash starts a chain. Nothing while a replay shows.
void ArmExplosionTimer();
// GLUT timers: the due steps, clock ticks or generations (value 2, 1, 3);
// one explosion frame, counted into the next step's record and re-armed 6 ms
// later until the last (value 4).
void FlightTick(int value);
void ClockTick(int value);
void LifeTick(int value);
void ExplosionTick(int value);
// Schedules not started: the start state.
void ResetTimersState();
