// Height query and landscape loading costs.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "common/random.h"
#include "sim/landscape/terrain.h"
#include "sim/shell/start_state.h"

namespace {

// The loaders print their progress; keep it out of the benchmark report.
struct SilentStdout {
    int saved;
    SilentStdout()
    {
        fflush(stdout);
        saved = dup(1);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        close(null);
    }
    ~SilentStdout()
    {
        fflush(stdout);
        dup2(saved, 1);
        close(saved);
    }
};

void EnsureTiles()
{
    static bool loaded = false;
    if (loaded)
        return;
    SilentStdout quiet;
    ResetSimulation();
    for (int i = 0; i < 200; i++)
        NextRandom();
    LoadTerrainTiles(PELORIN_SOURCE_DIR "/data/landscape.dmf");
    loaded = true;
}

} // namespace

// A sweep across tile 3, so the scan passes three tiles before it answers.
static void BM_TerrainHeightOnTile(benchmark::State& state)
{
    EnsureTiles();
    const TerrainTile& t = terrainTiles[3];
    float x = t.translateX - 9000.0f, z = t.translateZ - 9000.0f;
    float dx = 0.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TerrainHeight(x + dx, 0.0f, z + dx * 0.7f));
        dx += 37.0f;
        if (dx > 18000.0f)
            dx = 0.0f;
    }
}
BENCHMARK(BM_TerrainHeightOnTile);

// Off every tile: the full scan of 16 tiles, the worst case.
static void BM_TerrainHeightOffTiles(benchmark::State& state)
{
    EnsureTiles();
    float dx = 0.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TerrainHeight(3075.0f + dx, 0.0f, -9470.0f));
        dx += 1.0f;
        if (dx > 5000.0f)
            dx = 0.0f;
    }
}
BENCHMARK(BM_TerrainHeightOffTiles);

// Everything LoadLandscape does except compiling the GL lists: 16 mountains,
// their normals, and the delivered 41 x 41 file into tile 0.
static void BM_LoadTerrainTiles(benchmark::State& state)
{
    SilentStdout quiet;
    for (auto _ : state)
        LoadTerrainTiles(PELORIN_SOURCE_DIR "/data/landscape.dmf");
}
BENCHMARK(BM_LoadTerrainTiles)->Unit(benchmark::kMillisecond);
