// Opening a data file that must be an ordinary file: a named pipe would block
// the program at start and a device (/dev/zero) would never end.
#pragma once

#include <cstdio>

// Opens `path` for reading ("r" or "rb") only if it is a regular file; for
// anything else (missing, directory, pipe, device) returns null.
FILE* OpenRegularFile(const char* path, const char* mode);

#include <string>

// Reads the whole regular file at `path` into `text` when it holds at most
// `maxBytes` bytes; false with a one-line reason naming the file otherwise.
bool ReadSmallTextFile(const char* path, size_t maxBytes, std::string& text, std::string& error);
