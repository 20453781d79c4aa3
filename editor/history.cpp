// The editor's undo history: a ring of whole-grid snapshots.
#include "editor/history.h"

#include <algorithm>

#include "editor/grid.h"

namespace editor {

EditHistory editHistory;

void ResetHistoryState()
{
    editHistory = EditHistory();
}

const int HISTORY_SLOTS = UNDO_LEVELS + 1; // the oldest state and one per level

static int* StateAt(int index)
{
    int slot = (editHistory.oldest + index) % HISTORY_SLOTS;
    return editHistory.states.data() + (size_t)slot * GRID_CELLS;
}

void StartHistory()
{
    // One block for the whole ring, taken once: the history never grows.
    editHistory.states.assign((size_t)HISTORY_SLOTS * GRID_CELLS, 0);
    editHistory.oldest = 0;
    editHistory.count = 1;
    editHistory.at = 0;
    std::copy(gridHeights, gridHeights + GRID_CELLS, StateAt(0));
}

bool RecordEdit()
{
    if (editHistory.count == 0)
        StartHistory();
    if (std::equal(gridHeights, gridHeights + GRID_CELLS, StateAt(editHistory.at)))
        return false;
    // Anything redo could have brought back belongs to another line of edits.
    editHistory.count = editHistory.at + 1;
    if (editHistory.count == HISTORY_SLOTS) {
        editHistory.oldest = (editHistory.oldest + 1) % HISTORY_SLOTS;
        editHistory.count--;
    }
    editHistory.at = editHistory.count;
    editHistory.count++;
    std::copy(gridHeights, gridHeights + GRID_CELLS, StateAt(editHistory.at));
    return true;
}

bool UndoEdit()
{
    RecordEdit();
    if (editHistory.at == 0)
        return false;
    editHistory.at--;
    LoadGridHeights(StateAt(editHistory.at));
    return true;
}

bool RedoEdit()
{
    RecordEdit();
    if (editHistory.at + 1 >= editHistory.count)
        return false;
    editHistory.at++;
    LoadGridHeights(StateAt(editHistory.at));
    return true;
}

} // namespace editor
