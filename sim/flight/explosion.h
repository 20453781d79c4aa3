// The crash explosion's animation: a growing, fading quad in the frame's 2-D
// pass, one frame per run of a timer chain. The arithmetic of a frame is here;
// its display list is the drawing's and its timer the shell's.
#pragma once

// Runs of one chain; the last run resets the animation and is never shown.
const int EXPLOSION_RUNS = 20;
const int EXPLOSION_FIRST_DELAY_MS = 10; // from the crash to frame 1
const int EXPLOSION_FRAME_DELAY_MS = 6;  // between frames
const int EXPLOSION_TIMER_VALUE = 4;

extern int explosionFrame;        // frame last built, 1..19 while shown; 0 when none
extern float explosionAlpha;      // alpha of the quad's colour
extern float explosionBrightness; // grey level of the quad's colour
extern int explosionScheduled;    // 1 from a crash until its chain's last run
// Arms the first frame's timer when a crash starts a chain; set by the
// program's entry, null in tests and tools, which run the frames themselves.
extern void (*armExplosionTimer)();

// What one frame draws: window pixels, origin lower left.
struct ExplosionQuad {
    float left, bottom, right, top;
    float depth;
    float grey, alpha;
};

// Starts the chain of a crash unless one is already under way, so that a crash
// seen again by a step before the first frame runs does not start a second
// chain (that one would run the counter past 20 and never end). Returns
// whether a chain was started, after calling armExplosionTimer if set.
bool StartExplosion();
// Advances the animation by one frame without GL: fills the quad the frame
// shows, then moves the colour on, pauses the game and opens the restart
// question. Returns whether another frame follows (false after the last run,
// which also puts the animation back to its rest values).
bool AdvanceExplosion(ExplosionQuad& quad);
// No explosion, and no timer hook: the start state.
void ResetExplosionState();
