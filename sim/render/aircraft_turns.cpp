// The turns that carry the aircraft model's reference frame onto a pose: the
// own jet, a course's ghost and every jet drawn from the same lists use them.
#include "sim/render/aircraft_turns.h"

#include "sim/flight/aircraft.h"

static bool IsZero(const Vec3& v)
{
    return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f;
}

// A zero axis means the two vectors are parallel: nothing to turn when they
// agree, and a half turn about `fallback` (perpendicular to both) when they
// are opposite.
static bool ChooseAxis(float angle, Vec3& axis, const Vec3& fallback)
{
    if (!IsZero(axis))
        return true;
    if (angle < 90.0f)
        return false;
    axis = fallback;
    return true;
}

ModelTurns AircraftTurns(const Body& body)
{
    ModelTurns turns = {};
    Body scratch;
    ResetPlane(scratch);
    if (!VecEqual(body.dir, scratch.dir)) {
        turns.angle1 = (float)AngleBetween(body.dir, scratch.dir);
        UnitCross(body.dir, scratch.dir, turns.axis1);
        turns.first = ChooseAxis(turns.angle1, turns.axis1, scratch.up);
        if (turns.first) {
            Vec3 axis = turns.axis1;
            RotateBody(scratch, -turns.angle1, axis);
        }
    }
    if (!VecEqual(body.up, scratch.up)) {
        turns.angle2 = (float)AngleBetween(body.up, scratch.up);
        UnitCross(body.up, scratch.up, turns.axis2);
        turns.second = ChooseAxis(turns.angle2, turns.axis2, scratch.dir);
    }
    return turns;
}
