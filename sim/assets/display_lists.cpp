// Model, scenery and forest display lists.
#include "sim/assets/display_lists.h"

#include "common/random.h"
#include "sim/landscape/terrain.h"

void BuildDisplayLists()
{
    // The forest takes the first 200 random numbers; the terrain draws after them.
    for (int i = 0; i < 200; i++)
        NextRandom();
    LoadLandscape();
}
