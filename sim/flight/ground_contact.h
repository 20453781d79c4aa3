// Ground contact, landing, crash, explosion and the game states around them.
#pragma once

#include "sim/math/vec_math.h"

const int LIST_EXPLOSION = 30;

extern int gearDown;             // 1 while the landing gear is down
extern float gearHeight;         // contact points below the aircraft: 35 gear down, 20 up
extern int paused;
extern int restartPrompt;        // "Restart game? (Y/N)" is open
extern int explosionFrame;       // frame last built, 1..19 while shown; 0 when none
extern float explosionAlpha;
extern float explosionBrightness;

// 0: no contact; 1: contact where the terrain rises above 0; 2: flat ground.
int GroundContact(Body body);
// The decision after a step's flight update: rest, land, gear collapse or crash.
void EvaluateGroundContact();
// GLUT timer (value 4): one explosion frame.
void ExplosionTick(int value);
// The Y answer to the restart question.
void RestartGame();
