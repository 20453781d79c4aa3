// The cell board drawn as a square standing in the world.
#include "sim/render/life_board.h"

#include <GL/gl.h>

#include "sim/flight/life.h"

const float CELL_WORLD_SIZE = 100.0f;
const float BOARD_PLANE_Z = 500.0f;

// The 1000 x 1000 board in the plane z = 500, live cells black on white,
// facing -z and lit like the scene; expects the identity modelview.
void DrawLifeBoard()
{
    if (!lifeCells)
        return;
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, -1.0f);
    for (int i = 0; i < LIFE_SIZE; i++) {
        float x = CELL_WORLD_SIZE * i;
        for (int j = 0; j < LIFE_SIZE; j++) {
            float y = CELL_WORLD_SIZE * j;
            if (lifeCells[i + LIFE_SIZE * j] == CELL_ALIVE)
                glColor3f(0.0f, 0.0f, 0.0f);
            else
                glColor3f(1.0f, 1.0f, 1.0f);
            glVertex3f(x, y, BOARD_PLANE_Z);
            glVertex3f(x, y + CELL_WORLD_SIZE, BOARD_PLANE_Z);
            glVertex3f(x + CELL_WORLD_SIZE, y + CELL_WORLD_SIZE, BOARD_PLANE_Z);
            glVertex3f(x + CELL_WORLD_SIZE, y, BOARD_PLANE_Z);
        }
    }
    glEnd();
}
