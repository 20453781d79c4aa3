// What the game tells its sound: once a step the shell watches the state the
// step left, counts the one-off events (touchdown, crash) and posts a scene
// for the audio callback; the pilot's sound switch, volume and options. The
// simulation never reads any of it, so the step stays as reproducible as it
// was without sound.
#pragma once

#include <cstddef>

#include "sim/flight/flight_keys.h"
#include "sim/sound/mailbox.h"

// The one-off sounds so far, and the memory of the last step watched that
// spots them. The gear and the restart are counted from the step's outcome,
// where the keys moved them, so that the gear giving way and a restart,
// which move the gear silently, make no motor sound.
struct SoundEvents {
    unsigned gearMoves;      // the gear key's raises and lowers
    unsigned restarts;       // restarts by the answer to the restart question
    unsigned touchdowns;     // wheels on the ground after flight
    float touchdownForce;    // of the last: 0 a kiss .. 1 the hardest sink that holds
    unsigned crashes;        // explosions begun (their first frame)
    unsigned restartsWatched;
    int airborneSteps;       // steps flown since the wheels last touched
    float lastY;             // altitude after the last step watched
    float sink;              // altitude lost in the last airborne step
    int lastExplosionFrame;
};

extern int soundOn;                // F9, --mute, the settings
extern int soundVolume;            // --volume, the settings, 0..100
extern SoundEvents soundEvents;
extern SoundMailbox soundMailbox;  // the game posts, the audio callback takes

const int SOUND_VOLUME_START = 80;
const int SOUND_VOLUME_MAX = 100;
// Fewer airborne steps than these before the wheels touch is no landing: the
// restart's settle onto the runway, or a bump.
const int TOUCHDOWN_MIN_AIRBORNE_STEPS = 3;
// The sink per step that the landing rules still take: the hardest touchdown.
const float TOUCHDOWN_HARDEST_SINK = 5.0f;

// F9: sound off or on, with its console line.
void ToggleSound();
// The scene the game is in now, for the mixer; reads only. `standsStill`:
// a replay the viewer paused or one that ended, which is heard as a pause.
SoundScene CurrentSoundScene(bool standsStill = false);
// After every simulation step (or a due step a replay standing still did not
// run): counts the step's gear moves and restarts, a touchdown when the
// wheels rest after flight and a crash at the explosion's first frame, then
// posts the scene.
void FeedSound(const StepOutcome& outcome, bool standsStill);
// The watcher's memory of the last step (not the counters, which only go on)
// as it was kept: the instant replay's end puts the live game's back.
void PutBackSoundWatcher(const SoundEvents& kept);
// Sound on at volume 80, nothing counted, an empty scene waiting: the start state.
void ResetSoundState();
