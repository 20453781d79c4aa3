// The simulator's window state, fixed GL state, lights, fog and camera start
// pose: the one-time scene set-up that runs before the main loop.
#pragma once

#include "sim/math/vec_math.h"

extern float windowWidth;        // pixels, rewritten by Reshape
extern float windowHeight;       // pixels, rewritten by Reshape
extern unsigned char texturesOn; // load the texture set at set-up, texture the world
extern float fogDensity;         // exponential fog density
extern float fogColour[4];
extern Body camera;              // the viewer; placed each frame by the view mode

// One-time GL and world set-up; called once, after the callbacks are
// registered and before the timers are armed.
void SetupScene();
// The fixed GL state, lights and fog of the set-up (steps 1 to 10), without
// loading anything: the GL tests use it on their own windows.
void SetupFixedState();
void SetupLights();
void SetupFog();
void Reshape(int width, int height);
void ResetCamera(Body& body);
// Reads and discards the pending GL error; the label is for a debugger's eye only.
void CheckGLError(const char* label);
// Registered so that pointer movement without a button is a defined no-op.
void PassiveMotion(int x, int y);
