// Generates the delivered default landscape: a 41 x 41 grid with a ridge, a
// valley cutting through it and a flat-topped mesa, written as the editor would.
//
//   make-landscape [PATH]    (default data/landscape.dmf)
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "common/landscape_writer.h"

static const int SIZE = 41;
static const float ROLLING_BASE = 500.0f;  // gentle hills around everything
static const float ROLLING_SWELL = 250.0f;
static const float RIDGE_TOP = 5000.0f;
static const float RIDGE_HALF_WIDTH = 4.0f; // grid points
static const int VALLEY_COL = 28;
static const float VALLEY_HALF_WIDTH = 4.0f;
static const float MESA_TOP = 2500.0f;      // flat enough to land on
static const int MESA_ROW0 = 26, MESA_ROW1 = 34, MESA_COL0 = 5, MESA_COL1 = 14;

static float Height(int r, int c)
{
    if (r == 0 || c == 0 || r == SIZE - 1 || c == SIZE - 1)
        return 0.0f;
    float h = ROLLING_BASE + ROLLING_SWELL * std::sin(r * 0.3f) * std::cos(c * 0.25f);
    // The ridge runs diagonally from the near left towards the far right.
    float d = std::fabs((float)r - (0.5f * c + 4.0f)) / std::sqrt(1.25f);
    if (d < RIDGE_HALF_WIDTH)
        h += RIDGE_TOP * (1.0f - d / RIDGE_HALF_WIDTH);
    // The valley cuts down to the ground along one column, a pass through the ridge.
    float v = std::fabs((float)(c - VALLEY_COL)) / VALLEY_HALF_WIDTH;
    if (v < 1.0f)
        h *= v * v;
    // The mesa: a flat top and one grid point of slope around it.
    bool onTop = r >= MESA_ROW0 && r <= MESA_ROW1 && c >= MESA_COL0 && c <= MESA_COL1;
    bool onSkirt = r >= MESA_ROW0 - 1 && r <= MESA_ROW1 + 1 && c >= MESA_COL0 - 1 && c <= MESA_COL1 + 1;
    if (onTop)
        h = MESA_TOP;
    else if (onSkirt)
        h = 0.5f * (h + MESA_TOP);
    if (h < 0.0f)
        h = 0.0f;
    if (h > 8000.0f)
        h = 8000.0f;
    return h;
}

int main(int argc, char** argv)
{
    const char* path = argc > 1 ? argv[1] : "data/landscape.dmf";
    std::vector<int> heights(SIZE * SIZE);
    for (int r = 0; r < SIZE; r++)
        for (int c = 0; c < SIZE; c++)
            heights[r * SIZE + c] = (int)std::lround(Height(r, c));
    std::string error;
    if (!SaveLandscapeFile(path, SIZE, SIZE, heights.data(), error)) {
        fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    printf("Wrote %s\n", path);
    return 0;
}
