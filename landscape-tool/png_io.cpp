// PNG reading to grey samples and all-or-nothing PNG writing, on libpng.
#include "landscape-tool/png_io.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <png.h>

#include "common/careful_save.h"
#include "common/png_error.h"
#include "common/regular_file.h"

namespace {

// What libpng's callbacks report back: the first error met, and whether the
// file ran out before libpng had all it needed.
struct PngContext {
    FILE* file = nullptr;
    bool truncated = false;
    bool ioError = false;
    int ioErrno = 0;
    PngErrorMessage error; // the jump of an error lands in the setjmp of the read
};

void ReadFromFile(png_structp png, png_bytep data, size_t length)
{
    PngContext* context = (PngContext*)png_get_io_ptr(png);
    if (fread(data, 1, length, context->file) == length)
        return;
    if (ferror(context->file)) {
        context->ioError = true;
        context->ioErrno = errno;
    } else {
        context->truncated = true;
    }
    png_error(png, "read failed");
}

bool WriteBytes(FILE* out, const void* data)
{
    const std::vector<uint8_t>& bytes = *(const std::vector<uint8_t>*)data;
    return fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
}

// 0..65535 luminance of one pixel of a row as libpng hands it over after the
// transforms below: 1 or 3 channels of 8 or 16 bits.
inline uint16_t SampleAt(const png_byte* row, int x, int channels, int depth)
{
    float value[3];
    for (int c = 0; c < channels; c++) {
        const png_byte* p = row + ((size_t)x * channels + c) * (depth / 8);
        value[c] = depth == 16 ? (float)((p[0] << 8) | p[1]) : (float)(p[0] * 257);
    }
    if (channels == 1)
        return (uint16_t)value[0];
    float y = 0.2126f * value[0] + 0.7152f * value[1] + 0.0722f * value[2] + 0.5f;
    return y >= 65535.0f ? 65535 : (uint16_t)y;
}

void ConvertRow(const png_byte* row, int width, int channels, int depth, uint16_t* out)
{
    for (int x = 0; x < width; x++)
        out[x] = SampleAt(row, x, channels, depth);
}

// The libpng part of a read: everything between setjmp and the last row. The
// buffers live in `image` and `raw`, outside this frame, so a jump out of
// libpng leaves nothing to destroy. Returns false after a libpng error.
bool DecodePng(png_structp png, png_infop info, GreyImage& image, std::vector<png_byte>& raw,
               std::vector<png_bytep>& rows, bool& tooLarge)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_user_limits(png, 1 << 20, 1 << 20);
    png_read_info(png, info);
    png_uint_32 width = png_get_image_width(png, info);
    png_uint_32 height = png_get_image_height(png, info);
    image.width = (int)width;
    image.height = (int)height;
    if ((uint64_t)width * height > PNG_MAX_PIXELS) {
        tooLarge = true;
        return true;
    }
    int colour = png_get_color_type(png, info);
    if (colour == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colour == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (colour & PNG_COLOR_MASK_ALPHA)
        png_set_strip_alpha(png);
    int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    int channels = png_get_channels(png, info);
    int depth = png_get_bit_depth(png, info);
    size_t rowBytes = png_get_rowbytes(png, info);

    image.samples.resize((size_t)width * height);
    if (passes == 1) {
        // One row at a time: a large image never has its colour form in memory.
        raw.resize(rowBytes);
        for (png_uint_32 y = 0; y < height; y++) {
            png_read_row(png, raw.data(), nullptr);
            ConvertRow(raw.data(), (int)width, channels, depth, &image.samples[(size_t)y * width]);
        }
    } else {
        raw.resize(rowBytes * height);
        rows.resize(height);
        for (png_uint_32 y = 0; y < height; y++)
            rows[y] = raw.data() + rowBytes * y;
        png_read_image(png, rows.data());
        for (png_uint_32 y = 0; y < height; y++)
            ConvertRow(rows[y], (int)width, channels, depth, &image.samples[(size_t)y * width]);
    }
    // Reading to the end checks the last chunks too: a file cut after its
    // pixels is as damaged as one cut inside them.
    png_read_end(png, nullptr);
    return true;
}

} // namespace

bool ReadGreyPng(const char* path, GreyImage& image, std::string& error)
{
    image = GreyImage();
    std::string name(path);
    // Only a regular file: opening a named pipe with no writer would hang.
    FILE* in = OpenRegularFile(path, "rb");
    if (!in) {
        error = errno == EINVAL ? name + ": not a regular file"
                                : name + ": cannot open the image: " + strerror(errno);
        return false;
    }
    png_byte signature[8];
    size_t got = fread(signature, 1, sizeof signature, in);
    if (got != sizeof signature || png_sig_cmp(signature, 0, sizeof signature) != 0) {
        bool failed = ferror(in) != 0;
        int readErrno = errno;
        fclose(in);
        error = failed ? name + ": cannot read the image: " + strerror(readErrno) : name + ": not a PNG image";
        return false;
    }

    PngContext context;
    context.file = in;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &context.error, OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        fclose(in);
        error = name + ": not enough memory to read the image";
        return false;
    }
    png_set_read_fn(png, &context, ReadFromFile);
    png_set_sig_bytes(png, sizeof signature);
    std::vector<png_byte> raw;
    std::vector<png_bytep> rows;
    bool tooLarge = false;
    bool decoded = false;
    bool noMemory = false;
    try {
        decoded = DecodePng(png, info, image, raw, rows, tooLarge);
    } catch (const std::bad_alloc&) {
        noMemory = true;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    fclose(in);

    if (decoded && !tooLarge && !noMemory)
        return true;
    std::string size = std::to_string(image.width) + " x " + std::to_string(image.height);
    image = GreyImage();
    if (noMemory)
        error = name + ": not enough memory to read the image";
    else if (tooLarge)
        error = name + ": image of " + size + " pixels is larger than the " + std::to_string(PNG_MAX_PIXELS) +
                " pixels accepted";
    else if (context.truncated)
        error = name + ": the image is cut short (truncated file)";
    else if (context.ioError)
        error = name + ": cannot read the image: " + strerror(context.ioErrno);
    else
        error = name + ": damaged PNG image: " + context.error.text;
    return false;
}

bool WritePngFile(const char* path, int width, int height, PngKind kind, const std::vector<uint8_t>& pixels,
                  std::string& error)
{
    // The whole image is encoded before the file is touched.
    std::vector<uint8_t> encoded;
    std::string reason;
    if (!EncodePng(width, height, kind, pixels, encoded, reason)) {
        error = std::string(path) + ": could not encode the image: " + reason;
        return false;
    }
    return SaveFileCarefully(path, {WriteBytes, &encoded, "the image"}, error);
}
