// PNG encoding into memory on libpng.
#include "common/png_write.h"

#include <csetjmp>
#include <cstdio>
#include <new>
#include <png.h>

#include "common/png_error.h"

namespace {

struct EncodeContext {
    std::vector<uint8_t>* out;
    PngErrorMessage error; // the jump of an error lands in the setjmp of EncodeRows
};

void WriteToBuffer(png_structp png, png_bytep data, size_t length)
{
    EncodeContext* context = (EncodeContext*)png_get_io_ptr(png);
    context->out->insert(context->out->end(), data, data + length);
}

void FlushNothing(png_structp)
{
}

// The libpng part: everything between setjmp and the end of the image. The
// buffers live outside this frame, so a jump out of libpng leaves nothing to
// destroy. Returns false after a libpng error.
bool EncodeRows(png_structp png, png_infop info, int width, int height, PngKind kind,
                const std::vector<uint8_t>& pixels, int compression)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    bool grey = kind == PNG_GREY16;
    png_set_IHDR(png, info, (png_uint_32)width, (png_uint_32)height, grey ? 16 : 8,
                 grey ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (compression >= 0)
        png_set_compression_level(png, compression);
    png_write_info(png, info);
    size_t rowBytes = (size_t)width * (grey ? 2 : 3);
    for (int y = 0; y < height; y++)
        png_write_row(png, pixels.data() + rowBytes * y);
    png_write_end(png, nullptr);
    return true;
}

} // namespace

bool EncodePng(int width, int height, PngKind kind, const std::vector<uint8_t>& pixels, std::vector<uint8_t>& out,
               std::string& error, int compression)
{
    out.clear();
    size_t need = (size_t)width * height * (kind == PNG_GREY16 ? 2 : 3);
    if (width <= 0 || height <= 0 || pixels.size() < need) {
        error = "no image to encode";
        return false;
    }
    EncodeContext context = {&out, {}};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &context.error, OnPngError, OnPngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool done = false;
    if (info) {
        png_set_write_fn(png, &context, WriteToBuffer, FlushNothing);
        try {
            done = EncodeRows(png, info, width, height, kind, pixels, compression);
        } catch (const std::bad_alloc&) {
            snprintf(context.error.text, sizeof context.error.text, "not enough memory");
        }
    }
    png_destroy_write_struct(&png, &info);
    if (!done) {
        error = context.error.text[0] != '\0' ? context.error.text : "not enough memory";
        out.clear();
    }
    return done;
}
