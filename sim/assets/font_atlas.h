// Glyph atlases for text larger than the toolkit's bitmap fonts: the printable
// ASCII characters of a scalable font the system has (found through
// fontconfig, drawn by FreeType) at one pixel size, packed into one
// coverage image. No GL: the drawing uploads and draws it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

const int ATLAS_FIRST_CHAR = 32; // ' '
const int ATLAS_CHAR_COUNT = 95; // up to '~'

struct AtlasGlyph {
    int x, y;          // top left corner in the atlas, pixels, row 0 at the top
    int width, height; // 0 for a blank glyph
    int left;          // from the pen to the glyph's left edge, pixels
    int top;           // from the baseline up to the glyph's top edge, pixels
    int advance;       // from this pen position to the next, whole pixels
};

struct FontAtlas {
    int pixelSize;                 // the em, pixels
    int width, height;             // powers of two
    std::vector<uint8_t> coverage; // width * height, row 0 at the top: 0 empty, 255 covered
    AtlasGlyph glyphs[ATLAS_CHAR_COUNT];
};

// The file of the system's best match for a fontconfig family list, scalable
// fonts first ("Liberation Serif,Times,serif"). False with a reason when the
// system names none.
bool FindFontFile(const char* families, std::string& path, std::string& error);

// Draws every character from ' ' to '~' of the font in `path` at `pixelSize`
// pixels to the em, hinted and antialiased, into `atlas`. False with a
// reason (naming the file) when it cannot be read or does not scale.
bool BuildFontAtlas(const std::string& path, int pixelSize, FontAtlas& atlas, std::string& error);

// The glyph for `c`, or null for a character the atlas does not hold.
const AtlasGlyph* AtlasGlyphFor(const FontAtlas& atlas, char c);

// Pixels from the first pen position to the one after the last character.
int AtlasTextWidth(const FontAtlas& atlas, const char* text);
