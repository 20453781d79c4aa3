// Opening a landscape file into the editor's grid: from the command line at
// start, or by name typed on the console.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace editor {

// Decodes landscape text for the editor, with the simulator's scanner: the
// grid must be GRID_SIZE a side, every height a number. `heights` receives
// GRID_CELLS values in the grid's order (file line x, position y is point
// (x, y)), each as the editor stores it: negatives become 0, reals the whole
// number below them, values past the int range the largest int. `changed`
// counts the heights that thereby differ from the file's. On refusal returns
// false with a one-line `reason` that names `name`.
bool DecodeEditorLandscape(const char* data, size_t size, const char* name, std::vector<int>& heights,
                           int& changed, std::string& reason);

// Reads the file at `path` as DecodeEditorLandscape decodes it. Only a
// regular file is read: a folder, a named pipe or a device is refused
// without waiting, as is a missing or unreadable one.
bool ReadEditorLandscape(const char* path, std::vector<int>& heights, int& changed, std::string& reason);

// Ctrl+O's open: replaces the grid with the file's as one edit that undo
// takes back. Prints "Opened PATH" (with how many heights changed, if any)
// or, leaving the grid as it was, "Open failed, grid unchanged: REASON".
bool OpenLandscape(const char* path);

// The file named on the command line: read as OpenLandscape reads it, it
// becomes the grid the session starts from, with nothing to undo. On failure
// the flat grid stays.
bool OpenAtStart(const char* path);

// The Ctrl+O flow: prompts "Reading from what filename? ", reads one word
// from `console` as the save flow does and opens it.
void OpenFlow(FILE* console);

} // namespace editor
