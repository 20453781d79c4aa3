// Entry of the simulator: window, callbacks, set-up, timers, main loop.
#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/window_options.h"
#include "sim/flight/explosion.h"
#include "sim/render/explosion_list.h"
#include "sim/render/frame.h"
#include "sim/shell/audio.h"
#include "sim/shell/controls.h"
#include "sim/shell/course_play.h"
#include "sim/shell/game_end.h"
#include "sim/shell/gamepad.h"
#include "sim/shell/net_client.h"
#include "sim/shell/options.h"
#include "sim/shell/recorder.h"
#include "sim/shell/replay_file.h"
#include "sim/shell/replay.h"
#include "sim/shell/replay_modes.h"
#include "sim/shell/scene.h"
#include "sim/shell/settings.h"
#include "sim/shell/sound_feed.h"
#include "sim/shell/start_state.h"
#include "sim/shell/timers.h"
#include "sim/shell/track.h"
#include "sim/view/view_state.h"
#include "toolkit/window_mode.h"

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

// The small "F1: keys" line shows for a start's first seconds only.
const unsigned KEYS_HINT_MS = 10000;
const int KEYS_HINT_TIMER = 5;

static void HideKeysHint(int /*value*/)
{
    keysHintOn = 0;
    glutPostRedisplay();
}

// The window manager's close ends the game as Q does: a live game shown in
// the instant replay is put back first, and the recording gets its end, so
// the file replays to the very step the window closed at. The toolkit exits
// after this returns. Once only: the exit that follows runs EndGameAtExit.
static bool gameEnded;

static void WindowClosed()
{
    if (gameEnded)
        return;
    gameEnded = true;
    EndInstantReplay();
    FinishGame();
}

// Any other way out (the X connection lost, which ends the process inside
// Xlib) ends the game as the close does, so the recording keeps its end,
// whether or not the toolkit's own exit handler runs the close callback (the
// freeglut of Debian 12 does; older ones do not). The display may be gone:
// the explosion's list is not built again.
static void EndGameAtExit()
{
    replayExplosionShown = nullptr;
    WindowClosed();
}

int main(int argc, char** argv)
{
    // Console lines are part of the interface; show each as it happens even
    // when standard output is a pipe or a file.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    ResetSimulation();
    SimOptions options;
    switch (ReadSimOptions(argc, argv, options)) {
    case COMMAND_LINE_DONE:
        return 0;
    case COMMAND_LINE_USAGE:
        return EXIT_USAGE;
    case COMMAND_LINE_RUN:
        break;
    }
    const NetOptions& net = options.net;
    if ((net.connect || net.host) && (!options.play.empty() || !options.timedemo.empty() || !options.track.empty())) {
        fprintf(stderr, "pelorin: a replay cannot be shown in a shared sky\n");
        return EXIT_USAGE;
    }
    // The track needs no window, so not the toolkit either, nor the settings.
    if (!options.track.empty()) {
        if (options.toolkit.size() > 2) {
            UsageLine("pelorin", std::string("--track takes no X toolkit option such as ") + options.toolkit[1]);
            return EXIT_USAGE;
        }
        return RunTrack(options.track.c_str());
    }
    // A bad recording is refused before any window or display is asked for.
    const std::string& shown = options.play.empty() ? options.timedemo : options.play;
    if (!shown.empty() && !LoadReplayFile(shown.c_str(), shownRecording))
        return 1;
    // The ghost's replay runs the game's step over its global state, so it
    // comes before anything else (the settings and the sound's options
    // included) sets it up.
    PrepareCourse(options.course, options.play.empty() ? nullptr : options.play.c_str(), ResetSimulation);
    // A timedemo measures: its window and console are the same in every run,
    // whatever a player kept.
    if (options.timedemo.empty())
        LoadSimSettings();
    ApplySimOptions(options);
    int toolkitArgc = (int)options.toolkit.size() - 1;
    std::string geometry;
    StartWindowSize((int)windowWidth, (int)windowHeight, toolkitArgc, options.toolkit.data(), geometry);
    glutInit(&toolkitArgc, options.toolkit.data());
    WindowPlace keptPlace;
    bool keptFullScreen = false;
    if (SettingsWindow(keptPlace, keptFullScreen) && !options.geometry)
        StartWindowPlace(keptPlace);
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
    glutKeyboardUpFunc(ReplayKeyUp);
    glutMouseFunc(MouseButton);
    glutMotionFunc(MouseMotion);
    glutPassiveMotionFunc(PassiveMotion);
    glutCloseFunc(WindowClosed);
    atexit(EndGameAtExit);
    KeepConnectionDuringSetup();
    SetupScene();
    EndSetupConnection();
    if (options.fullScreen || keptFullScreen)
        ToggleFullScreen();
    replayExplosionShown = BuildExplosionList;
    // After every reset of the set-up, which forgets them.
    if (!shown.empty())
        LoadFriendsBeside(shown);
    if (!options.timedemo.empty()) {
        // One frame per step and no clock: the same frames in every run.
        StartTimedemoMode(shownRecording);
        glutMainLoop();
        return 1;
    }
    if (!options.play.empty()) {
        StartPlayMode(shownRecording);
    } else {
        StartRecorder();
        std::string error;
        if (!options.record.empty() && !RecordToFile(options.record.c_str(), error)) {
            fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        RecordCourseRun(options.record.empty() ? nullptr : options.record.c_str());
        // The simulation below asks for the explosion's timer through a hook,
        // so that it stays free of the toolkit; the controller is read into
        // each live step's record.
        armExplosionTimer = ArmExplosionTimer;
        StartGamepad();
        // What a replay shows is the recording's, never kept.
        KeepSimSettings(options);
    }
    glutDisplayFunc(RenderSceneThenStartSound);
    StartClockTimer();
    StartFlightTimer();
    StartLifeTimer();
    glutTimerFunc(KEYS_HINT_MS, HideKeysHint, KEYS_HINT_TIMER);
    glutMainLoop();
    return 1;
}
