// The GL side of the pilot's fog, texture and spot-light keys.
#include "tests/gl/gl_fixture.h"

#include <cmath>

#include "sim/assets/display_lists.h"
#include "sim/flight/aircraft.h"
#include "sim/render/camera.h"
#include "sim/render/frame.h"
#include "sim/shell/controls.h"
#include "sim/shell/scene.h"
#include "sim/view/view_state.h"

namespace {

GLint FogModeNow()
{
    GLint mode = 0;
    glGetIntegerv(GL_FOG_MODE, &mode);
    return mode;
}

} // namespace

TEST_F(GlTest, FogKeyCyclesTheFogModes)
{
    struct Step {
        bool enabled;
        GLint mode;
    };
    const Step steps[] = {{true, GL_EXP}, {true, GL_EXP2}, {true, GL_LINEAR}, {false, GL_LINEAR}, {true, GL_EXP}};
    for (const Step& s : steps) {
        Keyboard('F', 0, 0);
        EXPECT_EQ(glIsEnabled(GL_FOG) == GL_TRUE, s.enabled) << fogMode;
        EXPECT_EQ(FogModeNow(), s.mode) << fogMode;
    }
}

TEST_F(GlTest, FogDensityKeysSetTheGlDensity)
{
    testing::internal::CaptureStdout();
    Keyboard('d', 0, 0);
    GLfloat density = 0;
    glGetFloatv(GL_FOG_DENSITY, &density);
    EXPECT_FLOAT_EQ(density, 4.4e-6f);
    Keyboard('D', 0, 0);
    glGetFloatv(GL_FOG_DENSITY, &density);
    EXPECT_NEAR(density, 4.0e-6f, 1e-12f);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "fogDensity = 0.000004\nfogDensity = 0.000004\n");
}

// Pixels of the middle of the frame that are neither the fog's colour nor
// the sky's: the world that shows through the fog.
static int WorldPixels()
{
    const Rgb fog = {(int)(fogColour[0] * 255), (int)(fogColour[1] * 255), (int)(fogColour[2] * 255)};
    int all = 200 * 160;
    return all - CountPixels(220, 160, 200, 160, fog, 6) - CountPixels(220, 160, 200, 160, {135, 207, 235}, 6);
}

TEST_F(GlTest, LinearFogShowsTheJetAt600UnitsAsTheExponentialFogDoes)
{
    BuildDisplayLists();
    ResetPlane(plane);
    ResetCamera(camera);
    viewMode = 2;
    chaseDistance = 600.0f;
    Keyboard('F', 0, 0); // exponential
    DrawFrame();
    int exponential = WorldPixels();
    Keyboard('F', 0, 0);
    Keyboard('F', 0, 0); // linear
    DrawFrame();
    int linear = WorldPixels();
    EXPECT_GT(exponential, 10000);
    EXPECT_GT(linear, exponential * 0.9) << "linear fog hides the jet";
    GLfloat start = -1, end = -1;
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    EXPECT_EQ(start, 0.0f);
    EXPECT_NEAR(end, std::log(256.0) / 4.0e-6, 1.0);
    // In step with the density keys: ten times denser, a tenth as far.
    testing::internal::CaptureStdout();
    for (int i = 0; i < 24; i++)
        Keyboard('d', 0, 0);
    testing::internal::GetCapturedStdout();
    glGetFloatv(GL_FOG_END, &end);
    EXPECT_NEAR(end, LinearFogEnd(fogDensity), 1.0);
    EXPECT_NEAR(end, std::log(256.0) / (4.0e-6 * std::pow(1.1, 24)), 1.0);
}

TEST_F(GlTest, TextureAndSpotLightKeysSwitchGlState)
{
    texturesOn = 1;
    glEnable(GL_TEXTURE_2D);
    Keyboard('t', 0, 0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    Keyboard('t', 0, 0);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));

    GLint localViewer = -1;
    Keyboard('l', 0, 0);
    glGetIntegerv(GL_LIGHT_MODEL_LOCAL_VIEWER, &localViewer);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT3));
    EXPECT_EQ(localViewer, GL_TRUE);
    Keyboard('l', 0, 0);
    glGetIntegerv(GL_LIGHT_MODEL_LOCAL_VIEWER, &localViewer);
    EXPECT_FALSE(glIsEnabled(GL_LIGHT3));
    EXPECT_EQ(localViewer, GL_FALSE);
}

TEST_F(GlTest, CallbacksRunWithAWindow)
{
    SpecialKeys(GLUT_KEY_UP, 0, 0);
    MouseButton(GLUT_LEFT_BUTTON, GLUT_DOWN, 5, 5);
    MouseMotion(6, 6);
    MouseButton(GLUT_LEFT_BUTTON, GLUT_UP, 6, 6);
    PassiveMotion(7, 7);
    Keyboard('x', 0, 0);
    PumpEvents();
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}
