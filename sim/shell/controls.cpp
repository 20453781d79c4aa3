// The pilot's key table, arrow keys and mouse drags, and their GLUT callbacks.
#include "sim/shell/controls.h"

#include <GL/glut.h>
#include <cstdio>
#include <cstdlib>

#include "sim/flight/aircraft.h"
#include "sim/flight/clock.h"
#include "sim/flight/ground_contact.h"
#include "sim/flight/life.h"
#include "sim/render/camera.h"
#include "sim/shell/net_client.h"
#include "sim/shell/recorder.h"
#include "sim/shell/replay_modes.h"
#include "sim/shell/scene.h"
#include "sim/shell/sound_feed.h"
#include "sim/shell/window_mode.h"
#include "sim/view/view_state.h"

int fogMode;
int spotLightOn;
int dragMode;
int lastMouseX;
int lastMouseY;

void ResetControlsState()
{
    fogMode = 0;
    spotLightOn = 0;
    dragMode = 0;
    lastMouseX = -1;
    lastMouseY = -1;
}

static const float THRUST_STEP_COARSE = 10.0f;
static const double FOG_DENSITY_UP = 1.1;
static const double FOG_DENSITY_DOWN = 0.90909090909090906; // 1/1.1
static const float FIELD_OF_VIEW_NARROW = 40.0f; // degrees
static const float FIELD_OF_VIEW_WIDE = 80.0f;
static const float FIELD_OF_VIEW_SWITCH = 60.0f;
static const float ARROW_TURN = 1.0f;          // degrees per press
static const float DOLLY_PER_PIXEL = 25.0f;    // drag mode 2, world units
static const float DRAG_ROLL_PER_PIXEL = 0.25f; // drag mode 2, degrees
static const float PAN_PER_PIXEL = 3.0f;       // drag mode 3, world units
static const float ZOOM_PER_PIXEL = 3.0f;      // drag modes 4 and 5, world units

static void ScaleFogDensity(double factor)
{
    fogDensity = (float)(fogDensity * factor);
    printf("fogDensity = %.6f\n", fogDensity);
}

KeyEffect PilotKey(unsigned char key)
{
    switch (key) {
    case '+':
    case '=':
        if (plane.thrust < THRUST_MAX)
            plane.thrust += 1.0f;
        break;
    case '-':
    case '_':
        if (plane.thrust > 0.0f)
            plane.thrust -= 1.0f;
        break;
    case ']':
        plane.thrust += THRUST_STEP_COARSE;
        if (plane.thrust > THRUST_MAX)
            plane.thrust = THRUST_MAX;
        break;
    case '[':
        plane.thrust -= THRUST_STEP_COARSE;
        if (plane.thrust < 0.0f)
            plane.thrust = 0.0f;
        break;
    case '\\':
        plane.thrust = 0.0f;
        break;
    case 'g':
        if (gearDown) {
            gearDown = 0;
            gearHeight = GEAR_UP_HEIGHT;
            printf("Raising landing gear\n");
        } else {
            gearDown = 1;
            gearHeight = GEAR_DOWN_HEIGHT;
            printf("Lowering landing gear\n");
        }
        soundEvents.gearMoves++;
        break;
    case 'M':
        flightModel = flightModel == 1 ? 0 : 1;
        break;
    case 'p':
        // The restart question keeps the game paused until it is answered.
        if (paused && !restartPrompt)
            paused = 0;
        else
            paused = 1;
        break;
    case 'R':
        restartPrompt = 1;
        paused = 1;
        break;
    case 'Y':
    case 'y':
        if (restartPrompt) {
            RestartGame();
            soundEvents.restarts++;
        }
        break;
    case 'N':
    case 'n':
        if (restartPrompt)
            return KEY_QUIT;
        break;
    case 'Q':
        return KEY_QUIT;
    case 'P':
        printf("Plane: ");
        PrintBody(plane);
        break;
    case '1':
        viewMode = 1;
        break;
    case '2':
        if (viewMode == 2) {
            viewMode = 6;
        } else {
            viewMode = 2;
            chaseDistance = CHASE_DISTANCE_START;
        }
        break;
    case '3':
        viewMode = 3;
        break;
    case '4':
        viewMode = 4;
        break;
    case '5':
        viewMode = 5;
        overheadHeight = OVERHEAD_HEIGHT_START;
        break;
    case 'w':
        fieldOfView = fieldOfView < FIELD_OF_VIEW_SWITCH ? FIELD_OF_VIEW_WIDE : FIELD_OF_VIEW_NARROW;
        break;
    case 'd':
        ScaleFogDensity(FOG_DENSITY_UP);
        return KEY_FOG_DENSITY;
    case 'D':
        ScaleFogDensity(FOG_DENSITY_DOWN);
        return KEY_FOG_DENSITY;
    case 'F':
        fogMode = (fogMode >= 0 && fogMode < 3) ? fogMode + 1 : 0;
        return KEY_FOG_MODE;
    case 'T':
        if (timePasses) {
            timePasses = 0;
            printf("Time has stopped.\n");
        } else {
            timePasses = 1;
            printf("Time passes by.\n");
        }
        break;
    case 't':
        texturesOn = texturesOn ? 0 : 1;
        return KEY_TEXTURES;
    case 'C':
        cullFaces = ~cullFaces;
        break;
    case 'c':
        overlayLightOn = overlayLightOn == 0 ? 1 : 0;
        break;
    case 'l':
        spotLightOn = spotLightOn ? 0 : 1;
        return KEY_SPOT_LIGHT;
    case 'L':
        if (lifeOn) {
            lifeOn = 0;
        } else {
            lifeOn = 1;
            StartLife();
        }
        break;
    case 'B':
        contactOutlineOn = contactOutlineOn == 0 ? 1 : 0;
        break;
    case 'z':
        sunHaloOn = sunHaloOn == 0 ? 1 : 0;
        break;
    default:
        break;
    }
    return KEY_DONE;
}

void ApplyKeyEffect(KeyEffect effect)
{
    switch (effect) {
    case KEY_FOG_DENSITY:
        glFogf(GL_FOG_DENSITY, fogDensity);
        break;
    case KEY_FOG_MODE:
        if (fogMode == 0) {
            glDisable(GL_FOG);
        } else {
            static const GLint MODES[4] = {GL_EXP, GL_EXP, GL_EXP2, GL_LINEAR};
            glEnable(GL_FOG);
            glFogi(GL_FOG_MODE, MODES[fogMode]);
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
    case KEY_QUIT:
        break;
    }
}

void FinishGame()
{
    FinishRecording();
    FreeLife();
}

void QuitGame()
{
    FinishGame();
    exit(0);
}

void PilotSpecialKey(int key)
{
    switch (key) {
    case GLUT_KEY_LEFT:
        RotateBody(plane, -ARROW_TURN, plane.dir);
        break;
    case GLUT_KEY_UP:
        RotateBody(plane, -ARROW_TURN, plane.normal);
        break;
    case GLUT_KEY_RIGHT:
        RotateBody(plane, ARROW_TURN, plane.dir);
        break;
    case GLUT_KEY_DOWN:
        RotateBody(plane, ARROW_TURN, plane.normal);
        break;
    case GLUT_KEY_F9:
        ToggleSound();
        break;
    default:
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

KeyEffect RecordedPilotKey(unsigned char key)
{
    bool restart = (key == 'Y' || key == 'y') && restartPrompt;
    RecordKey(key);
    KeyEffect effect = PilotKey(key);
    if (restart)
        RecordRestart();
    return effect;
}

void RecordedPilotSpecialKey(int key)
{
    if (key == GLUT_KEY_LEFT || key == GLUT_KEY_UP || key == GLUT_KEY_RIGHT || key == GLUT_KEY_DOWN)
        RecordArrow(key);
    PilotSpecialKey(key);
}

void Keyboard(unsigned char key, int /*x*/, int /*y*/)
{
    if (ReplayTakesKey(key)) {
        glutPostRedisplay();
        return;
    }
    if (NetPlayerListKey(key)) {
        glutPostRedisplay();
        return;
    }
    KeyEffect effect = RecordedPilotKey(key);
    if (effect == KEY_QUIT)
        QuitGame();
    ApplyKeyEffect(effect);
    glutPostRedisplay();
    if (effect == KEY_FOG_DENSITY)
        glutPostRedisplay();
}

void SpecialKeys(int key, int /*x*/, int /*y*/)
{
    WindowKey(key);
    if (ReplayTakesArrow()) {
        glutPostRedisplay();
        return;
    }
    RecordedPilotSpecialKey(key);
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
