// The editor's GLUT callbacks: thin wrappers that forward to the tools and
// the view and then request a redisplay.
#pragma once

namespace editor {

// GL state and the grid; exits with status 1 if the grid cannot be allocated.
void InitEditor();
void EditorKeyboard(unsigned char key, int x, int y);
// A press and a release each close the edit under way, so everything between
// them, a whole drag, is one undo level.
void EditorMouse(int button, int state, int x, int y);
// Every motion event while a button is held counts as a left-button press.
void EditorMotion(int x, int y);
// F5 flies the grid, F11 and F12 are the window's (WindowKey); other
// special keys only redraw.
void EditorSpecial(int key, int x, int y);
// The pointer's place, for the status; passive motion otherwise only redraws.
void EditorPassiveMotion(int x, int y);
void EditorEntry(int state);
// The window is closing: unsaved work goes to the recovery file.
void EditorClose();

} // namespace editor
