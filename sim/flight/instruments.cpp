// The landing instruments' readings, warned by the landing test's own rules.
#include "sim/flight/instruments.h"

#include <cmath>

#include "sim/flight/ground_contact.h"

static const double DEGREES_PER_RADIAN = 57.29577951308232;

static double Clamped(float v)
{
    return v > 1.0f ? 1.0 : (v < -1.0f ? -1.0 : (double)v);
}

InstrumentReadings ReadInstruments(const Body& body, int gear, float heightAboveGround)
{
    InstrumentReadings r;
    r.pitch = (float)(std::asin(Clamped(body.dir.y)) * DEGREES_PER_RADIAN);
    // The same measures as the track's rows: the right wing's drop against
    // the up vector, the heading on the landscape map.
    r.bank = (float)(std::atan2(-(double)body.normal.y, (double)body.up.y) * DEGREES_PER_RADIAN);
    r.sink = (float)SinkPerStep(body);
    double heading = std::atan2((double)body.dir.z, (double)body.dir.x) * DEGREES_PER_RADIAN;
    if (heading < 0.0)
        heading += 360.0;
    r.heading = (float)heading;
    r.gearDown = gear == 1;
    // A NaN height is no reason to warn; a jet below the ground is landing.
    bool landing = r.gearDown && heightAboveGround < LANDING_WATCH_HEIGHT;
    r.pitchWarn = landing && !NoseWithinLimit(body);
    r.bankWarn = landing && !AttitudeWithinLimit(body);
    r.sinkWarn = landing && !SinkWithinLimit(body);
    return r;
}
