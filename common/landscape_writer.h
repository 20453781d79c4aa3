// Writing side of the landscape file, the only thing the editor hands to the
// simulator: a header "%d %d %f %f %f\n" and N lines of N heights, each "%d ".
#pragma once

#include <cstdio>
#include <string>

// Writes header and body to an open stream. Line r holds heights[r * sizeX + c]
// for c = 0 .. sizeX - 1; both loops are bounded by sizeX (the grids are
// square). Returns false if the stream reports a write error.
bool WriteLandscape(FILE* out, int sizeX, int sizeY, const int* heights);

// Saves to `path` without ever leaving it half-written: the data goes to a
// temporary file beside it, which is renamed over `path` only when writing
// and closing succeeded. On failure returns false, removes the temporary file
// and puts a one-line reason (naming the file) into `error`.
bool SaveLandscapeFile(const char* path, int sizeX, int sizeY, const int* heights, std::string& error);
