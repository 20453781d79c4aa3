// Ground contact, landing, crash and the game states around them: pause, the
// restart question, restart. The explosion a crash starts is in explosion.h.
#pragma once

#include <cstddef>

#include "sim/flight/game_state.h"
#include "sim/math/vec_math.h"

extern int gearDown;             // 1 while the landing gear is down
extern float gearHeight;         // contact points below the aircraft: 35 gear down, 20 up

const float GEAR_DOWN_HEIGHT = 35.0f;
const float GEAR_UP_HEIGHT = 20.0f;

// The four contact points in the aircraft's frame: units along dir (forward)
// and along normal (right wing); front left, front right, rear right, rear left.
// The contact outline of the frame draws the same points.
const int CONTACT_POINT_COUNT = 4;
const float CONTACT_POINT_FORWARD[CONTACT_POINT_COUNT] = {100.0f, 100.0f, -160.0f, -160.0f};
const float CONTACT_POINT_RIGHT[CONTACT_POINT_COUNT] = {-25.0f, 25.0f, 110.0f, -110.0f};

// Contact results of GroundContact.
const int CONTACT_NONE = 0;
const int CONTACT_RISING = 1; // a point is under terrain higher than 0
const int CONTACT_FLAT = 2;   // every touched terrain point is at 0 or below

// What the ground-contact evaluation decides after a step.
enum ContactOutcome {
    OUTCOME_AIRBORNE,      // no contact
    OUTCOME_REST,          // resting or landed, attitude kept
    OUTCOME_REST_LEVELLED, // landed nose-down: put level on the ground
    OUTCOME_GEAR_COLLAPSE, // resting above speed 60: the gear gives way
    OUTCOME_CRASH,
};

// Why a crash happened: the first landing rule it failed. The value is the
// measure that broke the rule (speed, units a step, degrees), 0 where none.
enum CrashCause {
    CRASH_NONE,
    CRASH_RISING_GROUND,
    CRASH_BELLY_LANDING,
    CRASH_GEAR_GAVE_WAY,  // value: the speed at which it gave way
    CRASH_SINKING,        // value: units sunk along the flight path in the step
    CRASH_NOSE_OFF_LEVEL, // value: degrees between the nose and the horizon
    CRASH_ATTITUDE,       // value: degrees of bank and pitch together
    CRASH_DIVE,           // value: degrees nose down; speed: the airspeed
};
struct CrashReport {
    CrashCause cause;
    float value;
    float speed = 0.0f; // a dive's airspeed at the impact; 0 for the other causes
};

// The crash the restart question follows; CRASH_NONE before any crash and
// after a restart that lasts.
extern CrashReport lastCrash;
// The speed at which the gear gave way while rolling, so that the belly
// landing it leads to is told as what it is; 0 once the gear is down again.
extern float gearCollapseSpeed;

// Contact point `index` (0..3) of the body, lowered by gearHeight along world y.
Vec3 ContactPoint(const Body& body, int index);
// 0: no contact; 1: contact where the terrain rises above 0; 2: flat ground.
// Takes a copy so that the caller's record cannot be touched.
int GroundContact(Body body);
// The landing rules on a contact result, in order: contact with rising
// terrain, gear up, sink faster than 5 units per tick, nose more than about
// four degrees off level, or up.y not above 0.97 crash; otherwise the aircraft
// rests, levelled when the nose was down, and a resting aircraft faster than
// 60 loses its gear. Reads no globals.
ContactOutcome DecideContact(const Body& body, int contact, int gear);
// The rule a contact result breaks, and by how much; CRASH_NONE when the
// aircraft may rest. Where several break, the one a pilot recognises first:
// rising ground, a dive (the nose down past the limit and another rule
// broken), the sink, the nose, bank and pitch, then the gear: with the gear
// up after it gave way at `collapseSpeed` (above 0), the collapse, otherwise
// the belly landing. Reads no globals.
CrashReport CrashCauseOf(const Body& body, int contact, int gear, float collapseSpeed);
// The landing test's limits, as its own constants give them, in the units a
// pilot reads: units a step of sink, degrees, speed.
struct LandingLimits {
    double sinkPerStep;     // the sink must stay under this
    double noseDegrees;     // the nose within this of level (4.01)
    double attitudeDegrees; // bank and pitch together within this (14.07)
    float gearBreakSpeed;   // rolling faster than this breaks the gear
};
LandingLimits LandingLimitsOf();
// The landing test's rules one by one, exactly as the test tries them, so
// that the instruments warn by the same figures. Read no globals.
double SinkPerStep(const Body& body); // units sunk along the flight path in a step
bool SinkWithinLimit(const Body& body);
bool NoseWithinLimit(const Body& body);
bool AttitudeWithinLimit(const Body& body);
// The line shown under the restart question: the value rounded up to a whole
// number, and shown above the limit it broke; an empty text for CRASH_NONE.
void FormatCrashCause(const CrashReport& crash, char* out, size_t size);
// The decision after a step's flight update: rest, land, gear collapse or
// crash; applies it to plane, landed and gearDown and starts the explosion.
void EvaluateGroundContact();
// Gear down, not paused, nothing asked, no crash: the start state.
void ResetContactState();
// The Y answer to the restart question: start pose, flying, gear down.
// Leaves gravity, the flight model, views, fog and display switches alone.
// While an explosion still runs its next frame asks again, so the crash's
// cause is kept for that question.
void RestartGame();
