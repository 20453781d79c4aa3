// The simulation step, in the order the game has always run it.
#include "sim/flight/flight_tick.h"

#include "sim/flight/aircraft.h"
#include "sim/flight/course_run.h"
#include "sim/flight/explosion.h"
#include "sim/flight/game_state.h"
#include "sim/flight/ground_contact.h"
#include "sim/flight/landing_score.h"

StepOutcome SimulationStep(const PilotInput& input)
{
    StepOutcome outcome = {};
    // The controller's actions come first: its throttle is an absolute
    // position worked out from the throttle the step starts with, and the
    // keys since the last step move the throttle on from there (after them,
    // a resting controller would undo every throttle key).
    if (input.padRead)
        ApplyPadActions(input.pad, outcome);
    for (const PilotPress& press : input.presses) {
        if (press.arrow)
            ApplyArrow(press.code);
        else
            ApplyFlightKey(press.code, outcome);
    }
    if (paused)
        return outcome;
    Vec3 from = plane.pos;
    bool wasLanded = landed != 0;
    bool exploding = explosionScheduled != 0;
    UpdateFlight(plane);
    Body moved = plane;
    landed = 0;
    if (explosionFrame == 0)
        EvaluateGroundContact();
    // The course's gates and the landing's score read the step's positions
    // and write nothing the flight reads, so recordings replay as before.
    bool crashed = !exploding && explosionScheduled != 0;
    CheckCourseStep(from, crashed);
    WatchTouchdown(moved, from.y, wasLanded, crashed);
    return outcome;
}
