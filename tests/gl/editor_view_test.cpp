// The editor's frame in a real window: the grid's place and colours, the
// lattice list against the point-by-point lattice, and the pointer mapping
// against what is actually drawn.
#include "tests/gl/gl_fixture.h"

#include <vector>

#include "editor/grid.h"
#include "editor/overlay.h"
#include "editor/view.h"

using namespace editor;

namespace {

class EditorGlTest : public testing::Test {
protected:
    void SetUp() override
    {
        OpenTestWindow(640, 480, "editor gl test");
        SetupEditorGL();
        ASSERT_TRUE(CreateGrid(GRID_SIZE, GRID_SIZE));
        UseWindowSize(640, 480);
    }
    // Draws as a window of w x h would: the frame fills the viewport at the
    // lower left of the test window.
    void UseWindowSize(int w, int h)
    {
        windowWidth = (float)w;
        windowHeight = (float)h;
        glViewport(0, 0, w, h);
    }
};

std::vector<unsigned char> ReadRect(int w, int h)
{
    glFinish();
    std::vector<unsigned char> p((size_t)w * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    return p;
}

} // namespace

TEST_F(EditorGlTest, FlatGridIsAGreenSquareCentredInBlack)
{
    DrawEditorFrame();
    // GL rows count from the bottom: the grid spans pixels 128..511 and 48..431.
    Rgb green = {77, 128, 26};
    EXPECT_EQ(CountPixels(128, 48, 384, 384, green, 2), 384 * 384);
    EXPECT_EQ(CountPixels(0, 0, 640, 480, green, 2), 384 * 384);
    EXPECT_TRUE(Near(ReadPixel(127, 240), {0, 0, 0}, 0));
    EXPECT_TRUE(Near(ReadPixel(320, 432), {0, 0, 0}, 0));
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}

TEST_F(EditorGlTest, TallAndWideWindowsKeepTheGridSquare)
{
    struct Case {
        int w, h;
        int x0, y0, side; // the grid's pixels
    } cases[] = {
        {400, 200, 120, 20, 160},
        {200, 400, 20, 120, 160},
    };
    for (const Case& c : cases) {
        glClear(GL_COLOR_BUFFER_BIT);
        UseWindowSize(c.w, c.h);
        DrawEditorFrame();
        EXPECT_EQ(CountPixels(0, 0, c.w, c.h, {77, 128, 26}, 2), c.side * c.side) << c.w << "x" << c.h;
        EXPECT_EQ(CountPixels(c.x0, c.y0, c.side, c.side, {77, 128, 26}, 2), c.side * c.side) << c.w << "x" << c.h;
    }
}

TEST_F(EditorGlTest, HighPointsAreDrawnInTheirStoredColourClampedByGL)
{
    SetGridHeight(10, 10, 8000);
    SetGridHeight(30, 30, 16000);
    DrawEditorFrame();
    // Grid point (x, y) lies on the corner of pixels at (128 + 9.6 x,
    // 48 + 9.6 y); the pixel below left of it lies on the cell's diagonal,
    // where the vertex weighs 0.95.
    EXPECT_TRUE(Near(ReadPixel(223, 143), {166, 41, 41}, 12)) << ReadPixel(223, 143);
    EXPECT_TRUE(Near(ReadPixel(415, 335), {255, 0, 56}, 12)) << ReadPixel(415, 335);
}

TEST_F(EditorGlTest, TheLatticeListDrawsTheSamePixelsAsThePointByPointCalls)
{
    SetGridHeight(12, 14, 5000);
    showGridPoints = 1;
    DrawEditorFrame();
    std::vector<unsigned char> listed = ReadRect(640, 480);
    DrawEditorFrame(); // the second frame replays the compiled list
    EXPECT_EQ(ReadRect(640, 480), listed);

    showGridPoints = 0;
    DrawEditorFrame();
    glPushMatrix();
    glTranslatef(-20.0f, -20.0f, -10.0f);
    DrawLatticePoints();
    glPopMatrix();
    std::vector<unsigned char> direct = ReadRect(640, 480);
    EXPECT_EQ(direct, listed);
    int white = CountPixels(0, 0, 640, 480, {255, 255, 255}, 0);
    // Every integer position in the view, about 66 x 50 of them.
    EXPECT_GT(white, 3000);
    EXPECT_LT(white, 3500);
}

TEST_F(EditorGlTest, HalfARowBelowWhereAPointIsDrawnMapsBackToThatPoint)
{
    const int sizes[][2] = {{640, 480}, {480, 400}, {300, 480}, {200, 200}, {640, 250}};
    const int points[][2] = {{1, 1}, {20, 20}, {39, 5}, {7, 33}, {39, 39}};
    for (auto size : sizes) {
        int w = size[0], h = size[1];
        UseWindowSize(w, h);
        for (auto point : points) {
            ASSERT_TRUE(CreateGrid(GRID_SIZE, GRID_SIZE));
            SetGridHeight(point[0], point[1], 16000);
            glClear(GL_COLOR_BUFFER_BIT);
            DrawEditorFrame();
            std::vector<unsigned char> p = ReadRect(w, h);
            // The pixel nearest the raised vertex is the reddest one.
            int best = -1, bestScore = -1000;
            for (int i = 0; i < w * h; i++) {
                int score = p[i * 4] - p[i * 4 + 1];
                if (score > bestScore) {
                    bestScore = score;
                    best = i;
                }
            }
            int px = best % w;
            int py = h - 1 - best / w; // window rows count from the top
            // The cell rule's rows begin at the drawn points: a point is
            // hit half a row below where it is drawn.
            py += (int)((w < h ? w : h) / 50.0 / 2.0);
            GridCell cell = WindowToGridCell(px, py, (float)w, (float)h);
            EXPECT_EQ(cell.gridX, point[0]) << w << "x" << h << " point " << point[0] << "," << point[1];
            EXPECT_EQ(cell.rowFromTop, GRID_SIZE - 1 - point[1])
                << w << "x" << h << " point " << point[0] << "," << point[1];
        }
    }
}

TEST_F(EditorGlTest, TheLegendAndStatusDrawOnlyInTheMargins)
{
    SetGridHeight(12, 14, 5000);
    showGridPoints = 1;
    pointer = {true, 320, 240};
    DrawEditorFrame();
    std::vector<unsigned char> bare = ReadRect(640, 480);
    DrawEditorFrame();
    DrawEditorOverlay();
    std::vector<unsigned char> dressed = ReadRect(640, 480);
    int inGrid = 0, inMargins = 0;
    for (int y = 0; y < 480; y++) {
        for (int x = 0; x < 640; x++) {
            size_t i = ((size_t)y * 640 + x) * 4;
            bool differs = bare[i] != dressed[i] || bare[i + 1] != dressed[i + 1] || bare[i + 2] != dressed[i + 2];
            bool grid = x >= 128 && x < 512 && y >= 48 && y < 432;
            (grid ? inGrid : inMargins) += differs;
        }
    }
    EXPECT_EQ(inGrid, 0);
    EXPECT_GT(inMargins, 2000);
    // The scale right of the grid, rows counted from the bottom: the ground
    // colour at height 0, the peak colour at 8000.
    EXPECT_TRUE(Near(ReadPixel(532, 48), {77, 128, 26}, 2)) << ReadPixel(532, 48);
    EXPECT_TRUE(Near(ReadPixel(532, 431), {166, 41, 41}, 2)) << ReadPixel(532, 431);
    EXPECT_EQ(glGetError(), (GLenum)GL_NO_ERROR);
}
