// Start size, full screen and screenshots of the editor's window.
#include "editor/window_mode.h"

#include <GL/freeglut.h>
#include <cstdint>
#include <vector>

#include "common/screenshot.h"
#include "editor/overlay.h"
#include "editor/view.h"

namespace editor {

WindowPlace windowedPlace;

void ResetWindowModeState()
{
    windowedPlace = {0, 0, 0, 0};
}

void InitWindowSize(int argc, char** argv, std::string& geometry)
{
    glutInitWindowSize((int)windowWidth, (int)windowHeight);
    CompleteGeometryOption(argc, argv, (int)windowWidth, (int)windowHeight, geometry);
}

bool TakeFullScreenOption(int& argc, char** argv)
{
    return TakeOption(argc, argv, "--fullscreen");
}

void ToggleFullScreen()
{
    if (glutGet(GLUT_FULL_SCREEN)) {
        glutLeaveFullScreen();
        // A window manager puts the window back itself; without one the
        // toolkit gives back only the size, so the place is given too.
        glutPositionWindow(windowedPlace.x, windowedPlace.y);
        glutReshapeWindow(windowedPlace.width, windowedPlace.height);
        return;
    }
    windowedPlace = {glutGet(GLUT_WINDOW_X) - glutGet(GLUT_WINDOW_BORDER_WIDTH),
                     glutGet(GLUT_WINDOW_Y) - glutGet(GLUT_WINDOW_HEADER_HEIGHT), glutGet(GLUT_WINDOW_WIDTH),
                     glutGet(GLUT_WINDOW_HEIGHT)};
    glutFullScreen();
    // Without a window manager the toolkit sizes the window to the screen
    // but moves it by its own offset, away from the corner.
    glutPositionWindow(0, 0);
}

void TakeScreenshot()
{
    int width = (int)windowWidth, height = (int)windowHeight;
    // The frame as the display callback would show it now, read back before
    // the swap that shows it.
    DrawEditorFrame();
    DrawEditorOverlay();
    std::vector<uint8_t> rgb((size_t)width * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glutSwapBuffers();
    SaveScreenshot(width, height, rgb);
}

bool WindowKey(int key)
{
    switch (key) {
    case GLUT_KEY_F11:
        ToggleFullScreen();
        return true;
    case GLUT_KEY_F12:
        TakeScreenshot();
        return true;
    default:
        return false;
    }
}

} // namespace editor
