// Colour keys at their exact boundaries, and the delivered images: readable in
// the form the texture set asks for, keyed to a clean sprite, seamless floor.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstdlib>
#include <string>

#include "sim/assets/sgi_image.h"
#include "sim/assets/textures.h"

namespace {

struct KeyCase {
    ColourKey key;
    unsigned char r, g, b;
    bool transparent;
};

const KeyCase KEY_CASES[] = {
    {KEY_EXPLOSION, 240, 160, 160, true},
    {KEY_EXPLOSION, 255, 255, 255, true},
    {KEY_EXPLOSION, 239, 255, 255, false},
    {KEY_EXPLOSION, 255, 159, 255, false},
    {KEY_EXPLOSION, 255, 255, 159, false},
    {KEY_TREE, 80, 80, 80, true},
    {KEY_TREE, 79, 200, 200, false},
    {KEY_TREE, 200, 79, 200, false},
    {KEY_TREE, 200, 200, 79, false},
    {KEY_SUN, 135, 206, 234, true},
    {KEY_SUN, 135, 255, 255, true},
    {KEY_SUN, 136, 206, 234, false},
    {KEY_SUN, 134, 206, 234, false},
    {KEY_SUN, 135, 205, 255, false},
    {KEY_SUN, 135, 255, 233, false},
};

TEST(TextureKeys, BoundariesAreExact)
{
    for (const KeyCase& c : KEY_CASES)
        EXPECT_EQ(IsKeyedOut(c.key, c.r, c.g, c.b), c.transparent)
            << "key " << c.key << " (" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

TEST(TextureKeys, KeyReplacesWhateverAlphaThePixelHad)
{
    unsigned char pixels[] = {255, 255, 255, 255, 10, 20, 30, 0, 250, 250, 250, 77};
    ApplyColourKey(pixels, 2, KEY_EXPLOSION); // the third pixel is outside the count
    EXPECT_EQ(pixels[3], 0);
    EXPECT_EQ(pixels[7], 255);
    EXPECT_EQ(pixels[11], 77);
}

struct Delivered {
    const char* file;
    int format;
    int channels;
    int key; // a ColourKey, or -1 for none
};

const Delivered DELIVERED[] = {
    {"floor.rgb", GL_RGB, 3, -1},
    {"metal1.rgb", GL_RGB, 3, -1},
    {"metal2.rgb", GL_RGB, 3, -1},
    {"explosion0.rgba", GL_RGBA, 4, KEY_EXPLOSION},
    {"explosion1.rgb", GL_RGBA, 3, KEY_EXPLOSION},
    {"explosion2.rgb", GL_RGBA, 3, KEY_EXPLOSION},
    {"explosion3.rgb", GL_RGBA, 3, KEY_EXPLOSION},
    {"tree.rgb", GL_RGBA, 3, KEY_TREE},
    {"sun.rgb", GL_RGBA, 3, KEY_SUN},
};

std::string DataPath(const char* file)
{
    return std::string(PELORIN_SOURCE_DIR) + "/data/" + file;
}

TEST(TextureImages, AllNineReadInBothStorageFormsAtSensibleSizes)
{
    int rle = 0, verbatim = 0;
    for (const Delivered& d : DELIVERED) {
        std::string path = DataPath(d.file);
        SgiImage* image = OpenSgiImage(path.c_str());
        ASSERT_NE(image, nullptr) << d.file;
        EXPECT_EQ(image->zsize, d.channels) << d.file;
        SgiIsRle(image) ? rle++ : verbatim++;
        CloseSgiImage(image);
        int width = 0, height = 0;
        unsigned char* pixels = ReadTextureImage(path.c_str(), &width, &height, d.format);
        ASSERT_NE(pixels, nullptr) << d.file;
        EXPECT_GE(width, 128) << d.file;
        EXPECT_LE(width, 256) << d.file;
        EXPECT_GE(height, 128) << d.file;
        EXPECT_LE(height, 256) << d.file;
        free(pixels);
    }
    EXPECT_GT(rle, 0);
    EXPECT_GT(verbatim, 0);
}

// After keying, the corners (background) are clear, the centre (the sprite)
// is solid, and the sprite covers a fair part of the image without holes in
// its middle.
TEST(TextureImages, KeyedSpritesHaveClearBackgroundAndSolidMiddle)
{
    for (const Delivered& d : DELIVERED) {
        if (d.key < 0)
            continue;
        int width = 0, height = 0;
        unsigned char* pixels = ReadTextureImage(DataPath(d.file).c_str(), &width, &height, GL_RGBA);
        ASSERT_NE(pixels, nullptr) << d.file;
        ApplyColourKey(pixels, (long)width * height, (ColourKey)d.key);
        auto alpha = [&](int x, int y) { return pixels[((size_t)y * width + x) * 4 + 3]; };
        EXPECT_EQ(alpha(0, 0), 0) << d.file;
        EXPECT_EQ(alpha(width - 1, 0), 0) << d.file;
        EXPECT_EQ(alpha(0, height - 1), 0) << d.file;
        EXPECT_EQ(alpha(width - 1, height - 1), 0) << d.file;
        // The tree's middle is its trunk and crown; the others are centred.
        int holes = 0;
        for (int y = height / 2 - 8; y < height / 2 + 8; y++)
            for (int x = width / 2 - 4; x < width / 2 + 4; x++)
                holes += alpha(x, y) == 0;
        EXPECT_EQ(holes, 0) << d.file;
        long opaque = 0;
        for (long i = 0; i < (long)width * height; i++)
            opaque += pixels[i * 4 + 3] == 255;
        double share = (double)opaque / ((double)width * height);
        EXPECT_GT(share, 0.08) << d.file;
        EXPECT_LT(share, 0.75) << d.file;
        free(pixels);
    }
}

// Opposite edges of the floor must differ no more than neighbouring columns
// and rows inside it, or the repeat shows as a seam.
TEST(TextureImages, FloorTilesWithoutASeam)
{
    int width = 0, height = 0;
    unsigned char* p = ReadTextureImage(DataPath("floor.rgb").c_str(), &width, &height, GL_RGB);
    ASSERT_NE(p, nullptr);
    auto columnDifference = [&](int a, int b) {
        double sum = 0;
        for (int y = 0; y < height; y++)
            for (int c = 0; c < 3; c++)
                sum += abs(p[((size_t)y * width + a) * 3 + c] - p[((size_t)y * width + b) * 3 + c]);
        return sum / height;
    };
    auto rowDifference = [&](int a, int b) {
        double sum = 0;
        for (int x = 0; x < width; x++)
            for (int c = 0; c < 3; c++)
                sum += abs(p[((size_t)a * width + x) * 3 + c] - p[((size_t)b * width + x) * 3 + c]);
        return sum / width;
    };
    double inside = 0;
    for (int i = 0; i + 1 < width; i++)
        inside += columnDifference(i, i + 1) / (width - 1);
    EXPECT_LT(columnDifference(width - 1, 0), inside * 1.3);
    inside = 0;
    for (int i = 0; i + 1 < height; i++)
        inside += rowDifference(i, i + 1) / (height - 1);
    EXPECT_LT(rowDifference(height - 1, 0), inside * 1.3);
    free(p);
}

} // namespace
