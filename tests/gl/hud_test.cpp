// The head-up display: its texts (bounded for any float), the cockpit's
// instrument texts, gear lamp and attitude ball, read back from a real window.
#include "tests/gl/gl_fixture.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

#include "sim/flight/aircraft.h"
#include "sim/flight/ground_contact.h"
#include "sim/render/camera.h"
#include "sim/render/frame.h"
#include "sim/render/hud.h"
#include "sim/render/hud_layout.h"
#include "sim/render/hud_overlay.h"
#include "sim/render/sky.h"
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

    // The instruments: tenths without a negative zero, whole degrees of
    // heading with 360 as 000, NaN kept inside its field.
    InstrumentReadings r = {-0.04f, 12.26f, -3.04f, 359.7f, true, true, false, false};
    InstrumentField f[INSTRUMENT_FIELD_COUNT];
    FormatInstrumentFields(r, f);
    const char* want[INSTRUMENT_FIELD_COUNT] = {"Pitch +0.0", "Bank +12.3", "Sink -3.0", "Heading 000", "Gear down"};
    for (int i = 0; i < INSTRUMENT_FIELD_COUNT; i++)
        EXPECT_STREQ(f[i].text, want[i]);
    EXPECT_TRUE(f[0].warn);
    EXPECT_FALSE(f[1].warn);
    r = {NAN, -FLT_MAX, FLT_MAX, NAN, false, false, false, false};
    FormatInstrumentFields(r, f);
    EXPECT_STREQ(f[3].text, "Heading 000");
    EXPECT_STREQ(f[4].text, "Gear up");
    EXPECT_LT(strlen(f[1].text), sizeof f[1].text);
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

TEST(HudLayout, FixedUpTo640By480AndGrowingBeyond)
{
    // No larger than the start size in either direction: the fixed offsets.
    for (auto size : {std::make_pair(640.0f, 480.0f), std::make_pair(320.0f, 200.0f), std::make_pair(640.0f, 1.0f)}) {
        HudLayout l = LayOutHud(size.first, size.second);
        float w = size.first, h = size.second;
        EXPECT_EQ(l.textScale, 1.0f);
        EXPECT_EQ(l.statusX, 35.0f);
        EXPECT_EQ(l.thrustX, w / 4 + 40);
        EXPECT_EQ(l.altitudeY, 85.0f);
        EXPECT_EQ(l.gearLampX, 0.625f * w + 15);
        EXPECT_EQ(l.gearLampY, h / 18 - 10);
        EXPECT_EQ(l.ballLift, 3.0f);
        EXPECT_EQ(l.questionX, w * 0.5f - 100);
        EXPECT_EQ(l.crashCauseDrop, 32.0f);
    }
    // The text follows the height, or the width where that is narrower.
    const float scales[][3] = {{1280, 960, 2}, {1920, 1080, 2.25f}, {2560, 1440, 3}, {640, 1440, 1}, {1920, 480, 1}};
    for (const auto& c : scales) {
        HudLayout l = LayOutHud(c[0], c[1]);
        EXPECT_FLOAT_EQ(l.textScale, c[2]) << c[0] << " x " << c[1];
        EXPECT_FLOAT_EQ(l.statusY, 20 * c[2]);
        EXPECT_FLOAT_EQ(l.pausedX, c[0] / 2 - 50 * c[2]);
    }
    // Offsets on the panel grow with the panel: 1920 x 1080 is 3 times as
    // wide and 2.25 times as high as the start size.
    HudLayout wide = LayOutHud(1920, 1080);
    EXPECT_FLOAT_EQ(wide.thrustX, 480 + 120);
    EXPECT_FLOAT_EQ(wide.thrustY, 25 * 2.25f);
    EXPECT_FLOAT_EQ(wide.ballDrop, 1.5f * 2.25f);
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

// The rows and columns holding white text in a rectangle of the back
// buffer, and where the layout put the text's start.
struct TextBox {
    int left = 1 << 30, right = -1, bottom = 1 << 30, top = -1;
    float x = 0, y = 0;
    int Height() const { return top - bottom + 1; }
};

static TextBox WhiteTextIn(int x0, int y0, int width, int height)
{
    glFinish();
    std::vector<unsigned char> p((size_t)width * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x0, y0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    TextBox box;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const unsigned char* c = &p[((size_t)y * width + x) * 4];
            if (c[0] >= 235 && c[1] >= 235 && c[2] >= 235) {
                box.left = std::min(box.left, x0 + x);
                box.right = std::max(box.right, x0 + x);
                box.bottom = std::min(box.bottom, y0 + y);
                box.top = std::max(box.top, y0 + y);
            }
        }
    return box;
}

// The status line and the cockpit's texts in a window of the given size:
// each text's box, found in the rectangle where the layout puts it.
struct HudTextBoxes {
    TextBox status, thrust, speed, altitude, gear;
};

static HudTextBoxes DrawHudAt(int width, int height)
{
    OpenTestWindow(width, height);
    windowWidth = (float)width;
    windowHeight = (float)height;
    SetupFixedState();
    HudLayout l = LayOutHud(windowWidth, windowHeight);
    float s = l.textScale;
    auto box = [&](float x, float y, float w, float h) {
        TextBox b = WhiteTextIn((int)x - 2, (int)(y - 6 * s), (int)(w * s), (int)(h * s));
        b.x = x;
        b.y = y;
        return b;
    };
    HudTextBoxes b;
    viewMode = 2;
    DrawFrame();
    b.status = box(l.statusX, l.statusY, 420, 30);
    viewMode = 1;
    DrawFrame();
    b.thrust = box(l.thrustX, l.thrustY, 120, 24);
    b.speed = box(l.speedX, l.speedY, 120, 24);
    b.altitude = box(l.altitudeX, l.altitudeY, 140, 24);
    b.gear = box(l.gearLabelX, l.gearLabelY, 40, 16);
    return b;
}

TEST_F(HudTest, TextGrowsWithTheWindowAndKeepsItsPlace)
{
    HudTextBoxes start = DrawHudAt(640, 480);
    for (auto size : {std::make_pair(1280, 960), std::make_pair(1920, 1080)}) {
        HudTextBoxes big = DrawHudAt(size.first, size.second);
        float scale = size.second / 480.0f;
        const std::pair<const char*, std::pair<TextBox, TextBox>> texts[] = {
            {"status", {start.status, big.status}}, {"thrust", {start.thrust, big.thrust}},
            {"speed", {start.speed, big.speed}},    {"altitude", {start.altitude, big.altitude}},
            {"gear", {start.gear, big.gear}},
        };
        for (const auto& t : texts) {
            SCOPED_TRACE(std::string(t.first) + " at " + std::to_string(size.first));
            const TextBox &small = t.second.first, &large = t.second.second;
            ASSERT_GT(small.Height(), 5);
            // About the share of the window's height it has at 480, measured
            // from the descenders' foot to the capitals' top.
            EXPECT_NEAR(large.Height(), small.Height() * scale, small.Height() * scale * 0.15f);
            // Where it stood: its ink as far from its start as before, grown.
            EXPECT_NEAR(large.left - large.x, (small.left - small.x) * scale, 2 * scale + 1);
            EXPECT_NEAR(large.bottom - large.y, (small.bottom - small.y) * scale, 2 * scale + 1);
        }
    }
}

// What one horizontal band of the back buffer holds: white ink, and the
// backing over the sky (the sky colour darkened by the backing's black).
struct Band {
    int ink = 0, inkLeft = 1 << 30, inkRight = -1;
    int backing = 0, backingLeft = 1 << 30, backingRight = -1;
};

static Band ReadBand(int y0, int height, int width)
{
    glFinish();
    std::vector<unsigned char> p((size_t)width * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, y0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    Rgb backed = {(int)(skyColour[0] * 0.4f * 255), (int)(skyColour[1] * 0.4f * 255), (int)(skyColour[2] * 0.4f * 255)};
    Band b;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const unsigned char* c = &p[((size_t)y * width + x) * 4];
            // The small text is anti-aliased: bright grey counts as ink.
            if (c[0] >= 180 && c[1] >= 180 && c[2] >= 180) {
                b.ink++;
                b.inkLeft = std::min(b.inkLeft, x);
                b.inkRight = std::max(b.inkRight, x);
            } else if (Near({c[0], c[1], c[2]}, backed, 8)) {
                b.backing++;
                b.backingLeft = std::min(b.backingLeft, x);
                b.backingRight = std::max(b.backingRight, x);
            }
        }
    return b;
}

// The mean of red, green and blue over the pixels of a rectangle that are
// not the text's ink.
static float MeanBrightnessBesideInk(int x0, int y0, int width, int height)
{
    glFinish();
    std::vector<unsigned char> p((size_t)width * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x0, y0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    double sum = 0;
    int n = 0;
    for (size_t i = 0; i < p.size(); i += 4) {
        if (p[i] >= 180 && p[i + 1] >= 180 && p[i + 2] >= 180)
            continue;
        sum += (p[i] + p[i + 1] + p[i + 2]) / 3.0;
        n++;
    }
    return n ? (float)(sum / n) : 0.0f;
}

// The instruments display: the instruments along the top on their backing,
// the status line, the restart question on its backing, whole inside every
// window from 320 x 240 up.
TEST(InstrumentsDisplay, EveryTextInsideTheWindowOnItsBacking)
{
    const std::pair<int, int> sizes[] = {{320, 240}, {400, 300}, {640, 480}, {1920, 1080}};
    for (auto size : sizes) {
        int w = size.first, h = size.second;
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        OpenTestWindow(w, h);
        windowWidth = (float)w;
        windowHeight = (float)h;
        SetupFixedState();
        ResetPlane(plane);
        ResetCamera(camera);
        classicDisplay = 0;
        keysHintOn = 0;
        viewMode = 2;
        DrawFrame();
        float s = std::min(w / 640.0f, h / 480.0f);
        // "Pitch +0.0  Bank +0.0  Sink 0.0  Heading 090  Gear down", its
        // baseline 56 start-size pixels under the top edge.
        Band top = ReadBand((int)(h - 56 * s - 8 * s), (int)(26 * s), w);
        EXPECT_GT(top.ink, 150 * s * s);
        EXPECT_GT(top.backing, 1000 * s * s);
        EXPECT_LT(top.backingLeft, top.inkLeft);
        EXPECT_GT(top.backingRight, top.inkRight);
        EXPECT_GT(top.backingLeft, 0);
        EXPECT_LT(top.backingRight, w - 1);
        // The status line: all of "Altitude: 30.00" inside the window.
        Band status = ReadBand((int)(10 * s), (int)(30 * s), w);
        EXPECT_GT(status.ink, 200 * s * s);
        EXPECT_LT(status.inkRight, w - 3);
        // Amber once a landing would break: nose 6 degrees down near the ground.
        RotateBody(plane, -6.0f, plane.normal);
        DrawFrame();
        int amber = CountPixels(0, (int)(h - 70 * s), w, (int)(30 * s), {255, 178, 25}, 60);
        EXPECT_GT(amber, 20 * s * s);

        // The restart question and a dive's line on a backing over the jet
        // and its glowing nozzles, which lie in the window's middle.
        ResetPlane(plane);
        plane.thrust = 100;
        int middle = (int)(h * 0.5f), x0 = w / 4, y0 = middle - (int)(30 * s), bw = w / 2, bh = (int)(40 * s);
        DrawFrame();
        float open = MeanBrightnessBesideInk(x0, y0, bw, bh);
        paused = restartPrompt = 1;
        lastCrash = {CRASH_DIVE, 44.0f, 200.0f};
        DrawFrame();
        EXPECT_LT(MeanBrightnessBesideInk(x0, y0, bw, bh), open * 0.6f);
        int white = CountPixels(x0, y0, bw, bh, {255, 255, 255}, 75);
        EXPECT_GT(white, 200 * s * s);
        paused = restartPrompt = 0;
    }
}
