// Opening a data file that must be an ordinary file: a named pipe would block
// the program at start and a device (/dev/zero) would never end.
#pragma once

#include <cstdio>

// Opens `path` for reading ("r" or "rb") only if it is a regular file; for
// anything else (missing, directory, pipe, device) returns null.
FILE* OpenRegularFile(const char* path, const char* mode);
