// The explosion's display list and its timer chain in a real window.
#include "tests/gl/gl_fixture.h"

#include <GL/glu.h>

#include "sim/flight/aircraft.h"
#include "sim/flight/explosion.h"
#include "sim/flight/ground_contact.h"
#include "sim/render/explosion_list.h"
#include "sim/shell/scene.h"
#include "sim/shell/timers.h"
#include "sim/view/view_state.h"

namespace {

// The renderer's 2-D overlay: one unit a pixel, origin lower left.
void OverlayProjection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, 640, 0, 480);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
}

// Runs the toolkit's timers for about `ms` milliseconds; `each` sees every round.
template <typename F>
void RunTimers(int ms, F each)
{
    int end = glutGet(GLUT_ELAPSED_TIME) + ms;
    while (glutGet(GLUT_ELAPSED_TIME) < end) {
        glutMainLoopEvent();
        each();
    }
}

} // namespace

TEST_F(GlTest, ExplosionFrameIsACentredFadingQuad)
{
    texturesOn = 0;
    glDisable(GL_TEXTURE_2D);
    ExplosionQuad quad;
    for (int k = 1; k <= 5; k++)
        AdvanceExplosion(quad);
    BuildExplosionList(quad);
    ASSERT_TRUE(glIsList(LIST_EXPLOSION));
    OverlayProjection();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glCallList(LIST_EXPLOSION);
    // Frame 5: half of the window wide and high, grey 1 - 4/23 at alpha 0.8 over black.
    int level = (int)((1.0f - 4.0f / 23.0f) * 0.8f * 255.0f + 0.5f);
    Rgb grey = {level, level, level};
    EXPECT_TRUE(Near(ReadPixel(320, 240), grey, 3)) << ReadPixel(320, 240);
    EXPECT_TRUE(Near(ReadPixel(162, 122), grey, 3)) << ReadPixel(162, 122);
    EXPECT_TRUE(Near(ReadPixel(477, 357), grey, 3)) << ReadPixel(477, 357);
    EXPECT_TRUE(Near(ReadPixel(157, 240), {0, 0, 0}, 3)) << ReadPixel(157, 240);
    EXPECT_TRUE(Near(ReadPixel(320, 363), {0, 0, 0}, 3)) << ReadPixel(320, 363);
    EXPECT_NEAR(CountPixels(0, 0, 640, 480, grey, 3), 320 * 240, 320 + 240 + 4);
    // The list leaves lighting on for the rest of the frame.
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
}

TEST_F(GlTest, CrashSeenTwiceRunsOneChainThatEnds)
{
    armExplosionTimer = ArmExplosionTimer; // as the program's entry wires it
    ResetPlane(plane);
    plane.pos.y = 0.0f;
    gearDown = 0;
    landed = 0;
    EvaluateGroundContact();
    EvaluateGroundContact(); // a second step before the first frame
    int highest = 0;
    bool ended = false;
    bool roseAfterEnd = false;
    RunTimers(1000, [&] {
        if (explosionFrame > highest)
            highest = explosionFrame;
        if (highest > 0 && explosionFrame == 0)
            ended = true;
        // A second chain would take the counter up again after it came back to 0.
        if (ended && explosionFrame != 0)
            roseAfterEnd = true;
    });
    EXPECT_TRUE(ended);
    EXPECT_FALSE(roseAfterEnd);
    EXPECT_EQ(highest, 19);
    EXPECT_EQ(explosionScheduled, 0);
    EXPECT_EQ(explosionAlpha, 1.0f);
    EXPECT_EQ(explosionBrightness, 1.0f);
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(restartPrompt, 1);
}
