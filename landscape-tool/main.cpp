// pelorin-landscape: heightmap images into landscape files and back, and what
// the simulator will make of a landscape file.
#include "landscape-tool/commands.h"

int main(int argc, char** argv)
{
    return RunLandscapeTool(argc, argv);
}
