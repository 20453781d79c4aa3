// The pause and the restart question.
#include "sim/flight/game_state.h"

int paused;
int restartPrompt;

void ResetGameState()
{
    paused = 0;
    restartPrompt = 0;
}
