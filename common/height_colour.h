// The colour of a terrain height, shared by the simulator's tiles and the
// editor's grid so that both show a landscape alike.
#pragma once

struct Colour3 {
    float r, g, b;
};

const Colour3 GROUND_COLOUR = {0.3f, 0.5f, 0.1f}; // height 0
const Colour3 PEAK_COLOUR = {0.65f, 0.16f, 0.16f}; // height 8000

// Height 0 or below gives the ground colour; above 0 it blends towards the
// peak colour with t = h / 8000, not limited at 8000 (OpenGL clamps later).
Colour3 HeightColour(float height);
