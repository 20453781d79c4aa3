// One frame of the simulator: camera views, drawing order, the aircraft's
// placement and its lights, the contact outline and the 2-D pass.
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

// Display callback: draws the whole frame from the global state and swaps.
void RenderScene();
// The frame without the swap, so that a test can read the back buffer.
void DrawFrame();
// Perspective and viewing transform on the projection matrix (after placing
// the camera); leaves the projection matrix current.
void LoadViewProjection();
// No GL: the turns RenderScene applies to the aircraft lists for `body`.
// Where the aircraft faces exactly opposite the reference, the turn goes
// about a perpendicular axis instead of a zero one.
ModelTurns AircraftTurns(const Body& body);
// No GL: the four corners of the contact outline, lowered by `drop` along world y.
void ContactOutlinePoints(const Body& body, float drop, Vec3 corners[4]);
void DrawContactOutline(Body body);
// Reads and discards the pending GL error; the label is for a debugger's eye only.
void CheckGLError(const char* label);
