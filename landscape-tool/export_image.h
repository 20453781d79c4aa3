// A landscape grid as image pixels, one pixel per grid point, laid out by the
// orientation rule of resample.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/landscape_reader.h"

// 8-bit RGB by the height colour rule, as the simulator colours the heights
// it has raised to its lowest height (so as the editor shows them too).
std::vector<uint8_t> ColourPixels(const LandscapeGrid& grid);

// 16-bit grey (big-endian), one unit per height unit. Heights are rounded;
// those outside 0 to 65535 are held at the nearer end and counted in
// `clipped`.
std::vector<uint8_t> Grey16Pixels(const LandscapeGrid& grid, size_t& clipped);
