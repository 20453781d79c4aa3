// The display lists of the models, the scenery, the ground plane and the forest.
#pragma once

const int LIST_AIRCRAFT = 10;
const int LIST_AIRCRAFT_GEAR = 11;
const int LIST_AIRFIELD = 12;
const int LIST_DELTA_WING = 13;
const int LIST_SCENERY = 14;
const int LIST_TREE = 16;
const int LIST_FOREST = 17;
const int LIST_GROUND = 18;

// Builds lists 10, 12, 11, 13, 18, 14, 16, 17 in that order. The forest draws
// the first 200 random numbers, before the landscape's tiles.
void BuildDisplayLists();
// Compiles the ghost's jet as two new lists, placed and turned as lists 10
// and 11 are but about a quarter of their triangles: the first without its
// gear, the next with it. Returns the first list's id.
unsigned BuildGhostAircraftLists();
// Draws the forest's random numbers without building it, so that a world
// made without a window places its tiles where the game does.
void SkipForestDraws();
// The shininess and specular colour the aircraft lists set for themselves.
void SetAircraftMaterial();
