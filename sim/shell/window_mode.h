// The simulator's window: its start size and -geometry, full screen at
// start (--fullscreen, the settings) and on F11, and F12's screenshot of the frame.
#pragma once

#include <string>

#include "common/window_options.h"

extern WindowPlace windowedPlace; // where the window was before it went full screen

// No place kept yet (F11 keeps one before it goes full screen): the start state.
void ResetWindowModeState();
// Before glutInit: the start size, which glutInit's -geometry then
// overrides; `geometry` keeps the option's text, made whole, until then.
void InitWindowSize(int argc, char** argv, std::string& geometry);
// Where the window is, or in full screen where it was before; `fullScreen`
// tells which.
WindowPlace WindowedPlace(bool& fullScreen);
// Full screen, or back to the size and place the window had before.
void ToggleFullScreen();
// F11 (full screen) and F12 (the frame as a PNG file, common/screenshot.h);
// true when `key` was one of them.
bool WindowKey(int key);
