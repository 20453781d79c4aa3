// Entry of the landscape editor: the window, its callbacks, the main loop.
#include <GL/freeglut.h>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "common/command_line.h"

#include "editor/callbacks.h"
#include "editor/console.h"
#include "editor/open.h"
#include "editor/recovery.h"
#include "editor/settings.h"
#include "editor/start_state.h"
#include "editor/view.h"
#include "toolkit/window_mode.h"

static const char USAGE[] = "usage: pelorin-editor [OPTION]... [X toolkit options such as -geometry WxH+X+Y] [FILE]\n"
                            "Paint a landscape file for pelorin, opening FILE if given.\n";
static const char TAIL[] = "The keys are listed in the manual page (man 6 pelorin-editor) and the README.\n"
                           "Settings are kept in $XDG_CONFIG_HOME/pelorin/pelorin-editor.conf (~/.config/pelorin/).\n";

// When the window stands where it was put, so that its place can be read.
static const unsigned SETTINGS_START_MS = 1000;

// One row and one help line per option.
static const OptionRow EDITOR_OPTIONS[] = {
    {"fullscreen", 0, nullptr, "start with the window filling the screen"},
};

int main(int argc, char** argv)
{
    // Console lines must reach a pipe as they are printed, as in the simulator.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    editor::ResetEditor();
    std::vector<char*> toolkit, rest;
    bool geometryGiven = SplitToolkitOptions(argc, argv, toolkit, rest);
    CommandLine line;
    switch (ReadCommandLine((int)rest.size() - 1, rest.data(), "pelorin-editor", PELORIN_VERSION, USAGE,
                            EDITOR_OPTIONS, sizeof EDITOR_OPTIONS / sizeof EDITOR_OPTIONS[0], TAIL, 1, line)) {
    case COMMAND_LINE_DONE:
        return 0;
    case COMMAND_LINE_USAGE:
        return EXIT_USAGE;
    case COMMAND_LINE_RUN:
        break;
    }
    editor::LoadEditorSettings();
    int toolkitArgc = (int)toolkit.size() - 1;
    std::string geometry;
    StartWindowSize((int)editor::windowWidth, (int)editor::windowHeight, toolkitArgc, toolkit.data(), geometry);
    glutInit(&toolkitArgc, toolkit.data());
    WindowPlace keptPlace;
    if (!geometryGiven && editor::EditorSettingsWindow(keptPlace))
        StartWindowPlace(keptPlace);
    // Without a file to open the editor works where it last opened or saved one.
    std::string folder = editor::LastFolder();
    if (line.operands.empty() && !folder.empty() && chdir(folder.c_str()) != 0)
        fprintf(stderr, "%s: cannot work there: %s\n", folder.c_str(), strerror(errno));
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
    editor::showFrameNow = editor::DisplayEditor;
    editor::InitEditor();
    // Any way out but the close (the X connection lost, which ends the
    // process inside Xlib) keeps unsaved work as the close does, whether or
    // not the toolkit's own exit handler runs the close callback too (it is
    // kept once).
    atexit(editor::KeepUnsavedWork);
    editor::ReportWaitingRecoveryFiles();
    if (OptionGiven(line, "fullscreen"))
        ToggleFullScreen();
    if (!line.operands.empty())
        editor::OpenAtStart(line.operands[0].c_str());
    editor::KeepEditorSettings(geometryGiven);
    glutTimerFunc(SETTINGS_START_MS, [](int) { editor::NoteEditorSettingsStart(); }, 0);
    glutMainLoop();
    return 0;
}
