// The fixed GL state of the simulator's set-up.
#include "tests/gl/gl_fixture.h"

#include "sim/render/sky.h"
#include "sim/shell/scene.h"
#include "sim/view/view_state.h"

TEST_F(GlTest, StartStateHasTheLightsFogAndFacesOfTheSetUp)
{
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_ALPHA_TEST));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT1));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT2));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
    EXPECT_FALSE(glIsEnabled(GL_FOG));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    GLint twoSide = 0, frontFace = 0, fogMode = 0;
    glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &twoSide);
    glGetIntegerv(GL_FRONT_FACE, &frontFace);
    glGetIntegerv(GL_FOG_MODE, &fogMode);
    EXPECT_EQ(twoSide, 1);
    EXPECT_EQ(frontFace, GL_CCW);
    EXPECT_EQ(fogMode, GL_EXP);
    GLfloat density = 0, cutoff = 0;
    glGetFloatv(GL_FOG_DENSITY, &density);
    glGetLightfv(GL_LIGHT3, GL_SPOT_CUTOFF, &cutoff);
    EXPECT_FLOAT_EQ(density, 4.0e-6f);
    EXPECT_FLOAT_EQ(cutoff, 45.0f);
}

TEST_F(GlTest, SphereAfterSetUpTakesTheCurrentColour)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(1, 0, 0);
    glutSolidSphere(0.5, 20, 20);
    EXPECT_TRUE(Near(ReadPixel(320, 240), {255, 0, 0})) << ReadPixel(320, 240);
}

TEST_F(GlTest, ClearShowsTheSkyColour)
{
    glClear(GL_COLOR_BUFFER_BIT);
    Rgb sky = {(int)(0.53f * 255 + 0.5f), (int)(0.81f * 255 + 0.5f), (int)(0.92f * 255 + 0.5f)};
    EXPECT_TRUE(Near(ReadPixel(10, 470), sky, 2)) << ReadPixel(10, 470);
}

TEST_F(GlTest, ReshapeToZeroKeepsTheStoredSizeAtLeastOne)
{
    Reshape(0, 0);
    EXPECT_EQ(windowWidth, 1.0f);
    EXPECT_EQ(windowHeight, 1.0f);
    Reshape(800, 600);
    EXPECT_EQ(windowWidth, 800.0f);
    EXPECT_EQ(windowHeight, 600.0f);
}
