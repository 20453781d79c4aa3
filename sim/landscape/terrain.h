// The 16 terrain tiles: generation, the landscape file in tile 0, and the
// height query used by ground contact.
#pragma once

const int TERRAIN_TILE_COUNT = 16;

struct TerrainTile {
    int width;      // grid points along world x
    int depth;      // grid points along world z; the row stride of every array
    float* heights; // [row * depth + col]
    float* red;
    float* green;
    float* blue;
    float* normals; // 6 per cell: first triangle, then second
    float cellSize;
    float translateX;
    float translateZ;
};

extern TerrainTile terrainTiles[TERRAIN_TILE_COUNT];
extern float groundColour[3];
extern float maxSeedHeight;

void LoadLandscape();
// Ground height under (x, z); 0 off the tiles. y is not used.
float TerrainHeight(float x, float y, float z);
