// Entry of the landscape editor: the window, its callbacks, the main loop.
#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/callbacks.h"
#include "editor/open.h"
#include "editor/recovery.h"
#include "editor/start_state.h"
#include "editor/view.h"
#include "toolkit/window_mode.h"

int main(int argc, char** argv)
{
    // Console lines must reach a pipe as they are printed, as in the simulator.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    editor::ResetEditor();
    std::string geometry;
    StartWindowSize((int)editor::windowWidth, (int)editor::windowHeight, argc, argv, geometry);
    glutInit(&argc, argv);
    // glutInit has taken the toolkit's options; what is left is the file.
    bool fullScreen = TakeFullScreenOption(argc, argv);
    if (argc > 2) {
        fprintf(stderr, "usage: pelorin-editor [X toolkit options] [FILE]\n");
        return 2;
    }
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_RGB | GLUT_DEPTH);
    glutCreateWindow("Pelorin Editor");
    glutDisplayFunc(editor::DisplayEditor);
    glutReshapeFunc(editor::ReshapeEditor);
    glutSpecialFunc(editor::EditorSpecial);
    glutKeyboardFunc(editor::EditorKeyboard);
    glutMouseFunc(editor::EditorMouse);
    glutMotionFunc(editor::EditorMotion);
    glutPassiveMotionFunc(editor::EditorPassiveMotion);
    glutEntryFunc(editor::EditorEntry);
    // Closing the window runs EditorClose, and the main loop then returns
    // instead of ending the process inside the toolkit.
    glutCloseFunc(editor::EditorClose);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_GLUTMAINLOOP_RETURNS);
    editor::InitEditor();
    // Any way out but the close (the X connection lost, which ends the
    // process inside Xlib) keeps unsaved work as the close does, whether or
    // not the toolkit's own exit handler runs the close callback too (it is
    // kept once).
    atexit(editor::KeepUnsavedWork);
    editor::ReportWaitingRecoveryFiles();
    if (fullScreen)
        ToggleFullScreen();
    if (argc == 2)
        editor::OpenAtStart(argv[1]);
    glutMainLoop();
    return 0;
}
