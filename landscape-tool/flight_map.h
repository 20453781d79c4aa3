// `map`: a recorded flight drawn from above on the landscape it was flown
// over. The positions come from the simulator's own replay (pelorin --track),
// since only its flight step can say where the aircraft went.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/landscape_reader.h"

// The simulator's runway as the airfield model puts it in the world (world
// units), kept here in step with sim/assets/model_airfield.cpp (the model's
// runway scaled ten times and turned so that it runs along z).
const float SIM_RUNWAY_WEST_X = 2450.0f, SIM_RUNWAY_EAST_X = 3700.0f;
const float SIM_RUNWAY_START_Z = -12800.0f, SIM_RUNWAY_END_Z = 15000.0f;
// Longest side of the picture, in pixels.
const int MAP_SIZE = 1024;

// One row of pelorin --track.
struct TrackRow {
    double time, x, y, z;
    int gear, onGround, crashed;
};

// Parses the CSV of pelorin --track; false with the reason when it is not one.
bool ParseTrack(const std::string& csv, std::vector<TrackRow>& rows, std::string& error);
// Runs `program` --track `recording` and collects its rows. False with a
// one-line reason, or with none when the simulator refused the recording
// (it said why on standard error).
bool RunTrack(const std::string& program, const char* recording, std::string& csv, std::string& error);
// The simulator beside this program (as installed), or on PATH.
std::string SimulatorProgram();

// Draws the map: the flat ground, the runway, every tile's outline with tile 0
// shaded by the height colour rule from `landscape` (null when the simulator
// flies a generated tile 0) and every tile labelled with its index; each
// flight (a restart begins the next) in a colour of its own, its start and
// end marked S and E; marks: green at a take-off, blue at a touch-down, red
// at a crash; a legend naming each flight by its colour and the marks, and a
// scale bar in world units. RGB8 rows, top first; north (+x) up and east (+z,
// along the runway) to the right.
std::vector<uint8_t> DrawFlightMap(const std::vector<TrackRow>& rows, const LandscapeGrid* landscape, int& width,
                                   int& height);
