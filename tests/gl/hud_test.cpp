// The head-up display: its texts (bounded for any float), the cockpit's
// instrument texts, gear lamp and attitude ball, read back from a real window.
#include "tests/gl/gl_fixture.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>

#include "sim/flight/aircraft.h"
#include "sim/flight/ground_contact.h"
#include "sim/render/camera.h"
#include "sim/render/frame.h"
#include "sim/render/hud.h"
#include "sim/shell/scene.h"
#include "sim/view/view_state.h"

TEST(HudText, StatusLineAndInstrumentsHaveTheirExactFormats)
{
    Body b;
    ResetPlane(b);
    char line[HUD_TEXT_SIZE];
    FormatStatusLine(b, line, sizeof line);
    EXPECT_STREQ(line, "Thrust: 0.00  Speed: 0.00   Altitude: 30.00");
    b.thrust = 45;
    b.airspeed = 12.5f;
    b.pos.y = -3.25f;
    char t[HUD_TEXT_SIZE], s[HUD_TEXT_SIZE], a[HUD_TEXT_SIZE];
    FormatInstruments(b, t, s, a, HUD_TEXT_SIZE);
    EXPECT_STREQ(t, "Thrust: 45.00");
    EXPECT_STREQ(s, "Speed: 12.50");
    EXPECT_STREQ(a, "Altitude: -3.25");
}

TEST(HudText, HugeValuesStayInsideTheBuffer)
{
    const float values[] = {3e38f, FLT_MAX, -FLT_MAX, INFINITY, NAN};
    for (float v : values) {
        SCOPED_TRACE(v);
        Body b;
        ResetPlane(b);
        b.thrust = b.airspeed = b.pos.y = v;
        // Canaries on both sides of the buffer.
        char guarded[HUD_TEXT_SIZE + 32];
        memset(guarded, '#', sizeof guarded);
        char* line = guarded + 16;
        FormatStatusLine(b, line, HUD_TEXT_SIZE);
        size_t n = strlen(line);
        EXPECT_LT(n, (size_t)HUD_TEXT_SIZE);
        for (int i = 0; i < 16; i++) {
            EXPECT_EQ(guarded[i], '#');
            EXPECT_EQ(line[HUD_TEXT_SIZE + i], '#');
        }
        // The whole line fits: it ends with the altitude's last characters.
        char whole[512];
        snprintf(whole, sizeof whole, "Thrust: %.2f  Speed: %.2f   Altitude: %.2f", v, v, v);
        EXPECT_STREQ(line, whole);
        // A short buffer is truncated, never overrun.
        char small[24 + 8];
        memset(small, '#', sizeof small);
        FormatStatusLine(b, small, 24);
        EXPECT_EQ(strlen(small), 23u);
        EXPECT_EQ(small[24], '#');
        char t[HUD_TEXT_SIZE], s[HUD_TEXT_SIZE], a[HUD_TEXT_SIZE];
        FormatInstruments(b, t, s, a, HUD_TEXT_SIZE);
        EXPECT_LT(strlen(a), (size_t)HUD_TEXT_SIZE);
    }
}

class HudTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        ResetPlane(plane);
        ResetCamera(camera);
        viewMode = 1;
    }
};

TEST_F(HudTest, StatusLineOfAnAircraftAtFloatMaximumDraws)
{
    viewMode = 2;
    plane.thrust = plane.airspeed = plane.pos.y = 3e38f;
    DrawFrame();
    // Runs off the right edge; drawn and clipped.
    EXPECT_GT(CountPixels(35, 18, 605, 28, {255, 255, 255}, 20), 300);
}

TEST_F(HudTest, CockpitShowsTheInstrumentTextsAndGearLabel)
{
    DrawFrame();
    const Rgb white = {255, 255, 255};
    // Thrust at (W/4 + 40, 25), Speed at (W/4 + 30, 55), Altitude at (W/4 + 20, 85).
    EXPECT_GT(CountPixels(200, 23, 110, 18, white, 20), 40);
    EXPECT_GT(CountPixels(190, 53, 110, 18, white, 20), 40);
    EXPECT_GT(CountPixels(180, 83, 140, 18, white, 20), 40);
    // "Gear" at (0.625 W, H/18) = (400, 26.67).
    EXPECT_GT(CountPixels(400, 26, 40, 15, white, 20), 15);
    EXPECT_LT(CountPixels(360, 26, 38, 15, white, 20), 3);
}

TEST_F(HudTest, GearLampIsBrightWithTheGearDownAndDarkWithItUp)
{
    // The lamp's centre is at (415, 16.67) in a 640 x 480 window.
    gearDown = 1;
    DrawFrame();
    EXPECT_TRUE(Near(ReadPixel(415, 16), {255, 51, 51}, 3)) << ReadPixel(415, 16);
    gearDown = 0;
    DrawFrame();
    EXPECT_TRUE(Near(ReadPixel(415, 16), {128, 13, 13}, 3)) << ReadPixel(415, 16);
    // Radius 0.008 H: about 3.8 pixels.
    EXPECT_TRUE(Near(ReadPixel(418, 16), {128, 13, 13}, 3));
    EXPECT_FALSE(Near(ReadPixel(421, 16), {128, 13, 13}, 20));
}

struct BallCentroids {
    float whiteX, whiteY, blackX, blackY;
    int white, black;
};

// Centroids of the ball's white and black pixels around (2W/3, H/7).
static BallCentroids ReadBall()
{
    BallCentroids c = {0, 0, 0, 0, 0, 0};
    for (int y = 40; y < 100; y++)
        for (int x = 397; x < 457; x++) {
            Rgb p = ReadPixel(x, y);
            if (Near(p, {255, 255, 255}, 6)) {
                c.whiteX += x;
                c.whiteY += y;
                c.white++;
            } else if (Near(p, {0, 0, 0}, 6)) {
                c.blackX += x;
                c.blackY += y;
                c.black++;
            }
        }
    if (c.white) {
        c.whiteX /= c.white;
        c.whiteY /= c.white;
    }
    if (c.black) {
        c.blackX /= c.black;
        c.blackY /= c.black;
    }
    return c;
}

TEST_F(HudTest, AttitudeBallShowsWhiteOnTheUpSide)
{
    DrawFrame();
    BallCentroids level = ReadBall();
    ASSERT_GT(level.white, 20);
    ASSERT_GT(level.black, 20);
    EXPECT_GT(level.whiteY, level.blackY + 0.5f);
    EXPECT_NEAR(level.whiteX, level.blackX, 0.5f);
    // Both centred near (426.7, 68.6), radius 0.04 H = 19.2.
    EXPECT_NEAR((level.whiteX * level.white + level.blackX * level.black) / (level.white + level.black), 426.7f, 1.5f);

    Vec3 dir = plane.dir;
    RotateBody(plane, 180.0f, dir); // upside down
    DrawFrame();
    BallCentroids inverted = ReadBall();
    EXPECT_LT(inverted.whiteY, inverted.blackY - 0.5f);

    ResetPlane(plane);
    dir = plane.dir;
    RotateBody(plane, 90.0f, dir); // on its side
    DrawFrame();
    BallCentroids side = ReadBall();
    EXPECT_GT(std::fabs(side.whiteX - side.blackX), std::fabs(side.whiteY - side.blackY));
}
