// Texture set.
#include "sim/assets/textures.h"

void LoadTextureSet()
{
}
