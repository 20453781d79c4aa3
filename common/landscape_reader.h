// Reading side of the landscape file: five header numbers, then N x N heights,
// scanned as "%f" would in the C locale, with the simulator's console echo.
#pragma once

#include <cstddef>
#include <cstdio>
#include <vector>

// Largest grid side accepted: the simulator keeps ten floats per grid point,
// so 2049 x 2049 points take about 170 MB, well inside a desktop's memory.
const int LANDSCAPE_MAX_SIZE = 2049;
// The largest grid written with generous number text is a few tens of
// megabytes; anything past this is refused rather than read into memory.
const size_t LANDSCAPE_MAX_FILE_BYTES = (size_t)256 << 20;

struct LandscapeGrid {
    float header[5];            // the five header numbers as read; 0 where unreadable
    int size;                   // grid points per side; 0 when the header asks for less than 1
    std::vector<float> heights; // size * size, [row * size + col]; unreadable or non-finite heights are 0
    int errorLines;             // "ERROR!" lines printed: reads made after the end of the data
};

// Decodes a landscape held in memory (not NUL-terminated). Prints the header
// echo and one line per height to `echo` (stdout in the simulator; null for
// none). Returns false, after the echo and with nothing more, when not even
// the size can be read (an empty file, or one that does not start with a
// number). Returns false, with one line on stderr naming `name` and the size,
// when the header's size is not a finite number or exceeds LANDSCAPE_MAX_SIZE
// or its heights cannot be allocated; `grid` then holds no heights.
bool DecodeLandscape(const char* data, size_t size, const char* name, LandscapeGrid& grid, FILE* echo = stdout);

// Reads the file at `path` as DecodeLandscape does. Returns false without a
// message when the file cannot be opened, and with a line on stderr when it
// is refused (too large, unreadable part-way, or a size out of range).
bool ReadLandscape(const char* path, LandscapeGrid& grid, FILE* echo = stdout);

// One "%f" conversion at data[pos], skipping white space first. On success
// stores the value and moves pos past it; on failure leaves pos on the token
// that is not a number. Sets atEnd once the scan has looked past the data.
bool ScanLandscapeNumber(const char* data, size_t size, size_t& pos, bool& atEnd, float& value);
