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

// Display callback: draws the whole frame from the global state.
void RenderScene();
// Puts `camera` where viewMode says; no GL.
void PlaceCamera();
void DrawContactOutline(Body body);
