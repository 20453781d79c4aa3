// Undo and redo: the grids the user has made, kept whole so that going back
// and forth gives exactly the heights that were there, random ones included.
// No GL.
#pragma once

#include <vector>

namespace editor {

const int UNDO_LEVELS = 200; // edits that can be taken back, oldest dropped first

// The grid states in the order they were made, in a ring of UNDO_LEVELS + 1
// snapshots of GRID_CELLS heights: the oldest state kept and every edit after
// it. `at` is the state the grid shows when no edit is under way; the states
// after it are what redo brings back.
struct EditHistory {
    std::vector<int> states; // (UNDO_LEVELS + 1) * GRID_CELLS once started, empty before
    int oldest = 0;          // ring slot of the oldest state kept
    int count = 0;           // states kept; 0 until StartHistory
    int at = 0;              // the current state, counted from the oldest
};

extern EditHistory editHistory; // EditHistory{} at start

// No history kept (its memory released): the start state.
void ResetHistoryState();

// Forgets every edit and keeps the grid as it is now as the only state, as
// at start and after the file named on the command line is read.
void StartHistory();

// Closes the edit under way: a grid that differs from the current state
// becomes a new state, one undo level, and whatever redo could have
// brought back is dropped. Returns whether there was a change to keep. A
// press, a release, an open and the undo keys call it, so a whole drag, from
// press to release, is one edit.
bool RecordEdit();

// Closes the edit under way, then puts the grid back one state (undo) or
// forward one (redo). Returns false, changing nothing, when there is none.
bool UndoEdit();
bool RedoEdit();

} // namespace editor
