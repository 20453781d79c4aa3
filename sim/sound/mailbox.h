// The hand-over of the scene from the game to the audio callback: three
// copies and one atomic index, so that neither side ever waits for the other.
#pragma once

#include <atomic>

#include "sim/sound/synth.h"

// The game writes one copy, the callback reads another, and the third lies
// between them; a post swaps the writer's copy with the one between, a take
// swaps the reader's with it when the writer left a newer one there.
struct SoundMailbox {
    SoundScene copies[3];
    std::atomic<int> between; // index of the copy between the sides, plus MAILBOX_FRESH when newer
    int writing;              // the game's copy
    int reading;              // the callback's copy
};

const int MAILBOX_FRESH = 4;

// Every copy holds `scene`; nothing fresh.
void StartMailbox(SoundMailbox& box, const SoundScene& scene);
// The game's side: leaves `scene` for the callback. Never waits.
void PostScene(SoundMailbox& box, const SoundScene& scene);
// The callback's side: the newest scene posted. Never waits, never allocates;
// the reference stays valid until the next take.
const SoundScene& TakeScene(SoundMailbox& box);
