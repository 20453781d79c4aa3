// Grid to pixels for "export".
#include "landscape-tool/export_image.h"

#include <cmath>

#include "common/height_colour.h"
#include "landscape-tool/landscape_info.h"
#include "landscape-tool/resample.h"

static uint8_t ColourByte(float c)
{
    // OpenGL clamps a colour past 1 (heights over 8000); so does the picture.
    float v = c < 0.0f ? 0.0f : c > 1.0f ? 1.0f : c;
    return (uint8_t)std::lround(v * 255.0f);
}

std::vector<uint8_t> ColourPixels(const LandscapeGrid& grid)
{
    int n = grid.size;
    std::vector<uint8_t> pixels((size_t)n * n * 3);
    for (int py = 0; py < n; py++) {
        for (int px = 0; px < n; px++) {
            float h = grid.heights[GridIndexOfPixel(px, py, n)];
            Colour3 c = h >= SIM_LOWEST_HEIGHT ? HeightColour(h) : GROUND_COLOUR;
            uint8_t* p = &pixels[((size_t)py * n + px) * 3];
            p[0] = ColourByte(c.r);
            p[1] = ColourByte(c.g);
            p[2] = ColourByte(c.b);
        }
    }
    return pixels;
}

std::vector<uint8_t> Grey16Pixels(const LandscapeGrid& grid, size_t& clipped)
{
    int n = grid.size;
    clipped = 0;
    std::vector<uint8_t> pixels((size_t)n * n * 2);
    for (int py = 0; py < n; py++) {
        for (int px = 0; px < n; px++) {
            double h = std::round((double)grid.heights[GridIndexOfPixel(px, py, n)]);
            if (h < 0.0 || h > 65535.0) {
                clipped++;
                h = h < 0.0 ? 0.0 : 65535.0;
            }
            unsigned v = (unsigned)h;
            uint8_t* p = &pixels[((size_t)py * n + px) * 2];
            p[0] = (uint8_t)(v >> 8);
            p[1] = (uint8_t)(v & 0xFF);
        }
    }
    return pixels;
}
