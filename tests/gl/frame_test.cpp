// One whole frame in a real window: the 2-D pass over each view, the pause
// texts, the explosion list, the lights the aircraft carries, the overhead
// view's orientation and a reshape to height 0.
#include "tests/gl/gl_fixture.h"

#include <cmath>

#include "sim/flight/aircraft.h"
#include "sim/flight/explosion.h"
#include "sim/flight/ground_contact.h"
#include "sim/render/camera.h"
#include "sim/render/explosion_list.h"
#include "sim/render/frame.h"
#include "sim/render/sky.h"
#include "sim/shell/scene.h"
#include "sim/view/view_state.h"

static const Rgb WHITE = {255, 255, 255};

class FrameTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        ResetPlane(plane);
        ResetCamera(camera);
        viewMode = 2;
    }
};

// White pixels of the status line, which starts at (35, 20).
static int StatusLinePixels()
{
    return CountPixels(35, 18, 560, 28, WHITE, 20);
}

TEST_F(FrameTest, StatusLineInViewsTwoToSixAndThePanelInViewOne)
{
    for (int view = 2; view <= 6; view++) {
        SCOPED_TRACE(view);
        viewMode = view;
        DrawFrame();
        EXPECT_GT(StatusLinePixels(), 150);
        // Nothing of the panel: the middle of the bottom edge is not grey panel.
        Rgb bottom = ReadPixel(320, 5);
        EXPECT_FALSE(abs(bottom.r - bottom.g) < 12 && abs(bottom.g - bottom.b) < 12 && bottom.r > 40)
            << bottom;
    }
    viewMode = 1;
    DrawFrame();
    // The panel is a grey shape, shaded by the lights, across the bottom.
    for (int x : {100, 320, 540}) {
        Rgb p = ReadPixel(x, 5);
        EXPECT_LT(abs(p.r - p.g), 12) << x << " " << p;
        EXPECT_LT(abs(p.b - p.g), 20) << x << " " << p;
        EXPECT_GT(p.r, 20) << x << " " << p;
    }
    // A pillar rises to the top left corner; the sky shows between the pillars.
    Rgb pillar = ReadPixel(5, 470);
    Rgb sky = ReadPixel(320, 470);
    EXPECT_FALSE(Near(pillar, sky, 10)) << pillar << " " << sky;
}

TEST_F(FrameTest, PauseTextAndRestartQuestionAreWhiteAtTheirOffsets)
{
    auto whiteAt = [](int x0, int width) { return CountPixels(x0, 236, width, 28, WHITE, 20); };
    paused = 0;
    DrawFrame();
    int before = whiteAt(200, 240);
    EXPECT_LT(before, 20);

    paused = 1;
    restartPrompt = 0;
    DrawFrame();
    EXPECT_GT(whiteAt(270, 80), 100);    // "Paused" from 50 left of the centre
    EXPECT_LT(whiteAt(200, 68), 5);      // and not reaching further left

    restartPrompt = 1;
    DrawFrame();
    EXPECT_GT(whiteAt(220, 80), 100);    // "Restart game? (Y/N)" from 100 left
    EXPECT_GT(whiteAt(340, 80), 100);
    // Asked by R, the question has no line under it; after a crash the cause
    // stands centred one line lower.
    auto causeAt = [](int x0, int width) { return CountPixels(x0, 198, width, 28, WHITE, 20); };
    EXPECT_LT(causeAt(0, 640), 5);
    lastCrash = {CRASH_GEAR_GAVE_WAY, 60.5f};
    DrawFrame();
    EXPECT_GT(causeAt(0, 640), 400);
    int left = 0, right = 639;
    while (left < 320 && causeAt(left, 1) == 0)
        left++;
    while (right > 320 && causeAt(right, 1) == 0)
        right--;
    EXPECT_GT(right - left, 300) << "The landing gear gave way at speed 61 (most 60)";
    EXPECT_NEAR(left + right, 640, 6) << left << " to " << right;
}

// The explosion list as the crash builds it for frame k, in a colour of its own.
static void CompileExplosion(int k)
{
    float s = 0.05f * k, w = windowWidth, h = windowHeight;
    glNewList(LIST_EXPLOSION, GL_COMPILE);
    glColor4f(1.0f, 0.0f, 1.0f, 1.0f);
    glDisable(GL_LIGHTING);
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glVertex3f(w * (0.5f - s), h * (0.5f - s), 0.2f);
    glVertex3f(w * (0.5f - s), h * (0.5f + s), 0.2f);
    glVertex3f(w * (0.5f + s), h * (0.5f + s), 0.2f);
    glVertex3f(w * (0.5f + s), h * (0.5f - s), 0.2f);
    glEnd();
    glEnable(GL_LIGHTING);
    glEndList();
}

TEST_F(FrameTest, ExplosionQuadCoversATenthOfTheWindowPerFrame)
{
    const Rgb magenta = {255, 0, 255};
    for (int k : {1, 4, 9}) {
        SCOPED_TRACE(k);
        CompileExplosion(k);
        explosionFrame = k;
        DrawFrame();
        double want = (0.1 * k * 640) * (0.1 * k * 480);
        int got = CountPixels(0, 0, 640, 480, magenta, 10);
        EXPECT_NEAR(got, want, want * 0.03 + 70);
        // Centred on the window.
        EXPECT_TRUE(Near(ReadPixel(320, 240), magenta, 10));
    }
    explosionFrame = 0;
    DrawFrame();
    EXPECT_EQ(CountPixels(0, 0, 640, 480, magenta, 10), 0);
}

static void ExpectLight(GLenum light, GLenum what, const float* want, int n)
{
    GLfloat got[4] = {0, 0, 0, 0};
    glGetLightfv(light, what, got);
    for (int i = 0; i < n; i++)
        EXPECT_NEAR(got[i], want[i], 1e-2f) << "component " << i;
}

TEST_F(FrameTest, AircraftLightsAreInWorldCoordinates)
{
    // Heading east: the model's +z turns onto world +x.
    Vec3 up = plane.up;
    RotateBody(plane, 90.0f, up);
    ASSERT_NEAR(plane.dir.x, 1.0f, 1e-5f);
    overlayLightOn = 1;
    DrawFrame();
    const Vec3 p = plane.pos;
    const float spotAt[4] = {p.x + 50, p.y - 50, p.z, 1};
    const float spotDir[3] = {0, 0, -1}; // dir given in the model's frame, turned once more
    const float overlayAt[4] = {p.x, p.y, p.z + 20, 1};
    ExpectLight(GL_LIGHT3, GL_POSITION, spotAt, 4);
    ExpectLight(GL_LIGHT3, GL_SPOT_DIRECTION, spotDir, 3);
    ExpectLight(GL_LIGHT2, GL_POSITION, overlayAt, 4);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT2));

    // The cockpit view leaves light 3 where the last outside view put it.
    plane.pos.x += 1000.0f;
    viewMode = 1;
    DrawFrame();
    ExpectLight(GL_LIGHT3, GL_POSITION, spotAt, 4);
}

// Window position of a world point under the current projection, or false.
static bool Project(Vec3 world, float& x, float& y)
{
    GLdouble proj[16];
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    const GLdouble v[4] = {world.x, world.y, world.z, 1.0};
    GLdouble c[4];
    for (int r = 0; r < 4; r++)
        c[r] = proj[r] * v[0] + proj[4 + r] * v[1] + proj[8 + r] * v[2] + proj[12 + r] * v[3];
    if (c[3] <= 0)
        return false;
    x = (float)((c[0] / c[3] + 1) * 0.5 * windowWidth);
    y = (float)((c[1] / c[3] + 1) * 0.5 * windowHeight);
    return true;
}

TEST_F(FrameTest, OverheadViewShowsWorldMinusZAtTheTop)
{
    viewMode = 5;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    LoadViewProjection();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glPointSize(9);
    const Vec3 p = plane.pos;
    glBegin(GL_POINTS);
    glColor3f(1, 0, 0);
    glVertex3f(p.x, p.y, p.z - 300); // north marker
    glColor3f(0, 0, 1);
    glVertex3f(p.x + 300, p.y, p.z); // east marker
    glEnd();
    glEnable(GL_LIGHTING);
    float x = 0, y = 0;
    ASSERT_TRUE(Project({p.x, p.y, p.z - 300}, x, y));
    EXPECT_NEAR(x, 320, 1);
    EXPECT_GT(y, 300);
    EXPECT_TRUE(Near(ReadPixel((int)x, (int)y), {255, 0, 0}));
    ASSERT_TRUE(Project({p.x + 300, p.y, p.z}, x, y));
    EXPECT_GT(x, 380);
    EXPECT_NEAR(y, 240, 1);
    EXPECT_TRUE(Near(ReadPixel((int)x, (int)y), {0, 0, 255}));
    // The aircraft is at the centre.
    ASSERT_TRUE(Project(p, x, y));
    EXPECT_NEAR(x, 320, 1);
    EXPECT_NEAR(y, 240, 1);
}

TEST_F(FrameTest, WiderFieldOfViewHalvesTheImageOfAVerticalSpan)
{
    Vec3 ahead = {plane.pos.x, plane.pos.y + 100, plane.pos.z + 1000};
    float x = 0, y40 = 0, y80 = 0;
    viewMode = 1;
    fieldOfView = 40;
    LoadViewProjection();
    ASSERT_TRUE(Project(ahead, x, y40));
    fieldOfView = 80;
    LoadViewProjection();
    ASSERT_TRUE(Project(ahead, x, y80));
    double ratio = (y80 - 240) / (y40 - 240);
    EXPECT_NEAR(ratio, std::tan(20 * M_PI / 180) / std::tan(40 * M_PI / 180), 1e-3);
}

TEST_F(FrameTest, ReshapeToHeightZeroKeepsTheProjectionFinite)
{
    Reshape(640, 0);
    for (int view = 1; view <= 6; view++) {
        viewMode = view;
        DrawFrame();
        LoadViewProjection();
        GLfloat m[16];
        glGetFloatv(GL_PROJECTION_MATRIX, m);
        for (float v : m)
            EXPECT_TRUE(std::isfinite(v)) << "view " << view;
    }
    Reshape(640, 480);
}

TEST_F(FrameTest, TowerViewAtTheAircraftDrawsWithoutNaN)
{
    viewMode = 4;
    camera.pos = plane.pos;
    DrawFrame();
    GLfloat m[16];
    LoadViewProjection();
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    for (float v : m)
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_GT(StatusLinePixels(), 150);
}
