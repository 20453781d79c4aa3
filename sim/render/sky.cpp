// Sky, sun, moon and exhaust.
#include "sim/render/sky.h"

float skyColour[4] = {0.53f, 0.81f, 0.92f, 1.0f};
const float sunColour[4] = {0.9f, 0.9f, 0.85f, 1.0f};
const float blackColour[4] = {0.0f, 0.0f, 0.0f, 1.0f};
int sunHaloOn = 1;
int flameFrame = 0;

void UpdateSkyColour()
{
}

void DrawSun()
{
}

void DrawMoon()
{
}

void DrawExhaust(Body /*body*/)
{
}
