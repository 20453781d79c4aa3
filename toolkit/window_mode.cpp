// The start size, full screen and screenshots of a program's window.
#include "toolkit/window_mode.h"

#include <GL/freeglut.h>
#include <cstdint>
#include <vector>

#include "common/screenshot.h"

// Where the window was before it went full screen, for F11 to go back.
static WindowPlace windowedPlace;

void ResetWindowModeState()
{
    windowedPlace = {0, 0, 0, 0};
}

void StartWindowSize(int width, int height, int argc, char** argv, std::string& geometry)
{
    glutInitWindowSize(width, height);
    CompleteGeometryOption(argc, argv, width, height, geometry);
}

void StartWindowPlace(const WindowPlace& place)
{
    glutInitWindowSize(place.width, place.height);
    if (place.x != -1 || place.y != -1)
        glutInitWindowPosition(place.x, place.y);
}

// The window's outer corner, decorations included, and its inner size.
static WindowPlace LiveWindowPlace()
{
    return {glutGet(GLUT_WINDOW_X) - glutGet(GLUT_WINDOW_BORDER_WIDTH),
            glutGet(GLUT_WINDOW_Y) - glutGet(GLUT_WINDOW_HEADER_HEIGHT), glutGet(GLUT_WINDOW_WIDTH),
            glutGet(GLUT_WINDOW_HEIGHT)};
}

WindowPlace CurrentWindowPlace(bool& fullScreen)
{
    fullScreen = glutGet(GLUT_FULL_SCREEN) != 0;
    return fullScreen ? windowedPlace : LiveWindowPlace();
}

void ToggleFullScreen()
{
    WindowPlace& windowed = windowedPlace;
    if (glutGet(GLUT_FULL_SCREEN)) {
        glutLeaveFullScreen();
        // A window manager puts the window back itself; without one the
        // toolkit gives back only the size, so the place is given too.
        glutPositionWindow(windowed.x, windowed.y);
        glutReshapeWindow(windowed.width, windowed.height);
        return;
    }
    windowed = LiveWindowPlace();
    glutFullScreen();
    // Without a window manager the toolkit sizes the window to the screen
    // but moves it by its own offset, away from the corner.
    glutPositionWindow(0, 0);
}

void SaveFrameAsScreenshot(void (*drawFrame)(), int width, int height)
{
    drawFrame();
    std::vector<uint8_t> rgb((size_t)width * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glutSwapBuffers();
    SaveScreenshot(width, height, rgb);
}

bool WindowKey(int key, void (*drawFrame)(), int width, int height)
{
    switch (key) {
    case GLUT_KEY_F11:
        ToggleFullScreen();
        return true;
    case GLUT_KEY_F12:
        SaveFrameAsScreenshot(drawFrame, width, height);
        return true;
    default:
        return false;
    }
}
