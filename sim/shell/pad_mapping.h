// A gamepad's or flight stick's axes and buttons as the pilot's actions: the
// mapping itself is pure, so one step's values give one step's actions
// whatever the device; applying them goes through the key table.
#pragma once

// Buttons of the standard layout (a flight stick's button 0 is PAD_SOUTH).
const unsigned PAD_SOUTH = 1u << 0;      // A on an Xbox pad: gear, or yes to the restart question
const unsigned PAD_EAST = 1u << 1;       // B: no to the restart question
const unsigned PAD_START = 1u << 2;      // pause
const unsigned PAD_BACK = 1u << 3;       // ask the restart question
const unsigned PAD_VIEW_PREV = 1u << 4;  // D-pad left
const unsigned PAD_VIEW_NEXT = 1u << 5;  // D-pad right

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

// One step's actions.
struct PadActions {
    float roll;       // degrees about dir, + rolls right, as the right arrow
    float pitch;      // degrees about normal, + noses up, as the down arrow
    float thrust;     // the throttle after this step: whole, 0..100
    unsigned pressed; // PAD_* buttons that went down in this step
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
// Applies the actions to the aircraft and the game state, after the
// keyboard's and before the flight model: the same rotations as the arrows,
// the same lines and changes as g, p, R, Y and N. Returns 1 when the east
// button answered no to the restart question, so the game must end.
int ApplyPadActions(const PadActions& actions);
