// Head-up display: the cockpit panel in view 1, a status line elsewhere.
#pragma once

// Draws text from raster position (x, y) in the font chosen by size
// (10, 15, 18 or 24); leaves the current colour white.
void DrawText(const char* text, float x, float y, int size);
void DrawStatusLine();
void DrawCockpit();
void DrawAttitudeBall();
void DrawGearLamp();
