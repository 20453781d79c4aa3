// Linear interpolation inside a grid cell's two drawn triangles.
#include "common/grid_surface.h"

double CellSurfaceHeight(double h0, double h1, double h2, double h3, double u, double v)
{
    if (u >= v)
        return h0 + u * (h1 - h0) + v * (h2 - h1);
    return h0 + v * (h3 - h0) + u * (h2 - h3);
}
