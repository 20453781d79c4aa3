// The engine flames are translucent: they must blend with the ground behind
// them, not with the sky that was there before the scenery was drawn.
#include "tests/gl/gl_fixture.h"

#include "sim/assets/display_lists.h"
#include "sim/flight/aircraft.h"
#include "sim/render/camera.h"
#include "sim/render/frame.h"
#include "sim/shell/scene.h"
#include "sim/view/view_state.h"

TEST_F(GlTest, FlamesBlendWithTheGroundDrawnAfterTheAircraft)
{
    ResetPlane(plane);
    ResetCamera(camera);
    plane.thrust = 100;
    viewMode = 2;
    // Stand-in scenery: an unlit grey wall filling the view behind the
    // aircraft's tail (the chase camera is 500 behind, the flames about 190).
    glNewList(LIST_FOREST, GL_COMPILE);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glColor3f(0.5f, 0.5f, 0.5f);
    glBegin(GL_QUADS);
    glVertex3f(plane.pos.x - 5000, plane.pos.y - 5000, plane.pos.z - 100);
    glVertex3f(plane.pos.x + 5000, plane.pos.y - 5000, plane.pos.z - 100);
    glVertex3f(plane.pos.x + 5000, plane.pos.y + 5000, plane.pos.z - 100);
    glVertex3f(plane.pos.x - 5000, plane.pos.y + 5000, plane.pos.z - 100);
    glEnd();
    glEnable(GL_LIGHTING);
    glEndList();

    // The flames lie a little below the centre of the view, over the
    // wall and the glows (full red and green) they start from.
    auto countFlamePixels = [](int& tinted, int& skyish) {
        const int x0 = 240, y0 = 120, w = 200, h = 110;
        std::vector<unsigned char> p((size_t)w * h * 4);
        glFinish();
        glReadPixels(x0, y0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        tinted = skyish = 0;
        for (size_t i = 0; i < p.size(); i += 4) {
            Rgb c = {p[i], p[i + 1], p[i + 2]};
            if (Near(c, {128, 128, 128}, 3) || (c.r > 250 && c.g > 250))
                continue;
            if (c.b > 150)
                skyish++;
            else
                tinted++;
        }
    };
    int tinted, skyish;
    DrawFrame();
    countFlamePixels(tinted, skyish);
    EXPECT_GT(tinted, 50) << "no flame drawn over the wall";
    EXPECT_EQ(skyish, 0) << "flames show the sky through the scenery";

    // Their front faces the nose: with culling on, the chase camera sees
    // only their backs, even though the terrain has switched culling off.
    cullFaces = 1;
    DrawFrame();
    countFlamePixels(tinted, skyish);
    EXPECT_EQ(tinted + skyish, 0) << "flames drawn although culled from behind";
    cullFaces = 0;

    // Facing exactly opposite the model's reference the turn has no axis;
    // the frame works the turns out once and so reports that once.
    plane.dir = {0, 0, -1};
    plane.normal = {1, 0, 0};
    testing::internal::CaptureStdout();
    DrawFrame();
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "zero length vector");
    glDeleteLists(LIST_FOREST, 1);
}
