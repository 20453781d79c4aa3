// Head-up display text at any size: bitmap fonts, or atlas quads above them.
#include "sim/render/hud_text.h"

#include <GL/glut.h>
#include <cmath>
#include <cstdio>

HudFont hudFonts[HUD_FONT_COUNT];
bool hudFontFailureReported;

void ResetHudTextState()
{
    for (HudFont& font : hudFonts)
        font = HudFont{"", false, FontAtlas{}, 0};
    hudFontFailureReported = false;
}

void* FontForSize(int size)
{
    switch (size) {
    case 10:
        return GLUT_BITMAP_TIMES_ROMAN_10;
    case 15:
        return GLUT_BITMAP_9_BY_15;
    case 18:
        return GLUT_BITMAP_HELVETICA_18;
    default:
        return GLUT_BITMAP_TIMES_ROMAN_24;
    }
}

void DrawText(const char* text, float x, float y, int size)
{
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    // The raster colour is latched here, from the caller's current colour.
    glRasterPos2f(x, y);
    glColor3f(1.0f, 1.0f, 1.0f);
    void* font = FontForSize(size);
    for (const char* c = text; *c != '\0'; c++)
        glutBitmapCharacter(font, (unsigned char)*c);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}

// The scalable faces nearest the bitmap fonts by size: Times Roman 10 and 24,
// the fixed 9 x 15, Helvetica 18; fontconfig falls back along each list.
static const char* const FONT_FAMILIES[HUD_FONT_COUNT] = {
    "Liberation Serif,Times,serif",
    "DejaVu Sans Mono,monospace",
    "Liberation Sans,Helvetica,sans-serif",
    "Liberation Serif,Times,serif",
};

static int FontIndex(int size)
{
    switch (size) {
    case 10:
        return 0;
    case 15:
        return 1;
    case 18:
        return 2;
    default:
        return 3;
    }
}

static void ReportFontFailure(const std::string& reason)
{
    if (hudFontFailureReported)
        return;
    fprintf(stderr, "No scalable font for the head-up display (%s): its text keeps its small size\n",
            reason.c_str());
    hudFontFailureReported = true;
}

// The font for `size` with its atlas at `pixelSize` and its texture
// uploaded, or null when none can be had.
static HudFont* FontAt(int size, int pixelSize)
{
    HudFont& font = hudFonts[FontIndex(size)];
    if (font.unavailable)
        return nullptr;
    if (font.atlas.pixelSize == pixelSize && font.texture != 0 && glIsTexture(font.texture))
        return &font;
    std::string error;
    if (font.path.empty() && !FindFontFile(FONT_FAMILIES[FontIndex(size)], font.path, error)) {
        font.unavailable = true;
        ReportFontFailure(error);
        return nullptr;
    }
    if (!BuildFontAtlas(font.path, pixelSize, font.atlas, error)) {
        font.unavailable = true;
        ReportFontFailure(error);
        return nullptr;
    }
    GLuint texture = font.texture;
    if (texture == 0 || !glIsTexture(texture))
        glGenTextures(1, &texture);
    font.texture = texture;
    glPushAttrib(GL_TEXTURE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_ALPHA8, font.atlas.width, font.atlas.height, 0, GL_ALPHA, GL_UNSIGNED_BYTE,
                 font.atlas.coverage.data());
    glPopClientAttrib();
    glPopAttrib();
    // The texture holds the coverage from here on; the glyph boxes stay.
    std::vector<uint8_t>().swap(font.atlas.coverage);
    return &font;
}

static int PixelSize(int size, float scale)
{
    return (int)std::lround(size * scale);
}

// One text's glyphs as quads, inside a glBegin(GL_QUADS).
static void GlyphQuads(const FontAtlas& atlas, const char* text, float x, float y)
{
    float across = 1.0f / atlas.width, down = 1.0f / atlas.height;
    // Whole pixels, so that every texel lands on one pixel.
    float penX = std::floor(x + 0.5f), baseY = std::floor(y + 0.5f);
    for (const char* c = text; *c != '\0'; c++) {
        const AtlasGlyph* g = AtlasGlyphFor(atlas, *c);
        if (!g)
            continue;
        if (g->width > 0) {
            float x0 = penX + g->left, x1 = x0 + g->width;
            float y1 = baseY + g->top, y0 = y1 - g->height;
            float s0 = g->x * across, s1 = (g->x + g->width) * across;
            float t0 = g->y * down, t1 = (g->y + g->height) * down;
            glTexCoord2f(s0, t1);
            glVertex2f(x0, y0);
            glTexCoord2f(s1, t1);
            glVertex2f(x1, y0);
            glTexCoord2f(s1, t0);
            glVertex2f(x1, y1);
            glTexCoord2f(s0, t0);
            glVertex2f(x0, y1);
        }
        penX += g->advance;
    }
}

void DrawHudTexts(const HudTextAt* texts, int count, int size, float scale)
{
    HudFont* font = scale != 1.0f ? FontAt(size, PixelSize(size, scale)) : nullptr;
    if (!font) {
        float colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        for (int i = 0; i < count; i++) {
            glColor4fv(colour);
            DrawText(texts[i].text, texts[i].x, texts[i].y, size);
        }
        return;
    }
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, font->texture);
    // The caller's colour, as the bitmap text takes it; the atlas gives the coverage.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBegin(GL_QUADS);
    for (int i = 0; i < count; i++)
        GlyphQuads(font->atlas, texts[i].text, texts[i].x, texts[i].y);
    glEnd();
    glPopAttrib();
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
}

void DrawHudText(const char* text, float x, float y, int size, float scale)
{
    if (scale == 1.0f) {
        DrawText(text, x, y, size);
        return;
    }
    HudTextAt one = {text, x, y};
    DrawHudTexts(&one, 1, size, scale);
}

float HudTextWidth(const char* text, int size, float scale)
{
    HudFont* font = scale != 1.0f ? FontAt(size, PixelSize(size, scale)) : nullptr;
    if (!font)
        return (float)glutBitmapLength(FontForSize(size), (const unsigned char*)text);
    return (float)AtlasTextWidth(font->atlas, text);
}
