// PNG encoding through libpng, shared by the landscape tool's exports and the
// programs' screenshots: pixels in, the file's bytes out, nothing on disk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// RGB8: 3 bytes a pixel; GREY16: 2 big-endian bytes a pixel.
enum PngKind { PNG_RGB8, PNG_GREY16 };

// Encodes `pixels` (rows top first) as a PNG image into `out`. A low
// `compression` (1, as zlib counts) is fast, the default (-1) small. On
// failure returns false with the reason in `error` (without a file name).
bool EncodePng(int width, int height, PngKind kind, const std::vector<uint8_t>& pixels, std::vector<uint8_t>& out,
               std::string& error, int compression = -1);
