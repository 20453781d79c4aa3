// Keeping unsaved work when the window is closed or the program ends: the
// grid goes to a recovery file of its own that the editor opens like any
// other landscape.
#pragma once

#include <ctime>
#include <string>

namespace editor {

void ResetRecoveryState();

// The folder recovery files go to: $XDG_STATE_HOME/pelorin, or
// ~/.local/state/pelorin when XDG_STATE_HOME is unset, empty or relative (the
// home folder by HomeFolder's rule). Empty when neither gives an absolute
// folder.
std::string RecoveryFolder(const char* stateHome, const std::string& home);

// "editor-recovery-YYYYmmdd-HHMMSS.dmf" for `when`; attempt 2 and up put
// "-N" before ".dmf", so that no close replaces the file of another.
std::string RecoveryName(const struct tm& when, int attempt);

// How many recovery files wait in `folder`.
int CountRecoveryFiles(const std::string& folder);

// Creates every missing folder of `path` up to its file, each readable by
// its owner only (the state folders' rule). False with a reason on failure.
bool CreateFoldersFor(const std::string& path, std::string& reason);

// The close, or the program's end by any other way (an exit handler): with
// unsaved changes, writes the grid to a new recovery file of this user's
// environment and prints "Unsaved changes kept in PATH", or "Unsaved changes
// could not be kept: REASON". A clean grid writes nothing; a second call
// nothing either.
void KeepUnsavedWork();

// At start, one line when recovery files wait: how many, and where.
void ReportWaitingRecoveryFiles();

} // namespace editor
