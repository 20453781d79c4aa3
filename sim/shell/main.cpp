// Entry of the simulator: window, callbacks, set-up, timers, main loop.
#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sim/flight/explosion.h"
#include "sim/flight/flight_tick.h"
#include "sim/render/explosion_list.h"
#include "sim/render/frame.h"
#include "sim/shell/audio.h"
#include "sim/shell/controls.h"
#include "sim/shell/gamepad.h"
#include "sim/shell/net_client.h"
#include "sim/shell/options.h"
#include "sim/shell/recorder.h"
#include "sim/shell/replay.h"
#include "sim/shell/replay_modes.h"
#include "sim/shell/scene.h"
#include "sim/shell/sound_feed.h"
#include "sim/shell/start_state.h"
#include "sim/shell/timers.h"
#include "sim/shell/track.h"
#include "sim/shell/window_mode.h"
#include "sim/view/view_state.h"

// A recording to show, read and checked before any window opens.
static Recording shownRecording;

// Opening the sound device can keep a machine's sound server, or its absence,
// tens of milliseconds: the first frame is shown first, then the device
// opened once, and every later frame is the plain display callback.
static void RenderSceneThenStartSound()
{
    RenderScene();
    glutDisplayFunc(RenderScene);
    StartSound();
}

// The window manager's close ends the game as Q does: a live game shown in
// the instant replay is put back first, and the recording gets its end, so
// the file replays to the very step the window closed at. The toolkit exits
// after this returns.
static void WindowClosed()
{
    EndInstantReplay();
    FinishGame();
}

int main(int argc, char** argv)
{
    // Console lines are part of the interface; show each as it happens even
    // when standard output is a pipe or a file.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    ResetSimulation();
    RecorderOptions recorder;
    if (!TakeRecorderOptions(argc, argv, recorder))
        return EXIT_USAGE;
    NetOptions net;
    if (!TakeNetOptions(argc, argv, net))
        return EXIT_USAGE;
    if ((net.connect || net.host) && (recorder.play || recorder.timedemo || recorder.track)) {
        fprintf(stderr, "pelorin: a replay cannot be shown in a shared sky\n");
        return EXIT_USAGE;
    }
    // The track needs no window, so not the toolkit either.
    if (recorder.track)
        return NoArgumentsLeft(argc, argv) ? RunTrack(recorder.track) : EXIT_USAGE;
    std::string geometry;
    InitWindowSize(argc, argv, geometry);
    glutInit(&argc, argv);
    bool fullScreen = TakeFullScreenOption(argc, argv);
    char soundOptionError[256];
    if (!TakeSoundOptions(argc, argv, soundOptionError, sizeof soundOptionError)) {
        fprintf(stderr, "pelorin: %s\n", soundOptionError);
        return EXIT_USAGE;
    }
    if (!NoArgumentsLeft(argc, argv))
        return EXIT_USAGE;
    const char* shown = recorder.play ? recorder.play : recorder.timedemo;
    if (shown && !LoadReplayFile(shown, shownRecording))
        return 1;
    // Joined before the window opens, so that a refusal is one line and no window.
    if (net.connect || net.host) {
        if (!JoinServer(net))
            return 1;
        atexit(LeaveServer);
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
    glutCloseFunc(WindowClosed);
    KeepConnectionDuringSetup();
    SetupScene();
    EndSetupConnection();
    if (fullScreen)
        ToggleFullScreen();
    replayExplosionShown = BuildExplosionList;
    if (recorder.timedemo) {
        // One frame per step and no clock: the same frames in every run.
        StartTimedemoMode(shownRecording);
        glutMainLoop();
        return 1;
    }
    if (recorder.play) {
        StartPlayMode(shownRecording);
    } else {
        StartRecorder();
        std::string error;
        if (recorder.record && !RecordToFile(recorder.record, error)) {
            fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        // The simulation below asks for its timer and reads the controller
        // through hooks, so that it stays free of the toolkit.
        armExplosionTimer = ArmExplosionTimer;
        if (StartGamepad())
            readController = ReadGamepad;
    }
    glutDisplayFunc(RenderSceneThenStartSound);
    StartClockTimer();
    StartFlightTimer();
    StartLifeTimer();
    glutMainLoop();
    return 1;
}
