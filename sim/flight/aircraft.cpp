// Aircraft state and flight dynamics.
#include "sim/flight/aircraft.h"

#include <GL/glut.h>

Body plane;
int flightModel = 0;
float gravity = 2.5f;
int landed = 1;

void ResetPlane(Body& body)
{
    body.pos = {3075.0f, 30.0f, -9470.0f};
    body.dir = {0.0f, 0.0f, 1.0f};
    body.up = {0.0f, 1.0f, 0.0f};
    UnitCross(body.dir, body.up, body.normal);
    body.speed = 0.0f;
    body.thrust = 0.0f;
    body.velocity = {0.0f, 0.0f, 0.0f};
    body.airspeed = 0.0f;
}

void UpdateFlight(Body& /*body*/)
{
}

void FlyHeading(Body& /*body*/)
{
}

void FlyForces(Body& /*body*/)
{
}

void PrintBody(const Body& /*body*/)
{
}

void SimulationStep()
{
}

void FlightTick(int /*value*/)
{
    SimulationStep();
    glutTimerFunc(10, FlightTick, 2);
    glutPostRedisplay();
}
