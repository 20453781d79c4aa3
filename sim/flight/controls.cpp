// Pilot controls.
#include "sim/flight/controls.h"

#include <GL/glut.h>
#include <cstdlib>

#include "sim/shell/life.h"

int fogMode = 0;
int spotLightOn = 0;
int dragMode = 0;
int lastMouseX = -1;
int lastMouseY = -1;

void Keyboard(unsigned char key, int /*x*/, int /*y*/)
{
    if (key == 'Q') {
        FreeLife();
        exit(0);
    }
    glutPostRedisplay();
}

void SpecialKeys(int /*key*/, int /*x*/, int /*y*/)
{
    glutPostRedisplay();
}

void MouseButton(int /*button*/, int /*state*/, int /*x*/, int /*y*/)
{
    glutPostRedisplay();
}

void MouseMotion(int /*x*/, int /*y*/)
{
    glutPostRedisplay();
}
