// The GL side of the pilot's fog, texture and spot-light keys.
#include "tests/gl/gl_fixture.h"

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
