// The monotonic clock, the one every timer, interpolation and rate of the
// programs goes by: it never jumps when the wall clock is set.
#pragma once

#include <cstdint>

int64_t MonotonicNs();
double MonotonicSeconds();
