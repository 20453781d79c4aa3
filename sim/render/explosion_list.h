// The explosion's display list, rebuilt by every frame of the animation.
#pragma once

#include "sim/flight/explosion.h"

const int LIST_EXPLOSION = 30;

// Compiles LIST_EXPLOSION from the quad (replacing the previous contents):
// textured with the first explosion image while texturesOn, unlit.
void BuildExplosionList(const ExplosionQuad& quad);
