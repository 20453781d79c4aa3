// Cell board.
#include "sim/shell/life.h"

#include <GL/glut.h>

int lifeOn = 0;
unsigned char* lifeBufferA = nullptr;
unsigned char* lifeBufferB = nullptr;
unsigned char* lifeCells = nullptr;
unsigned char* lifeNext = nullptr;

void StartLife()
{
}

void StepLife()
{
}

void DrawLifeBoard()
{
}

void FreeLife()
{
}

void LifeTick(int /*value*/)
{
    if (lifeOn)
        StepLife();
    glutTimerFunc(1000, LifeTick, 3);
    glutPostRedisplay();
}
