// One frame of the simulator: camera views, drawing order, the aircraft's
// placement and its lights, the contact outline and the 2-D pass.
#pragma once

#include "sim/math/vec_math.h"

extern int viewMode;                 // 1 cockpit, 2 chase, 3 fixed, 4 tower, 5 overhead, 6 orbit
extern float chaseDistance;          // views 2 and 6
extern float overheadHeight;         // view 5
extern float fieldOfView;            // vertical, degrees
extern int cullFaces;                // non-zero: back faces culled for the frame
extern int overlayLightOn;           // light 2 over the overlay part of the frame
extern unsigned char contactOutlineOn;

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
// Puts `camera` where viewMode says; no GL. In view 4 a camera standing at
// the aircraft keeps its previous direction.
void PlaceCamera();
// No GL: the turns RenderScene applies to the aircraft lists for `body`.
// Where the aircraft faces exactly opposite the reference, the turn goes
// about a perpendicular axis instead of a zero one.
ModelTurns AircraftTurns(const Body& body);
// No GL: the four corners of the contact outline, lowered by `drop` along world y.
void ContactOutlinePoints(const Body& body, float drop, Vec3 corners[4]);
void DrawContactOutline(Body body);
