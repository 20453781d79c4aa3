// libpng's error path, shared by every reader and writer of PNG files.
#include "common/png_error.h"

#include <cstdio>

void OnPngError(png_structp png, png_const_charp message)
{
    PngErrorMessage* kept = (PngErrorMessage*)png_get_error_ptr(png);
    if (kept->text[0] == '\0')
        snprintf(kept->text, sizeof kept->text, "%s", message);
    png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp)
{
}
