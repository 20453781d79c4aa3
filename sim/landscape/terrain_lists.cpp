// Terrain rendering.
#include "sim/landscape/terrain_lists.h"

int terrainPatchSize = 20;

void BuildTerrainLists()
{
}

void DrawTerrain()
{
}
