// The player's aircraft: its record, start pose and the two flight models.
#pragma once

#include "sim/math/vec_math.h"

extern Body plane;
extern int flightModel; // 0: FlyHeading, otherwise FlyForces
extern float gravity;   // dive factor of FlyHeading, gravity of FlyForces
extern int landed;      // 1 while resting on the ground

const float THRUST_MAX = 100.0f; // the throttle's top, whole units from 0

void UpdateFlight(Body& body);
void FlyHeading(Body& body);
void FlyForces(Body& body);
void ResetPlane(Body& body);
void PrintBody(const Body& body);
// The aircraft at its start pose, resting, heading model, gravity 2.5: the
// start state.
void ResetAircraftState();
