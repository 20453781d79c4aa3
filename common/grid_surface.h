// The surface a height grid is drawn as, shared by the simulator's ground
// query and the landscape tool: two flat triangles per cell, split by the
// diagonal from the cell's lowest corner (col, row) to (col + 1, row + 1).
#pragma once

// Height at (u, v), each 0 to 1 across the cell from its lowest corner: h0 at
// (col, row), h1 at (col + 1, row), h2 at (col + 1, row + 1), h3 at
// (col, row + 1). u runs along the columns, v along the rows; where u >= v
// the point lies in the triangle h0 h1 h2, elsewhere in h0 h3 h2.
double CellSurfaceHeight(double h0, double h1, double h2, double h3, double u, double v);
