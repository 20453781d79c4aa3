// The aircraft model's placement for a pose, as two turns; no GL.
#pragma once

#include "sim/math/vec_math.h"

// The two turns that bring the model's reference frame (forward +z, up +y)
// onto an aircraft's pose: a vertex is turned by the first, then by the
// second. A turn whose flag is false is skipped. Angles in degrees, axes unit.
struct ModelTurns {
    bool first;
    float angle1;
    Vec3 axis1;
    bool second;
    float angle2;
    Vec3 axis2;
};

// No GL: the turns the frame applies to the aircraft lists for `body`.
// Where the aircraft faces exactly opposite the reference, the turn goes
// about a perpendicular axis instead of a zero one.
ModelTurns AircraftTurns(const Body& body);
