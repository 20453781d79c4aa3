// The viewer: its record, its start pose and where each view puts it.
#pragma once

#include "sim/math/vec_math.h"

extern Body camera; // placed each frame by the view mode; the pointer moves it in some views

// Writes the camera's start pose into `body`: at (0, 0, 1200) looking along -z.
void ResetCamera(Body& body);
// The start value of `camera`, for the set-up and the tests.
void ResetCameraState();
// Puts `camera` where viewMode says; no GL. In view 4 a camera standing at
// the aircraft keeps its previous direction.
void PlaceCamera();
