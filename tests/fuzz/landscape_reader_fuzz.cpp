// libFuzzer target: any bytes as a landscape file, decoded and put into tile 0.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "common/landscape_reader.h"
#include "sim/landscape/terrain.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Grids of hundreds of points a side hold nothing new for the scanner and
    // take long to read; the refusals above the limit are still exercised.
    size_t pos = 0;
    bool atEnd = false;
    float first = 0.0f;
    if (ScanLandscapeNumber((const char*)data, size, pos, atEnd, first) && first > 200.0f &&
        first < (float)LANDSCAPE_MAX_SIZE + 1.0f)
        return 0;
    LandscapeGrid grid;
    if (!DecodeLandscape((const char*)data, size, "fuzz.dmf", grid, nullptr))
        return 0;
    InstallLandscapeGrid(grid);
    const TerrainTile& t = terrainTiles[0];
    for (int i = 0; i < t.width * t.depth; i++)
        if (!(t.heights[i] >= TERRAIN_LOWEST) || !std::isfinite(t.heights[i]) || !(t.normals[i * 6 + 1] > 0.0f))
            abort();
    float half = (float)(t.width / 2 + 1) * t.cellSize;
    float step = half / 20.0f + 1.0f;
    for (float x = -half; x <= half; x += step)
        for (float z = -half; z <= half; z += step * 1.07f)
            if (!std::isfinite(TerrainHeight(x, 0.0f, z)))
                abort();
    return 0;
}
