// F5: flying the grid at once. The grid is saved as "landscape.dmf" in a
// scratch folder beside links to the simulator's images, and the simulator
// is started there as a process of its own; the folder goes when it ends.
#pragma once

#include <string>

namespace editor {

// The simulator F5 starts, found beside the editor or on PATH (FindProgram).
const char* const SIMULATOR_NAME = "pelorin";

// The folder holding the simulator's images: `binToData` taken from
// `editorFolder` (an installation's layout), else `sourceData` (the source
// tree's data, for a program run from its build folder). A folder counts if
// it holds "floor.rgb". Empty when neither does; an installed launcher
// links the images itself, so the simulator may still start.
std::string FindImageFolder(const std::string& editorFolder, const char* binToData, const char* sourceData);

// The F5 key. Prints "Flying the grid: SIMULATOR" once the simulator has
// started, or "Cannot fly the grid: REASON". Never waits for the simulator.
void FlyGrid();

} // namespace editor
