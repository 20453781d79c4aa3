// Where a generated terrain tile lies in the world: its ring and the two
// placement draws of the random generator make its centre. The simulator
// places its tiles with it and the landscape tool tells where tile 0 will lie.
#pragma once

const int TILES_PER_RING = 8;

// Centre (x, z) of tile `tile` (0..15) from its draws angleDraw and
// distanceDraw (each NextRandom() % 100, in that order). The angle is stored
// in single precision; the sine, cosine and products are taken in double and
// rounded once into the result.
void TilePlacement(int tile, int angleDraw, int distanceDraw, float& x, float& z);
