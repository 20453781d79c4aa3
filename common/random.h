// The one pseudo-random generator of both programs. Its state starts at 1 and
// is never reseeded, so the forest, the mountains and the editor's random
// heights come out the same on every run.
#pragma once

#include <cstdint>

const uint32_t RANDOM_FIRST_STATE = 1;

// Linear congruential: state = state * 214013 + 2531011 (mod 2^32);
// returns (state >> 16) & 0x7FFF, 0 to 32767.
int NextRandom();
// Back to the first state, as at a program start.
void ResetRandom();
// The same sequence from a state of the caller's own, for replaying what the
// programs draw without disturbing the shared one.
int NextRandomFrom(uint32_t& state);
