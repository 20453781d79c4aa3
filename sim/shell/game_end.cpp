// What every end of the game does before the program ends.
#include "sim/shell/game_end.h"

#include <cstdlib>

#include "sim/flight/life.h"
#include "sim/shell/course_play.h"
#include "sim/shell/gamepad.h"
#include "sim/shell/recorder.h"
#include "sim/shell/settings.h"

void FinishGame()
{
    FinishRecording();
    KeepBestRun();
    FinishSimSettings();
    StopGamepad();
    FreeLife();
}

void QuitGame()
{
    FinishGame();
    exit(0);
}
