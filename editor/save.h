// Saving the editor's grid as a landscape file under a name typed on the
// console.
#pragma once

#include <cstdio>

namespace editor {

// Writes the whole grid to the file `fileName` names (SaveLandscapeFile says
// how links, devices and read-only folders are met). Prints nothing on
// success; on failure prints one line naming the file and the reason, and
// whether the file was left as it was or may be incomplete, and returns
// false. The grid is never changed.
bool SaveLandscape(const char* fileName);

// The "w" flow: prompts "Writing to what filename? ", reads one word from
// `console` and saves under it. A missing or over-long name saves nothing.
void SaveFlow(FILE* console);

} // namespace editor
