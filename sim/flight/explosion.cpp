// The crash explosion: its frame counter, colour and the display list of each frame.
#include "sim/flight/explosion.h"

#include "sim/flight/game_state.h"
#include "sim/view/view_state.h"

int explosionFrame;
float explosionAlpha;
float explosionBrightness;
int explosionScheduled;
void (*armExplosionTimer)();

// No explosion showing or scheduled: the start, and the end of every chain.
static void RestAnimation()
{
    explosionFrame = 0;
    explosionAlpha = 1.0f;
    explosionBrightness = 1.0f;
    explosionScheduled = 0;
}

void ResetExplosionState()
{
    RestAnimation();
    armExplosionTimer = nullptr;
}

static const double EXPLOSION_GROWTH = 0.05;         // half-size per frame, fraction of the window
static const double EXPLOSION_FADE = 0.05;           // alpha lost per frame
static const double EXPLOSION_DARKEN = 0.043478260869565216; // grey lost per frame: 1/23
static const float EXPLOSION_DEPTH = 0.2f;

bool StartExplosion()
{
    if (explosionScheduled)
        return false;
    explosionScheduled = 1;
    if (armExplosionTimer)
        armExplosionTimer();
    return true;
}

bool AdvanceExplosion(ExplosionQuad& quad)
{
    explosionFrame += 1;
    int k = explosionFrame;
    double s = EXPLOSION_GROWTH * k;
    quad.left = (float)(windowWidth * (0.5 - s));
    quad.right = (float)(windowWidth * (0.5 + s));
    quad.bottom = (float)(windowHeight * (0.5 - s));
    quad.top = (float)(windowHeight * (0.5 + s));
    quad.depth = EXPLOSION_DEPTH;
    quad.grey = explosionBrightness;
    quad.alpha = explosionAlpha;
    if (k >= EXPLOSION_RUNS) {
        RestAnimation();
        return false;
    }
    explosionAlpha = (float)(explosionAlpha - EXPLOSION_FADE);
    explosionBrightness = (float)(explosionBrightness - EXPLOSION_DARKEN);
    restartPrompt = 1;
    paused = 1;
    return true;
}

