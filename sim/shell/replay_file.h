// A recording file to replay, read and checked against this game and the
// landscape here, and the line that says where a replay left the recording.
#pragma once

#include <cstdint>

#include "common/flight_recording.h"

// Reads a recording for --play, --timedemo or --track and checks that this
// game can replay it over the landscape file here. False after one line on
// standard error naming the file.
bool LoadReplayFile(const char* path, Recording& recording);
// The "replay diverged at step N" line on standard error, naming the
// versions when the recording came from another one.
void ReportDivergence(const Recording& recording, int64_t step);
