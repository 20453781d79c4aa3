// The 10 ms simulation step: the controller, the flight model and ground
// contact. The shell's timer runs it on schedule; tests and replays call it
// directly. No GL, no toolkit.
#pragma once

const int FLIGHT_PERIOD_MS = 10;

// Reads the game controller at the start of every step, before the pause
// check, so that it acts in every state as the keys do; null when there is
// no controller support (and in tests that step without a device).
extern void (*readController)();

// One simulation step: the controller, then (unless paused) the flight model
// and ground contact.
void SimulationStep();
// No controller hook: the start state.
void ResetStepState();
