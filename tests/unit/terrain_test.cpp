// Terrain tiles: generation, the file in tile 0, normals and the height query.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <dirent.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "common/landscape_reader.h"
#include "common/random.h"
#include "sim/landscape/terrain.h"
#include "sim/shell/start_state.h"

namespace {

void SkipForest()
{
    for (int i = 0; i < 200; i++)
        NextRandom();
}

// Puts an n x n grid with heights f(col, row) into tile 0 at (tx, tz).
template <typename F>
void MakeTile0(int n, float tx, float tz, F f)
{
    LandscapeGrid grid;
    grid.size = n;
    grid.heights.resize((size_t)n * n);
    for (int row = 0; row < n; row++)
        for (int col = 0; col < n; col++)
            grid.heights[row * n + col] = f(col, row);
    InstallLandscapeGrid(grid);
    terrainTiles[0].translateX = tx;
    terrainTiles[0].translateZ = tz;
}

// Every stored value of a tile is defined and usable by the query.
void ExpectSoundTile(const TerrainTile& t, const std::string& what)
{
    for (int i = 0; i < t.width * t.depth; i++) {
        ASSERT_TRUE(std::isfinite(t.heights[i]) && t.heights[i] >= 0.001f) << what << " height " << i;
        for (int j = 0; j < 6; j++)
            ASSERT_TRUE(std::isfinite(t.normals[i * 6 + j])) << what << " normal " << i;
        ASSERT_GT(t.normals[i * 6 + 1], 0.0f) << what << " normal " << i;
        ASSERT_GT(t.normals[i * 6 + 4], 0.0f) << what << " normal " << i;
    }
    float half = (float)(t.width / 2 + 2) * t.cellSize;
    float step = std::max(97.0f, half / 100.0f);
    for (float x = -half; x <= half; x += step)
        for (float z = -half; z <= half; z += step * 1.04f)
            ASSERT_TRUE(std::isfinite(TerrainHeight(t.translateX + x, 0, t.translateZ + z))) << what;
}

unsigned long long TilesChecksum()
{
    unsigned long long sum = 1469598103934665603ull;
    auto mix = [&sum](const void* p, size_t n) {
        for (size_t i = 0; i < n; i++)
            sum = (sum ^ ((const unsigned char*)p)[i]) * 1099511628211ull;
    };
    for (const TerrainTile& t : terrainTiles) {
        mix(&t.translateX, sizeof(float));
        mix(&t.translateZ, sizeof(float));
        mix(t.heights, sizeof(float) * t.width * t.depth);
        mix(t.normals, sizeof(float) * 6 * t.width * t.depth);
    }
    return sum;
}

} // namespace

TEST(TerrainGeneration, SixteenTilesWithTheirLinesAndBounds)
{
    SkipForest();
    testing::internal::CaptureStdout();
    LoadTerrainTiles("/nonexistent/landscape.dmf");
    std::string out = testing::internal::GetCapturedStdout();

    // "Max Delta! 3000" then the placement, per tile, and nothing else.
    size_t pos = 0;
    for (int k = 0; k < TERRAIN_TILE_COUNT; k++) {
        ASSERT_EQ(out.compare(pos, 16, "Max Delta! 3000\n"), 0) << "tile " << k;
        pos += 16;
        // The placement draws a and b, recovered from where the tile lies,
        // give the line again with the angle and its radians stored as floats
        // and the sine, cosine and products in double, rounded once.
        const TerrainTile& t = terrainTiles[k];
        double ringNear = 30000.0 + 50000.0 * (k / 8);
        int b = (int)std::lround((std::hypot((double)t.translateX, (double)t.translateZ) - ringNear) / 500.0);
        double degrees = std::atan2((double)t.translateX, (double)t.translateZ) * 180.0 / M_PI - 45.0 * (k % 8);
        int a = (int)std::lround(std::remainder(degrees, 360.0) * 10.0);
        ASSERT_TRUE(a >= 0 && a < 100 && b >= 0 && b < 100) << "tile " << k;
        float theta = (float)((double)(float)(a * 0.1 + 45.0 * (k % 8)) * (double)0.017453292f);
        double distance = ringNear + 500.0 * b;
        char expected[128], stored[128];
        snprintf(expected, sizeof expected, "Translate X: %f Translate Z: %f\n",
                 (float)(std::sin((double)theta) * distance), (float)(std::cos((double)theta) * distance));
        snprintf(stored, sizeof stored, "Translate X: %f Translate Z: %f\n", t.translateX, t.translateZ);
        EXPECT_STREQ(stored, expected) << "tile " << k;
        ASSERT_EQ(out.compare(pos, strlen(stored), stored), 0) << "tile " << k;
        pos += strlen(stored);
    }
    EXPECT_EQ(pos, out.size());

    for (int k = 0; k < TERRAIN_TILE_COUNT; k++) {
        const TerrainTile& t = terrainTiles[k];
        ASSERT_EQ(t.width, 41);
        ASSERT_EQ(t.depth, 41);
        EXPECT_EQ(t.cellSize, 500.0f);
        float distance = std::hypot(t.translateX, t.translateZ);
        float nearest = k < 8 ? 30000.0f : 80000.0f;
        EXPECT_GE(distance, nearest - 1.0f) << k;
        EXPECT_LE(distance, nearest + 49500.0f + 1.0f) << k;
        for (int row = 0; row < 41; row++)
            for (int col = 0; col < 41; col++) {
                float h = t.heights[row * 41 + col];
                ASSERT_GE(h, 0.001f);
                ASSERT_LE(h, 8000.0f);
                if (row == 0 || col == 0 || row == 40 || col == 40) {
                    ASSERT_EQ(h, 0.001f) << k << " " << row << " " << col;
                }
            }
        ExpectSoundTile(t, "tile " + std::to_string(k));
    }
    // The rings leave the origin clear.
    EXPECT_EQ(TerrainHeight(0, 0, 0), 0.0f);
}

TEST(TerrainGeneration, TwoRunsGiveTheSameWorld)
{
    // A program run: the start state, the forest's draws, then the tiles.
    auto run = [] {
        ResetSimulation();
        testing::internal::CaptureStdout();
        SkipForest();
        GenerateTerrainTiles();
        testing::internal::GetCapturedStdout();
        return TilesChecksum();
    };
    unsigned long long first = run();
    NextRandom(); // whatever the first run left behind
    EXPECT_EQ(run(), first);
    // Tile 0's placement is the one the landscape tool predicts for it.
    EXPECT_NEAR(terrainTiles[0].translateX, 8490.71f, 0.01f);
    EXPECT_NEAR(terrainTiles[0].translateZ, 54846.68f, 0.01f);
}

TEST(TerrainQuery, GridPointsAndTheTwoTrianglesOfACell)
{
    // Corners of cell (20, 20), as the strips draw it: P0 (col 20, row 20)
    // at (-250, -250), P1 one column on, P2 diagonally opposite, P3 one row on.
    auto height = [](int col, int row) { return col == 21 && row == 20 ? 900.0f : (col == 20 && row == 21 ? 300.0f : 100.0f * (col + row - 39)); };
    MakeTile0(41, 0, 0, height);
    const float h0 = height(20, 20), h1 = height(21, 20), h2 = height(21, 21), h3 = height(20, 21);
    struct Case {
        float x, z, want;
        const char* what;
    };
    const Case cases[] = {
        {-250, -250, h0, "P0"},
        {250, -250, h1, "P1"},
        {250, 250, h2, "P2"},
        {-250, 250, h3, "P3"},
        {125, -125, h0 + 0.75f * (h1 - h0) + 0.25f * (h2 - h1), "+x side of the diagonal: P0 P1 P2"},
        {-125, 125, h0 + 0.75f * (h3 - h0) + 0.25f * (h2 - h3), "+z side of the diagonal: P0 P3 P2"},
        {0, 0, (h0 + h2) / 2, "on the diagonal, P1 and P3 play no part"},
        {-9750, 9750, height(1, 40), "a grid point of the last row"},
        {9750, 9750, height(40, 40), "the last grid point"},
        // Drawn grid point c lies at (c - 20.5) x 500: the tile spans -10250
        // to 9750, and beyond that (or at no number at all) there is no tile.
        {9751, 0, 0.0f, "beyond the last column"},
        {0, -10251, 0.0f, "before the first row"},
        {NAN, 0, 0.0f, "not a number"},
        {INFINITY, 0, 0.0f, "infinitely far"},
        {1e30f, -1e30f, 0.0f, "far off"},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(TerrainHeight(c.x, 0, c.z), c.want, 0.001f) << c.what;
}

namespace {

// The surface as the terrain lists draw it, worked out again from the drawing
// rule: each patch's first position directly, then cellSize added per point;
// two triangles per cell split by the diagonal (col, row)-(col + 1, row + 1).
// Every triangle is tried, so nothing here depends on the query's cell choice.
struct DrawnSurface {
    const TerrainTile& t;
    std::vector<float> xs, zs;

    explicit DrawnSurface(const TerrainTile& tile) : t(tile)
    {
        for (int i = 0; i < t.width; i++) {
            int first = i / 20 * 20;
            float p = ((float)first - (float)t.width * 0.5f) * t.cellSize + t.translateX;
            for (int k = first; k < i; k++)
                p += t.cellSize;
            xs.push_back(p);
        }
        zs = xs;
        for (int i = 0; i < t.depth; i++) {
            int first = i / 20 * 20;
            float p = ((float)first - (float)t.depth * 0.5f) * t.cellSize + t.translateZ;
            for (int k = first; k < i; k++)
                p += t.cellSize;
            zs[i] = p;
        }
    }

    // Barycentric height of triangle (a, b, c) at (x, z), if it holds the point.
    static bool InTriangle(const double a[3], const double b[3], const double c[3], double x, double z, double& h)
    {
        double d = (b[2] - c[2]) * (a[0] - c[0]) + (c[0] - b[0]) * (a[2] - c[2]);
        double l1 = ((b[2] - c[2]) * (x - c[0]) + (c[0] - b[0]) * (z - c[2])) / d;
        double l2 = ((c[2] - a[2]) * (x - c[0]) + (a[0] - c[0]) * (z - c[2])) / d;
        double l3 = 1 - l1 - l2;
        const double eps = 1e-9;
        if (l1 < -eps || l2 < -eps || l3 < -eps)
            return false;
        h = l1 * a[1] + l2 * b[1] + l3 * c[1];
        return true;
    }

    bool Height(double x, double z, double& h) const
    {
        for (int col = 0; col + 1 < t.width; col++) {
            if (x < xs[col] || x > xs[col] + t.cellSize)
                continue;
            for (int row = 0; row + 1 < t.depth; row++) {
                if (z < zs[row] || z > zs[row] + t.cellSize)
                    continue;
                const float* g = t.heights + row * t.depth + col;
                double x1 = (float)(xs[col] + t.cellSize), z1 = (float)(zs[row] + t.cellSize);
                double p0[3] = {xs[col], g[0], zs[row]}, p1[3] = {x1, g[1], zs[row]};
                double p2[3] = {x1, g[t.depth + 1], z1}, p3[3] = {xs[col], g[t.depth], z1};
                if (InTriangle(p0, p1, p2, x, z, h) || InTriangle(p0, p3, p2, x, z, h))
                    return true;
            }
        }
        return false;
    }
};

// Largest difference between the query and the drawn surface over a lattice
// of `step` units across the tile.
double WorstDifferenceFromTheDrawing(const TerrainTile& t, float step)
{
    DrawnSurface drawn(t);
    double worst = 0;
    for (float x = drawn.xs.front(); x <= drawn.xs.back(); x += step)
        for (float z = drawn.zs.front(); z <= drawn.zs.back(); z += step) {
            double h;
            if (!drawn.Height(x, z, h))
                continue;
            worst = std::max(worst, std::fabs(TerrainHeight(x, 0, z) - h));
        }
    return worst;
}

} // namespace

TEST(TerrainQuery, AnswersTheDrawnSurfaceOfGeneratedAndDeliveredTiles)
{
    SkipForest();
    testing::internal::CaptureStdout();
    LoadTerrainTiles(PELORIN_SOURCE_DIR "/data/landscape.dmf");
    testing::internal::GetCapturedStdout();
    EXPECT_LT(WorstDifferenceFromTheDrawing(terrainTiles[0], 37.0f), 0.01) << "the delivered landscape";
    EXPECT_LT(WorstDifferenceFromTheDrawing(terrainTiles[5], 37.0f), 0.01) << "a generated tile";

    // Where the old query extended a cell's plane from a corner half a cell
    // away it answered 7650 over ground drawn at about 4181.
    const TerrainTile& t = terrainTiles[0];
    float x = t.translateX + 1545.0f, z = t.translateZ - 1859.0f;
    double drawnHeight;
    ASSERT_TRUE(DrawnSurface(t).Height(x, z, drawnHeight));
    EXPECT_NEAR(drawnHeight, 4180.7, 0.1);
    EXPECT_NEAR(TerrainHeight(x, 0, z), drawnHeight, 0.01);
}

TEST(TerrainQuery, PlaneTileAnswersThePlaneIncludingTheLastRowAndColumn)
{
    // A tilted plane: wherever the point lands, the last row and column too,
    // the query must give the plane.
    const float tx = 40000.0f, tz = -35000.0f;
    MakeTile0(41, tx, tz, [](int col, int row) { return 100.0f + 10.0f * col + 20.0f * row; });
    bool sawLastColumn = false, sawLastRow = false;
    int found = 0;
    for (float dx = -11500.0f; dx < 11000.0f; dx += 137.0f)
        for (float dz = -11500.0f; dz < 11000.0f; dz += 149.0f) {
            float x = tx + dx, z = tz + dz;
            // The point in grid units: 0 to 40 on the tile. Points a hair
            // from its edge are left out, where the drawn positions round.
            float u = dx / 500.0f + 20.5f, v = dz / 500.0f + 20.5f;
            if (std::fabs(u) < 0.01f || std::fabs(v) < 0.01f || std::fabs(u - 40.0f) < 0.01f ||
                std::fabs(v - 40.0f) < 0.01f)
                continue;
            if (u < 0.0f || v < 0.0f || u > 40.0f || v > 40.0f) {
                ASSERT_EQ(TerrainHeight(x, 0, z), 0.0f) << dx << ", " << dz << " is off the tile";
                continue;
            }
            found++;
            sawLastColumn |= u >= 39.0f;
            sawLastRow |= v >= 39.0f;
            ASSERT_NEAR(TerrainHeight(x, 0, z), 100.0f + 10.0f * u + 20.0f * v, 0.05f) << dx << ", " << dz;
        }
    EXPECT_GT(found, 19000); // the whole 20000 x 20000 span
    EXPECT_TRUE(sawLastColumn);
    EXPECT_TRUE(sawLastRow);
}


TEST(TerrainQuery, OverlappingTilesAnswerByLowerIndex)
{
    MakeTile0(41, 0, 0, [](int, int) { return 200.0f; });
    terrainTiles[1] = terrainTiles[0]; // tile 1 takes over these arrays
    terrainTiles[0] = TerrainTile();
    MakeTile0(41, 3000, 0, [](int, int) { return 100.0f; });
    EXPECT_FLOAT_EQ(TerrainHeight(1000, 0, 0), 100.0f);  // on both
    EXPECT_FLOAT_EQ(TerrainHeight(-9000, 0, 0), 200.0f); // on tile 1 only
    EXPECT_FLOAT_EQ(TerrainHeight(12000, 0, 0), 100.0f); // on tile 0 only
    EXPECT_EQ(TerrainHeight(14000, 0, 0), 0.0f);         // on neither
}

TEST(TerrainQuery, TinyAndEmptyTiles)
{
    MakeTile0(1, 0, 0, [](int, int) { return 700.0f; });
    EXPECT_EQ(TerrainHeight(-250, 0, -250), 0.0f) << "a single point holds no surface";
    MakeTile0(2, 0, 0, [](int col, int row) { return 100.0f + 100.0f * col + 200.0f * row; });
    EXPECT_FLOAT_EQ(TerrainHeight(-500, 0, -500), 100.0f) << "two points a side make one cell";
    EXPECT_FLOAT_EQ(TerrainHeight(0, 0, 0), 400.0f);
    EXPECT_EQ(TerrainHeight(1, 0, 0), 0.0f);
    MakeTile0(0, 0, 0, [](int, int) { return 700.0f; });
    EXPECT_EQ(terrainTiles[0].heights, nullptr);
    EXPECT_EQ(TerrainHeight(0, 0, 0), 0.0f);
}

TEST(LandscapeFile, EchoesTheFileAfterTheTiles)
{
    std::string path = testing::TempDir() + "terrain_echo.dmf";
    FILE* f = fopen(path.c_str(), "w");
    fputs("2 2 50 0 0\n0 10\n20 30\n", f);
    fclose(f);
    SkipForest();
    testing::internal::CaptureStdout();
    LoadTerrainTiles("/nonexistent/landscape.dmf");
    float tx = terrainTiles[0].translateX;
    ReadLandscapeFile(path.c_str());
    std::string out = testing::internal::GetCapturedStdout();
    remove(path.c_str());
    EXPECT_NE(out.find("Translate X: "), std::string::npos);
    const std::string echo = "2.000000 2.000000 50.000000 0.000000 0.000000\n0.000000\n10.000000\n20.000000\n30.000000\n";
    ASSERT_GE(out.size(), echo.size());
    EXPECT_EQ(out.substr(out.size() - echo.size()), echo);
    const TerrainTile& t = terrainTiles[0];
    EXPECT_EQ(t.width, 2);
    EXPECT_EQ(t.translateX, tx) << "tile 0 keeps the placement drawn for it";
    EXPECT_EQ(t.heights[0], 0.001f);
    EXPECT_EQ(t.heights[3], 30.0f);
}

TEST(LandscapeFile, EveryCorpusFileEndsInASoundTerrain)
{
    const std::string dir = PELORIN_TEST_DATA "/landscape";
    DIR* d = opendir(dir.c_str());
    ASSERT_NE(d, nullptr);
    std::vector<std::string> names;
    while (dirent* e = readdir(d))
        if (e->d_name[0] != '.')
            names.push_back(e->d_name);
    closedir(d);
    ASSERT_GE(names.size(), 15u);

    testing::internal::CaptureStdout();
    SkipForest();
    GenerateTerrainTiles();
    testing::internal::GetCapturedStdout();
    for (const std::string& name : names) {
        std::string path = dir + "/" + name;
        LandscapeGrid grid;
        testing::internal::CaptureStderr();
        bool accepted = ReadLandscape(path.c_str(), grid, nullptr);
        std::string err = testing::internal::GetCapturedStderr();
        if (accepted) {
            InstallLandscapeGrid(grid);
        } else if (name == "empty.dmf") {
            EXPECT_EQ(err, "") << "no size at all is left alone like a missing file";
        } else {
            EXPECT_NE(err.find(path), std::string::npos) << name << " refused without naming the file";
        }
        const TerrainTile& t = terrainTiles[0];
        ASSERT_GE(t.width, 0) << name;
        if (t.width > 0) {
            ExpectSoundTile(t, name);
        }
    }
}

TEST(LandscapeFile, RefusedSizesKeepTheGeneratedTile)
{
    struct Case {
        const char* file;
        int width;
    };
    // Until the first file that gives a size below 1, tile 0 must keep its
    // generated mountain, which the height query under its peak shows.
    const Case cases[] = {
        {"size_1e9.dmf", 41},       {"size_2147483648.dmf", 41}, {"size_2050.dmf", 41},
        {"size_nan.dmf", 41},       {"size_inf.dmf", 41},        {"size_minus_inf.dmf", 41},
        {"size_out_of_range.dmf", 41}, {"empty.dmf", 41},        {"size_negative.dmf", 0},
        {"size_zero.dmf", 0},       {"size_one.dmf", 1},         {"short.dmf", 41},
    };
    testing::internal::CaptureStdout();
    SkipForest();
    GenerateTerrainTiles();
    testing::internal::GetCapturedStdout();
    const TerrainTile& t = terrainTiles[0];
    const float peak = TerrainHeight(t.translateX - 250, 0, t.translateZ - 250);
    ASSERT_GT(peak, 1.0f);
    bool generated = true;
    for (const Case& c : cases) {
        std::string path = std::string(PELORIN_TEST_DATA "/landscape/") + c.file;
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        ReadLandscapeFile(path.c_str());
        std::string out = testing::internal::GetCapturedStdout();
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(t.width, c.width) << c.file;
        EXPECT_EQ(t.depth, c.width) << c.file;
        generated = generated && c.width == 41;
        if (generated) {
            EXPECT_EQ(TerrainHeight(t.translateX - 250, 0, t.translateZ - 250), peak) << c.file;
        }
        if (std::string(c.file) == "empty.dmf") {
            EXPECT_EQ(out, "0.000000 0.000000 0.000000 0.000000 0.000000\n");
            EXPECT_EQ(err, "");
        }
    }
}
