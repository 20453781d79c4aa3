// The ghost: a recording of a course replayed before the game starts, without
// a window, into the poses its jet flew, one per step of its course clock.
#pragma once

#include <cstdint>
#include <vector>

#include "common/course_file.h"
#include "common/flight_recording.h"
#include "sim/render/course_draw.h"

struct GhostRun {
    std::vector<GhostPose> poses;  // from the step it passed the first gate
    std::vector<int64_t> splits;   // its clock at each gate it passed
    bool finished = false;
};

// Replays `recording` over `course` through the game's own step and keeps its
// fastest finished attempt, or, when none finished, its last one that passed
// the first gate. Starts from the start state (`startState`, the game's
// ResetSimulation, handed down so that the reset's owner stays above this
// file) and leaves the simulation's state as the replay ended: the caller
// starts the game from the start state afterwards. Prints nothing.
// False when no attempt passed the first gate.
bool ReplayGhost(const Recording& recording, const Course& course, GhostRun& ghost, void (*startState)());
