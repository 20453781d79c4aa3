// The simulation step, in the order the game has always run it.
#include "sim/flight/flight_tick.h"

#include "sim/flight/aircraft.h"
#include "sim/flight/course_run.h"
#include "sim/flight/ground_contact.h"
#include "sim/flight/landing_score.h"

void (*readController)();

void SimulationStep()
{
    if (readController)
        readController();
    if (paused)
        return;
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
}

void ResetStepState()
{
    readController = nullptr;
}
