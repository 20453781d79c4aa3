// Day clock: the sun and moon angles, stepped by the shared day arithmetic.
#include "sim/flight/clock.h"

#include "sim/flight/ground_contact.h"

float sunAngle;
float moonAngle;
int timePasses;

void AdvanceClock()
{
    if (!timePasses || paused)
        return;
    StepDayClock(sunAngle, moonAngle);
}

void ResetClockState()
{
    sunAngle = 0.0f;
    moonAngle = 0.0f;
    timePasses = 1;
}
