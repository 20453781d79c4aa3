// Writing side of the landscape file, the only thing the editor hands to the
// simulator: a header "%d %d %f %f %f\n" and N lines of N heights, each "%d ".
#pragma once

#include <cstdio>
#include <string>

// Writes header and body to an open stream. Line r holds heights[r * sizeX + c]
// for c = 0 .. sizeX - 1; both loops are bounded by sizeX (the grids are
// square). Returns false if the stream reports a write error.
bool WriteLandscape(FILE* out, int sizeX, int sizeY, const int* heights);

// Saves to the file `path` names. A symbolic link is followed to the file it
// names. A plain file is replaced whole: the data goes to a temporary file
// beside it, which takes the old file's owner, group and permissions where
// permitted and is renamed over it only when writing and closing succeeded.
// Where a rename would change what the name means, or cannot be done, the
// target is truncated and written in place: a device or named pipe, a file
// with several hard links, a folder that takes no new file. On failure
// returns false with a one-line reason naming `path` in `error`, and sets
// `touched` (if given) when the target had already been opened and
// truncated, so that it may now be incomplete.
bool SaveLandscapeFile(const char* path, int sizeX, int sizeY, const int* heights, std::string& error,
                       bool* touched = nullptr);
