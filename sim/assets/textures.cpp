// Texture set: the nine images, their colour keys and their upload into the
// fixed texture names.
#include "sim/assets/textures.h"

#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>

#include "sim/assets/sgi_image.h"
#include "sim/view/view_state.h"

bool IsKeyedOut(ColourKey key, unsigned char r, unsigned char g, unsigned char b)
{
    switch (key) {
    case KEY_EXPLOSION:
        return r >= 240 && g >= 160 && b >= 160;
    case KEY_TREE:
        return r >= 80 && g >= 80 && b >= 80;
    case KEY_SUN:
        return r == 135 && g >= 206 && b >= 234;
    }
    return false;
}

void ApplyColourKey(unsigned char* rgba, long pixelCount, ColourKey key)
{
    for (long i = 0; i < pixelCount; i++, rgba += 4)
        rgba[3] = IsKeyedOut(key, rgba[0], rgba[1], rgba[2]) ? 0 : 255;
}

unsigned char* ReadTextureImage(const char* fileName, int* width, int* height, int format)
{
    if (format == GL_RGBA)
        return ReadSgiRgba(fileName, width, height);
    return ReadSgiRgb(fileName, width, height);
}

unsigned char* LoadImageFile(const char* fileName, int* width, int* height, int format)
{
    if (!quietConsole)
        printf("loading RGB texture: %s\n", fileName);
    unsigned char* pixels = ReadTextureImage(fileName, width, height, format);
    if (!pixels) {
        fprintf(stderr, "%s: could not load image file\n", fileName);
        exit(1);
    }
    return pixels;
}

void UploadTexture(unsigned name, int width, int height, const unsigned char* pixels, int format, int envMode)
{
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, envMode);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, format, width, height, format, GL_UNSIGNED_BYTE, pixels);
}

void LoadTexture(unsigned name, const char* fileName, int format, int envMode)
{
    int width = 0, height = 0;
    unsigned char* pixels = LoadImageFile(fileName, &width, &height, format);
    UploadTexture(name, width, height, pixels, format, envMode);
    free(pixels);
}

// Reads an image as RGBA, replaces its alpha by the key and uploads it.
static void LoadKeyedTexture(unsigned name, const char* fileName, ColourKey key)
{
    int width = 0, height = 0;
    unsigned char* pixels = LoadImageFile(fileName, &width, &height, GL_RGBA);
    ApplyColourKey(pixels, (long)width * height, key);
    UploadTexture(name, width, height, pixels, GL_RGBA, GL_MODULATE);
    free(pixels);
}

void LoadTextureSet()
{
    LoadTexture(TEX_FLOOR, "floor.rgb", GL_RGB, GL_MODULATE);
    LoadTexture(TEX_METAL1, "metal1.rgb", GL_RGB, GL_MODULATE);
    LoadTexture(TEX_METAL2, "metal2.rgb", GL_RGB, GL_MODULATE);
    LoadKeyedTexture(TEX_EXPLOSION0, "explosion0.rgba", KEY_EXPLOSION);
    LoadKeyedTexture(TEX_EXPLOSION1, "explosion1.rgb", KEY_EXPLOSION);
    LoadKeyedTexture(TEX_EXPLOSION2, "explosion2.rgb", KEY_EXPLOSION);
    LoadKeyedTexture(TEX_EXPLOSION3, "explosion3.rgb", KEY_EXPLOSION);
    LoadKeyedTexture(TEX_TREE, "tree.rgb", KEY_TREE);
    LoadKeyedTexture(TEX_SUN, "sun.rgb", KEY_SUN);
    glEnable(GL_TEXTURE_2D);
}
