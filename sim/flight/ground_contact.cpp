// Ground contact and game states.
#include "sim/flight/ground_contact.h"

int gearDown = 1;
float gearHeight = 35.0f;
int paused = 0;
int restartPrompt = 0;
int explosionFrame = 0;
float explosionAlpha = 1.0f;
float explosionBrightness = 1.0f;

int GroundContact(Body /*body*/)
{
    return 0;
}

void EvaluateGroundContact()
{
}

void ExplosionTick(int /*value*/)
{
}

void RestartGame()
{
}
