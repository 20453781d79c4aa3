// A real GLUT window for tests of GL-facing code; pixels are read back from
// the back buffer before any swap, so overlapping windows do not matter.
#pragma once

#include <GL/freeglut.h>
#include <gtest/gtest.h>

struct Rgb {
    int r, g, b; // 0..255
};

// Initialises GLUT once per process and opens a window of the given size with
// the simulator's display mode; the window is current afterwards.
int OpenTestWindow(int width = 640, int height = 480, const char* title = "pelorin gl test");
// Reads one pixel of the back buffer (origin lower left), after glFinish.
Rgb ReadPixel(int x, int y);
// Counts pixels in the rectangle whose colour is within `tolerance` of `want`.
int CountPixels(int x0, int y0, int width, int height, Rgb want, int tolerance = 8);
// Lets freeglut handle pending window events (map, reshape).
void PumpEvents(int rounds = 5);

inline bool Near(Rgb a, Rgb b, int tolerance = 8)
{
    return abs(a.r - b.r) <= tolerance && abs(a.g - b.g) <= tolerance && abs(a.b - b.b) <= tolerance;
}

inline std::ostream& operator<<(std::ostream& os, Rgb c)
{
    return os << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// Fixture that opens a 640 x 480 window and gives it the simulator's fixed
// GL state.
class GlTest : public testing::Test {
protected:
    void SetUp() override;
    int window = 0;
};
