// The sound at the program's edge: every SDL audio call of the simulator. The
// default playback device, opened once, pulls its samples from the mixer
// through the scene the steps post; the game never waits for it.
#pragma once

// Opens the default playback device (SDL_AUDIODRIVER chooses the driver):
// stereo, 16-bit, at the device's rate, 1024 frames a buffer, and starts it.
// Returns false, after one line on standard error saying why, when there is
// no device to be had; the game then flies silent until WatchSound finds
// one. Closes the device at exit.
bool StartSound();
// Closes the device and SDL's audio; nothing when none is open.
void StopSound();
// Once a second: notices a device that went away (one line on standard
// error) and, while there is none, tries to open one every few seconds on a
// thread of its own, so that no frame waits; one line when it plays again.
// Nothing before StartSound.
void WatchSound();
// F9: while the device is gone, tries at once.
void RetrySoundNow();
