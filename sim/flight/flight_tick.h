// The 10 ms simulation step and the timer that runs it on schedule.
#pragma once

#include <cstdint>

#include "sim/shell/tick_schedule.h"

const int FLIGHT_FIRST_DELAY_MS = 25;
const int FLIGHT_PERIOD_MS = 10;
const int FLIGHT_TIMER_VALUE = 2;

extern TickSchedule flightSchedule;
// Reads the game controller at the start of every step, before the pause
// check, so that it acts in every state as the keys do; null when there is
// no controller support (and in tests that step without a device).
extern void (*readController)();

// One simulation step without the toolkit: the controller, then (unless
// paused) the flight model and ground contact.
void SimulationStep();
// Runs every step that has fallen due by nowNs, in order; returns how many.
int RunDueSteps(int64_t nowNs);
// Starts the schedule (first step 25 ms from now) and arms the timer.
void StartFlightTimer();
// GLUT timer (value 2): the due steps, re-arm for the next due time, redisplay.
void FlightTick(int value);
