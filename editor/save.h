// Saving the editor's grid as a landscape file under a name typed on the
// console, and knowing whether the grid holds work that no file holds yet.
#pragma once

#include <cstdio>
#include <vector>

namespace editor {

// The heights as last opened or saved, in the grid's order; empty (the start
// value) stands for the flat grid the editor starts with.
extern std::vector<int> savedHeights;

// Nothing opened or saved: the start state.
void ResetSaveState();

// The grid as it is now is what a file holds: after a save or a clean open.
void MarkGridSaved();

// Whether the grid differs from what was last opened or saved, undo and redo
// included: undoing back to the saved grid leaves nothing unsaved.
bool GridHasUnsavedChanges();

// Writes the whole grid to the file `fileName` names (SaveLandscapeFile says
// how links, devices and read-only folders are met). Prints nothing on
// success; on failure prints one line naming the file and the reason, and
// whether the file was left as it was or may be incomplete, and returns
// false. The grid is never changed; a success marks it saved.
bool SaveLandscape(const char* fileName);

// The "w" flow: prompts "Writing to what filename? ", reads one word from
// `console` and saves under it. A missing or over-long name saves nothing.
void SaveFlow(FILE* console);

} // namespace editor
