// The simulation step and its timer. Steps keep a 10 ms period against the
// clock whatever a frame costs: a late run catches up on every step that fell
// due, so the jet flies at the same rate in every view and window size.
#include "sim/flight/flight_tick.h"

#include <GL/glut.h>

#include "sim/flight/aircraft.h"
#include "sim/flight/ground_contact.h"

TickSchedule flightSchedule = {0, FLIGHT_PERIOD_MS * 1000000LL, 0};
void (*readController)() = nullptr;

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

int RunDueSteps(int64_t nowNs)
{
    int due = TakeDueTicks(flightSchedule, nowNs);
    for (int i = 0; i < due; i++)
        SimulationStep();
    return due;
}

void StartFlightTimer()
{
    StartSchedule(flightSchedule, MonotonicNs(), FLIGHT_FIRST_DELAY_MS, FLIGHT_PERIOD_MS);
    glutTimerFunc(FLIGHT_FIRST_DELAY_MS, FlightTick, FLIGHT_TIMER_VALUE);
}

void FlightTick(int /*value*/)
{
    RunDueSteps(MonotonicNs());
    glutTimerFunc(DelayToNextMs(flightSchedule, MonotonicNs()), FlightTick, FLIGHT_TIMER_VALUE);
    glutPostRedisplay();
}
