// The SGI reader against independent writers: ImageMagick and netpbm write
// images in both storage forms, decode them again themselves, and every pixel
// our reader gives must match theirs.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sim/assets/sgi_image.h"

namespace {

using Bytes = std::vector<unsigned char>;

const char* IMAGEMAGICK = "/usr/bin/convert";
const char* PNMTOSGI = "/usr/bin/pnmtosgi";
const char* SGITOPNM = "/usr/bin/sgitopnm";

struct Netpbm {
    int width = 0, height = 0, depth = 0;
    Bytes pixels; // top row first, as netpbm stores them
};

// Reads a binary P6 or P7 file with maxval 255.
bool ReadNetpbm(const std::string& path, Netpbm& image)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char magic[3] = {0};
    bool ok = fread(magic, 1, 2, file) == 2;
    int maxval = 0;
    if (ok && strcmp(magic, "P6") == 0) {
        ok = fscanf(file, "%d %d %d", &image.width, &image.height, &maxval) == 3 && fgetc(file) != EOF;
        image.depth = 3;
    } else if (ok && strcmp(magic, "P7") == 0) {
        char key[32];
        while (ok && fscanf(file, "%31s", key) == 1 && strcmp(key, "ENDHDR") != 0) {
            char value[32];
            ok = fscanf(file, "%31s", value) == 1;
            if (strcmp(key, "WIDTH") == 0) image.width = atoi(value);
            if (strcmp(key, "HEIGHT") == 0) image.height = atoi(value);
            if (strcmp(key, "DEPTH") == 0) image.depth = atoi(value);
            if (strcmp(key, "MAXVAL") == 0) maxval = atoi(value);
        }
        ok = ok && fgetc(file) != EOF;
    } else {
        ok = false;
    }
    ok = ok && maxval == 255;
    if (ok) {
        image.pixels.resize((size_t)image.width * image.height * image.depth);
        ok = fread(image.pixels.data(), 1, image.pixels.size(), file) == image.pixels.size();
    }
    fclose(file);
    return ok;
}

// A source image with colour and alpha varying in every pixel, so no tool
// can store it as grey or drop its alpha channel.
void WriteSource(const std::string& path, int width, int height, int depth)
{
    FILE* file = fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    if (depth == 3)
        fprintf(file, "P6\n%d %d\n255\n", width, height);
    else
        fprintf(file, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", width, height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            // Stretches of equal bytes and of changing ones, so run-length
            // writers emit both packet kinds.
            unsigned char px[4] = {(unsigned char)((x / 5) * 40 + y), (unsigned char)(x * 3 + y * 11),
                                   (unsigned char)(200 - y), (unsigned char)(60 + (x / 9) * 17 + y)};
            fwrite(px, 1, depth, file);
        }
    fclose(file);
}

void RunTool(const std::string& command)
{
    ASSERT_EQ(system(command.c_str()), 0) << command;
}

// Our decoding of `sgi` must equal the tool's decoding in `reference`.
void ExpectSameAsReference(const std::string& sgi, const std::string& reference, int depth, const std::string& what)
{
    Netpbm want;
    ASSERT_TRUE(ReadNetpbm(reference, want)) << what;
    ASSERT_EQ(want.depth, depth) << what;
    int width = 0, height = 0;
    unsigned char* pixels = ReadSgiImage(sgi.c_str(), &width, &height, depth == 4);
    ASSERT_NE(pixels, nullptr) << what;
    ASSERT_EQ(width, want.width) << what;
    ASSERT_EQ(height, want.height) << what;
    size_t rowBytes = (size_t)width * depth;
    int wrongRows = 0;
    for (int y = 0; y < height; y++) // SGI keeps the bottom row first
        if (memcmp(pixels + (size_t)y * rowBytes, want.pixels.data() + (size_t)(height - 1 - y) * rowBytes, rowBytes) != 0)
            wrongRows++;
    free(pixels);
    EXPECT_EQ(wrongRows, 0) << what;
}

struct Size {
    int width, height;
};
const Size SIZES[] = {{1, 1}, {3, 5}, {257, 129}};

std::string Scratch(const char* name)
{
    return testing::TempDir() + "/sgi_tools_" + std::to_string(getpid()) + "_" + name;
}

TEST(SgiTools, ImageMagickImagesDecodeAsImageMagickDecodesThem)
{
    if (access(IMAGEMAGICK, X_OK) != 0)
        GTEST_SKIP() << "ImageMagick missing (scripts/install-deps.sh test)";
    for (Size size : SIZES)
        for (int depth : {3, 4})
            for (const char* compression : {"None", "RLE"}) {
                std::string what = std::to_string(size.width) + "x" + std::to_string(size.height) + "x" +
                                   std::to_string(depth) + " " + compression;
                std::string source = Scratch(depth == 3 ? "src.ppm" : "src.pam");
                std::string sgi = Scratch("im.sgi"), reference = Scratch("im.pam");
                WriteSource(source, size.width, size.height, depth);
                RunTool(std::string(IMAGEMAGICK) + " " + source + " -compress " + compression + " sgi:" + sgi);
                RunTool(std::string(IMAGEMAGICK) + " sgi:" + sgi + " -depth 8 pam:" + reference);
                ExpectSameAsReference(sgi, reference, depth, what);
                SgiImage* image = OpenSgiImage(sgi.c_str());
                ASSERT_NE(image, nullptr);
                EXPECT_EQ(SgiIsRle(image), strcmp(compression, "RLE") == 0) << what;
                EXPECT_EQ(image->zsize, depth) << what;
                CloseSgiImage(image);
                remove(source.c_str());
                remove(sgi.c_str());
                remove(reference.c_str());
            }
}

// netpbm's writer takes only grey or RGB input, so it covers 3 channels.
TEST(SgiTools, NetpbmImagesDecodeAsNetpbmDecodesThem)
{
    if (access(PNMTOSGI, X_OK) != 0 || access(SGITOPNM, X_OK) != 0)
        GTEST_SKIP() << "netpbm missing (scripts/install-deps.sh test)";
    for (Size size : SIZES)
        for (const char* storage : {"-verbatim", "-rle"}) {
            std::string what = std::to_string(size.width) + "x" + std::to_string(size.height) + " " + storage;
            std::string source = Scratch("src.ppm"), sgi = Scratch("np.sgi"), reference = Scratch("np.ppm");
            WriteSource(source, size.width, size.height, 3);
            RunTool(std::string(PNMTOSGI) + " " + storage + " " + source + " > " + sgi + " 2>/dev/null");
            RunTool(std::string(SGITOPNM) + " " + sgi + " > " + reference + " 2>/dev/null");
            ExpectSameAsReference(sgi, reference, 3, what);
            remove(source.c_str());
            remove(sgi.c_str());
            remove(reference.c_str());
        }
}

} // namespace
