// Sky colour over dusk and dawn, the sun's and moon's lights at their
// horizon angles, and the spheres drawn in their own colours.
#include "tests/gl/gl_fixture.h"

#include <GL/glu.h>

#include "sim/flight/clock.h"
#include "sim/render/sky.h"
#include "sim/view/view_state.h"

static Rgb ToRgb(const float c[3])
{
    auto channel = [](float v) { return (int)((v < 0 ? 0 : v > 1 ? 1 : v) * 255.0f + 0.5f); };
    return {channel(c[0]), channel(c[1]), channel(c[2])};
}

static Rgb ClearWithSky()
{
    glClearColor(skyColour[0], skyColour[1], skyColour[2], skyColour[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return ReadPixel(320, 240);
}

// A camera at the origin looking straight up (screen up is world -z), with
// the viewing transform on the projection as the frame does it.
static void LookUp(double fieldOfView)
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, 640.0 / 480.0, 1.0, 300000.0);
    gluLookAt(0, 0, 0, 0, 1, 0, 0, 0, -1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Window pixel of a world point under the current matrices.
static void Project(double x, double y, double z, int& px, int& py)
{
    GLdouble model[16], proj[16], wx, wy, wz;
    GLint view[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    gluProject(x, y, z, model, proj, view, &wx, &wy, &wz);
    px = (int)wx;
    py = (int)wy;
}

static bool ModelviewIsIdentity()
{
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; i++)
        if (m[i] != (i % 5 == 0 ? 1.0f : 0.0f))
            return false;
    return true;
}

TEST_F(GlTest, SkyDarkensToBlackAtDuskAndComesBackToTheDaySkyAtDawn)
{
    const float start[3] = {skyColour[0], skyColour[1], skyColour[2]};
    // Inside the bounds every frame moves by 0.01 as it always has.
    float before[3] = {start[0], start[1], start[2]};
    for (float angle : {90.0f, 270.0f}) {
        sunAngle = angle;
        for (int i = 0; i < 40; i++) {
            UpdateSkyColour();
            for (int c = 0; c < 3; c++) {
                before[c] = (float)(before[c] + (angle < 180.0f ? -0.01 : 0.01));
                ASSERT_EQ(skyColour[c], before[c]) << angle << " frame " << i;
            }
        }
    }
    const float dusk[3] = {start[0] - 0.3f, start[1] - 0.3f, start[2] - 0.3f};
    sunAngle = 90.0f;
    for (int i = 0; i < 30; i++)
        UpdateSkyColour();
    EXPECT_TRUE(Near(ClearWithSky(), ToRgb(dusk), 2)) << ClearWithSky();

    // However many frames the dusk sees, the night is black and no darker.
    for (int i = 0; i < 5000; i++)
        UpdateSkyColour();
    for (int c = 0; c < 3; c++)
        EXPECT_EQ(skyColour[c], 0.0f) << c;
    EXPECT_TRUE(Near(ClearWithSky(), {0, 0, 0}, 0)) << ClearWithSky();

    // Dawn: red, the lowest, is back first; then the whole day sky, no brighter.
    sunAngle = 270.0f;
    for (int i = 0; i < 65; i++)
        UpdateSkyColour();
    EXPECT_EQ(skyColour[0], start[0]);
    EXPECT_LT(skyColour[2], start[2]);
    for (int i = 0; i < 5000; i++)
        UpdateSkyColour();
    for (int c = 0; c < 3; c++)
        EXPECT_EQ(skyColour[c], start[c]) << c;
    EXPECT_TRUE(Near(ClearWithSky(), ToRgb(start), 2)) << ClearWithSky();
    EXPECT_EQ(skyColour[3], 1.0f);
}

TEST_F(GlTest, SkyChangesOnlyStrictlyInsideTheDuskAndDawnWindows)
{
    struct Case {
        float angle;
        float change;
    };
    const Case cases[] = {
        {0.0f, 0.0f},   {77.0f, 0.0f},   {77.1f, -0.01f}, {104.9f, -0.01f}, {105.0f, 0.0f},
        {180.0f, 0.0f}, {255.0f, 0.0f},  {255.1f, 0.01f}, {282.9f, 0.01f},  {283.0f, 0.0f},
    };
    for (const Case& c : cases) {
        skyColour[0] = skyColour[1] = skyColour[2] = 0.5f;
        sunAngle = c.angle;
        UpdateSkyColour();
        EXPECT_FLOAT_EQ(skyColour[1], 0.5f + c.change) << "at " << c.angle;
    }
}

TEST_F(GlTest, SunAndMoonLightsFollowTheirHorizons)
{
    struct Case {
        float angle;
        bool lit;
    };
    const Case sun[] = {{0.0f, true}, {95.0f, true}, {95.1f, false}, {180.0f, false},
                        {264.9f, false}, {265.0f, true}, {359.8f, true}};
    const Case moon[] = {{0.0f, false}, {90.9f, false}, {91.0f, true}, {180.0f, true},
                         {270.0f, true}, {270.1f, false}};
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (const Case& c : sun) {
        sunAngle = c.angle;
        DrawSun();
        EXPECT_EQ((bool)glIsEnabled(GL_LIGHT0), c.lit) << "sun at " << c.angle;
        EXPECT_TRUE(ModelviewIsIdentity()) << "sun at " << c.angle;
    }
    for (const Case& c : moon) {
        moonAngle = c.angle;
        DrawMoon();
        EXPECT_EQ((bool)glIsEnabled(GL_LIGHT1), c.lit) << "moon at " << c.angle;
        EXPECT_TRUE(ModelviewIsIdentity()) << "moon at " << c.angle;
    }
}

TEST_F(GlTest, LightsPointAwayFromTheirSpheres)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    sunAngle = 0.0f;
    moonAngle = 180.0f;
    DrawSun();
    DrawMoon();
    GLfloat sunLight[4], moonLight[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, sunLight);
    glGetLightfv(GL_LIGHT1, GL_POSITION, moonLight);
    EXPECT_FLOAT_EQ(sunLight[1], -100000.0f);
    EXPECT_FLOAT_EQ(sunLight[3], 0.0f);
    // The moon overhead at 180 degrees: its light vector turned to point down.
    EXPECT_NEAR(moonLight[1], -100000.0f, 1.0f);
    EXPECT_NEAR(moonLight[0], 0.0f, 1.0f);
}

// A bound texture and texturing on must not tint the spheres: freeglut's
// spheres carry no texture coordinates.
static GLuint BindBlueTexture()
{
    const unsigned char blue[4 * 4] = {0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255, 0, 0, 255, 255};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, blue);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_TEXTURE_2D);
    return name;
}

TEST_F(GlTest, MoonIsDrawnOverheadAt180InTheSunsColourAndNotAt0)
{
    const Rgb moonColour = ToRgb(sunColour);
    sunAngle = 180.0f; // the sun is down, so only the moon can show
    BindBlueTexture();

    LookUp(10.0);
    moonAngle = 180.0f;
    ClearWithSky();
    DrawMoon();
    EXPECT_TRUE(Near(ReadPixel(320, 240), moonColour, 2)) << ReadPixel(320, 240);
    EXPECT_GT(CountPixels(0, 0, 640, 480, moonColour, 2), 100);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));

    // At 0 the moon would stand straight below; look both ways.
    moonAngle = 0.0f;
    ClearWithSky();
    DrawMoon();
    EXPECT_EQ(CountPixels(0, 0, 640, 480, moonColour, 2), 0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(10.0, 640.0 / 480.0, 1.0, 300000.0);
    gluLookAt(0, 0, 0, 0, -1, 0, 0, 0, -1);
    glMatrixMode(GL_MODELVIEW);
    ClearWithSky();
    DrawMoon();
    EXPECT_EQ(CountPixels(0, 0, 640, 480, moonColour, 2), 0);
}

TEST_F(GlTest, SunAtNoonIsBrightWithItsHaloAndAbsentAtNight)
{
    BindBlueTexture();
    LookUp(10.0);
    sunAngle = 0.0f;
    sunHaloOn = 0;
    Rgb sky = ClearWithSky();
    DrawSun();
    Rgb centre = ReadPixel(320, 240);
    // Emission alone is the sun's colour; the lights can only add to it.
    EXPECT_GE(centre.r, 229);
    EXPECT_GE(centre.g, 229);
    EXPECT_GE(centre.b, 216);
    EXPECT_LE(centre.b, centre.r);

    // Beside the sphere, inside the halo square.
    int hx, hy;
    Project(8000.0, 270200.0, 0.0, hx, hy);
    EXPECT_TRUE(Near(ReadPixel(hx, hy), sky, 2)) << "no halo: sky beside the sun";
    sunHaloOn = 1;
    ClearWithSky();
    DrawSun();
    EXPECT_FALSE(Near(ReadPixel(hx, hy), sky, 20)) << "halo missing " << ReadPixel(hx, hy);

    sunAngle = 180.0f;
    sky = ClearWithSky();
    DrawSun();
    EXPECT_TRUE(Near(ReadPixel(320, 240), sky, 0)) << ReadPixel(320, 240);
}
