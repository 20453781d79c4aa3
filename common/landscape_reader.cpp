// Landscape file reader: a "%f" scanner without locale or overflow surprises.
#include "common/landscape_reader.h"

#include "common/regular_file.h"

#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <new>
#include <string>

// Looks at data[i]; a look past the end is what sets the end-of-file state,
// just as a stream's end flag is set by the read that meets it.
static int PeekAt(const char* data, size_t size, size_t i, bool& atEnd)
{
    if (i >= size) {
        atEnd = true;
        return -1;
    }
    return (unsigned char)data[i];
}

static bool IsDigit(int c)
{
    return c >= '0' && c <= '9';
}

static bool IsHexDigit(int c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

static int LowerAscii(int c)
{
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
}

// The scanner's white space is the C locale's, whatever the user's locale.
static bool IsBlank(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

static bool MatchWord(const char* data, size_t size, size_t i, const char* word, bool& atEnd)
{
    for (; *word; word++, i++)
        if (LowerAscii(PeekAt(data, size, i, atEnd)) != *word)
            return false;
    return true;
}

// Digits, then an exponent only if at least one digit follows its marker.
static size_t ScanExponent(const char* data, size_t size, size_t i, int marker, bool& atEnd)
{
    if (LowerAscii(PeekAt(data, size, i, atEnd)) != marker)
        return i;
    size_t j = i + 1;
    int c = PeekAt(data, size, j, atEnd);
    if (c == '+' || c == '-')
        c = PeekAt(data, size, ++j, atEnd);
    if (!IsDigit(c))
        return i;
    while (IsDigit(PeekAt(data, size, j, atEnd)))
        j++;
    return j;
}

// Length of the longest prefix at data[pos] that strtod's grammar accepts
// (decimal, hexadecimal, inf, infinity, nan, nan(...)); 0 if none.
static size_t NumberLength(const char* data, size_t size, size_t pos, bool& atEnd)
{
    size_t i = pos;
    int c = PeekAt(data, size, i, atEnd);
    if (c == '+' || c == '-')
        c = PeekAt(data, size, ++i, atEnd);
    int lower = LowerAscii(c);
    if (lower == 'i') {
        if (!MatchWord(data, size, i, "inf", atEnd))
            return 0;
        i += 3;
        if (MatchWord(data, size, i, "inity", atEnd))
            i += 5;
        return i - pos;
    }
    if (lower == 'n') {
        if (!MatchWord(data, size, i, "nan", atEnd))
            return 0;
        i += 3;
        if (PeekAt(data, size, i, atEnd) == '(') {
            size_t j = i + 1;
            int d = PeekAt(data, size, j, atEnd);
            while (IsDigit(d) || (LowerAscii(d) >= 'a' && LowerAscii(d) <= 'z') || d == '_')
                d = PeekAt(data, size, ++j, atEnd);
            if (d == ')')
                i = j + 1;
        }
        return i - pos;
    }
    if (c == '0' && LowerAscii(PeekAt(data, size, i + 1, atEnd)) == 'x') {
        size_t j = i + 2;
        int digits = 0;
        while (IsHexDigit(PeekAt(data, size, j, atEnd))) {
            j++;
            digits++;
        }
        if (PeekAt(data, size, j, atEnd) == '.') {
            j++;
            while (IsHexDigit(PeekAt(data, size, j, atEnd))) {
                j++;
                digits++;
            }
        }
        if (digits > 0)
            return ScanExponent(data, size, j, 'p', atEnd) - pos;
        // "0x" with no hex digit is the number 0 followed by an 'x'.
        return i + 1 - pos;
    }
    int digits = 0;
    while (IsDigit(PeekAt(data, size, i, atEnd))) {
        i++;
        digits++;
    }
    if (PeekAt(data, size, i, atEnd) == '.') {
        i++;
        while (IsDigit(PeekAt(data, size, i, atEnd))) {
            i++;
            digits++;
        }
    }
    if (digits == 0)
        return 0;
    return ScanExponent(data, size, i, 'e', atEnd) - pos;
}

static locale_t CLocale()
{
    static locale_t c = newlocale(LC_ALL_MASK, "C", (locale_t)0);
    return c;
}

bool ScanLandscapeNumber(const char* data, size_t size, size_t& pos, bool& atEnd, float& value)
{
    while (IsBlank(PeekAt(data, size, pos, atEnd)))
        pos++;
    size_t length = NumberLength(data, size, pos, atEnd);
    if (length == 0)
        return false;
    // strtof_l needs a terminated string and rounds exactly as "%f" does;
    // out of range it gives an infinity or zero, never undefined behaviour.
    std::string token(data + pos, length);
    value = strtof_l(token.c_str(), nullptr, CLocale());
    pos += length;
    return true;
}

bool DecodeLandscape(const char* data, size_t size, const char* name, LandscapeGrid& grid, FILE* echo)
{
    grid = LandscapeGrid();
    size_t pos = 0;
    bool atEnd = false;
    int fieldsRead = 0;
    for (float& field : grid.header) {
        if (!ScanLandscapeNumber(data, size, pos, atEnd, field))
            break;
        fieldsRead++;
    }
    if (echo) {
        fprintf(echo, "%f %f %f %f %f\n", grid.header[0], grid.header[1], grid.header[2], grid.header[3],
                grid.header[4]);
        fflush(echo);
    }

    // A file that gives no size at all (empty, or not starting with a
    // number) is treated like one that could not be read: nothing changes.
    if (fieldsRead == 0)
        return false;

    // The size is checked as a real before it becomes an integer, so that no
    // header can overflow the conversion or the n * n product.
    float first = grid.header[0];
    if (!std::isfinite(first)) {
        fprintf(stderr, "%s: grid size %f is not a number of grid points; keeping the generated terrain\n", name,
                first);
        return false;
    }
    if (first >= (float)LANDSCAPE_MAX_SIZE + 1.0f) {
        fprintf(stderr, "%s: grid size %.0f is too large (at most %d points a side); keeping the generated terrain\n",
                name, std::trunc(first), LANDSCAPE_MAX_SIZE);
        return false;
    }
    grid.size = first < 1.0f ? 0 : (int)first;
    size_t count = (size_t)grid.size * (size_t)grid.size;
    try {
        grid.heights.assign(count, 0.0f);
    } catch (const std::bad_alloc&) {
        fprintf(stderr, "%s: no memory for a grid of %d x %d points; keeping the generated terrain\n", name,
                grid.size, grid.size);
        grid.size = 0;
        return false;
    }

    for (size_t i = 0; i < count; i++) {
        if (atEnd) {
            grid.errorLines++;
            if (echo)
                fputs("ERROR!\n", echo);
        }
        float value = 0.0f;
        ScanLandscapeNumber(data, size, pos, atEnd, value);
        if (echo) {
            fprintf(echo, "%f\n", value);
            fflush(echo);
        }
        // An unreadable or non-finite height counts as ground level; the load
        // then raises it like any other low point.
        grid.heights[i] = std::isfinite(value) ? value : 0.0f;
    }
    return true;
}

bool ReadLandscape(const char* path, LandscapeGrid& grid, FILE* echo)
{
    grid = LandscapeGrid();
    FILE* in = OpenRegularFile(path, "r");
    if (!in)
        return false;
    std::string text;
    char chunk[65536];
    size_t got;
    bool tooLarge = false;
    try {
        while ((got = fread(chunk, 1, sizeof chunk, in)) > 0) {
            if (text.size() + got > LANDSCAPE_MAX_FILE_BYTES) {
                tooLarge = true;
                break;
            }
            text.append(chunk, got);
        }
    } catch (const std::bad_alloc&) {
        tooLarge = true;
    }
    // A stream that fails part-way (a directory, an I/O error) counts as a
    // file that could not be read: silently left alone.
    bool failed = ferror(in) != 0;
    fclose(in);
    if (tooLarge) {
        fprintf(stderr, "%s: file is larger than %zu bytes; keeping the generated terrain\n", path,
                LANDSCAPE_MAX_FILE_BYTES);
        return false;
    }
    if (failed)
        return false;
    return DecodeLandscape(text.data(), text.size(), path, grid, echo);
}
