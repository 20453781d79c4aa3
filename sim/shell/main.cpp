// Entry of the simulator: window, callbacks, set-up, timers, main loop.
#include <GL/glut.h>
#include <cstdio>
#include <string>

#include "sim/flight/explosion.h"
#include "sim/flight/flight_tick.h"
#include "sim/render/frame.h"
#include "sim/shell/audio.h"
#include "sim/shell/controls.h"
#include "sim/shell/gamepad.h"
#include "sim/shell/scene.h"
#include "sim/shell/sound_feed.h"
#include "sim/shell/start_state.h"
#include "sim/shell/timers.h"
#include "sim/shell/window_mode.h"
#include "sim/view/view_state.h"

int main(int argc, char** argv)
{
    // Console lines are part of the interface; show each as it happens even
    // when standard output is a pipe or a file.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    ResetSimulation();
    std::string geometry;
    InitWindowSize(argc, argv, geometry);
    glutInit(&argc, argv);
    bool fullScreen = TakeFullScreenOption(argc, argv);
    char error[256];
    if (!TakeSoundOptions(argc, argv, error, sizeof error)) {
        fprintf(stderr, "pelorin: %s\n", error);
        return 2;
    }
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow("Tessaly -- Pelorin 2000");
    glutDisplayFunc(RenderScene);
    glutReshapeFunc(Reshape);
    glutSpecialFunc(SpecialKeys);
    glutKeyboardFunc(Keyboard);
    glutMouseFunc(MouseButton);
    glutMotionFunc(MouseMotion);
    glutPassiveMotionFunc(PassiveMotion);
    SetupScene();
    if (fullScreen)
        ToggleFullScreen();
    // The simulation below asks for its timer and reads the controller
    // through hooks, so that it stays free of the toolkit.
    armExplosionTimer = ArmExplosionTimer;
    if (StartGamepad())
        readController = ReadGamepad;
    StartSound();
    StartClockTimer();
    StartFlightTimer();
    StartLifeTimer();
    glutMainLoop();
    return 1;
}
