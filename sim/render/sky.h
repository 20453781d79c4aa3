// Sky colour, sun, moon and the engine exhaust.
#pragma once

#include "sim/math/vec_math.h"

extern float skyColour[4];        // clear colour; never clamped in storage
extern const float sunColour[4];
extern const float blackColour[4];
extern int sunHaloOn;             // the textured square above the sun
extern int flameFrame;            // 0..3, which flame texture the exhaust uses

void UpdateSkyColour();
void DrawSun();
void DrawMoon();
void DrawExhaust(Body body);
