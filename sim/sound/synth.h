// The game's sound made from numbers: two jet engines, the airflow, the
// wheels, the gear motor, a touchdown and a crash, mixed for one listener into
// stereo. Plain code over a parameter record, with no device, no toolkit and
// no allocation, so the shell's audio callback runs it and tests render it
// offline.
#pragma once

// What the sound needs to know of the game, taken once a simulation step.
// The counters only grow: the mixer starts a cue once for each step up it sees,
// so a cue is neither lost nor repeated however the steps and the audio
// callbacks interleave.
// Friends' engines in a shared sky: the nearest few are heard.
const int SOUND_FRIENDS = 8;
struct FriendEngine {
    float spool;    // 0 idle .. 1 full, from the friend's thrust
    float distance; // from the listener, world units
    float pan;      // the friend's bearing, -1 hard left .. 1 hard right
};

struct SoundScene {
    float spoolTarget;    // where the engines spool towards: 0 idle (thrust 0) to 1 full
    float speed;          // the speed flown, world units per step
    int onGround;         // the wheels roll
    int paused;           // engines, airflow and wheels fall silent
    unsigned gearMoves;   // the gear raised or lowered so far
    unsigned touchdowns;  // the wheels met the ground after flight
    float touchdownForce; // of the last touchdown: 0 a kiss .. 1 the hardest sink that holds
    unsigned crashes;     // explosions begun
    unsigned restarts;    // each puts the engines back at idle at once
    int cockpit;          // the listener sits in the cockpit
    float distance;       // outside: from the camera to the aircraft, world units
    float pan;            // outside: the aircraft's bearing, -1 hard left .. 1 hard right
    int soundOn;
    float volume;         // 0..1
    int friendCount;      // friends heard, 0 when flying alone
    FriendEngine friends[SOUND_FRIENDS];
};

const int SINE_TABLE_SIZE = 2048;

// A state-variable filter's memory (two integrators).
struct SvfState {
    float ic1, ic2;
};

// Everything the mixer carries from one sample to the next. One mixer serves
// one output; only the thread that mixes touches it.
struct SoundMixer {
    float rate;                        // frames per second
    float sine[SINE_TABLE_SIZE + 1];   // one cycle, the last entry repeating the first
    unsigned noise;                    // white noise generator
    int primed;                        // the scene's counters have been taken once
    unsigned gearMovesSeen, touchdownsSeen, crashesSeen, restartsSeen;
    float spool;                       // 0 idle .. 1 full, lagging the throttle

    // Engines, airflow, wheels.
    float whinePhase[2], humPhase, wobble;
    SvfState roar;
    float roarLow;
    SvfState air, hiss;
    float wheelLow[2], bumpPhase;

    // The one-off cues; a time below 0 means silent.
    float gearTime, gearPhase, clunkPhase;
    float touchTime, touchForce, thumpPhase, squealPhase[3], thud;
    float crashTime, boomPhase, blast[2], crashLow[2];
    SvfState crackle;

    // Where the listener is and how loud each part is, gliding towards the
    // block's targets so that no change clicks.
    float engineGain, airGain, wheelGain, cockpitMix;
    float muffle[2], absorb;
    float left, right, crashLeft, crashRight;
    float master;
    // Friends' engines: each one's whine and its place, gliding.
    float friendPhase[SOUND_FRIENDS], friendLeft[SOUND_FRIENDS], friendRight[SOUND_FRIENDS];
};

// Engine lag: time constants of the spool towards a higher and a lower
// throttle (90 % of a step in 2.3 of them: 2.0 s up, 2.5 s down).
const float SPOOL_UP_SECONDS = 0.87f;
const float SPOOL_DOWN_SECONDS = 1.09f;
// The one-off cues' lengths.
const float GEAR_SOUND_SECONDS = 1.2f;
const float TOUCHDOWN_SOUND_SECONDS = 0.6f;
const float CRASH_SOUND_SECONDS = 2.6f;

// A silent mixer at idle for `rate` frames a second; it takes the counters of
// the first scene it mixes as already played.
void StartMixer(SoundMixer& mixer, int rate);
// Mixes `frames` stereo frames (left, right interleaved) into `out` for the
// scene: every sample is finite and inside (-1, 1). Advances the spool and the
// cues by the time mixed.
void MixSound(SoundMixer& mixer, const SoundScene& scene, float* out, int frames);
