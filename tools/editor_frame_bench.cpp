// Times the editor's whole frame (draw, swap, finish) with the point lattice
// off and on, in a real window; run by scripts/bench.d/editor_bench.sh.
#include <GL/freeglut.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "editor/grid.h"
#include "editor/start_state.h"
#include "editor/view.h"

using namespace editor;

// The frame as it would be without the lattice's display list: the same
// points sent one by one every frame.
static void DisplayWithDirectLattice()
{
    DrawEditorFrame();
    glPushMatrix();
    glTranslatef(-GRID_OFFSET, -GRID_OFFSET, -10.0f);
    DrawLatticePoints();
    glPopMatrix();
    glutSwapBuffers();
    glFlush();
}

static double MedianFrameMs(int frames, void (*display)() = DisplayEditor)
{
    std::vector<double> times;
    for (int i = 0; i < frames; i++) {
        auto start = std::chrono::steady_clock::now();
        display();
        glFinish();
        auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        glutMainLoopEvent();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int main(int argc, char** argv)
{
    ResetEditor();
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    glutInitWindowSize(640, 480);
    glutCreateWindow("Pelorin Editor frame benchmark");
    glutDisplayFunc([] {});
    glutReshapeFunc(ReshapeEditor);
    for (int i = 0; i < 10; i++)
        glutMainLoopEvent();
    SetupEditorGL();
    if (!CreateGrid(GRID_SIZE, GRID_SIZE))
        return 1;
    // A painted grid, so the colours vary as in real use.
    for (int x = 1; x < GRID_SIZE - 1; x++)
        for (int y = 1; y < GRID_SIZE - 1; y++)
            gridHeights[x * GRID_SIZE + y] = (x * 37 + y * 91) % 9000;
    int frames = argc > 1 ? atoi(argv[1]) : 60;
    if (frames < 1)
        frames = 1;
    showGridPoints = 0;
    MedianFrameMs(5);
    double off = MedianFrameMs(frames);
    showGridPoints = 1;
    MedianFrameMs(5);
    double on = MedianFrameMs(frames);
    showGridPoints = 0;
    double direct = MedianFrameMs(frames, DisplayWithDirectLattice);
    printf("editor frame, lattice off: median %.2f ms over %d frames\n", off, frames);
    printf("editor frame, lattice on:  median %.2f ms over %d frames\n", on, frames);
    printf("editor frame, lattice sent point by point (no list): median %.2f ms over %d frames\n", direct, frames);
    return 0;
}
