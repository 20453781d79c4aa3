// Which terrain tiles the terrain pass draws: the eight-corner, 45 degree test.
#include <gtest/gtest.h>

#include "sim/landscape/terrain.h"
#include "sim/render/camera.h"
#include "sim/render/terrain_lists.h"
#include "sim/shell/scene.h"

namespace {

void PlaceCamera(Vec3 pos, Vec3 dir)
{
    camera.pos = pos;
    camera.dir = dir;
}

// A tile of width 2 and cell 500 spans 1000 units on each side of its box.
void PlaceTile(int k, float centreX, float centreZ, int width = 2)
{
    terrainTiles[k].width = width;
    terrainTiles[k].depth = width;
    terrainTiles[k].cellSize = 500.0f;
    terrainTiles[k].translateX = centreX;
    terrainTiles[k].translateZ = centreZ;
}

} // namespace

TEST(CornerViewAngle, MeasuresFromTheViewingDirection)
{
    PlaceCamera({100, 200, 300}, {0, 0, -1});
    EXPECT_NEAR(CornerViewAngle(100, 200, -5000), 0.0, 1e-3);
    EXPECT_NEAR(CornerViewAngle(100, 200, 9000), 180.0, 1e-3);
    EXPECT_NEAR(CornerViewAngle(1100, 200, 300), 90.0, 1e-3);
    EXPECT_NEAR(CornerViewAngle(100, 1200, -700), 45.0, 1e-3);
    // Distance plays no part.
    EXPECT_NEAR(CornerViewAngle(600, 200, -200), CornerViewAngle(50100, 200, -49700), 1e-3);
}

TEST(TileVisible, FollowsTheFortyFiveDegreeRule)
{
    struct Case {
        const char* what;
        Vec3 camPos, camDir;
        float centreX, centreZ;
        bool visible;
    };
    // Camera at the origin looking along -z unless said otherwise; the box of
    // a 2-point tile reaches 500 either side of its centre.
    const Case cases[] = {
        {"far ahead", {0, 0, 0}, {0, 0, -1}, 0, -100000, true},
        {"entirely behind", {0, 0, 0}, {0, 0, -1}, 0, 30000, false},
        {"near but square to the side", {0, 0, 0}, {0, 0, -1}, 3000, 0, false},
        // Nearest corner (3, 0, -3): exactly 45 degrees off the view. (At
        // most scales single-precision rounding puts such a corner a few
        // millionths of a degree either side of 45.)
        {"one corner at exactly 45 degrees", {0, 0, 0}, {0, 0, -1}, 503, 497, true},
        {"that corner a unit past 45 degrees", {0, 0, 0}, {0, 0, -1}, 504, 497, false},
        {"camera inside the box looking up", {0, 100, 0}, {0, 1, 0}, 0, 0, true},
        {"only the top corners in view", {0, 12000, 2000}, {0, 0, -1}, 0, -4500, true},
        {"below the box looking down", {0, -100, 0}, {0, -1, 0}, 0, 0, false},
    };
    for (const Case& c : cases) {
        PlaceCamera(c.camPos, c.camDir);
        PlaceTile(3, c.centreX, c.centreZ);
        EXPECT_EQ(TileVisible(3), c.visible) << c.what;
    }
}

TEST(TileVisible, UsesTheWidthForBothSidesOfTheBox)
{
    // A wide tile reaches the view even though its depth alone would not.
    PlaceCamera({0, 0, 0}, {0, 0, -1});
    PlaceTile(0, 12000, -10000, 2);
    EXPECT_FALSE(TileVisible(0));
    terrainTiles[0].width = 41; // box 20500 wide: corner at x 1750, z -20250
    EXPECT_TRUE(TileVisible(0));
}

TEST(TileVisible, EmptyTileIsAPointBoxAndOutOfRangeIsNeverVisible)
{
    PlaceCamera({0, 0, 0}, {0, 0, -1});
    PlaceTile(5, 0, -3000, 0);
    EXPECT_TRUE(TileVisible(5));
    PlaceTile(5, 0, 3000, 0);
    EXPECT_FALSE(TileVisible(5));
    EXPECT_FALSE(TileVisible(-1));
    EXPECT_FALSE(TileVisible(TERRAIN_TILE_COUNT));
}
