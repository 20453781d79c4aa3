// Day clock.
#include "sim/shell/clock.h"

#include <GL/glut.h>

float sunAngle = 0.0f;
float moonAngle = 0.0f;
int timePasses = 1;

void AdvanceClock()
{
}

void ClockTick(int /*value*/)
{
    AdvanceClock();
    glutTimerFunc(250, ClockTick, 1);
    glutPostRedisplay();
}
