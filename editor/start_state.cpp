// The editor's start state: every owner's reset.
#include "editor/start_state.h"

#include "common/random.h"
#include "editor/grid.h"
#include "editor/history.h"
#include "editor/overlay.h"
#include "editor/recovery.h"
#include "editor/save.h"
#include "editor/settings.h"
#include "editor/tools.h"
#include "editor/view.h"
#include "toolkit/window_mode.h"

namespace editor {

void ResetEditor()
{
    ResetGridState();
    ResetHistoryState();
    ResetSaveState();
    ResetOverlayState();
    ResetRecoveryState();
    ResetToolsState();
    ResetWindowState();
    ResetWindowModeState();
    ResetEditorSettingsState();
    ResetRandom();
}

} // namespace editor
