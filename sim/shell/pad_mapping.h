// A gamepad's or flight stick's axes and buttons as the pilot's actions: the
// mapping itself is pure, so one step's values give one step's actions
// whatever the device; the step applies them (sim/flight/pad_actions.h).
#pragma once

#include "sim/flight/pilot_input.h"

// One step's reading of the device; all zero is neutral (and no device).
struct PadInput {
    float roll;         // stick sideways, -1 full left .. 1 full right
    float pitch;        // stick forwards and back, -1 full forwards .. 1 full back
    float throttleUp;   // right trigger, 0 released .. 1 full pull
    float throttleDown; // left trigger, 0 .. 1
    int hasLever;       // 1: lever holds an absolute throttle position
    float lever;        // throttle lever, -1 fully forward .. 1 fully back
    unsigned buttons;   // PAD_* held
};

// What the mapping carries from one step to the next.
struct PadMemory {
    unsigned buttons;      // held at the last step
    float throttleCarry;   // fraction of a throttle unit the triggers have built up
    int leverThrust;       // whole thrust the lever last gave; -1 before its first reading
};

const float PAD_DEAD_ZONE = 0.1f;       // share of a stick's travel that does nothing
const float PAD_TRIGGER_DEAD = 0.05f;   // share of a trigger's pull that does nothing
const float PAD_ROLL_MAX = 1.0f;        // degrees per step at full deflection
const float PAD_PITCH_MAX = 0.5f;       // degrees per step at full deflection
const float PAD_THROTTLE_RATE = 0.5f;   // thrust per step at full pull: 50 a second

// The start of a device's life, and the state after it is pulled out.
PadMemory NeutralPadMemory();
// Maps one step's input, given the throttle before it, and moves memory on.
PadActions MapPad(const PadInput& input, PadMemory& memory, float thrust);
// One step's reading mapped, given the throttle the step starts with, into
// the step's record; the view buttons switch the view at once, as the view
// keys do. The same for a real device and a scripted one.
void PadToInput(const PadInput& input, PadMemory& memory, PilotInput& record);
