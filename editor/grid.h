// The editor's one height grid: heights, the colour of every point, and the
// lattice switch. Pure data and logic, no GL.
#pragma once

namespace editor {

const int GRID_SIZE = 41; // grid points along each side
const int GRID_CELLS = GRID_SIZE * GRID_SIZE;

extern int gridSizeX;      // bounds x in drawing, mapping and saving
extern int gridSizeY;      // bounds y in drawing and mapping
extern int* gridHeights;   // [x * GRID_SIZE + y], every value 0 or more
extern float* gridRed;     // colour of each point by the height colour rule
extern float* gridGreen;
extern float* gridBlue;
extern int showGridPoints; // non-zero: the white point lattice is drawn

// Allocates the four arrays of sizeX * sizeY elements, flat and ground
// coloured, and clears showGridPoints. Returns false, leaving the grid
// unchanged, when the sizes are not positive or memory runs out; the arrays
// live until the program ends.
bool CreateGrid(int sizeX, int sizeY);
// No grid (its arrays released), the lattice off: the start state.
void ResetGridState();

// The only way a height changes: negative heights become 0; a stored height
// above 0 is reported as "New Height: %d\n". (x, y) must lie in the grid.
void SetGridHeight(int x, int y, int height);

int GridHeight(int x, int y);

// Replaces every height at once, as an open or an undo does: each is clamped
// and recoloured as SetGridHeight would, but nothing is printed, since a
// whole grid of "New Height" lines would drown the console. `heights` holds
// gridSizeX * gridSizeY values in the grid's order.
void LoadGridHeights(const int* heights);

} // namespace editor
