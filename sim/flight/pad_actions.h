// A game controller's actions in one step, whatever the device: what the
// shell's mapping makes of its axes and buttons, and what the step does with
// them, through the same flight keys and turns as the keyboard.
#pragma once

#include "sim/flight/flight_keys.h"

// Buttons of the standard layout (a flight stick's button 0 is PAD_SOUTH).
const unsigned PAD_SOUTH = 1u << 0;      // A on an Xbox pad: gear, or yes to the restart question
const unsigned PAD_EAST = 1u << 1;       // B: no to the restart question
const unsigned PAD_START = 1u << 2;      // pause
const unsigned PAD_BACK = 1u << 3;       // ask the restart question
const unsigned PAD_VIEW_PREV = 1u << 4;  // D-pad left: the shell's, as the view keys are
const unsigned PAD_VIEW_NEXT = 1u << 5;  // D-pad right

// One step's actions.
struct PadActions {
    float roll;       // degrees about dir, + rolls right, as the right arrow
    float pitch;      // degrees about normal, + noses up, as the down arrow
    float thrust;     // the throttle after this step: whole, 0..100
    unsigned pressed; // PAD_* buttons that went down in this step
};

// Applies the actions to the aircraft and the game state: the same rotations
// as the arrows, the same lines and changes as g, p, R, Y and N. The view
// buttons are left to the shell, since they change only what is shown.
void ApplyPadActions(const PadActions& actions, StepOutcome& outcome);
