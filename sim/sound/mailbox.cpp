// The three-copy hand-over of the sound's scene.
#include "sim/sound/mailbox.h"

void StartMailbox(SoundMailbox& box, const SoundScene& scene)
{
    for (SoundScene& copy : box.copies)
        copy = scene;
    box.writing = 0;
    box.between.store(1, std::memory_order_relaxed);
    box.reading = 2;
}

void PostScene(SoundMailbox& box, const SoundScene& scene)
{
    box.copies[box.writing] = scene;
    // Release the copy just written; acquire the one the reader let go.
    int old = box.between.exchange(box.writing | MAILBOX_FRESH, std::memory_order_acq_rel);
    box.writing = old & ~MAILBOX_FRESH;
}

const SoundScene& TakeScene(SoundMailbox& box)
{
    if (box.between.load(std::memory_order_relaxed) & MAILBOX_FRESH) {
        int old = box.between.exchange(box.reading, std::memory_order_acq_rel);
        box.reading = old & ~MAILBOX_FRESH;
    }
    return box.copies[box.reading];
}
