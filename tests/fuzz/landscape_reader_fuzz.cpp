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
    LandscapeGrid grid;
    if (!DecodeLandscape((const char*)data, size, "fuzz.dmf", grid, nullptr))
        return 0;
    // A fuzzer's grid of up to 2049 points a side is fine to hold but slow to
    // sweep; the tile checks run on the sizes a test case can fill.
    if (grid.size > 200)
        return 0;
    InstallLandscapeGrid(grid);
    const TerrainTile& t = terrainTiles[0];
    for (int i = 0; i < t.width * t.depth; i++)
        if (!(t.heights[i] >= TERRAIN_LOWEST) || !std::isfinite(t.heights[i]) || !(t.normals[i * 6 + 1] > 0.0f))
            abort();
    float half = (float)(t.width / 2 + 1) * t.cellSize;
    for (float x = -half; x <= half; x += 211.0f)
        for (float z = -half; z <= half; z += 223.0f)
            if (!std::isfinite(TerrainHeight(x, 0.0f, z)))
                abort();
    return 0;
}
