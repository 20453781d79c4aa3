// Terrain drawing: one display list per tile, drawn when it lies towards the view.
#pragma once

const int TERRAIN_LIST_BASE = 831456;

extern int terrainPatchSize;

void BuildTerrainLists();
void DrawTerrain();
