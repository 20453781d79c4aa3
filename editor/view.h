// The editor's window contents: the aspect-keeping top view of the grid, the
// point lattice, and the mapping from a window pixel back to a grid point.
#pragma once

namespace editor {

extern float windowWidth;  // pixels, at least 1; rewritten by ReshapeEditor
extern float windowHeight;

// Half the extent of the shorter side of the view in world units; the grid
// spans -20..20 around the centre.
const float VIEW_HALF_EXTENT = 25.0f;
const float GRID_OFFSET = 20.0f; // grid point (x, y) is drawn at (x - 20, y - 20)

struct ViewBox {
    float left, right, bottom, top;
};

// The orthographic box the frame uses for a window of the given size in
// pixels (both at least 1): 50 units across the shorter side, centred.
ViewBox EditorViewBox(float width, float height);

// The window cell of pixel (px, py), origin top left, for a window of the
// given size: at 640 x 480, column trunc(px / (640 / 67)) - 13 and row
// trunc(py / (480 / 50)) - 5; at any other size the same cells laid over the
// drawn grid, scaled with it about the window's centre. gridX counts from the
// left, rowFromTop from the top (row 0 is grid y = gridSizeY - 1); either may
// lie outside the grid. The cells meet the drawing to within one point: a
// point's cell reaches from the point itself to one row below it.
struct GridCell {
    int gridX;
    int rowFromTop;
};
GridCell WindowToGridCell(int px, int py, float width, float height);

// GL set-up of the editor window: black clear colour, depth test, CCW front
// faces, colour-material tracking. Creating the grid is the caller's part.
void SetupEditorGL();
// The 640 x 480 start size: the start state.
void ResetWindowState();

// Draws the whole frame into the current buffer without swapping.
void DrawEditorFrame();

// The grid as coloured triangles, and the lattice while showGridPoints is set.
void DrawGrid();

// The white lattice point by point, each in its own begin and end; DrawGrid
// replays these same calls from a display list.
void DrawLatticePoints();

// GLUT display callback: the frame, the legend and status in its margins,
// swap, flush; "ERROR!\n" after a frame in
// which the graphics library reported an error.
void DisplayEditor();

// GLUT reshape callback: sizes of 0 count as 1.
void ReshapeEditor(int width, int height);

} // namespace editor
