// Start places and the patience with bad messages.
#include "server/server_rules.h"

#include <cmath>

#include "common/net_messages.h"

// The game's start position on the runway.
const float START_X = 3075.0f, START_Z = -9470.0f;

void StartPlace(int slot, float& x, float& z)
{
    int row = slot / START_PLACES_PER_ROW, column = slot % START_PLACES_PER_ROW;
    // 0, +1, -1, +2, -2, ... places across: the rows grow to both sides.
    int across = (column + 1) / 2 * (column % 2 ? 1 : -1);
    x = START_X + across * START_ROW_SPACING;
    z = START_Z - row * START_ROW_DEPTH;
}

int FreeStartPlace(const float* jets, int count)
{
    for (int slot = 0; slot < NET_MAX_PLAYERS; slot++) {
        float x, z;
        StartPlace(slot, x, z);
        bool free = true;
        for (int i = 0; i < count && free; i++)
            free = std::hypot(jets[2 * i] - x, jets[2 * i + 1] - z) >= START_CLEARANCE;
        if (free)
            return slot;
    }
    return count % NET_MAX_PLAYERS;
}

bool TakeStateStep(uint32_t& lastStep, uint32_t step)
{
    if (step < lastStep)
        return false;
    lastStep = step;
    return true;
}

bool NameTakenBack(uint32_t holderHost, double silentS, uint32_t host)
{
    return holderHost == host && silentS >= NAME_RECLAIM_SILENCE_S;
}

bool CountBadMessage(BadBucket& bucket, double nowS)
{
    double drained = (nowS - bucket.lastS) * BAD_DRAIN_PER_S;
    bucket.level = drained > bucket.level ? 0.0 : bucket.level - drained;
    bucket.lastS = nowS;
    bucket.level += 1.0;
    return bucket.level > BAD_LIMIT;
}
