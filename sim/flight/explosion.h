// The crash explosion: a growing, fading textured quad drawn in the 2-D overlay,
// one frame per run of a self-re-arming timer chain.
#pragma once

const int LIST_EXPLOSION = 30;

// Runs of one chain; the last run resets the animation and is never shown.
const int EXPLOSION_RUNS = 20;
const int EXPLOSION_FIRST_DELAY_MS = 10; // from the crash to frame 1
const int EXPLOSION_FRAME_DELAY_MS = 6;  // between frames
const int EXPLOSION_TIMER_VALUE = 4;

extern int explosionFrame;        // frame last built, 1..19 while shown; 0 when none
extern float explosionAlpha;      // alpha of the quad's colour
extern float explosionBrightness; // grey level of the quad's colour
extern int explosionScheduled;    // 1 from a crash until its chain's last run

// What one frame draws: window pixels, origin lower left.
struct ExplosionQuad {
    float left, bottom, right, top;
    float depth;
    float grey, alpha;
};

// Starts the chain of a crash unless one is already under way, so that a crash
// seen again by a step before the first frame runs does not start a second
// chain (that one would run the counter past 20 and never end). Returns
// whether a chain was started. Arms the toolkit timer only when the toolkit
// is initialised; elsewhere (tests, tools) the caller runs the frames itself.
bool StartExplosion();
// Advances the animation by one frame without GL: fills the quad the frame
// shows, then moves the colour on, pauses the game and opens the restart
// question. Returns whether another frame follows (false after the last run,
// which also puts the animation back to its rest values).
bool AdvanceExplosion(ExplosionQuad& quad);
// Compiles LIST_EXPLOSION from the quad (replacing the previous contents).
void BuildExplosionList(const ExplosionQuad& quad);
// GLUT timer (value 4): one explosion frame, re-armed after 6 ms until the last.
void ExplosionTick(int value);
