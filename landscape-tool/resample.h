// Turning a grey image into a landscape grid and back: resampling to N x N,
// the height scale, the border, and which way the image lies on the grid.
#pragma once

#include <cstdint>
#include <vector>

#include "landscape-tool/png_io.h"

// The one orientation rule: image column px (left to right) is the file line
// (the editor's x), and image row py counted from the bottom is the position
// in the line (the editor's y), which is how the editor shows the grid.
// Returns the index into a grid of n x n heights stored line after line.
inline size_t GridIndexOfPixel(int px, int py, int n)
{
    return (size_t)px * n + (size_t)(n - 1 - py);
}

// Resamples `image` to n x n samples (rows top first, same range): along each
// axis by area averaging where the image has more pixels than n, bilinear
// (pixel centres on pixel centres, edges held) where it has fewer, and an
// exact copy where it has n.
std::vector<float> ResampleImage(const GreyImage& image, int n);

// Heights of an n x n grid (file order) from n x n samples (rows top first):
// black 0, white `whiteHeight`, rounded to whole numbers; the outermost ring
// set to 0 unless `keepBorder`.
std::vector<int> HeightsFromSamples(const std::vector<float>& samples, int n, double whiteHeight, bool keepBorder);
