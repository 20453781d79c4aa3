// Glyph atlases from the system's scalable fonts, through fontconfig and FreeType.
#include "sim/assets/font_atlas.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

// Pixels between glyphs in the atlas, so that no glyph's edge samples its neighbour.
const int ATLAS_PADDING = 1;
const int ATLAS_SIDE_MIN = 64;
const int ATLAS_SIDE_MAX = 8192;

bool FindFontFile(const char* families, std::string& path, std::string& error)
{
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) {
        error = "fontconfig found no configuration";
        return false;
    }
    FcPattern* pattern = FcNameParse((const FcChar8*)families);
    bool found = false;
    if (pattern) {
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result;
        FcPattern* match = FcFontMatch(config, pattern, &result);
        FcChar8* file = nullptr;
        if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
            path = (const char*)file;
            found = true;
        }
        if (match)
            FcPatternDestroy(match);
        FcPatternDestroy(pattern);
    }
    FcConfigDestroy(config);
    if (!found)
        error = std::string("no font for \"") + families + "\"";
    return found;
}

namespace {

struct RenderedGlyph {
    AtlasGlyph box;
    std::vector<uint8_t> pixels; // box.width * box.height, row 0 at the top
};

// Shelf packing into `width` columns: places every glyph, left to right and
// row by row, and returns the rows used; INT_MAX when a glyph is too wide.
int PackGlyphs(std::vector<RenderedGlyph>& glyphs, int width)
{
    int x = ATLAS_PADDING, y = ATLAS_PADDING, rowHeight = 0;
    for (RenderedGlyph& g : glyphs) {
        if (g.box.width == 0)
            continue;
        if (g.box.width + 2 * ATLAS_PADDING > width)
            return INT_MAX;
        if (x + g.box.width + ATLAS_PADDING > width) {
            x = ATLAS_PADDING;
            y += rowHeight + ATLAS_PADDING;
            rowHeight = 0;
        }
        g.box.x = x;
        g.box.y = y;
        x += g.box.width + ATLAS_PADDING;
        rowHeight = std::max(rowHeight, g.box.height);
    }
    return y + rowHeight + ATLAS_PADDING;
}

int PowerOfTwoAtLeast(int n)
{
    int p = ATLAS_SIDE_MIN;
    while (p < n)
        p *= 2;
    return p;
}

bool RenderGlyphs(FT_Face face, std::vector<RenderedGlyph>& glyphs, std::string& error)
{
    for (int i = 0; i < ATLAS_CHAR_COUNT; i++) {
        if (FT_Load_Char(face, (FT_ULong)(ATLAS_FIRST_CHAR + i), FT_LOAD_RENDER) != 0) {
            error = "cannot draw character " + std::to_string(ATLAS_FIRST_CHAR + i);
            return false;
        }
        FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY && bitmap.rows > 0) {
            error = "not an antialiased font";
            return false;
        }
        RenderedGlyph& g = glyphs[i];
        g.box = {0, 0, (int)bitmap.width, (int)bitmap.rows, slot->bitmap_left, slot->bitmap_top,
                 (int)((slot->advance.x + 32) >> 6)};
        g.pixels.resize((size_t)g.box.width * g.box.height);
        for (int row = 0; row < g.box.height; row++)
            memcpy(&g.pixels[(size_t)row * g.box.width], bitmap.buffer + (ptrdiff_t)row * bitmap.pitch,
                   (size_t)g.box.width);
    }
    return true;
}

} // namespace

bool BuildFontAtlas(const std::string& path, int pixelSize, FontAtlas& atlas, std::string& error)
{
    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) {
        error = "FreeType did not start";
        return false;
    }
    FT_Face face;
    bool built = false;
    std::vector<RenderedGlyph> glyphs(ATLAS_CHAR_COUNT);
    if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
        error = path + ": cannot read the font";
    } else {
        if (!FT_IS_SCALABLE(face) || FT_Set_Pixel_Sizes(face, 0, (FT_UInt)pixelSize) != 0)
            error = path + ": the font does not scale to " + std::to_string(pixelSize) + " pixels";
        else if (!RenderGlyphs(face, glyphs, error))
            error = path + ": " + error;
        else
            built = true;
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    if (!built)
        return false;

    // The narrowest power-of-two width whose packing is no taller than wide.
    int width = ATLAS_SIDE_MIN, height = 0;
    for (; width <= ATLAS_SIDE_MAX; width *= 2) {
        height = PackGlyphs(glyphs, width);
        if (height <= width)
            break;
    }
    if (width > ATLAS_SIDE_MAX) {
        error = path + ": glyphs of " + std::to_string(pixelSize) + " pixels do not fit an atlas";
        return false;
    }
    atlas.pixelSize = pixelSize;
    atlas.width = width;
    atlas.height = PowerOfTwoAtLeast(height);
    atlas.coverage.assign((size_t)atlas.width * atlas.height, 0);
    for (int i = 0; i < ATLAS_CHAR_COUNT; i++) {
        const RenderedGlyph& g = glyphs[i];
        atlas.glyphs[i] = g.box;
        for (int row = 0; row < g.box.height; row++)
            memcpy(&atlas.coverage[(size_t)(g.box.y + row) * atlas.width + g.box.x],
                   &g.pixels[(size_t)row * g.box.width], (size_t)g.box.width);
    }
    return true;
}

const AtlasGlyph* AtlasGlyphFor(const FontAtlas& atlas, char c)
{
    int i = (unsigned char)c - ATLAS_FIRST_CHAR;
    return i >= 0 && i < ATLAS_CHAR_COUNT ? &atlas.glyphs[i] : nullptr;
}

int AtlasTextWidth(const FontAtlas& atlas, const char* text)
{
    int width = 0;
    for (const char* c = text; *c != '\0'; c++) {
        const AtlasGlyph* g = AtlasGlyphFor(atlas, *c);
        if (g)
            width += g->advance;
    }
    return width;
}
