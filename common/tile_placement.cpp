// Where a generated terrain tile lies in the world.
#include "common/tile_placement.h"

#include <cmath>

// The two rings (world units) and the angles (degrees) of the tiles on them.
static const double RING_NEAR = 30000.0;
static const double RING_STEP = 50000.0;
static const double RING_JITTER = 500.0;   // per unit of the distance draw
static const double ANGLE_JITTER = 0.1;    // degrees per unit of the angle draw
static const double RING_SPACING = 45.0;   // degrees between tiles of a ring
static const float DEGREES_TO_RADIANS = 0.017453292f;

void TilePlacement(int tile, int angleDraw, int distanceDraw, float& x, float& z)
{
    int ring = tile / TILES_PER_RING;
    double distance = RING_NEAR + RING_STEP * ring + RING_JITTER * distanceDraw;
    float angle = (float)(angleDraw * ANGLE_JITTER + RING_SPACING * (tile % TILES_PER_RING));
    float theta = (float)((double)angle * DEGREES_TO_RADIANS);
    x = (float)(std::sin((double)theta) * distance);
    z = (float)(std::cos((double)theta) * distance);
}
