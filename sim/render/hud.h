// Head-up display: the cockpit panel in view 1, a status line elsewhere, and
// the bitmap text both use.
#pragma once

#include <cstddef>

#include "sim/math/vec_math.h"

// Room for every HUD text, even three "%.2f" of the largest float (43
// characters each) with their labels.
const int HUD_TEXT_SIZE = 200;

// Draws text from raster position (x, y) in the font chosen by size
// (10, 15, 18 or 24); leaves the current colour white, lighting and depth
// test enabled.
void DrawText(const char* text, float x, float y, int size);
// The GLUT bitmap font for a text size; sizes no caller uses get the 24 font.
void* FontForSize(int size);
// No GL: the status line for `body`, never more than size - 1 characters.
void FormatStatusLine(const Body& body, char* out, size_t size);
// No GL: the three instrument texts of the cockpit, each bounded by size.
void FormatInstruments(const Body& body, char* thrustText, char* speedText, char* altitudeText, size_t size);
void DrawStatusLine();
void DrawCockpit();
void DrawAttitudeBall();
void DrawGearLamp();
