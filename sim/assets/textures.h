// The nine textures, loaded once at set-up under fixed texture names.
#pragma once

const unsigned TEX_FLOOR = 100;
const unsigned TEX_TREE = 101;
const unsigned TEX_EXPLOSION0 = 102;
const unsigned TEX_EXPLOSION1 = 103;
const unsigned TEX_EXPLOSION2 = 104;
const unsigned TEX_EXPLOSION3 = 105;
const unsigned TEX_METAL1 = 106;
const unsigned TEX_METAL2 = 107;
const unsigned TEX_SUN = 108;

// Loads the set from the working directory and enables 2-D texturing; an
// image that cannot be read ends the program with status 1.
void LoadTextureSet();
