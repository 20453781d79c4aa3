// Frame rendering and camera views.
#include "sim/render/frame.h"

#include <GL/glut.h>

#include "sim/render/sky.h"
#include "sim/shell/scene.h"

int viewMode = 1;
float chaseDistance = 500.0f;
float overheadHeight = 2000.0f;
float fieldOfView = 40.0f;
int cullFaces = 0;
int overlayLightOn = 0;
unsigned char contactOutlineOn = 0;

void PlaceCamera()
{
}

void DrawContactOutline(Body /*body*/)
{
}

void RenderScene()
{
    CheckGLError("RenderScene 1");
    UpdateSkyColour();
    glClearColor(skyColour[0], skyColour[1], skyColour[2], skyColour[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    CheckGLError("RenderScene 2");
    glFlush();
    glutSwapBuffers();
}
