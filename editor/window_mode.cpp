// Start size, full screen and screenshots of the editor's window.
#include "editor/window_mode.h"

#include "editor/overlay.h"
#include "editor/view.h"
#include "toolkit/window_mode.h"

namespace editor {

WindowPlace windowedPlace;

void ResetWindowModeState()
{
    windowedPlace = {0, 0, 0, 0};
}

void InitWindowSize(int argc, char** argv, std::string& geometry)
{
    StartWindowSize((int)windowWidth, (int)windowHeight, argc, argv, geometry);
}

WindowPlace WindowedPlace()
{
    bool fullScreen = false;
    return CurrentWindowPlace(windowedPlace, fullScreen);
}

void ToggleFullScreen()
{
    ToggleWindowFullScreen(windowedPlace);
}

// The frame as the display callback shows it, margins included.
static void DrawWholeFrame()
{
    DrawEditorFrame();
    DrawEditorOverlay();
}

bool WindowKey(int key)
{
    return HandleWindowKey(key, windowedPlace, DrawWholeFrame, (int)windowWidth, (int)windowHeight);
}

} // namespace editor
