// The instruments display, drawn over the classic panel or status line
// unless classicDisplay is set: the landing instruments along the top, a
// dark backing under every text so it reads over white ground and the glow
// of the nozzles, the key list (F1) and the hint to it. Text shrinks with windows under 640 x 480.
#pragma once

#include "sim/flight/instruments.h"
#include "sim/render/hud_layout.h"

const int INSTRUMENT_FIELD_COUNT = 5; // pitch, bank, sink, heading, gear
struct InstrumentField {
    char text[40];
    bool warn; // drawn amber: the landing test would fail on it
};

// No GL: the instruments' texts, "Pitch +2.5", "Bank -0.4", "Sink 3.1",
// "Heading 090", "Gear down" or "Gear up", each with its warning.
void FormatInstrumentFields(const InstrumentReadings& r, InstrumentField out[INSTRUMENT_FIELD_COUNT]);

// The head-up display's layout for the display shown: the classic display
// keeps the start size's offsets in small windows, the instruments display
// shrinks to fit them.
HudLayout CurrentHudLayout();
// Text as DrawHudText draws it, on a dark translucent backing in the
// instruments display; exactly DrawHudText in the classic one.
void DrawHudLabel(const char* text, float x, float y, int size, float scale);
// A dark translucent rectangle, corners in pixels; leaves GL as it found it.
void DrawBacking(float x0, float y0, float x1, float y1);

void DrawInstruments();
// "Restart game? (Y/N)" and the crash's cause under it, or "Paused", centred
// on one backing.
void DrawBackedPauseTexts(const char* question, const char* cause);
void DrawHelp();
void DrawKeysHint();
