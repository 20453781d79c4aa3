// The three polygon models: the jet (with or without its landing gear), the
// airfield and the delta wing. Each emits its parts in order, in immediate
// mode; the display lists capture them once at set-up.
#pragma once

// Parts 1-7 (the landing gear) only when gear is non-zero, then parts 8-51.
void DrawAircraftMesh(int gear);
// The ghost's lighter jet, the same way.
void DrawGhostAircraftMesh(int gear);
void DrawAirfieldMesh();
void DrawDeltaWingMesh();
