// What both programs do with their one window through the toolkit beyond its
// own calls: the start size around -geometry, full screen and back, and the
// F11 and F12 keys. Each program keeps its own window's place and hands in
// its own frame.
#pragma once

#include <string>

#include "common/window_options.h"

// Before glutInit: the start size `width` x `height`, which glutInit's
// -geometry then overrides; `geometry` keeps the option's text, made whole,
// until then.
void StartWindowSize(int width, int height, int argc, char** argv, std::string& geometry);
// After glutInit, before the window is made: its size, and its place when
// `place` names one (x and y not both -1), as a settings file keeps them.
void StartWindowPlace(const WindowPlace& place);
// Where the current window is and how large, as ToggleWindowFullScreen keeps
// it; in full screen the place kept in `windowed`. `fullScreen` tells which.
WindowPlace CurrentWindowPlace(const WindowPlace& windowed, bool& fullScreen);
// Full screen, keeping in `windowed` where the window was, or back there.
void ToggleWindowFullScreen(WindowPlace& windowed);
// Draws the frame with `drawFrame`, reads the back buffer's `width` x
// `height` pixels before the swap that shows them, shows them and writes
// them to a PNG file (common/screenshot.h).
void SaveFrameAsScreenshot(void (*drawFrame)(), int width, int height);
// F11 (full screen) and F12 (a screenshot); true when `key` was one of them.
bool HandleWindowKey(int key, WindowPlace& windowed, void (*drawFrame)(), int width, int height);
