// The 16 terrain tiles: generation, the landscape file in tile 0, and the
// height query used by ground contact.
#pragma once

struct LandscapeGrid;

const int TERRAIN_TILE_COUNT = 16;
const int MOUNTAIN_SIZE = 41;           // grid points a side of a generated tile
const int MOUNTAIN_MAX_DELTA = 3000;    // printed by the seeding, no other use
const float MOUNTAIN_PEAK = 500.0f;     // seed height of a tile's centre point
const float MOUNTAIN_TOP = 8000.0f;     // highest generated height
const float TERRAIN_CELL_SIZE = 500.0f; // world units between grid points
const float TERRAIN_LOWEST = 0.001f;    // every loaded height is raised to at least this
const char* const LANDSCAPE_FILE = "landscape.dmf";

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
// Cells per side of the square patches a tile is drawn in. Positions advance
// from each patch's first grid point, so the height query needs it as well.
extern int terrainPatchSize;

// The 16 mountain tiles with their placements, then the file at `path` into
// tile 0 (the set-up's LoadLandscape adds the lists). Draws 16 x (5 x 41 x 41 + 2)
// random numbers; arrays a tile already holds are released first.
void LoadTerrainTiles(const char* path);
// The 16 generated tiles, their colours, placements and normals.
void GenerateTerrainTiles();
// Reads `path` into tile 0 (keeping its placement). A file that cannot be
// opened, or whose size is refused, leaves tile 0 as generated.
void ReadLandscapeFile(const char* path = LANDSCAPE_FILE);
// Puts a decoded grid into tile 0 in place of its arrays, colours and raises
// its heights and recomputes the normals.
void InstallLandscapeGrid(const LandscapeGrid& grid);

// Fills an n x n array (n >= 3) with one random mountain; prints "Max Delta!".
void GenerateMountains(float* heights, int n, int maxDelta, float peak);
void SeedMountains(float* heights, int n, int maxDelta, float peak);
void GrowMountains(float* heights, int n);
// Raises a height below TERRAIN_LOWEST to it and colours the grid point.
void TerrainColour(TerrainTile& tile, int index);
// Both triangle normals of every cell of every tile with cells. The last row
// and column, which have no cell of their own, take the normals of the
// nearest cell so that every slot holds a defined value.
void ComputeTerrainNormals();

// Where the terrain lists draw a cell's lowest grid point: column col at
// x = (col - width x 0.5) x cellSize + translateX, row likewise along z, in
// single precision and advanced by cellSize per point from the first point of
// the cell's patch, as the lists add it up. Its far edge is that plus cellSize.
float TerrainCellX(const TerrainTile& t, int col);
float TerrainCellZ(const TerrainTile& t, int row);
// Height of the drawn surface under (x, z): inside the cell's triangle on the
// +x side of its diagonal from (col, row) to (col + 1, row + 1) or on the +z
// side, linearly between its three corners; 0 off the tiles. Overlapping
// tiles answer by lower index; a tile with fewer than two points a side has
// no surface. y is not used.
// Allocates nothing.
float TerrainHeight(float x, float y, float z);
// No tiles (their arrays released), the ground colour, 20-cell patches: the
// start state.
void ResetTerrainState();
