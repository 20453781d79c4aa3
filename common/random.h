// The one pseudo-random generator of both programs. Its state starts at 1 and
// is never reseeded, so the forest, the mountains and the editor's random
// heights come out the same on every run.
#pragma once

// Linear congruential: state = state * 214013 + 2531011 (mod 2^32);
// returns (state >> 16) & 0x7FFF, 0 to 32767.
int NextRandom();
