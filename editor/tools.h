// The editing tools: the selected function, the contour elevation, the keys
// that choose them and the clicks that apply them. No GL: the GLUT callbacks
// in callbacks.cpp only forward here and request a redisplay.
#pragma once

#include <cstdio>

namespace editor {

const int EDIT_NONE = 0;
const int EDIT_INCREASE = 1;
const int EDIT_DECREASE = 2;
const int EDIT_CONTOUR = 3;
const int EDIT_HIGH = 4;
const int EDIT_GROUND = 5;
const int EDIT_RANDOM = 6;
const int EDIT_SMOOTH = 7;

const int EDIT_STEP = 100;         // height units added or taken by one click
const int HIGH_HEIGHT = 8000;      // what "high" sets
const int RANDOM_HEIGHT_SPAN = 8000; // random heights are 0 .. 7999

// The characters the keyboard delivers for Ctrl with a letter.
const unsigned char KEY_CTRL_O = 15; // open a file
const unsigned char KEY_CTRL_Y = 25; // redo
const unsigned char KEY_CTRL_Z = 26; // undo

extern int editFunction;     // one of EDIT_*, EDIT_NONE at start
extern int contourElevation; // what contour sets; any int, 0 at start

// No function selected, elevation 0: the start state.
void ResetToolsState();
void SetEditFunction(int function);
void SetContourElevation(int elevation);

// Applies editFunction to the grid point under window cell (cx, cy), rows
// counted from the top. The caller keeps (cx, cy) off the outermost ring, so
// all eight neighbours that smoothing reads exist.
void ApplyEditFunction(int cx, int cy);

// A left-button press at window pixel (x, y), origin top left, for the
// current window size: prints the cell line and any border message, then
// edits the point.
void EditorClick(int x, int y);

// One key of the keyboard table, in the table's order, then Ctrl+O (open),
// Ctrl+Z (undo) and Ctrl+Y (redo); the contour elevation and the file names
// are read from `console`.
void EditorKey(unsigned char key, FILE* console);

} // namespace editor
