// What the simulator makes of a landscape file, worked out without starting
// it: the reader's own decoding, plus the rules the simulator applies after.
#pragma once

#include <cstddef>
#include <string>

#include "common/landscape_reader.h"

// The simulator's rules that the reader does not carry (they live in its
// terrain code, which needs GL): kept here in step with it, and checked
// against the running simulator by the end-to-end test.
const float SIM_LOWEST_HEIGHT = 0.001f; // every loaded height is raised to at least this
const float SIM_CELL_SIZE = 500.0f;     // world units between grid points
const float SIM_START_X = 3075.0f;      // where the aircraft stands at start
const float SIM_START_Z = -9470.0f;

struct LandscapeInfo {
    bool sizeRead = false; // the header's first number could be read at all
    bool refused = false;  // the simulator keeps its generated tile 0
    std::string refusal;   // why, when refused
    LandscapeGrid grid = LandscapeGrid(); // header always; heights when not refused
    size_t heightsRead = 0; // heights that were numbers, of size * size
    float minimum = 0.0f, maximum = 0.0f;
    double mean = 0.0;
    size_t raised = 0; // heights below SIM_LOWEST_HEIGHT (unreadable ones included)
};

// Reads the whole file at `path` into `text`, as the simulator's reader would
// take it. Returns false with a one-line reason naming the file in `error`
// when it cannot be opened or read, is not a regular file, or is larger than
// the reader accepts.
bool LoadLandscapeText(const char* path, std::string& text, std::string& error);

// Decodes `text` with the project's reader (no echo) and gathers the figures.
// A refused file is not decoded, so the reader prints nothing.
LandscapeInfo AnalyseLandscape(const std::string& text);

// The world position (x, z) of tile 0's centre: the first placement the
// simulator draws, which a landscape file keeps.
void TileZeroCentre(float& x, float& z);
// The centres of all 16 tiles, tile 0 first, from the same draws.
const int SIM_TILE_COUNT = 16;
const int SIM_MOUNTAIN_SIZE = 41; // grid points a side of a generated tile
void TileCentres(float x[SIM_TILE_COUNT], float z[SIM_TILE_COUNT]);

// The report of `info` subcommand: one "name: value" line per figure.
std::string FormatLandscapeInfo(const char* path, const LandscapeInfo& info);
