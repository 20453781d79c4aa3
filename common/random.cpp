// The shared linear congruential generator.
#include "common/random.h"

#include <cstdint>

static uint32_t randomState = 1;

int NextRandom()
{
    randomState = randomState * 214013u + 2531011u;
    return (int)((randomState >> 16) & 0x7FFF);
}
