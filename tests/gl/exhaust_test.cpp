// The engine glows, nozzle plates and flames behind the aircraft.
#include "tests/gl/gl_fixture.h"

#include <GL/glu.h>

#include "sim/render/sky.h"

// Looks along +z at the aircraft's tail from behind, orthographic, with the
// aircraft at the origin in its reference pose.
static void LookAtTail()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-80, 80, -60, 60, 1, 3000);
    gluLookAt(0, -10, -1000, 0, -10, 0, 0, 1, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

static Rgb PixelAt(double x, double y, double z)
{
    GLdouble model[16], proj[16], wx, wy, wz;
    GLint view[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    gluProject(x, y, z, model, proj, view, &wx, &wy, &wz);
    return ReadPixel((int)wx, (int)wy);
}

static Body Aircraft(float thrust)
{
    Body b{};
    b.dir = {0, 0, 1};
    b.up = {0, 1, 0};
    b.normal = {-1, 0, 0};
    b.thrust = thrust;
    return b;
}

// Where the steps put things, in the aircraft's frame.
const double GLOW_X[2] = {21.6, -22.68};
const double GLOW_Y = -10.4;
const double PLATE_CORNER_DX = 9.5, PLATE_CORNER_DY = -6.5; // inside a plate, outside its glow
const double FLAME_X[2] = {-1.08, -45.36};
const double FLAME_Y = -19.2;

static void ClearBlack()
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

TEST_F(GlTest, GlowsShineInTheirColourByEmission)
{
    // No light reaches them: what shows is the emission alone.
    const GLfloat noAmbient[4] = {0, 0, 0, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, noAmbient);
    glDisable(GL_LIGHT0);
    glDisable(GL_LIGHT1);
    struct Case {
        float thrust;
        Rgb glow;
    };
    const Case cases[] = {
        {0.0f, {51, 51, 51}},
        {1.0f, {154, 2, 51}},    // any thrust jumps the red to 0.6
        {100.0f, {255, 230, 51}},
    };
    LookAtTail();
    for (const Case& c : cases) {
        ClearBlack();
        DrawExhaust(Aircraft(c.thrust));
        for (double x : GLOW_X)
            EXPECT_TRUE(Near(PixelAt(x, GLOW_Y, -160), c.glow, 2))
                << "thrust " << c.thrust << " glow at " << x << ": " << PixelAt(x, GLOW_Y, -160);
    }
}

TEST_F(GlTest, UnlitExhaustShowsGlowColourPlatesAndFadingFlames)
{
    glDisable(GL_LIGHTING);
    LookAtTail();

    ClearBlack();
    flameFrame = 2;
    DrawExhaust(Aircraft(0.0f));
    EXPECT_TRUE(Near(PixelAt(GLOW_X[0], GLOW_Y, -160), {51, 51, 51}, 2));
    for (double x : GLOW_X)
        EXPECT_TRUE(Near(PixelAt(x + PLATE_CORNER_DX, GLOW_Y + PLATE_CORNER_DY, -160), {102, 102, 102}, 2))
            << "plate at " << x;
    for (double x : FLAME_X)
        EXPECT_TRUE(Near(PixelAt(x, FLAME_Y, -190), {0, 0, 0}, 0)) << "no flame at thrust 0";
    EXPECT_EQ(flameFrame, 2);

    // Thrust 100: glow (1.0, 0.9, 0.2) at alpha 0.25 over black.
    ClearBlack();
    DrawExhaust(Aircraft(100.0f));
    EXPECT_TRUE(Near(PixelAt(GLOW_X[0], GLOW_Y, -160), {255, 230, 51}, 2));
    for (double x : FLAME_X)
        EXPECT_TRUE(Near(PixelAt(x, FLAME_Y, -190), {64, 57, 13}, 2))
            << "flame at " << x << ": " << PixelAt(x, FLAME_Y, -190);
    EXPECT_EQ(flameFrame, 3);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
}

TEST_F(GlTest, FlameFrameCyclesOnlyWithThrust)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    flameFrame = 0;
    const int expected[] = {1, 2, 3, 0, 1};
    for (int want : expected) {
        DrawExhaust(Aircraft(50.0f));
        EXPECT_EQ(flameFrame, want);
    }
    DrawExhaust(Aircraft(0.0f));
    EXPECT_EQ(flameFrame, 1);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[0], 1.0f);
    EXPECT_EQ(m[14], 0.0f);
}
