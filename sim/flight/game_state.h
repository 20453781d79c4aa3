// The game's states around the flight: paused, and the restart question
// open. The keys, a crash's explosion and the restart set them; the step and
// the day clock stand still while paused.
#pragma once

extern int paused;
extern int restartPrompt; // "Restart game? (Y/N)" is open

// Running, nothing asked: the start state.
void ResetGameState();
