// --track: a recording replayed without a window, printed as CSV on standard
// output, one row every 100 ms of the flight.
#pragma once

#include <cstdio>

// Rows every this many steps.
const int TRACK_ROW_STEPS = 10;

// The world the game flies in (the generated tiles and the landscape file in
// tile 0), made without GL: the random draws fall as they do in the game.
void BuildWorldWithoutWindow();
// The CSV's first line, naming its columns.
void PrintTrackHeader(FILE* out);
// One row for the state now, `seconds` into its flight.
void PrintTrackRow(FILE* out, double seconds);
// Reads, checks and replays the recording at `path`, the rows on standard
// output and everything the game would print thrown away. Returns the exit
// status: 0, or 1 after one line on standard error.
int RunTrack(const char* path);
