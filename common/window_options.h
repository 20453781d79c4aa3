// The command-line options both programs read around the toolkit's own:
// -geometry made whole before the toolkit reads it, and flags of their own.
#pragma once

#include <string>

// A window's place on the screen, as glutPositionWindow takes it (the outer
// corner, decorations included), and its size in pixels.
struct WindowPlace {
    int x, y, width, height;
};

// A -geometry value as X programs take it, [=][WxH][{+-}X{+-}Y], made whole
// for the toolkit: what it leaves out of the size is the start size
// `width` x `height`, a size of 0 or above 32767 counts as left out, and a
// value that is no geometry at all becomes the start size alone. The toolkit
// would otherwise open a window of an undefined size for "+X+Y" alone.
std::string GeometryWithSize(const std::string& value, int width, int height);

// Rewrites the value of the last "-geometry" in argv (the one the toolkit
// takes) by GeometryWithSize before glutInit reads it; `storage` holds the
// new text and must live until then.
void CompleteGeometryOption(int argc, char** argv, int width, int height, std::string& storage);

// Removes every argument equal to `name` from argv (argc shrinks, the
// order of the rest stays) and tells whether there was one.
bool TakeOption(int& argc, char** argv, const char* name);
