// What the pilot did in one step: the record the step takes. Whatever reads
// a device fills one (the keyboard and the controller in live play, a
// recording in a replay); the step applies it and the recorder keeps it, so
// a replay runs exactly what live play ran.
#pragma once

#include <vector>

#include "sim/flight/pad_actions.h"

// One press of a flight key or an arrow, in the order they came.
struct PilotPress {
    bool arrow;         // an ARROW_* code; otherwise a flight key
    unsigned char code;
};

struct PilotInput {
    // The explosion's frames that ran since the last step. They run on their
    // own 6 ms timer, before the step and its presses, and are not the
    // pilot's doing; they are kept here only so that the recording holds them
    // in their place and a replay runs them (RunExplosionFrame) before it
    // hands the record to the step. The step itself does not run them.
    int explosionFrames;
    // The controller's actions, when a device was read for this step; they
    // come first, as the device is read when the step begins.
    bool padRead;
    PadActions pad;
    // The flight keys and arrows pressed since the last step, in order.
    std::vector<PilotPress> presses;
};

// Empties a record for the next step, keeping its room.
inline void ClearPilotInput(PilotInput& input)
{
    input.explosionFrames = 0;
    input.padRead = false;
    input.pad = PadActions();
    input.presses.clear();
}
