// The simulator's one-time scene set-up: fixed GL state, the four lights, fog,
// the textures, the display lists and the landscape, then the start poses.
#pragma once

extern float fogDensity; // exponential fog density
extern float fogColour[4];

// One-time GL and world set-up; called once, after the callbacks are
// registered and before the timers are armed.
void SetupScene();
// The fixed GL state, lights and fog of the set-up (steps 1 to 10), without
// loading anything: the GL tests use it on their own windows.
void SetupFixedState();
void SetupLights();
void SetupFog();
// Where the linear fog hides the world completely at `density`: as far out
// as the exponential fog at that density leaves 1/256 of a colour, less than
// one step of an 8-bit channel, so both modes show the same stretch of world.
double LinearFogEnd(double density);
// Linear fog from 0 to LinearFogEnd(fogDensity), kept in step with the
// density keys; the exponential modes do not read it.
void SetLinearFogRange();
// The sixteen tiles with "landscape.dmf" in tile 0, their display lists, then
// "Finished Reading Landscape!"; needs the GL context.
void LoadLandscape();
void Reshape(int width, int height);
// Registered so that pointer movement without a button is a defined no-op.
void PassiveMotion(int x, int y);
// The start fog: density 4e-6, colour (0.6, 0.7, 0.8).
void ResetSceneState();
