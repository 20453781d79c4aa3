// GLUT callbacks of the editor window.
#include "editor/callbacks.h"

#include <GL/glut.h>
#include <cstdio>
#include <cstdlib>

#include "editor/grid.h"
#include "editor/tools.h"
#include "editor/view.h"

namespace editor {

void InitEditor()
{
    SetupEditorGL();
    if (!CreateGrid(GRID_SIZE, GRID_SIZE)) {
        fprintf(stderr, "pelorin-editor: cannot allocate the %d x %d height grid\n", GRID_SIZE, GRID_SIZE);
        exit(1);
    }
    glutPostRedisplay();
}

void EditorKeyboard(unsigned char key, int, int)
{
    EditorKey(key, stdin);
    glutPostRedisplay();
}

void EditorMouse(int button, int state, int x, int y)
{
    if (button == GLUT_LEFT_BUTTON && state == GLUT_DOWN)
        EditorClick(x, y);
    glutPostRedisplay();
}

void EditorMotion(int x, int y)
{
    EditorMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, x, y);
}

void RedisplayOnly()
{
    glutPostRedisplay();
}

void RedisplayOnly(int, int)
{
    glutPostRedisplay();
}

void RedisplayOnly(int, int, int)
{
    glutPostRedisplay();
}

} // namespace editor
