// The editor's start state: every owner's reset.
#include "editor/start_state.h"

#include "common/random.h"
#include "editor/grid.h"
#include "editor/tools.h"
#include "editor/view.h"

namespace editor {

void ResetEditor()
{
    ResetGridState();
    ResetToolsState();
    ResetWindowState();
    ResetRandom();
}

} // namespace editor
