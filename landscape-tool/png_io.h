// PNG files in and out of the landscape tool, through libpng: any PNG read as
// one grey sample per pixel, and 8-bit RGB or 16-bit grey images written.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/png_write.h"

// Largest image accepted, in pixels: a grey copy of it takes 512 MB.
const uint64_t PNG_MAX_PIXELS = (uint64_t)1 << 28;

struct GreyImage {
    int width = 0;
    int height = 0;
    // width * height samples, top row first; 0 is black, 65535 white. An
    // 8-bit sample v becomes v * 257, so both depths span the same range.
    std::vector<uint16_t> samples;
};

// Reads the PNG at `path`: grey, grey with alpha, RGB, RGBA or palette, any
// bit depth, interlaced or not. Colour is taken as its luminance
// (0.2126 R + 0.7152 G + 0.0722 B), alpha is ignored. Returns false with a
// one-line reason naming the file in `error` when the file cannot be opened,
// is not a PNG, is damaged or cut short, or is too large.
bool ReadGreyPng(const char* path, GreyImage& image, std::string& error);

// Encodes `pixels` (rows top first; 3 bytes a pixel for RGB8, 2 big-endian
// bytes for GREY16; EncodePng) and saves the image to `path` as the landscape files are
// saved (SaveFileCarefully): a link is followed, a plain file replaced whole,
// a device or a hard-linked file written in place. On failure `error` holds a
// one-line reason naming the file.
bool WritePngFile(const char* path, int width, int height, PngKind kind, const std::vector<uint8_t>& pixels,
                  std::string& error);
