// A controller's actions applied through the flight keys and the arrows' turns.
#include "sim/flight/pad_actions.h"

#include "sim/flight/aircraft.h"
#include "sim/flight/game_state.h"

void ApplyPadActions(const PadActions& actions, StepOutcome& outcome)
{
    // A turn of exactly zero is skipped so that a centred stick leaves the
    // attitude bit for bit as it was.
    if (actions.roll != 0.0f)
        RotateBody(plane, actions.roll, plane.dir);
    if (actions.pitch != 0.0f)
        RotateBody(plane, actions.pitch, plane.normal);
    plane.thrust = actions.thrust;

    unsigned pressed = actions.pressed;
    if (pressed & PAD_SOUTH)
        ApplyFlightKey(restartPrompt ? 'Y' : 'g', outcome);
    if (pressed & PAD_EAST) {
        ApplyFlightKey('N', outcome);
        if (outcome.quit)
            return;
    }
    if (pressed & PAD_START)
        ApplyFlightKey('p', outcome);
    if (pressed & PAD_BACK)
        ApplyFlightKey('R', outcome);
}
