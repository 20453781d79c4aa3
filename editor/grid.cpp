// The editor's height grid and its colour rule.
#include "editor/grid.h"

#include <cstdint>
#include <cstdio>
#include <new>

#include "common/height_colour.h"

namespace editor {

int gridSizeX;
int gridSizeY;
int* gridHeights;
float* gridRed;
float* gridGreen;
float* gridBlue;
int showGridPoints;

void ResetGridState()
{
    delete[] gridHeights;
    delete[] gridRed;
    delete[] gridGreen;
    delete[] gridBlue;
    gridHeights = nullptr;
    gridRed = gridGreen = gridBlue = nullptr;
    gridSizeX = 0;
    gridSizeY = 0;
    showGridPoints = 0;
}

bool CreateGrid(int sizeX, int sizeY)
{
    if (sizeX <= 0 || sizeY <= 0)
        return false;
    int64_t count = (int64_t)sizeX * sizeY;
    if (count > INT32_MAX)
        return false;
    int* heights = new (std::nothrow) int[count];
    float* red = new (std::nothrow) float[count];
    float* green = new (std::nothrow) float[count];
    float* blue = new (std::nothrow) float[count];
    if (!heights || !red || !green || !blue) {
        delete[] heights;
        delete[] red;
        delete[] green;
        delete[] blue;
        return false;
    }
    for (int64_t i = 0; i < count; i++) {
        heights[i] = 0;
        red[i] = GROUND_COLOUR.r;
        green[i] = GROUND_COLOUR.g;
        blue[i] = GROUND_COLOUR.b;
    }
    // A grid replaced by a new one is released; the program itself creates
    // only one and keeps it to the end.
    delete[] gridHeights;
    delete[] gridRed;
    delete[] gridGreen;
    delete[] gridBlue;
    gridHeights = heights;
    gridRed = red;
    gridGreen = green;
    gridBlue = blue;
    gridSizeX = sizeX;
    gridSizeY = sizeY;
    showGridPoints = 0;
    return true;
}

// Index of (x, y): the stride is the grid's second dimension, which equals
// GRID_SIZE for the editor's grid.
static int GridIndex(int x, int y)
{
    return x * gridSizeY + y;
}

// Clamps, stores and recolours one point; returns the height stored.
static int StoreHeight(int i, int height)
{
    if (height < 0)
        height = 0;
    gridHeights[i] = height;
    Colour3 c = HeightColour((float)height);
    gridRed[i] = c.r;
    gridGreen[i] = c.g;
    gridBlue[i] = c.b;
    return height;
}

void SetGridHeight(int x, int y, int height)
{
    height = StoreHeight(GridIndex(x, y), height);
    if (height > 0)
        printf("New Height: %d\n", height);
}

int GridHeight(int x, int y)
{
    return gridHeights[GridIndex(x, y)];
}

void LoadGridHeights(const int* heights)
{
    int count = gridSizeX * gridSizeY;
    for (int i = 0; i < count; i++)
        StoreHeight(i, heights[i]);
}

} // namespace editor
