// Sky colour, sun, moon and the engine exhaust.
#pragma once

#include "sim/math/vec_math.h"

extern float skyColour[4];        // clear colour: between black and the day sky
extern const float sunColour[4];
extern const float blackColour[4];
extern int flameFrame;            // 0..3, which flame texture the exhaust uses

// Darkens the stored clear colour by 0.01 per call at dusk, down to black,
// and brightens it at dawn, up to the day sky; per frame, so the drift
// follows the frame rate, and the bounds keep the day the same whatever it is.
void UpdateSkyColour();
// The day sky and the first flame frame: the start state.
void ResetSkyState();
// Light 0 and the sun sphere with its halo; modelview at the identity.
void DrawSun();
// Light 1 and the moon sphere, which shows only its emission.
void DrawMoon();
// The whole exhaust in the aircraft's frame: glows and nozzle plates, then
// (thrust above 0) the translucent flames, which advance flameFrame.
void DrawExhaust(Body body);
// The two halves of DrawExhaust. The frame draws the flames after the
// scenery: a translucent quad blends with what is already drawn, so flames
// drawn before the ground would show the sky through the runway. The frame
// gives them the aircraft's placement, material and culling.
void DrawExhaustGlows(Body body);
void DrawExhaustFlames(Body body);
