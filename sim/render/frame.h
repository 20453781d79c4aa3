// One frame of the simulator: camera views, drawing order, the aircraft's
// placement and its lights, the contact outline and the 2-D pass.
#pragma once

#include "sim/math/vec_math.h"
#include "sim/render/aircraft_turns.h"

// Display callback: draws the whole frame from the global state and swaps.
void RenderScene();
// The frame without the swap, so that a test can read the back buffer.
void DrawFrame();
// Perspective and viewing transform on the projection matrix (after placing
// the camera); leaves the projection matrix current.
void LoadViewProjection();
// No GL: the four corners of the contact outline, lowered by `drop` along world y.
void ContactOutlinePoints(const Body& body, float drop, Vec3 corners[4]);
void DrawContactOutline(Body body);
// Reads and discards the pending GL error; the label is for a debugger's eye only.
void CheckGLError(const char* label);
