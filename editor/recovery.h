// Keeping unsaved work when the window is closed: the grid goes to a
// recovery file that the editor opens like any other landscape.
#pragma once

#include <string>

namespace editor {

// Where the recovery file goes: $XDG_STATE_HOME/pelorin/editor-recovery.dmf,
// or ~/.local/state/pelorin/ when XDG_STATE_HOME is unset, empty or relative
// (relative ones are to be ignored, as the base directory rules say). Either
// argument may be null; empty when neither gives an absolute folder.
std::string RecoveryPath(const char* stateHome, const char* home);

// Creates every missing folder of `path` up to its file, each readable by
// its owner only (the state folders' rule). False with a reason on failure.
bool CreateFoldersFor(const std::string& path, std::string& reason);

// The close: with unsaved changes, writes the grid to the recovery file of
// this user's environment and prints "Unsaved changes kept in PATH", or
// "Unsaved changes could not be kept: REASON". A clean grid writes nothing.
void KeepUnsavedWork();

} // namespace editor
