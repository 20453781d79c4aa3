// The nine textures, loaded once at set-up under fixed texture names.
#pragma once

const unsigned TEX_FLOOR = 100;
const unsigned TEX_TREE = 101;
const unsigned TEX_EXPLOSION0 = 102;
const unsigned TEX_EXPLOSION1 = 103;
const unsigned TEX_EXPLOSION2 = 104;
const unsigned TEX_EXPLOSION3 = 105;
const unsigned TEX_METAL1 = 106;
const unsigned TEX_METAL2 = 107;
const unsigned TEX_SUN = 108;

// Background colours drawn into the sprite images that become transparent.
enum ColourKey {
    KEY_EXPLOSION, // near white: R >= 240, G >= 160, B >= 160
    KEY_TREE,      // light: every channel >= 80
    KEY_SUN,       // sky blue: R == 135, G >= 206, B >= 234
};

// True when the key makes a pixel of these bytes transparent.
bool IsKeyedOut(ColourKey key, unsigned char r, unsigned char g, unsigned char b);
// Sets every alpha byte of `pixelCount` RGBA pixels to 0 where the key holds
// and to 255 elsewhere.
void ApplyColourKey(unsigned char* rgba, long pixelCount, ColourKey key);

// Reads an image file as GL_RGB or GL_RGBA pixels without reporting anything;
// null when it cannot be read. The caller frees the result with free().
unsigned char* ReadTextureImage(const char* fileName, int* width, int* height, int format);
// Announces the file on standard output, then reads it; an unreadable file
// ends the program with a message on standard error and status 1, so this
// never returns without an image.
unsigned char* LoadImageFile(const char* fileName, int* width, int* height, int format);
// Creates texture `name` from the pixels with repeat wrapping, linear
// magnification, trilinear mipmaps and the given environment mode.
void UploadTexture(unsigned name, int width, int height, const unsigned char* pixels, int format, int envMode);
// LoadImageFile, UploadTexture, then frees the pixels.
void LoadTexture(unsigned name, const char* fileName, int format, int envMode);

// Loads the set from the working directory and enables 2-D texturing; an
// image that cannot be read ends the program with status 1.
void LoadTextureSet();
