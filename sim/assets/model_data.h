// The three models as data, built procedurally on first use; the drawing
// functions in models.h emit these parts, and the tests read them without GL.
#pragma once

#include <vector>

#include "sim/assets/mesh_builder.h"

// Jet parts 1-51 in drawing order (index 0 is part 1; 0-6 are the gear).
const std::vector<MeshPart>& AircraftParts();
// The ghost's jet: the same 51 parts, cut coarser, the insignia and the
// seats left empty.
const std::vector<MeshPart>& GhostAircraftParts();
// Airfield parts 1-13 in drawing order.
const std::vector<MeshPart>& AirfieldParts();
// Delta wing parts 1-2 in drawing order.
const std::vector<MeshPart>& DeltaWingParts();

const int AIRCRAFT_GEAR_PARTS = 7;

// The builders behind the accessors; each call builds afresh.
std::vector<MeshPart> BuildAircraftParts();
std::vector<MeshPart> BuildGhostAircraftParts();
std::vector<MeshPart> BuildAirfieldParts();
std::vector<MeshPart> BuildDeltaWingParts();
