// Terrain drawing: one display list per tile, drawn when it lies towards the view.
#pragma once

const int TERRAIN_LIST_BASE = 831456;

// Compiles lists TERRAIN_LIST_BASE + 0..15, one per tile; called once after
// the landscape is loaded. A tile without cells gets a list with only its
// load-identity.
void BuildTerrainLists();
// Emits one textured, lit triangle strip per column firstColumn..endColumn-1
// over rows firstRow..endRow; the ends are clipped to the grid, so a patch of
// a grid whose size minus one is not a multiple of the patch size stays inside.
void DrawTerrainPatch(int tile, int firstColumn, int endColumn, int firstRow, int endRow);
// The per-frame terrain pass: world coordinates, back faces culled, textured
// while texturesOn; calls the list of every tile TileVisible accepts.
void DrawTerrain();
// True when one of the eight corners of the tile's box (heights 0 to 8000)
// lies within 45 degrees of the camera's viewing direction. Distance and the
// field of view play no part. No GL.
bool TileVisible(int tile);
// Degrees between camera.dir and the direction from camera.pos to (x, y, z).
double CornerViewAngle(float x, float y, float z);
