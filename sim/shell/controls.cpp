// The GLUT side of the pilot's input: the keyboard, the special keys and the
// mouse. A flight key or an arrow goes into the next step's record; every
// other key acts at once through the pilot's key table, then its GL side.
#include "sim/shell/controls.h"

#include <GL/glut.h>

#include "sim/flight/flight_keys.h"
#include "sim/render/camera.h"
#include "sim/render/frame.h"
#include "sim/shell/audio.h"
#include "sim/shell/key_help.h"
#include "sim/shell/live_step.h"
#include "sim/shell/pilot_keys.h"
#include "sim/shell/net_client.h"
#include "sim/shell/replay_modes.h"
#include "sim/shell/scene.h"
#include "sim/shell/settings.h"
#include "sim/shell/sound_feed.h"
#include "sim/view/view_state.h"
#include "toolkit/window_mode.h"

static_assert(GLUT_KEY_LEFT == ARROW_LEFT && GLUT_KEY_UP == ARROW_UP && GLUT_KEY_RIGHT == ARROW_RIGHT &&
                  GLUT_KEY_DOWN == ARROW_DOWN,
              "the step's arrows keep the toolkit's codes");

int dragMode;
int lastMouseX;
int lastMouseY;

void ResetControlsState()
{
    dragMode = 0;
    lastMouseX = -1;
    lastMouseY = -1;
}

static const float DOLLY_PER_PIXEL = 25.0f;    // drag mode 2, world units
static const float DRAG_ROLL_PER_PIXEL = 0.25f; // drag mode 2, degrees
static const float PAN_PER_PIXEL = 3.0f;       // drag mode 3, world units
static const float ZOOM_PER_PIXEL = 3.0f;      // drag modes 4 and 5, world units

void ApplyKeyEffect(KeyEffect effect)
{
    switch (effect) {
    case KEY_FOG_DENSITY:
        glFogf(GL_FOG_DENSITY, fogDensity);
        SetLinearFogRange();
        break;
    case KEY_FOG_MODE:
        if (fogMode == 0) {
            glDisable(GL_FOG);
        } else {
            static const GLint MODES[4] = {GL_EXP, GL_EXP, GL_EXP2, GL_LINEAR};
            glEnable(GL_FOG);
            glFogi(GL_FOG_MODE, MODES[fogMode]);
            SetLinearFogRange();
        }
        break;
    case KEY_TEXTURES:
        if (texturesOn)
            glEnable(GL_TEXTURE_2D);
        else
            glDisable(GL_TEXTURE_2D);
        break;
    case KEY_SPOT_LIGHT:
        glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, spotLightOn ? GL_TRUE : GL_FALSE);
        if (spotLightOn)
            glEnable(GL_LIGHT3);
        else
            glDisable(GL_LIGHT3);
        break;
    case KEY_DONE:
        break;
    }
}

// Drag mode for a button in a view; 0 where that pair has none (the mode is then kept).
static int DragModeFor(int view, int button)
{
    static const int MODES[7][3] = {
        // left, middle, right
        {0, 0, 0}, // no view 0
        {0, 0, 0}, // 1 cockpit
        {0, 4, 0}, // 2 chase
        {1, 2, 3}, // 3 fixed
        {0, 0, 0}, // 4 tower
        {0, 5, 0}, // 5 overhead
        {6, 4, 0}, // 6 orbit
    };
    if (view < 0 || view > 6 || button < 0 || button > 2)
        return 0;
    return MODES[view][button];
}

void PressMouse(int button, int state, int x, int y)
{
    if (state == GLUT_DOWN) {
        lastMouseX = x;
        lastMouseY = y;
        int mode = DragModeFor(viewMode, button);
        if (mode != 0)
            dragMode = mode;
    } else if (state == GLUT_UP) {
        dragMode = 0;
        lastMouseX = -1;
        lastMouseY = -1;
    }
}

void DragMouse(int x, int y)
{
    if (lastMouseX != -1 && lastMouseY != -1) {
        int dx = lastMouseX - x;
        int dy = y - lastMouseY;
        switch (dragMode) {
        case 1:
        case 6: {
            Vec3 worldUp = {0.0f, 1.0f, 0.0f};
            RotateBody(camera, (float)dx, worldUp);
            RotateBody(camera, (float)(lastMouseY - y), camera.normal);
            break;
        }
        case 2: {
            float back = (float)dy * DOLLY_PER_PIXEL;
            camera.pos.x -= camera.dir.x * back;
            camera.pos.y -= camera.dir.y * back;
            camera.pos.z -= camera.dir.z * back;
            RotateBody(camera, (float)dx * DRAG_ROLL_PER_PIXEL, camera.dir);
            break;
        }
        case 3: {
            float side = (float)(x - lastMouseX) * PAN_PER_PIXEL;
            float lift = (float)dy * PAN_PER_PIXEL;
            camera.pos.x += camera.normal.x * side + camera.up.x * lift;
            camera.pos.y += camera.normal.y * side + camera.up.y * lift;
            camera.pos.z += camera.normal.z * side + camera.up.z * lift;
            break;
        }
        case 4:
            chaseDistance += (float)dy * ZOOM_PER_PIXEL;
            break;
        case 5:
            overheadHeight += (float)dy * ZOOM_PER_PIXEL;
            break;
        default:
            break;
        }
    }
    lastMouseX = x;
    lastMouseY = y;
}

bool TakeKey(unsigned char key)
{
    if (ReplayTakesKey(key))
        return false;
    if (FlightKey(key)) {
        AddLiveKey(key);
        return false;
    }
    KeyEffect effect = PilotKey(key);
    ApplyKeyEffect(effect);
    return effect == KEY_FOG_DENSITY;
}

void TakeSpecialKey(int key)
{
    WindowKey(key, DrawFrame, (int)windowWidth, (int)windowHeight);
    switch (key) {
    case GLUT_KEY_F9:
        ToggleSound();
        // A device that went away is tried at once rather than at the next round.
        RetrySoundNow();
        break;
    case GLUT_KEY_LEFT:
    case GLUT_KEY_UP:
    case GLUT_KEY_RIGHT:
    case GLUT_KEY_DOWN:
        if (!ReplayShows())
            AddLiveArrow(key);
        break;
    default:
        break;
    }
}

void Keyboard(unsigned char key, int /*x*/, int /*y*/)
{
    if (HelpTakesKey(key)) {
        glutPostRedisplay();
        return;
    }
    if (NetPlayerListKey(key)) {
        glutPostRedisplay();
        return;
    }
    bool twice = TakeKey(key);
    RefreshHelp();
    glutPostRedisplay();
    if (twice)
        glutPostRedisplay();
}

void SpecialKeys(int key, int /*x*/, int /*y*/)
{
    if (HelpTakesSpecialKey(key)) {
        glutPostRedisplay();
        return;
    }
    TakeSpecialKey(key);
    RefreshHelp();
    glutPostRedisplay();
}

void MouseButton(int button, int state, int x, int y)
{
    PressMouse(button, state, x, y);
    glutPostRedisplay();
}

void MouseMotion(int x, int y)
{
    DragMouse(x, y);
    glutPostRedisplay();
}
