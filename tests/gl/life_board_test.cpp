// The cell board standing in the plane z = 500, live cells black on white.
#include "tests/gl/gl_fixture.h"

#include <GL/glu.h>

#include "sim/flight/life.h"
#include "sim/render/life_board.h"

static Rgb CellPixel(int i, int j)
{
    GLdouble model[16], proj[16], wx, wy, wz;
    GLint view[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glGetIntegerv(GL_VIEWPORT, view);
    gluProject(100.0 * i + 50.0, 100.0 * j + 50.0, 500.0, model, proj, view, &wx, &wy, &wz);
    return ReadPixel((int)wx, (int)wy);
}

TEST_F(GlTest, BoardShowsLiveCellsBlackOnWhiteAtZ500)
{
    StartLife();
    ASSERT_NE(lifeCells, nullptr);
    for (int k = 0; k < LIFE_SIZE * LIFE_SIZE; k++)
        lifeCells[k] = 1;
    lifeCells[0] = 0;                       // corner at the origin
    lifeCells[3 + LIFE_SIZE * 7] = 0;       // column 3, row 7
    lifeCells[9 + LIFE_SIZE * 9] = 0;       // far corner

    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-800, 800, -600, 600, 1, 3000); // 1000 units: 400 pixels
    gluLookAt(500, 500, -500, 500, 500, 500, 0, 1, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawLifeBoard();

    for (int i = 0; i < LIFE_SIZE; i++)
        for (int j = 0; j < LIFE_SIZE; j++) {
            bool alive = (i == 0 && j == 0) || (i == 3 && j == 7) || (i == 9 && j == 9);
            Rgb want = alive ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
            EXPECT_TRUE(Near(CellPixel(i, j), want, 1)) << "cell " << i << "," << j << " " << CellPixel(i, j);
        }
    // Nothing beyond the 1000 x 1000 square.
    int covered = CountPixels(0, 0, 640, 480, {255, 255, 255}, 1) + CountPixels(0, 0, 640, 480, {0, 0, 0}, 1);
    EXPECT_NEAR(covered, 400 * 400, 2 * 400) << "board covers exactly its square";
    FreeLife();
}

TEST_F(GlTest, BoardNeverStartedDrawsNothing)
{
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    DrawLifeBoard();
    EXPECT_EQ(CountPixels(0, 0, 640, 480, {255, 0, 0}, 0), 640 * 480);
}
