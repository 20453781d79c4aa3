// The editor's settings kept between runs in pelorin-editor.conf
// (common/settings_file.h): its window's size and place, and the folder it
// last opened or saved a landscape in.
#pragma once

#include <string>

#include "common/window_options.h"

namespace editor {

// Reads the settings file; a damaged or unreadable one gets one line on
// standard error and is left alone for this run.
void LoadEditorSettings();
// The window the file asks for: false when it names no size.
bool EditorSettingsWindow(WindowPlace& place);
// The folder the last landscape was opened or saved in, "" when none.
std::string LastFolder();
// A landscape was opened or saved as `path`: its folder is the one kept.
void NoteLandscapeFile(const char* path);
// Once the window is up: the file is kept from now on. `geometry` tells
// that -geometry set the window for this run only.
void KeepEditorSettings(bool geometry);
// Once the window stands where it was put (a second in): what the editor
// starts with, so that only what changes later is written back.
void NoteEditorSettingsStart();
// Writes the file when what it should hold changed (at each save and open,
// and at the window's close).
void SaveEditorSettingsIfChanged();
// No file, nothing kept: the start state.
void ResetEditorSettingsState();

} // namespace editor
