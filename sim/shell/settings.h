// The simulator's settings kept between runs in pelorin.conf
// (common/settings_file.h): the sound, the view and display, the console's
// quiet and the window. Read at the start under the command line's options,
// written when the game changes one of them and at its end.
#pragma once

#include "common/window_options.h"
#include "sim/shell/options.h"

// Reads the settings file, if there is one, into the globals it keeps. A
// damaged or unreadable file gets one line on standard error and is never
// written over in this run.
void LoadSimSettings();
// The window the file asks for: false when it names no size.
bool SettingsWindow(WindowPlace& place, bool& fullScreen);
// Live play only, once the options are applied and the window is up: from
// then on the file is kept; what `options` set for this run is written back
// only once the game changes it from what it was at the first save.
void KeepSimSettings(const SimOptions& options);
// Writes the file, on a thread of its own, when what it should hold differs
// from what was last written (each second); nothing while the instant
// replay shows its own view (`instantReplay`).
void SaveSimSettingsIfChanged(bool instantReplay);
// At the game's end: the last values written, and every write done.
void FinishSimSettings();
// No file, nothing kept: the start state.
void ResetSettingsState();
