// Entry of the simulator: window, callbacks, set-up, timers, main loop.
#include <GL/glut.h>
#include <cstdio>

#include "sim/flight/controls.h"
#include "sim/flight/flight_tick.h"
#include "sim/render/frame.h"
#include "sim/shell/clock.h"
#include "sim/shell/gamepad.h"
#include "sim/shell/life.h"
#include "sim/shell/scene.h"

int main(int argc, char** argv)
{
    // Console lines are part of the interface; show each as it happens even
    // when standard output is a pipe or a file.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize((int)windowWidth, (int)windowHeight);
    glutCreateWindow("Tessaly -- Pelorin 2000");
    glutDisplayFunc(RenderScene);
    glutReshapeFunc(Reshape);
    glutSpecialFunc(SpecialKeys);
    glutKeyboardFunc(Keyboard);
    glutMouseFunc(MouseButton);
    glutMotionFunc(MouseMotion);
    glutPassiveMotionFunc(PassiveMotion);
    SetupScene();
    if (StartGamepad())
        readController = ReadGamepad;
    StartClockTimer();
    StartFlightTimer();
    StartLifeTimer();
    glutMainLoop();
    return 1;
}
