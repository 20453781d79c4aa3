// The shared linear congruential generator.
#include "common/random.h"

static uint32_t randomState = RANDOM_FIRST_STATE;

int NextRandomFrom(uint32_t& state)
{
    state = state * 214013u + 2531011u;
    return (int)((state >> 16) & 0x7FFF);
}

void ResetRandom()
{
    randomState = RANDOM_FIRST_STATE;
}

int NextRandom()
{
    return NextRandomFrom(randomState);
}
