// Saving a file the user named without leaving it half-written where that can
// be avoided: the landscape files of the editor and the landscape tool, and
// the tool's images.
#pragma once

#include <cstdio>
#include <string>

// What to save: `write` puts it into an open stream (returning false on a
// write error of its own); `what` names it in messages ("the landscape").
struct SaveContent {
    bool (*write)(FILE* out, const void* data);
    const void* data;
    const char* what;
};

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
bool SaveFileCarefully(const char* path, const SaveContent& content, std::string& error, bool* touched = nullptr);
