// Writing side of the landscape file, the only thing the editor hands to the
// simulator: a header "%d %d %f %f %f\n" and N lines of N heights, each "%d ".
#pragma once

#include <cstdio>
#include <string>

// Writes header and body to an open stream. Line r holds heights[r * sizeX + c]
// for c = 0 .. sizeX - 1. Both loops are bounded by sizeX, as the file has
// always been written: every grid handed to it is square (the editor's 41 x 41,
// the tool's N x N), and sizeY is only written into the header. Returns false
// if the stream reports a write error.
bool WriteLandscape(FILE* out, int sizeX, int sizeY, const int* heights);

// Saves the landscape to the file `path` names, as SaveFileCarefully does.
bool SaveLandscapeFile(const char* path, int sizeX, int sizeY, const int* heights, std::string& error,
                       bool* touched = nullptr);
