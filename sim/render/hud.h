// Head-up display: the cockpit panel in view 1 and its instruments, a status
// line elsewhere; their text is drawn by hud_text.
#pragma once

#include <cstddef>

#include "sim/math/vec_math.h"

// Room for every HUD text, even three "%.2f" of the largest float (43
// characters each) with their labels.
const int HUD_TEXT_SIZE = 200;

// No GL: the status line for `body`, never more than size - 1 characters.
void FormatStatusLine(const Body& body, char* out, size_t size);
// No GL: the three instrument texts of the cockpit, each bounded by size.
void FormatInstruments(const Body& body, char* thrustText, char* speedText, char* altitudeText, size_t size);
void DrawStatusLine();
void DrawCockpit();
void DrawAttitudeBall();
void DrawGearLamp();
