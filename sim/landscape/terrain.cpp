// Terrain tiles, generation, loading and height query.
#include "sim/landscape/terrain.h"

TerrainTile terrainTiles[TERRAIN_TILE_COUNT];
float groundColour[3] = {0.3f, 0.5f, 0.1f};
float maxSeedHeight = 0.0f;

void LoadLandscape()
{
}

float TerrainHeight(float /*x*/, float /*y*/, float /*z*/)
{
    return 0.0f;
}
