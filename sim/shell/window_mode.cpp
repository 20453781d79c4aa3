// Start size, full screen and screenshots of the simulator's window.
#include "sim/shell/window_mode.h"

#include "sim/render/frame.h"
#include "sim/view/view_state.h"
#include "toolkit/window_mode.h"

WindowPlace windowedPlace;

void ResetWindowModeState()
{
    windowedPlace = {0, 0, 0, 0};
}

void InitWindowSize(int argc, char** argv, std::string& geometry)
{
    StartWindowSize((int)windowWidth, (int)windowHeight, argc, argv, geometry);
}

WindowPlace WindowedPlace(bool& fullScreen)
{
    return CurrentWindowPlace(windowedPlace, fullScreen);
}

void ToggleFullScreen()
{
    ToggleWindowFullScreen(windowedPlace);
}

bool WindowKey(int key)
{
    return HandleWindowKey(key, windowedPlace, DrawFrame, (int)windowWidth, (int)windowHeight);
}
