// GLUT callbacks of the editor window.
#include "editor/callbacks.h"

#include <GL/glut.h>
#include <cstdio>
#include <cstdlib>

#include "editor/fly.h"
#include "editor/grid.h"
#include "editor/history.h"
#include "editor/overlay.h"
#include "editor/recovery.h"
#include "editor/settings.h"
#include "editor/tools.h"
#include "editor/view.h"
#include "toolkit/window_mode.h"

namespace editor {

void InitEditor()
{
    SetupEditorGL();
    if (!CreateGrid(GRID_SIZE, GRID_SIZE)) {
        fprintf(stderr, "pelorin-editor: cannot allocate the %d x %d height grid\n", GRID_SIZE, GRID_SIZE);
        exit(1);
    }
    StartHistory();
    glutPostRedisplay();
}

void EditorKeyboard(unsigned char key, int, int)
{
    EditorKey(key, stdin);
    glutPostRedisplay();
}

static void PointerAt(int x, int y)
{
    pointer = {true, x, y};
}

// A press at the pointer, or one more motion event of a drag.
static void PointerEdit(int button, int state, int x, int y)
{
    PointerAt(x, y);
    if (button == GLUT_LEFT_BUTTON && state == GLUT_DOWN)
        EditorClick(x, y);
    glutPostRedisplay();
}

void EditorMouse(int button, int state, int x, int y)
{
    // A release that never arrived (the pointer grabbed elsewhere) must not
    // join two drags into one edit, so a press closes the last one too.
    RecordEdit();
    PointerEdit(button, state, x, y);
}

void EditorMotion(int x, int y)
{
    PointerEdit(GLUT_LEFT_BUTTON, GLUT_DOWN, x, y);
}

// The frame as the display callback shows it, margins included: F12's
// screenshot.
static void DrawWholeFrame()
{
    DrawEditorFrame();
    DrawEditorOverlay();
}

void EditorSpecial(int key, int, int)
{
    if (key == GLUT_KEY_F5)
        FlyGrid();
    WindowKey(key, DrawWholeFrame, (int)windowWidth, (int)windowHeight);
    glutPostRedisplay();
}

void EditorPassiveMotion(int x, int y)
{
    PointerAt(x, y);
    glutPostRedisplay();
}

void EditorEntry(int state)
{
    if (state == GLUT_LEFT)
        pointer.inWindow = false;
    glutPostRedisplay();
}

void EditorClose()
{
    KeepUnsavedWork();
    SaveEditorSettingsIfChanged();
}

} // namespace editor
