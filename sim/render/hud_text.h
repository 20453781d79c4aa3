// The head-up display's text at every window size: the toolkit's bitmap
// fonts at their own size (DrawText), and in larger windows scalable faces of
// the same kind (a Times-like serif, a Helvetica-like sans, a sans monospace
// for the bitmap 9 x 15), drawn at the larger size from glyph atlases as
// textured quads, one texel to one pixel, so the text is as sharp as the
// small one. The atlases are built when a size is first needed.
#pragma once

#include <string>

#include "sim/assets/font_atlas.h"

// One bitmap font's scalable stand-in: which font file, and the atlas at the
// size last drawn, with its texture.
struct HudFont {
    std::string path;     // found on first use; empty before
    bool unavailable;     // no usable font: the bitmap font is drawn instead
    FontAtlas atlas;      // pixelSize 0 while none is built
    unsigned int texture; // GL texture of the atlas, 0 while none is uploaded
};

const int HUD_FONT_COUNT = 4; // the bitmap fonts' sizes 10, 15, 18 and 24

extern HudFont hudFonts[HUD_FONT_COUNT];
extern bool hudFontFailureReported; // the one line on standard error is out

// No font found, no atlas: the start state. Textures of an earlier context
// are forgotten, not deleted.
void ResetHudTextState();

// Draws text from raster position (x, y) in the toolkit's bitmap font chosen
// by size (10, 15, 18 or 24); leaves the current colour white, lighting and
// depth test enabled.
void DrawText(const char* text, float x, float y, int size);
// The GLUT bitmap font for a text size; sizes no caller uses get the 24 font.
void* FontForSize(int size);

// DrawText's text `scale` times its size (10, 15, 18 or 24), smaller too:
// exactly DrawText at scale 1, and wherever no scalable font can be had (after one
// line on standard error). The same colour and GL state afterwards as DrawText.
void DrawHudText(const char* text, float x, float y, int size, float scale);

// Several texts of one size at once, as DrawHudText draws each: with a
// scalable font, in one run of quads, since each draw of its own costs the
// software renderer more than its glyphs (the names over friends' jets).
struct HudTextAt {
    const char* text;
    float x, y;
};
void DrawHudTexts(const HudTextAt* texts, int count, int size, float scale);

// The width in pixels DrawHudText gives `text`.
float HudTextWidth(const char* text, int size, float scale);
