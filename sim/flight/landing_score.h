// The landing score: every touchdown that is not a crash measured (sink,
// nose, bank, distance from the runway's centre line) and scored out of 100.
// Measured in the step from the step's own positions; nothing the flight
// reads depends on it. No GL.
#pragma once

#include <cstdint>

#include "sim/math/vec_math.h"

// The runway's centre line and half its width in the world (units), kept in
// step with the airfield model (sim/assets/model_airfield.cpp, ten times its
// size): the runway runs along z between x 2450 and 3700.
const float RUNWAY_CENTRE_X = 3075.0f;
const float RUNWAY_HALF_WIDTH = 625.0f;
// Steps in the air before a touchdown counts: a bounce or the first roll
// along the runway is not a landing.
const int SCORED_MIN_AIRBORNE_STEPS = 100;
// Each measure takes off up to a quarter of the score, in proportion, up to
// the limit where the landing rules would call it a crash (or the runway's edge).
const float SCORE_SINK_LIMIT = 5.0f;   // units sunk in the step
const float SCORE_NOSE_LIMIT = 4.0f;   // degrees off level
const float SCORE_BANK_LIMIT = 14.0f;  // degrees
const float SCORE_OFFSET_LIMIT = RUNWAY_HALF_WIDTH;

struct Touchdown {
    float sink;   // units sunk in the touchdown's step (per 10 ms step)
    float nose;   // degrees, nose up positive
    float bank;   // degrees, right wing down positive
    float offset; // units from the runway's centre line
    int score;    // 0..100
};

// The score of a touchdown's four measures.
int ScoreTouchdown(float sink, float nose, float bank, float offset);
// The measures of a touchdown of `moved` (the aircraft after the step's flight
// update, before ground contact) having started the step at height `fromY`.
Touchdown MeasureTouchdown(const Body& moved, float fromY);

// The latest touchdown, and the steps run since it (the shell shows it for
// five seconds); touchdownCount grows by one with each.
extern Touchdown lastTouchdown;
extern int64_t touchdownCount;
// The step's call, after ground contact: `wasLanded` the aircraft rested
// before the step, `crashed` the step started the explosion.
void WatchTouchdown(const Body& moved, float fromY, bool wasLanded, bool crashed);
// No touchdown yet: the start state.
void ResetLandingScoreState();
