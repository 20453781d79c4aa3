// Terrain tiles: mountain generation, the landscape file in tile 0, normals
// and the height query.
#include "sim/landscape/terrain.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "common/grid_surface.h"
#include "common/height_colour.h"
#include "common/landscape_reader.h"
#include "common/random.h"
#include "common/tile_placement.h"
#include "sim/math/vec_math.h"
#include "sim/view/view_state.h"

TerrainTile terrainTiles[TERRAIN_TILE_COUNT];
float groundColour[3];
float maxSeedHeight;
int terrainPatchSize;

void SeedMountains(float* h, int n, int maxDelta, float peak)
{
    if (!quietConsole)
        printf("Max Delta! %d\n", maxDelta);
    for (int i = 0; i < n * n; i++)
        h[i] = (float)(NextRandom() % 1000 - 100);
    h[(n / 2) * (n + 1)] = peak;
    for (int i = 0; i < n; i++) {
        h[i] = 0.0f;
        h[(n - 1) * n + i] = 0.0f;
        h[i * n] = 0.0f;
        h[i * n + n - 1] = 0.0f;
    }
    float largest = 0.0f;
    for (int i = 0; i < n * n; i++) {
        if (h[i] < 0.0f)
            h[i] = 0.0f;
        if (h[i] > largest) {
            largest = h[i];
            maxSeedHeight = h[i];
        }
    }
}

void GrowMountains(float* h, int n)
{
    for (int i = 0; i < n; i++) {
        h[i] = 0.0f;
        h[(n - 1) * n + i] = 0.0f;
        h[i * n] = 0.0f;
        h[i * n + n - 1] = 0.0f;
    }
    float e = (float)(n / 8);
    int m = n / 2;
    for (int step = 0; step < 2 * n * n; step++) {
        int row = NextRandom() % (n - 2) + 1;
        int col = NextRandom() % (n - 2) + 1;
        float f = (e - 0.25f * (float)std::abs(row - m)) + (e - 0.25f * (float)std::abs(col - m));
        const float* above = h + (row - 1) * n + col;
        const float* here = h + row * n + col;
        const float* below = h + (row + 1) * n + col;
        float s = above[-1] + above[0] + above[1] + here[-1] + here[1] + below[-1] + below[0] + below[1];
        float& point = h[row * n + col];
        // The seeded summit grows from itself; everything else from its neighbours.
        if (point == maxSeedHeight)
            point = (point + s * 0.125f) * f * 0.25f;
        else
            point = s * f * 0.0625f;
        if (point > MOUNTAIN_TOP)
            point = MOUNTAIN_TOP;
    }
    // Plateaus: a row's summit stretch between its first and last 8000.
    for (int row = 0; row < n; row++) {
        float* line = h + row * n;
        int first = -1;
        int last = -1;
        for (int col = 1; col < n && first < 0; col++)
            if (line[col] == MOUNTAIN_TOP)
                first = col;
        for (int col = n - 1; col >= 0 && last < 0; col--)
            if (line[col] == MOUNTAIN_TOP)
                last = col;
        if (first >= 0 && last >= 0)
            for (int col = first; col <= last; col++)
                line[col] = MOUNTAIN_TOP;
    }
}

void GenerateMountains(float* heights, int n, int maxDelta, float peak)
{
    SeedMountains(heights, n, maxDelta, peak);
    GrowMountains(heights, n);
}

void TerrainColour(TerrainTile& tile, int index)
{
    float& h = tile.heights[index];
    // Written as "not at least" so that nothing unordered slips through.
    if (!(h >= TERRAIN_LOWEST)) {
        h = TERRAIN_LOWEST;
        tile.red[index] = groundColour[0];
        tile.green[index] = groundColour[1];
        tile.blue[index] = groundColour[2];
        return;
    }
    Colour3 c = HeightColour(h);
    tile.red[index] = c.r;
    tile.green[index] = c.g;
    tile.blue[index] = c.b;
}

// FaceNormal works in single precision and overflows for cliffs of some 1e35
// units; such a face is recomputed in double so that no normal is ever NaN.
static void SafeFaceNormal(const Vec3& p0, const Vec3& p1, const Vec3& p2, float* out)
{
    Vec3 n;
    FaceNormal(p0, p1, p2, n);
    if (std::isfinite(n.x) && std::isfinite(n.y) && std::isfinite(n.z) && n.y > 0.0f) {
        out[0] = n.x;
        out[1] = n.y;
        out[2] = n.z;
        return;
    }
    double ux = (double)p0.x - p1.x, uy = (double)p0.y - p1.y, uz = (double)p0.z - p1.z;
    double vx = (double)p1.x - p2.x, vy = (double)p1.y - p2.y, vz = (double)p1.z - p2.z;
    double cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
    double l = std::sqrt(cx * cx + cy * cy + cz * cz);
    out[0] = (float)(cx / l);
    out[1] = (float)(cy / l);
    out[2] = (float)(cz / l);
    // A normal so steep that its y rounds to 0 would divide the query by 0.
    if (!(out[1] > 0.0f))
        out[1] = 1e-30f;
}

static void CopyNormals(TerrainTile& t, int fromRow, int fromCol, int toRow, int toCol)
{
    const float* from = t.normals + (fromRow * t.depth + fromCol) * 6;
    float* to = t.normals + (toRow * t.depth + toCol) * 6;
    for (int i = 0; i < 6; i++)
        to[i] = from[i];
}

static void ComputeTileNormals(TerrainTile& t)
{
    if (t.width < 1 || t.depth < 1 || !t.normals)
        return;
    if (t.width < 2 || t.depth < 2) {
        // No cells: the single row or column is level ground for the query.
        for (int k = 0; k < t.width * t.depth; k++) {
            float* n = t.normals + k * 6;
            n[0] = n[2] = n[3] = n[5] = 0.0f;
            n[1] = n[4] = 1.0f;
        }
        return;
    }
    const float* h = t.heights;
    float x = -(float)t.width * t.cellSize * 0.5f;
    for (int col = 0; col < t.width - 1; col++, x += t.cellSize) {
        float z = -(float)t.depth * t.cellSize * 0.5f;
        for (int row = 0; row < t.depth - 1; row++, z += t.cellSize) {
            int k = row * t.depth + col;
            Vec3 p0 = {x, h[k], z};
            Vec3 p1 = {x + t.cellSize, h[k + 1], z};
            Vec3 p2 = {x + t.cellSize, h[k + t.depth + 1], z + t.cellSize};
            Vec3 p3 = {x, h[k + t.depth], z + t.cellSize};
            SafeFaceNormal(p1, p0, p2, t.normals + k * 6);
            SafeFaceNormal(p0, p3, p2, t.normals + k * 6 + 3);
        }
    }
    for (int row = 0; row < t.depth - 1; row++)
        CopyNormals(t, row, t.width - 2, row, t.width - 1);
    for (int col = 0; col < t.width; col++)
        CopyNormals(t, t.depth - 2, col, t.depth - 1, col);
}

void ComputeTerrainNormals()
{
    for (TerrainTile& t : terrainTiles)
        ComputeTileNormals(t);
}

static void ReleaseTileArrays(TerrainTile& t)
{
    delete[] t.heights;
    delete[] t.normals;
    delete[] t.red;
    delete[] t.green;
    delete[] t.blue;
    t.heights = t.normals = t.red = t.green = t.blue = nullptr;
}

void GenerateTerrainTiles()
{
    const int points = MOUNTAIN_SIZE * MOUNTAIN_SIZE;
    for (int k = 0; k < TERRAIN_TILE_COUNT; k++) {
        TerrainTile& t = terrainTiles[k];
        ReleaseTileArrays(t);
        t.width = t.depth = MOUNTAIN_SIZE;
        t.cellSize = TERRAIN_CELL_SIZE;
        t.heights = new float[points]();
        GenerateMountains(t.heights, MOUNTAIN_SIZE, MOUNTAIN_MAX_DELTA, MOUNTAIN_PEAK);
        t.normals = new float[points * 6]();
        t.red = new float[points]();
        t.green = new float[points]();
        t.blue = new float[points]();
        for (int row = 0; row < t.depth; row++)
            for (int col = 0; col < t.width; col++)
                TerrainColour(t, row * t.depth + col);

        int a = NextRandom() % 100;
        int b = NextRandom() % 100;
        TilePlacement(k, a, b, t.translateX, t.translateZ);
        if (!quietConsole)
            printf("Translate X: %f Translate Z: %f\n", t.translateX, t.translateZ);
        ComputeTerrainNormals();
    }
}

void InstallLandscapeGrid(const LandscapeGrid& grid)
{
    TerrainTile& t = terrainTiles[0];
    int n = grid.size > 0 ? grid.size : 0;
    size_t points = (size_t)n * (size_t)n;
    float* heights = nullptr;
    float* normals = nullptr;
    float* red = nullptr;
    float* green = nullptr;
    float* blue = nullptr;
    if (n > 0) {
        heights = new (std::nothrow) float[points];
        normals = new (std::nothrow) float[points * 6]();
        red = new (std::nothrow) float[points];
        green = new (std::nothrow) float[points];
        blue = new (std::nothrow) float[points];
        if (!heights || !normals || !red || !green || !blue || grid.heights.size() < points) {
            fprintf(stderr, "%s: no memory for a tile of %d x %d points; keeping the generated terrain\n",
                    LANDSCAPE_FILE, n, n);
            delete[] heights;
            delete[] normals;
            delete[] red;
            delete[] green;
            delete[] blue;
            return;
        }
    }
    ReleaseTileArrays(t);
    t.width = t.depth = n;
    t.cellSize = TERRAIN_CELL_SIZE;
    t.heights = heights;
    t.normals = normals;
    t.red = red;
    t.green = green;
    t.blue = blue;
    for (size_t i = 0; i < points; i++) {
        t.heights[i] = grid.heights[i];
        TerrainColour(t, (int)i);
    }
    ComputeTerrainNormals();
}

void ReadLandscapeFile(const char* path)
{
    LandscapeGrid grid;
    if (ReadLandscape(path, grid, quietConsole ? nullptr : stdout))
        InstallLandscapeGrid(grid);
}

void LoadTerrainTiles(const char* path)
{
    GenerateTerrainTiles();
    ReadLandscapeFile(path);
}

static int PatchSize()
{
    return terrainPatchSize > 0 ? terrainPatchSize : 20;
}

// The lists compute a patch's first position directly and add cellSize for
// each later point, so this is the same float, bit for bit.
static float DrawnPosition(int index, int points, float cell, float centre)
{
    int first = index / PatchSize() * PatchSize();
    float p = ((float)first - (float)points * 0.5f) * cell + centre;
    for (int i = first; i < index; i++)
        p += cell;
    return p;
}

float TerrainCellX(const TerrainTile& t, int col)
{
    return DrawnPosition(col, t.width, t.cellSize, t.translateX);
}

float TerrainCellZ(const TerrainTile& t, int row)
{
    return DrawnPosition(row, t.depth, t.cellSize, t.translateZ);
}

// The drawn cell (0 .. points - 2) whose span holds p along one axis, with its
// near edge; false off the tile. The estimate from the exact spacing can miss
// by a cell only where float rounding moved an edge, so one step corrects it.
static bool DrawnCell(float p, int points, float cell, float centre, int& index, float& low, float& high)
{
    double first = ((double)(-points) * 0.5) * cell + centre;
    int last = points - 2;
    // A point clearly beyond the tile (or not a number) goes no further: most
    // queries are off most tiles, and this costs no division.
    if (!(p >= first - cell && p <= first + (double)(last + 2) * cell))
        return false;
    double estimate = std::floor(((double)p - first) / cell);
    index = estimate < 0.0 ? 0 : (estimate > last ? last : (int)estimate);
    low = DrawnPosition(index, points, cell, centre);
    if (p < low && index > 0)
        low = DrawnPosition(--index, points, cell, centre);
    else if (p > low + cell && index < last)
        low = DrawnPosition(++index, points, cell, centre);
    high = low + cell; // rounded to float, as the strips' far vertices are
    return p >= low && p <= high;
}

struct SurfaceCell {
    int tile, col, row;
    float x0, x1, z0, z1; // the cell's edges as drawn
};

static bool FindSurfaceCell(float x, float z, SurfaceCell& cell)
{
    for (int k = 0; k < TERRAIN_TILE_COUNT; k++) {
        const TerrainTile& t = terrainTiles[k];
        if (t.width < 2 || t.depth < 2 || !t.heights || !(t.cellSize > 0.0f))
            continue;
        if (!DrawnCell(x, t.width, t.cellSize, t.translateX, cell.col, cell.x0, cell.x1))
            continue;
        if (!DrawnCell(z, t.depth, t.cellSize, t.translateZ, cell.row, cell.z0, cell.z1))
            continue;
        cell.tile = k;
        return true;
    }
    return false;
}

float TerrainHeight(float x, float /*y*/, float z)
{
    SurfaceCell cell;
    if (!FindSurfaceCell(x, z, cell))
        return 0.0f;
    const TerrainTile& t = terrainTiles[cell.tile];
    const float* h = t.heights + cell.row * t.depth + cell.col;
    // Double keeps cliffs of any height finite between their corners.
    double u = ((double)x - cell.x0) / ((double)cell.x1 - cell.x0);
    double v = ((double)z - cell.z0) / ((double)cell.z1 - cell.z0);
    return (float)CellSurfaceHeight(h[0], h[1], h[t.depth + 1], h[t.depth], u, v);
}

void ResetTerrainState()
{
    for (TerrainTile& t : terrainTiles) {
        ReleaseTileArrays(t);
        t = TerrainTile();
    }
    groundColour[0] = 0.3f;
    groundColour[1] = 0.5f;
    groundColour[2] = 0.1f;
    maxSeedHeight = 0.0f;
    terrainPatchSize = 20;
}
