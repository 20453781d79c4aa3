// The 10 ms simulation step: the pilot's input for the step, then the flight
// model and ground contact. The shell's timer runs it on schedule with the
// input it gathered; replays and tests call it with theirs. No GL, no toolkit.
#pragma once

#include "sim/flight/flight_keys.h"
#include "sim/flight/pilot_input.h"

const int FLIGHT_PERIOD_MS = 10;

// One simulation step: the controller's actions and the presses of `input`
// in order (in every state, as the keys always acted), then, unless paused,
// the flight model and ground contact. A quit in the input ends the game
// after the step: the caller's to do.
StepOutcome SimulationStep(const PilotInput& input);
