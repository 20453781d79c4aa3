// The recorder's three ways of showing a flight, wired to the window and the
// timers: --play (a recording at real speed), --timedemo (every step with one
// frame after it, as fast as the machine goes) and the instant replay (Ctrl+R
// in live play: the last 30 seconds, then the live game exactly as it was).
#pragma once

#include <string>

#include "common/flight_recording.h"
#include "sim/flight/explosion.h"

const unsigned char KEY_CTRL_R = 18;          // Ctrl+R in the keyboard callback
const int64_t INSTANT_REPLAY_STEPS = 3000;    // 30 s of steps
const unsigned char REPLAY_FAST_KEY = 'f';    // held: the replay runs REPLAY_FAST_STEPS times as fast
const int REPLAY_FAST_STEPS = 4;
const unsigned char REPLAY_SKIP_KEY = 's';    // the replay runs on to where something next changes


// After the window and the scene are set up: the recording takes the place
// of the pilot. The recording must outlive the program's main loop.
// The other jets of a recording made in a shared sky, from the side file
// beside `recordingPath` when there is one, shown by --play and --timedemo
// at the steps they came; a damaged side file is shown up to the damage,
// after one line. Nothing without a side file.
void LoadFriendsBeside(const std::string& recordingPath);
void StartPlayMode(const Recording& recording);
void StartTimedemoMode(const Recording& recording);
// One due step of the flight timer: the live step and its recording, or the
// next step of a replay; then the sound's look at it. A quit in the live
// step's record ends the game here, after the step.
void RunOneStep();
// The keyboard before the pilot's table: Ctrl+R, and every key while a
// replay shows (p pauses the replay, f held plays it faster, s skips to
// where something changes, Q ends the game, P prints the replayed state, the
// flight keys do nothing). True when the key was taken here.
bool ReplayTakesKey(unsigned char key);
// The keyboard's release: `f` let go, the replay goes at its own speed again.
void ReplayKeyUp(unsigned char key, int x, int y);
// A replay shows (--play, --timedemo or the instant replay): the flight
// keys and arrows fly nothing, and the explosion's frames come from the
// recording, not from a timer.
bool ReplayShows();
// The live chain's frame as built, so the instant replay can put it back.
void NoteLiveExplosionFrame(const ExplosionQuad& quad);
// Ctrl+R: the instant replay from the recorder's last snapshot 30 s back
// (or the flight's start), and its end, with the live game put back.
void StartInstantReplay();
void EndInstantReplay();
bool InstantReplayRunning();
// A replay the viewer paused, or one that has ended on its last frame: the
// flight stands still, and so should its sound.
bool ReplayStandsStill();
// Live play, no replay: the start state.
void ResetReplayModesState();
