// Live play's input record and its step: the keyboard's flight keys and
// arrows and the explosion's frames gather in `liveInput` between steps, the
// controller is read as the step begins, then the record is stepped and
// recorded, and a fresh one gathers the next step's input.
#pragma once

#include "sim/flight/flight_tick.h"

// The record the next live step takes.
extern PilotInput liveInput;

// A flight key (FlightKey) or an arrow for the next step.
void AddLiveKey(unsigned char key);
void AddLiveArrow(int arrow);
// An explosion frame the live timer ran since the last step.
void AddLiveExplosionFrame();
// One live step: the controller's actions added to liveInput, the record
// stepped and recorded, then emptied for the next step.
StepOutcome RunLiveStep();
// The step and its recording, for a record however gathered (the live game,
// the tool that records the regression flights).
StepOutcome RunRecordedStep(const PilotInput& input);
// An empty record: the start state.
void ResetLiveStepState();
