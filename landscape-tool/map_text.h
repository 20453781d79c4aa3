// Text on the flight map: a small built-in pixel font (5 x 7, capitals,
// digits and a few signs), so that labels need no font on the machine.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Width in pixels of `text` drawn at `scale` (each font pixel a square of
// scale x scale), spacing included.
int TextWidth(const std::string& text, int scale);
// Height in pixels of a line at `scale`.
int TextHeight(int scale);
// Draws `text` (small letters drawn as capitals; a character the font lacks
// as a blank) with its top left corner at (x, y) into RGB8 rows `pixels` of
// `width` x `height`, clipped to them.
void DrawText(std::vector<uint8_t>& pixels, int width, int height, int x, int y, const std::string& text, int scale,
              const uint8_t rgb[3]);
