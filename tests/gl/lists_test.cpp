// The model, scenery, ground and forest lists: what each leaves behind in the
// GL state, the ground plane's quads, the forest's walk and the texture switch.
#include "tests/gl/gl_fixture.h"

#include <cmath>
#include <vector>

#include "sim/assets/display_lists.h"
#include "sim/assets/textures.h"
#include "sim/shell/scene.h"
#include "sim/view/view_state.h"

namespace {

std::vector<float> feedbackStore;

void BeginFeedback()
{
    feedbackStore.assign(1 << 21, 0.0f);
    glFeedbackBuffer((GLsizei)feedbackStore.size(), GL_3D, feedbackStore.data());
    glRenderMode(GL_FEEDBACK);
}

// Polygons as lists of window-space vertices (x, y, z).
std::vector<std::vector<float>> EndFeedback()
{
    GLint n = glRenderMode(GL_RENDER);
    EXPECT_GE(n, 0) << "feedback buffer overflow";
    std::vector<std::vector<float>> polys;
    for (GLint i = 0; i < n;) {
        float token = feedbackStore[i++];
        if (token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        int count = (int)feedbackStore[i++];
        polys.emplace_back(feedbackStore.begin() + i, feedbackStore.begin() + i + 3 * count);
        i += 3 * count;
    }
    return polys;
}

// Looks square-on at the ground plane (from below, so that window y follows
// world z) over a square of half-size `half` about the origin on 480 x 480
// pixels.
void LookAtGround(float half)
{
    const GLfloat squareOn[16] = {1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1};
    glViewport(0, 0, 480, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-half, half, -half, half, -1e6, 1e6);
    glMultMatrixf(squareOn);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void ExpectMatrix(const GLfloat want[16], const char* what)
{
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(m[i], want[i], 1e-5f) << what << ", element " << i;
}

const GLfloat IDENTITY[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

class ListsTest : public GlTest {
protected:
    void Build(unsigned char textures)
    {
        texturesOn = textures;
        BuildDisplayLists();
        glDisable(GL_CULL_FACE);
    }
};

} // namespace

TEST_F(ListsTest, MatrixLeftBehindBySceneryTreeAndForest)
{
    Build(1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(7, 8, 9);
    glCallList(LIST_SCENERY);
    ExpectMatrix(IDENTITY, "after the scenery");

    glLoadIdentity();
    glCallList(LIST_TREE);
    const float c = std::cos(45 * 3.14159265f / 180), s = std::sin(45 * 3.14159265f / 180);
    const GLfloat turned[16] = {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1};
    ExpectMatrix(turned, "after one tree");

    // The forest starts from the identity; a hundred trees turn it by
    // 100 x 45 = 4500 degrees, half a turn past a whole number, and shift it.
    glTranslatef(1, 2, 3);
    glCallList(LIST_FOREST);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[0], -1, 1e-4f);
    EXPECT_NEAR(m[10], -1, 1e-4f);
    EXPECT_NEAR(m[13], 0, 1e-3f);
    EXPECT_GT(std::hypot(m[12], m[14]), 100.0f);
}

TEST_F(ListsTest, MaterialsAndStateLeftBehind)
{
    Build(1);
    // The airfield's material was set at build time, outside its list, and
    // is the last material the build left current.
    GLfloat shine = 0, specular[4] = {0, 0, 0, 0};
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shine);
    EXPECT_FLOAT_EQ(shine, 50.0f);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 7.0f);
    glCallList(LIST_AIRFIELD);
    glGetMaterialfv(GL_BACK, GL_SHININESS, &shine);
    EXPECT_FLOAT_EQ(shine, 7.0f) << "the airfield list must set no material";

    struct Case {
        int list;
        float shininess, specular[4];
    };
    const Case cases[] = {
        {LIST_AIRCRAFT, 100, {0.6f, 0.6f, 0.6f, 1}},
        {LIST_AIRCRAFT_GEAR, 100, {0.6f, 0.6f, 0.6f, 1}},
        {LIST_DELTA_WING, 100, {0.3f, 0.4f, 0.7f, 1}},
        {LIST_GROUND, 50, {0.2f, 0.2f, 0.2f, 1}},
    };
    for (const Case& k : cases) {
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 1.0f);
        glPushMatrix();
        glCallList(k.list);
        glPopMatrix();
        for (GLenum face : {GL_FRONT, GL_BACK}) {
            glGetMaterialfv(face, GL_SHININESS, &shine);
            glGetMaterialfv(face, GL_SPECULAR, specular);
            EXPECT_FLOAT_EQ(shine, k.shininess) << "list " << k.list;
            for (int i = 0; i < 4; i++)
                EXPECT_FLOAT_EQ(specular[i], k.specular[i]) << "list " << k.list;
        }
    }

    struct After {
        int list;
        GLint envMode;
        float offsetFactor, offsetUnits;
    };
    const After afters[] = {
        {LIST_GROUND, GL_MODULATE, 1.0f, 1.0f},
        {LIST_TREE, GL_REPLACE, 1.0f, 1.0f},
        {LIST_FOREST, GL_REPLACE, -0.5f, -0.2f},
    };
    glPolygonOffset(1, 1);
    for (const After& a : afters) {
        glCallList(a.list);
        GLint mode = 0;
        GLfloat factor = 0, units = 0;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
        glGetFloatv(GL_POLYGON_OFFSET_FACTOR, &factor);
        glGetFloatv(GL_POLYGON_OFFSET_UNITS, &units);
        EXPECT_EQ(mode, a.envMode) << "list " << a.list;
        EXPECT_FLOAT_EQ(factor, a.offsetFactor) << "list " << a.list;
        EXPECT_FLOAT_EQ(units, a.offsetUnits) << "list " << a.list;
        EXPECT_FALSE(glIsEnabled(GL_POLYGON_OFFSET_FILL)) << "list " << a.list;
    }
}

TEST_F(ListsTest, TextureBindingsFollowTheSwitchAtBuildTime)
{
    for (unsigned char textures : {0, 1}) {
        Build(textures);
        for (int list : {LIST_TREE, LIST_GROUND, LIST_FOREST}) {
            glBindTexture(GL_TEXTURE_2D, 55);
            glCallList(list);
            GLint bound = -1;
            glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
            // Lists that bind their texture unbind it at the end.
            EXPECT_EQ(bound, textures ? 0 : 55) << "list " << list << ", textures " << (int)textures;
        }
    }
}

// A texture left bound (the sun's square leaves one with transparent
// corners) must not paint the models, which have no texture coordinates.
TEST_F(ListsTest, ModelsAreDrawnUntexturedWhateverWasLeftBound)
{
    for (unsigned char textures : {0, 1}) {
        Build(textures);
        for (int list : {LIST_AIRCRAFT, LIST_AIRCRAFT_GEAR, LIST_AIRFIELD, LIST_DELTA_WING}) {
            glBindTexture(GL_TEXTURE_2D, TEX_SUN);
            glPushMatrix();
            glCallList(list);
            glPopMatrix();
            GLint bound = -1;
            glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
            EXPECT_EQ(bound, 0) << "list " << list << ", textures " << (int)textures;
        }
    }
}

TEST_F(ListsTest, GroundPlaneIsEightByEightQuadsOverFourHundredThousandUnits)
{
    Build(1);
    LookAtGround(250000);
    BeginFeedback();
    glCallList(LIST_GROUND);
    auto polys = EndFeedback();
    // Each quad is reported whole or as two triangles.
    int vertices = 0;
    float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
    for (const auto& p : polys) {
        vertices += (int)p.size() / 3;
        for (size_t i = 0; i < p.size(); i += 3) {
            minX = std::fmin(minX, p[i]);
            maxX = std::fmax(maxX, p[i]);
            minY = std::fmin(minY, p[i + 1]);
            maxY = std::fmax(maxY, p[i + 1]);
        }
    }
    EXPECT_TRUE(polys.size() == 64u || (polys.size() == 128u && vertices == 384)) << polys.size();
    // -200000..200000 of a 500000-wide view over 480 pixels.
    EXPECT_NEAR(minX, 240 - 192, 0.01f);
    EXPECT_NEAR(maxX, 240 + 192, 0.01f);
    EXPECT_NEAR(minY, 240 - 192, 0.01f);
    EXPECT_NEAR(maxY, 240 + 192, 0.01f);
}

// The forest walk: each tree moves 0..10000 along its own x and -z, in the
// frame the tree before it left turned by 45 degrees. Its first steps come
// from the generator's first numbers, 41 and 18467, then 6334 and 26500.
TEST_F(ListsTest, ForestTakesTheFirstRandomNumbersInATurningWalk)
{
    Build(1);
    const float k = 3.0518509e-5f * 10000;
    float x1 = 41 * k, z1 = -(18467 * k);
    const float c = std::cos(45 * 3.14159265f / 180), s = std::sin(45 * 3.14159265f / 180);
    // Second step (6334, -26500) turned by 45 degrees about +y.
    float lx = 6334 * k, lz = -(26500 * k);
    float x2 = x1 + c * lx + s * lz, z2 = z1 - s * lx + c * lz;

    LookAtGround(300000);
    BeginFeedback();
    glCallList(LIST_FOREST);
    auto polys = EndFeedback();
    ASSERT_FALSE(polys.empty());
    // The first quad of each tree lies in its own z = 0 plane; its bottom
    // edge's middle is the tree's foot. Feedback keeps the drawing order.
    auto footOf = [&](size_t firstPolygon, float& fx, float& fz) {
        float sx = 0, sz = 0;
        int n = 0;
        for (size_t p = firstPolygon; p < polys.size() && n < 4; p++)
            for (size_t i = 0; i < polys[p].size() && n < 4; i += 3) {
                sx += polys[p][i];
                sz += polys[p][i + 1];
                n++;
            }
        fx = (sx / n - 240) * 600000 / 480;
        fz = (sz / n - 240) * 600000 / 480;
    };
    size_t perTree = polys.size() / 100;
    ASSERT_EQ(polys.size(), perTree * 100);
    float fx, fz;
    footOf(0, fx, fz);
    EXPECT_NEAR(fx, x1, 200) << "first tree";
    EXPECT_NEAR(fz, z1, 200) << "first tree";
    footOf(perTree, fx, fz);
    EXPECT_NEAR(fx, x2, 200) << "second tree";
    EXPECT_NEAR(fz, z2, 200) << "second tree";
}

// Every model list holds its whole mesh, and the scenery holds the three
// models and the ground plane.
TEST_F(ListsTest, ModelListsHoldTheirWholeMeshes)
{
    Build(1);
    LookAtGround(300000);
    auto count = [](int list) {
        BeginFeedback();
        glPushMatrix();
        glCallList(list);
        glPopMatrix();
        return EndFeedback().size();
    };
    EXPECT_EQ(count(LIST_AIRCRAFT), 5608u - 1296u);
    EXPECT_EQ(count(LIST_AIRCRAFT_GEAR), 5608u);
    EXPECT_EQ(count(LIST_AIRFIELD), 1738u);
    EXPECT_EQ(count(LIST_DELTA_WING), 853u);
    size_t ground = count(LIST_GROUND);
    EXPECT_EQ(count(LIST_SCENERY), 1738u + 5608u + 853u + ground);
    EXPECT_FALSE(glIsList(15));
}

// The ghost's lists stand in for the player's jet: each must hold far fewer
// triangles yet cover the same place on screen (the same turn and scale), the
// gear or not as its partner does.
TEST_F(ListsTest, GhostListsAreTheJetWithFewerTrianglesInTheSamePlace)
{
    Build(1);
    unsigned ghost = BuildGhostAircraftLists();
    ASSERT_TRUE(glIsList(ghost));
    ASSERT_TRUE(glIsList(ghost + 1));
    struct Drawn {
        size_t triangles;
        float lo[2], hi[2];
    };
    auto draw = [](unsigned list) {
        LookAtGround(400);
        BeginFeedback();
        glPushMatrix();
        glCallList(list);
        glPopMatrix();
        Drawn d = {0, {INFINITY, INFINITY}, {-INFINITY, -INFINITY}};
        for (const std::vector<float>& poly : EndFeedback()) {
            d.triangles++;
            for (size_t i = 0; i + 2 < poly.size(); i += 3) {
                for (int k = 0; k < 2; k++) {
                    d.lo[k] = std::fmin(d.lo[k], poly[i + k]);
                    d.hi[k] = std::fmax(d.hi[k], poly[i + k]);
                }
            }
        }
        return d;
    };
    const struct {
        const char* name;
        int jet;
        unsigned ghost;
    } pairs[] = {{"without gear", LIST_AIRCRAFT, ghost}, {"with gear", LIST_AIRCRAFT_GEAR, ghost + 1}};
    for (const auto& p : pairs) {
        Drawn jet = draw((unsigned)p.jet), light = draw(p.ghost);
        EXPECT_GT(light.triangles, 0u) << p.name;
        EXPECT_LT(light.triangles * 3, jet.triangles) << p.name;
        for (int k = 0; k < 2; k++) {
            EXPECT_NEAR(light.lo[k], jet.lo[k], 1.0f) << p.name << " axis " << k;
            EXPECT_NEAR(light.hi[k], jet.hi[k], 1.0f) << p.name << " axis " << k;
        }
    }
    EXPECT_LT(draw(ghost).triangles, draw(ghost + 1).triangles);
}
