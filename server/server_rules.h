// The server's decisions that need no network: where a joining player starts,
// whether a state goes backwards, when a client has lied often enough.
#pragma once

#include <cstdint>

// Places on the airfield beside the start: the first is the game's own start
// pose, the others in rows beside and behind it, a jet's width and more apart.
const float START_ROW_SPACING = 300.0f; // world units between places across
const float START_ROW_DEPTH = 450.0f;   // world units between rows
const int START_PLACES_PER_ROW = 8;
// A place closer than this to another player's jet is not free.
const float START_CLEARANCE = 250.0f;

// World x and z of start place `slot` (0 is the game's start position).
void StartPlace(int slot, float& x, float& z);

// The first place no jet is within START_CLEARANCE of; `jets` holds count
// positions (x, z pairs). Falls back to `count`'s own place when all of the
// first 64 are taken, which cannot happen with at most 64 players.
int FreeStartPlace(const float* jets, int count);

// A state's step may repeat the sender's last but never go below it: one
// that does is refused, and the last step stays. True when taken.
bool TakeStateStep(uint32_t& lastStep, uint32_t step);

// A name is held by a player until the player leaves, or until the network
// gives up on a silent one (15 to 30 s). A game that crashed or was killed
// says no goodbye, so the same player starting again from the same machine
// is given the name back once its holder has been unheard this long, the
// silence after which the others no longer show its jet either.
const double NAME_RECLAIM_SILENCE_S = 5.0;
// True when a hello from the machine `host` takes back a name held by a
// player on `holderHost` of whose machine nothing has come for `silentS`
// seconds: no message and not even the network's answer to a ping, which a
// game busy setting up its world still gives.
bool NameTakenBack(uint32_t holderHost, double silentS, uint32_t host);

// A bucket of bad messages that drains at BAD_DRAIN_PER_S: a client is dropped
// when it holds more than BAD_LIMIT, so a burst of garbage is forgiven once
// but a client that keeps sending it is not.
const double BAD_DRAIN_PER_S = 2.0;
const double BAD_LIMIT = 20.0;
struct BadBucket {
    double level = 0.0;
    double lastS = 0.0;
};
// Adds one bad message at time nowS; true when the client is to be dropped.
bool CountBadMessage(BadBucket& bucket, double nowS);
