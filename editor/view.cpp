// Drawing the editor's top view and mapping the pointer back onto it.
#include "editor/view.h"

#include <GL/glut.h>
#include <cmath>
#include <cstdio>

#include "editor/grid.h"
#include "editor/overlay.h"

namespace editor {

float windowWidth;
float windowHeight;

// The lattice covers every integer position of -100..99 on both axes, just in
// front of the grid so that it passes the depth test.
const int LATTICE_FIRST = -100;
const int LATTICE_END = 100;
const float LATTICE_Z = 0.01f;
const float VIEW_NEAR = -25.0f;
const float VIEW_FAR = 25.0f;
const float GRID_Z = -10.0f;

// The pointer's cell rule at the start size: the window is cut into 67
// columns (a fraction 1/67 each) and 50 rows (1/50 each).
const double START_WIDTH = 640.0;
const double START_HEIGHT = 480.0;
const double START_COLUMN_FRACTION = 0.014925373134328358;
const double START_ROW_FRACTION = 0.02;

void ResetWindowState()
{
    windowWidth = (float)START_WIDTH;
    windowHeight = (float)START_HEIGHT;
}
const double START_FIRST_GRID_COLUMN = 13.0;
const double START_FIRST_GRID_ROW = 5.0;

ViewBox EditorViewBox(float width, float height)
{
    ViewBox box;
    if (width > height) {
        float aspect = width / height;
        box = {-VIEW_HALF_EXTENT * aspect, VIEW_HALF_EXTENT * aspect, -VIEW_HALF_EXTENT, VIEW_HALF_EXTENT};
    } else {
        float aspect = height / width;
        box = {-VIEW_HALF_EXTENT, VIEW_HALF_EXTENT, -VIEW_HALF_EXTENT * aspect, VIEW_HALF_EXTENT * aspect};
    }
    return box;
}

GridCell WindowToGridCell(int px, int py, float width, float height)
{
    // The cell rule is the one made for the 640 x 480 start window: 67
    // columns and 50 rows, of which columns 13..53 and rows 5..45 hold the
    // grid. Taken over unchanged it drifts off the drawing once the window is
    // reshaped, so the pointer is first carried into the start window's frame
    // through the view's own scale (the shorter side always spans the same 50
    // units) about the centre. At 640 x 480 that step is exact, x' = x and
    // y' = y, and the rule gives its own answer for every pixel.
    double scale = (double)START_HEIGHT / (double)(width < height ? width : height);
    double x = START_WIDTH / 2.0 + ((double)px - width / 2.0) * scale;
    double y = START_HEIGHT / 2.0 + ((double)py - height / 2.0) * scale;
    double cx = std::trunc(x / (START_WIDTH * START_COLUMN_FRACTION)) - START_FIRST_GRID_COLUMN;
    double cy = std::trunc(y / (START_HEIGHT * START_ROW_FRACTION)) - START_FIRST_GRID_ROW;
    // Far outside the window the values only need to stay outside the grid;
    // keep them inside int range.
    const double LIMIT = 1.0e6;
    cx = cx < -LIMIT ? -LIMIT : cx > LIMIT ? LIMIT : cx;
    cy = cy < -LIMIT ? -LIMIT : cy > LIMIT ? LIMIT : cy;
    GridCell cell;
    cell.gridX = (int)cx;
    cell.rowFromTop = (int)cy;
    return cell;
}

void SetupEditorGL()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glFrontFace(GL_CCW);
    glEnable(GL_COLOR_MATERIAL);
}

void DrawLatticePoints()
{
    glColor3f(1.0f, 1.0f, 1.0f);
    for (int i = LATTICE_FIRST; i < LATTICE_END; i++) {
        for (int j = LATTICE_FIRST; j < LATTICE_END; j++) {
            glBegin(GL_POINTS);
            glVertex3f((float)i, (float)j, LATTICE_Z);
            glEnd();
        }
    }
}

// 40000 separate points cost a software renderer more than a frame's budget
// when sent one by one; a display list holding the very same calls draws the
// same pixels in a fraction of the time. The list belongs to the context that
// compiled it, so it is rebuilt if a new context does not know it.
static GLuint latticeList = 0;

static void DrawLattice()
{
    if (latticeList == 0 || !glIsList(latticeList)) {
        latticeList = glGenLists(1);
        if (latticeList == 0) {
            DrawLatticePoints();
            return;
        }
        glNewList(latticeList, GL_COMPILE);
        DrawLatticePoints();
        glEndList();
    }
    glCallList(latticeList);
}

void DrawGrid()
{
    for (int x = 0; x < gridSizeX - 1; x++) {
        for (int y = 0; y < gridSizeY - 1; y++) {
            int a = x * gridSizeY + y;         // (x, y)
            int b = (x + 1) * gridSizeY + y + 1; // (x + 1, y + 1)
            int c = x * gridSizeY + y + 1;     // (x, y + 1)
            int d = (x + 1) * gridSizeY + y;   // (x + 1, y)
            glBegin(GL_TRIANGLES);
            glColor3f(gridRed[a], gridGreen[a], gridBlue[a]);
            glVertex3f((float)x, (float)y, 0.0f);
            glColor3f(gridRed[b], gridGreen[b], gridBlue[b]);
            glVertex3f((float)(x + 1), (float)(y + 1), 0.0f);
            glColor3f(gridRed[c], gridGreen[c], gridBlue[c]);
            glVertex3f((float)x, (float)(y + 1), 0.0f);
            glColor3f(gridRed[a], gridGreen[a], gridBlue[a]);
            glVertex3f((float)x, (float)y, 0.0f);
            glColor3f(gridRed[b], gridGreen[b], gridBlue[b]);
            glVertex3f((float)(x + 1), (float)(y + 1), 0.0f);
            glColor3f(gridRed[d], gridGreen[d], gridBlue[d]);
            glVertex3f((float)(x + 1), (float)y, 0.0f);
            glEnd();
        }
    }
    if (showGridPoints)
        DrawLattice();
}

void DrawEditorFrame()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    ViewBox box = EditorViewBox(windowWidth, windowHeight);
    glOrtho(box.left, box.right, box.bottom, box.top, VIEW_NEAR, VIEW_FAR);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    glTranslatef(-GRID_OFFSET, -GRID_OFFSET, GRID_Z);
    DrawGrid();
    glPopMatrix();
}

void DisplayEditor()
{
    DrawEditorFrame();
    DrawEditorOverlay();
    glutSwapBuffers();
    glFlush();
    // One report per frame, however many errors the frame queued.
    // The bound keeps a broken context from holding the loop forever.
    bool failed = false;
    for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; i++)
        failed = true;
    if (failed)
        printf("ERROR!\n");
}

void ReshapeEditor(int width, int height)
{
    if (width < 1)
        width = 1;
    if (height < 1)
        height = 1;
    glMatrixMode(GL_PROJECTION);
    windowHeight = (float)height;
    windowWidth = (float)width;
    glViewport(0, 0, width, height);
    glLoadIdentity();
}

} // namespace editor
