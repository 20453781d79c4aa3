// Height colour rule.
#include "common/height_colour.h"

Colour3 HeightColour(float height)
{
    if (!(height > 0.0f))
        return GROUND_COLOUR;
    float t = height * 0.000125f;
    Colour3 c;
    c.r = GROUND_COLOUR.r * (1.0f - t) + PEAK_COLOUR.r * t;
    c.g = GROUND_COLOUR.g * (1.0f - t) + PEAK_COLOUR.g * t;
    c.b = GROUND_COLOUR.b * (1.0f - t) + PEAK_COLOUR.b * t;
    return c;
}
