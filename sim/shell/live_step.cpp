// The live game's input record, stepped and recorded once a step.
#include "sim/shell/live_step.h"

#include "sim/shell/gamepad.h"
#include "sim/shell/recorder.h"

PilotInput liveInput;

void ResetLiveStepState()
{
    ClearPilotInput(liveInput);
}

void AddLiveKey(unsigned char key)
{
    liveInput.presses.push_back({false, key});
}

void AddLiveArrow(int arrow)
{
    liveInput.presses.push_back({true, (unsigned char)arrow});
}

void AddLiveExplosionFrame()
{
    liveInput.explosionFrames++;
}

StepOutcome RunRecordedStep(const PilotInput& input)
{
    // The recorder compares the controller's throttle with the throttle the
    // step starts with, so it sees the record before the step.
    RecordInput(input);
    StepOutcome outcome = SimulationStep(input);
    RecordStepDone(outcome);
    return outcome;
}

StepOutcome RunLiveStep()
{
    ReadGamepad(liveInput);
    StepOutcome outcome = RunRecordedStep(liveInput);
    ClearPilotInput(liveInput);
    return outcome;
}
