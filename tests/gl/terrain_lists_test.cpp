// The terrain lists: strip layout, patch clipping, normals, texture
// coordinates, culling from below and the texturing switch.
#include "tests/gl/gl_fixture.h"

#include <cmath>
#include <vector>

#include "sim/landscape/terrain.h"
#include "sim/render/camera.h"
#include "sim/render/terrain_lists.h"
#include "sim/shell/scene.h"
#include "sim/view/view_state.h"

namespace {

struct FbVertex {
    float x, y, z;    // window coordinates
    float r, g, b, a; // lit colour
    float s, t;
};

struct FbPolygon {
    std::vector<FbVertex> v;
};

std::vector<float> feedbackStore;

void BeginFeedback(GLenum type)
{
    feedbackStore.assign(1 << 20, 0.0f);
    glFeedbackBuffer((GLsizei)feedbackStore.size(), type, feedbackStore.data());
    glRenderMode(GL_FEEDBACK);
}

// Parses a GL_3D_COLOR_TEXTURE (RGBA) or GL_3D feedback buffer into polygons.
std::vector<FbPolygon> EndFeedback(bool withColourTexture)
{
    GLint n = glRenderMode(GL_RENDER);
    EXPECT_GE(n, 0) << "feedback buffer overflow";
    std::vector<FbPolygon> out;
    const int per = withColourTexture ? 11 : 3;
    for (GLint i = 0; i < n;) {
        float token = feedbackStore[i++];
        if (token == GL_POLYGON_TOKEN) {
            int count = (int)feedbackStore[i++];
            FbPolygon p;
            for (int k = 0; k < count; k++, i += per) {
                const float* f = &feedbackStore[i];
                FbVertex v{f[0], f[1], f[2], 1, 1, 1, 1, 0, 0};
                if (withColourTexture)
                    v = {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8]};
                p.v.push_back(v);
            }
            out.push_back(p);
        } else if (token == GL_PASS_THROUGH_TOKEN) {
            i += 1;
        } else {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
    }
    return out;
}

// World (x, y, z) to window (x, -z) seen from above, or (x, z) from below;
// the camera lives in the projection matrix, as in the game's frame.
void LookStraightDown(bool fromBelow = false, float left = 0, float right = 640, float bottom = 0,
                      float top = 480)
{
    const GLfloat above[16] = {1, 0, 0, 0, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1};
    const GLfloat below[16] = {1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1};
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, -100000, 100000);
    glMultMatrixf(fromBelow ? below : above);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void FreeTile(TerrainTile& t)
{
    delete[] t.heights;
    delete[] t.red;
    delete[] t.green;
    delete[] t.blue;
    delete[] t.normals;
    t = TerrainTile{};
}

// An n x n tile with heights 1 + row + col, white points and straight-up normals.
TerrainTile& MakeTile(int k, int n, float cell, float centreX, float centreZ)
{
    TerrainTile& t = terrainTiles[k];
    FreeTile(t);
    size_t points = (size_t)n * n;
    t.width = t.depth = n;
    t.cellSize = cell;
    t.translateX = centreX;
    t.translateZ = centreZ;
    t.heights = new float[points];
    t.red = new float[points];
    t.green = new float[points];
    t.blue = new float[points];
    t.normals = new float[points * 6];
    for (int row = 0; row < n; row++)
        for (int col = 0; col < n; col++) {
            int i = row * n + col;
            t.heights[i] = 1.0f + row + col;
            t.red[i] = t.green[i] = t.blue[i] = 1.0f;
            const float up[6] = {0, 1, 0, 0, 1, 0};
            for (int c = 0; c < 6; c++)
                t.normals[i * 6 + c] = up[c];
        }
    return t;
}

// Strips in the order they were emitted: runs of triangles in one column
// whose lowest row never falls back.
struct Strip {
    int column, firstRow, triangles;
};

std::vector<Strip> StripsOf(const std::vector<FbPolygon>& polys, float x0, float y0, float cell)
{
    std::vector<Strip> strips;
    int lastRow = -1;
    for (const FbPolygon& p : polys) {
        float minX = 1e30f, minRow = 1e30f;
        for (const FbVertex& v : p.v) {
            minX = std::fmin(minX, v.x);
            minRow = std::fmin(minRow, (y0 - v.y) / cell); // window y falls as z grows
        }
        int column = (int)std::lround((minX - x0) / cell);
        int row = (int)std::lround(minRow);
        if (strips.empty() || strips.back().column != column || row < lastRow)
            strips.push_back({column, row, 0});
        strips.back().triangles++;
        lastRow = row;
    }
    return strips;
}

class TerrainListTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        for (TerrainTile& t : terrainTiles)
            FreeTile(t);
        glDisable(GL_LIGHTING);
    }
    void TearDown() override
    {
        for (TerrainTile& t : terrainTiles)
            FreeTile(t);
    }
};

} // namespace

TEST_F(TerrainListTest, ListsAreLaidOutInPatchesOfStripsClippedToTheGrid)
{
    struct Case {
        int n;
        std::vector<Strip> patchStarts; // first strip of each patch
        int strips, triangles;
    };
    // 41 points: four patches of 20 strips of 42 vertices (40 triangles);
    // 30 points: the last patch each way clipped to 9 cells.
    const Case cases[] = {
        {41, {{0, 0, 40}, {0, 20, 40}, {20, 0, 40}, {20, 20, 40}}, 80, 3200},
        {30, {{0, 0, 40}, {0, 20, 18}, {20, 0, 40}, {20, 20, 18}}, 58, 2 * 29 * 29},
        {2, {{0, 0, 2}}, 1, 2},
        {1, {}, 0, 0}, // no cells: the list holds only its load-identity
    };
    const float cell = 10.0f;
    for (const Case& c : cases) {
        // Centred so that column 0 is at window x 100 and row 0 at window y 440.
        float centreX = 100 + c.n * 0.5f * cell;
        float centreZ = -440 + c.n * 0.5f * cell;
        MakeTile(0, c.n, cell, centreX, centreZ);
        BuildTerrainLists();
        LookStraightDown();
        glTranslatef(5000, 0, 0); // the list loads its own identity
        BeginFeedback(GL_3D);
        glCallList(TERRAIN_LIST_BASE + 0);
        std::vector<FbPolygon> polys = EndFeedback(false);
        ASSERT_EQ((int)polys.size(), c.triangles) << c.n << " points";
        std::vector<Strip> strips = StripsOf(polys, 100, 440, cell);
        ASSERT_EQ((int)strips.size(), c.strips) << c.n << " points";
        int perPatch = (c.n - 1) < 20 ? c.n - 1 : 20;
        int stripIndex = 0;
        for (const Strip& start : c.patchStarts) {
            const Strip& s = strips[stripIndex];
            EXPECT_EQ(s.column, start.column) << c.n << " points, strip " << stripIndex;
            EXPECT_EQ(s.firstRow, start.firstRow) << c.n << " points, strip " << stripIndex;
            EXPECT_EQ(s.triangles, start.triangles) << c.n << " points, strip " << stripIndex;
            int columns = start.column == 0 ? perPatch : c.n - 1 - start.column;
            stripIndex += columns;
        }
        for (const FbPolygon& p : polys)
            for (const FbVertex& v : p.v) {
                EXPECT_GE(v.x, 100 - 0.01f);
                EXPECT_LE(v.x, 100 + (c.n - 1) * cell + 0.01f);
                EXPECT_LE(v.y, 440 + 0.01f);
                EXPECT_GE(v.y, 440 - (c.n - 1) * cell - 0.01f);
            }
    }
}

// One column over two cells, each cell with its own pair of normals; a light
// shining straight up shows each vertex's normal as its brightness (the
// normal's negated y), and the feedback keeps its texture coordinate.
TEST_F(TerrainListTest, StripCarriesNegatedNormalsAndMirroredTextureCoordinates)
{
    TerrainTile& t = MakeTile(0, 3, 100, 300, -300); // columns at x 150, 250; rows at z -450..-250
    const float ups[2][2] = {{0.9f, 0.8f}, {0.7f, 0.6f}}; // [cell row][first, second]
    for (int row = 0; row < 2; row++)
        for (int tri = 0; tri < 2; tri++) {
            float y = ups[row][tri];
            float* n = t.normals + (row * 3 + 0) * 6 + tri * 3;
            n[0] = std::sqrt(1 - y * y);
            n[1] = y;
            n[2] = 0;
        }
    glEnable(GL_LIGHTING);
    glDisable(GL_LIGHT1);
    const GLfloat none[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1}, upward[4] = {0, -1, 0, 0};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    LookStraightDown();
    glLightfv(GL_LIGHT0, GL_POSITION, upward); // light placed below, shining up
    glLightfv(GL_LIGHT0, GL_AMBIENT, none);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, none);

    BeginFeedback(GL_3D_COLOR_TEXTURE);
    DrawTerrainPatch(0, 0, 1, 0, 2);
    std::vector<FbPolygon> polys = EndFeedback(true);
    ASSERT_EQ(polys.size(), 4u);

    struct Expect {
        int row, col;
        float brightness, s, t;
    };
    // Column 1 of row 2 still carries the first normal of cell row 0.
    const Expect want[] = {
        {0, 1, 0.9f, 0, 0}, {0, 0, 0.9f, 0, 1}, {1, 1, 0.9f, 1, 1},
        {1, 0, 0.8f, 1, 0}, {2, 1, 0.9f, 0, 0}, {2, 0, 0.6f, 0, 1},
    };
    for (const Expect& e : want) {
        float wx = 150 + e.col * 100.0f, wy = 450 - e.row * 100.0f;
        int seen = 0;
        for (const FbPolygon& p : polys)
            for (const FbVertex& v : p.v)
                if (std::fabs(v.x - wx) < 0.01f && std::fabs(v.y - wy) < 0.01f) {
                    seen++;
                    EXPECT_NEAR(v.r, e.brightness, 0.01f) << "row " << e.row << " col " << e.col;
                    EXPECT_NEAR(v.s, e.s, 1e-6f) << "row " << e.row << " col " << e.col;
                    EXPECT_NEAR(v.t, e.t, 1e-6f) << "row " << e.row << " col " << e.col;
                    EXPECT_NEAR(v.z, 0.5f - (1.0f + e.row + e.col) / 200000.0f, 2e-6f);
                }
        EXPECT_GT(seen, 0) << "row " << e.row << " col " << e.col;
    }
}

TEST_F(TerrainListTest, UpperSideIsTheFrontSoTheTerrainIsCulledFromBelow)
{
    MakeTile(0, 41, 10, 320, -240);
    BuildTerrainLists();
    for (bool fromBelow : {false, true}) {
        // The tile lies within the view either way; only culling tells them apart.
        camera.pos = {320, fromBelow ? -10000.0f : 10000.0f, -240};
        camera.dir = {0, fromBelow ? 1.0f : -1.0f, 0};
        LookStraightDown(fromBelow, 0, 640, fromBelow ? -480 : 0, fromBelow ? 0 : 480);
        BeginFeedback(GL_3D);
        DrawTerrain();
        size_t drawn = EndFeedback(false).size();
        EXPECT_EQ(drawn, fromBelow ? 0u : 3200u) << (fromBelow ? "from below" : "from above");
    }
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(TerrainListTest, TerrainPassSkipsTilesOutsideTheViewAndKeepsTheMatrix)
{
    MakeTile(0, 41, 10, 320, -240);
    MakeTile(1, 41, 10, 320, -240);
    BuildTerrainLists();
    LookStraightDown();
    glTranslatef(1, 2, 3);
    GLfloat before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    // Tile 1 is moved behind the camera after its list was built.
    terrainTiles[1].translateZ = 100000;
    camera.pos = {320, 100, 0};
    camera.dir = {0, 0, -1};
    BeginFeedback(GL_3D);
    DrawTerrain();
    EXPECT_EQ(EndFeedback(false).size(), 3200u);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; i++)
        EXPECT_EQ(before[i], after[i]);
}

// With textures off the terrain shows its bare vertex colours; the pass
// leaves texturing as the switch says.
TEST_F(TerrainListTest, TexturingFollowsTheSwitchAndStaysSoAfterThePass)
{
    TerrainTile& t = MakeTile(0, 41, 20, 320, -240);
    for (int i = 0; i < 41 * 41; i++) {
        t.red[i] = 0.8f;
        t.green[i] = 0.2f;
        t.blue[i] = 0.6f;
    }
    BuildTerrainLists();
    camera.pos = {320, 100000, -240};
    camera.dir = {0, -1, 0};
    LookStraightDown();
    texturesOn = 1;
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    DrawTerrain();
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(mode, GL_MODULATE);

    texturesOn = 0;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawTerrain();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(Near(ReadPixel(320, 240), {204, 51, 153}, 3)) << ReadPixel(320, 240);
}
