// Friends' jets far away, read back from a real window: a few faces each,
// turned and placed on the processor as the jet's own frame would turn them,
// and each one's name over it, all names in one run.
#include "tests/gl/gl_fixture.h"

#include <GL/glu.h>

#include <algorithm>
#include <vector>

#include "common/friends_file.h"
#include "sim/flight/remote_jets.h"
#include "sim/render/camera.h"
#include "sim/render/hud_layout.h"
#include "sim/render/remote_jets_draw.h"

struct Ink {
    int count = 0, left = 1 << 30, right = -1, bottom = 1 << 30, top = -1;
    int Width() const { return right - left; }
    int Height() const { return top - bottom; }
};

// What is drawn over the black the window was cleared to.
static Ink InkIn(int x0, int y0, int width, int height)
{
    glFinish();
    std::vector<unsigned char> p((size_t)width * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x0, y0, width, height, GL_RGB, GL_UNSIGNED_BYTE, p.data());
    Ink ink;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const unsigned char* c = &p[((size_t)y * width + x) * 3];
            if (c[0] + c[1] + c[2] > 30) {
                ink.count++;
                ink.left = std::min(ink.left, x0 + x);
                ink.right = std::max(ink.right, x0 + x);
                ink.bottom = std::min(ink.bottom, y0 + y);
                ink.top = std::max(ink.top, y0 + y);
            }
        }
    return ink;
}

static void Stand(std::vector<FriendsRecord>& records, int id, const char* name, Vec3 pos, Vec3 up)
{
    FriendsRecord joined;
    joined.type = NET_JOINED;
    joined.id = (uint8_t)id;
    snprintf(joined.name, sizeof joined.name, "%s", name);
    FriendsRecord state;
    state.step = 1;
    state.state.id = (uint8_t)id;
    state.state.step = 1;
    float at[3] = {pos.x, pos.y, pos.z}, u[3] = {up.x, up.y, up.z}, away[3] = {0, 0, -1};
    std::copy(at, at + 3, state.state.pos);
    std::copy(u, u + 3, state.state.up);
    std::copy(away, away + 3, state.state.dir);
    records.push_back(joined);
    records.push_back(state);
}

TEST_F(GlTest, FarFriendsStandWhereTheyAreTurnedAsTheirJetsWithTheirNamesOver)
{
    // The camera at the origin looking down on them, the window's up along
    // -z; the frame keeps it in the projection, as the game's does.
    camera.pos = {0, 0, 0};
    camera.dir = {0, -1, 0};
    camera.up = {0, 0, -1};
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(40.0, 640.0 / 480.0, 10.0, 100000.0);
    gluLookAt(0, 0, 0, 0, -1, 0, 0, 0, -1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_FOG);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    // Two jets 3000 units below, their noses up the window: the left one
    // level, its wings across; the right one on its side, its up along +x,
    // so that only its body and fins are seen from above.
    const Vec3 level = {-700, -3000, 0}, banked = {700, -3000, 0};
    std::vector<FriendsRecord> records;
    Stand(records, 1, "Lev", level, {0, 1, 0});
    Stand(records, 2, "Side", banked, {1, 0, 0});
    ClearSky(replaySky);
    TakeFriendsRecordsDue(records, 0, 50);
    DrawRemoteJets();

    GLdouble model[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, projection[16];
    GLint viewport[4];
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    struct Seen {
        const char* what;
        Vec3 at, up;
        Ink ink;
        double x, y, nameX;
    } seen[] = {{"level", level, {0, 1, 0}, {}, 0, 0, 0}, {"on its side", banked, {1, 0, 0}, {}, 0, 0, 0}};
    for (Seen& s : seen) {
        SCOPED_TRACE(s.what);
        double z, nameY;
        ASSERT_EQ(gluProject(s.at.x, s.at.y, s.at.z, model, projection, viewport, &s.x, &s.y, &z), GL_TRUE);
        // Where its name goes: 120 units along its up.
        ASSERT_EQ(gluProject(s.at.x + s.up.x * 120, s.at.y + s.up.y * 120, s.at.z + s.up.z * 120, model, projection,
                             viewport, &s.nameX, &nameY, &z),
                  GL_TRUE);
        s.ink = InkIn((int)s.x - 60, (int)s.y - 60, 120, 120);
        ASSERT_GT(s.ink.count, 50);
        // The nose up the window, 290 units long: 63 pixels at 3000.
        EXPECT_NEAR(s.ink.Height(), 63, 4);
        EXPECT_NEAR((s.ink.bottom + s.ink.top) * 0.5, s.y, 4.0) << "the jet's middle where it is";
    }
    // The wings span 217 units (47 pixels); on its side the jet is 84 wide.
    EXPECT_NEAR(seen[0].ink.Width(), 47, 4);
    EXPECT_NEAR((seen[0].ink.left + seen[0].ink.right) * 0.5, seen[0].x, 2.0) << "level: its wings alike";
    EXPECT_NEAR(seen[1].ink.Width(), 18, 4);
    EXPECT_GT(seen[1].ink.right - seen[1].x, seen[1].x - seen[1].ink.left) << "on its side: its fins to +x";
    EXPECT_EQ(InkIn(280, 0, 80, 480).count, 0) << "nothing between the two";

    // The names, in the 2-D pass, each over its own jet.
    glClear(GL_COLOR_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, 640, 0, 480);
    DrawRemoteJetLabels(LayOutHud(640, 480));
    for (const Seen& s : seen) {
        SCOPED_TRACE(s.what);
        Ink name = InkIn((int)s.nameX - 50, (int)s.y - 30, 100, 60);
        EXPECT_GT(name.count, 20);
        EXPECT_NEAR((name.left + name.right) * 0.5, s.nameX, 4.0) << "centred where it goes";
    }
    ClearSky(replaySky);
}
