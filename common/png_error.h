// libpng's error path, one for every reader and writer of PNG files: the
// first message kept, then the jump back to the caller's setjmp.
#pragma once

#include <png.h>

// Where a png struct's errors go: pass one as the error pointer of
// png_create_read_struct or png_create_write_struct with these handlers.
struct PngErrorMessage {
    char text[256] = "";
};

// Keeps the first message in the PngErrorMessage the error pointer names and
// jumps to the png struct's setjmp; libpng expects it never to return.
void OnPngError(png_structp png, png_const_charp message);
// Warnings change nothing in what is read or written: none is shown.
void OnPngWarning(png_structp png, png_const_charp message);
