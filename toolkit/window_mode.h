// What both programs do with their one window through the toolkit beyond its
// own calls: the start size around -geometry and the place a settings file
// keeps, full screen at start (--fullscreen) and on F11 and back, and F12's screenshot of the frame. Each
// program hands in its own size and its own frame.
#pragma once

#include <string>

#include "common/window_options.h"

// No place kept yet (F11 keeps one before it goes full screen): the start state.
void ResetWindowModeState();
// Before glutInit: the start size `width` x `height`, which glutInit's
// -geometry then overrides; `geometry` keeps the option's text, made whole,
// until then.
void StartWindowSize(int width, int height, int argc, char** argv, std::string& geometry);
// After glutInit, before the window is made: its size, and its place when
// `place` names one (x and y not both -1), as a settings file keeps them.
void StartWindowPlace(const WindowPlace& place);
// Where the current window is and how large; in full screen the place it had
// before, which F11 goes back to. `fullScreen` tells which.
WindowPlace CurrentWindowPlace(bool& fullScreen);
// Full screen, keeping where the window was, or back there.
void ToggleFullScreen();
// Draws the frame with `drawFrame`, reads the back buffer's `width` x
// `height` pixels before the swap that shows them, shows them and writes
// them to a PNG file (common/screenshot.h).
void SaveFrameAsScreenshot(void (*drawFrame)(), int width, int height);
// F11 (full screen) and F12 (a screenshot of the frame `drawFrame` draws, the
// window being `width` x `height`); true when `key` was one of them.
bool WindowKey(int key, void (*drawFrame)(), int width, int height);
