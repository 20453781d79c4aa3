// What the landing instruments read: the aircraft's attitude, sink and
// heading in the pilot's units, and which of them would break the landing
// test if the wheels touched now. Plain arithmetic, no GL.
#pragma once

#include "sim/math/vec_math.h"

// Within this height above the ground under it (world units) and with the
// gear down the jet is taken to be landing, and the readings that would
// break the landing test turn amber.
const float LANDING_WATCH_HEIGHT = 300.0f;

struct InstrumentReadings {
    float pitch;   // degrees, nose up positive
    float bank;    // degrees, right wing down positive
    float sink;    // units sunk along the flight path in a step, the landing test's figure
    float heading; // degrees 0 up to 360, on the landscape map's compass: +x north, the runway 90
    bool gearDown;
    // Outside the landing limit while landing (gear down, near the ground).
    bool pitchWarn, bankWarn, sinkWarn;
};

// The readings of `body` with the gear as `gear` says (1 down) at
// `heightAboveGround` world units over the ground beneath it.
InstrumentReadings ReadInstruments(const Body& body, int gear, float heightAboveGround);
