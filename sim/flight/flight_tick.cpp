// The simulation step, in the order the game has always run it.
#include "sim/flight/flight_tick.h"

#include "sim/flight/aircraft.h"
#include "sim/flight/ground_contact.h"

void (*readController)();

void SimulationStep()
{
    if (readController)
        readController();
    if (paused)
        return;
    UpdateFlight(plane);
    landed = 0;
    if (explosionFrame == 0)
        EvaluateGroundContact();
}

void ResetStepState()
{
    readController = nullptr;
}
