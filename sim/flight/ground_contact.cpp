// Ground contact, the landing rules and the game-state flags around a crash.
#include "sim/flight/ground_contact.h"

#include <cmath>
#include <cstdio>

#include "sim/flight/aircraft.h"
#include "sim/flight/course_run.h"
#include "sim/flight/explosion.h"
#include "sim/landscape/terrain.h"

int gearDown;
float gearHeight;
CrashReport lastCrash;
float gearCollapseSpeed;

void ResetContactState()
{
    gearDown = 1;
    gearHeight = GEAR_DOWN_HEIGHT;
    lastCrash = {CRASH_NONE, 0.0f};
    gearCollapseSpeed = 0.0f;
}

static const double MAX_SINK_PER_TICK = 5.0;   // airspeed x dir.y must stay above minus this
static const double MAX_NOSE_OFF_LEVEL = 0.07; // |dir.y|: about four degrees
static const double MIN_UP_Y = 0.97;           // roll and pitch together under about fourteen degrees
static const float GEAR_BREAK_SPEED = 60.0f;   // rolling faster than this breaks the gear
static const float RESTING_HEIGHT = 34.0f;     // pos.y of an aircraft put level on the ground
static const double DEGREES_PER_RADIAN = 57.29577951308232;

Vec3 ContactPoint(const Body& body, int index)
{
    double a = CONTACT_POINT_FORWARD[index];
    double b = CONTACT_POINT_RIGHT[index];
    return {(float)(body.pos.x + a * body.dir.x + b * body.normal.x),
            (float)(body.pos.y + a * body.dir.y + b * body.normal.y - gearHeight),
            (float)(body.pos.z + a * body.dir.z + b * body.normal.z)};
}

int GroundContact(Body body)
{
    bool contact = false;
    float top = 0.0f;
    for (int i = 0; i < CONTACT_POINT_COUNT; i++) {
        Vec3 p = ContactPoint(body, i);
        float h = TerrainHeight(p.x, p.y, p.z);
        if (h > p.y) {
            contact = true;
            if (h > top)
                top = h;
        }
    }
    if (!contact)
        return CONTACT_NONE;
    return top == 0.0f ? CONTACT_FLAT : CONTACT_RISING;
}

LandingLimits LandingLimitsOf()
{
    return {MAX_SINK_PER_TICK, std::asin(MAX_NOSE_OFF_LEVEL) * DEGREES_PER_RADIAN,
            std::acos(MIN_UP_Y) * DEGREES_PER_RADIAN, GEAR_BREAK_SPEED};
}

double SinkPerStep(const Body& body)
{
    return -((double)body.airspeed * body.dir.y);
}

bool SinkWithinLimit(const Body& body)
{
    return (double)body.airspeed * body.dir.y > -MAX_SINK_PER_TICK;
}

bool NoseWithinLimit(const Body& body)
{
    return std::fabs(body.dir.y) < MAX_NOSE_OFF_LEVEL;
}

bool AttitudeWithinLimit(const Body& body)
{
    return body.up.y > MIN_UP_Y;
}

// The landing rules in the order they are tried; the first one broken decides.
static CrashCause BrokenRule(const Body& body, int contact, int gear)
{
    if (contact != CONTACT_FLAT)
        return CRASH_RISING_GROUND;
    if (gear != 1)
        return CRASH_BELLY_LANDING;
    if (!SinkWithinLimit(body))
        return CRASH_SINKING;
    if (!NoseWithinLimit(body))
        return CRASH_NOSE_OFF_LEVEL;
    if (!AttitudeWithinLimit(body))
        return CRASH_ATTITUDE;
    return CRASH_NONE;
}

ContactOutcome DecideContact(const Body& body, int contact, int gear)
{
    if (contact == CONTACT_NONE)
        return OUTCOME_AIRBORNE;
    if (BrokenRule(body, contact, gear) != CRASH_NONE)
        return OUTCOME_CRASH;
    if (body.dir.y < 0.0f)
        return OUTCOME_REST_LEVELLED;
    if (body.speed > GEAR_BREAK_SPEED)
        return OUTCOME_GEAR_COLLAPSE;
    return OUTCOME_REST;
}

// The rule a pilot recognises first among those broken on flat ground (the
// landing test itself tries the gear first, which for a dive names the
// least of its faults).
static CrashCause RecognisedRule(const Body& body, int gear, float collapseSpeed)
{
    bool gearUp = gear != 1, sinking = !SinkWithinLimit(body), noseOff = !NoseWithinLimit(body);
    bool attitude = !AttitudeWithinLimit(body);
    int broken = (int)gearUp + (int)sinking + (int)noseOff + (int)attitude;
    if (noseOff && body.dir.y < 0.0f && broken >= 2)
        return CRASH_DIVE;
    if (sinking)
        return CRASH_SINKING;
    if (noseOff)
        return CRASH_NOSE_OFF_LEVEL;
    if (attitude)
        return CRASH_ATTITUDE;
    if (gearUp)
        return collapseSpeed > 0.0f ? CRASH_GEAR_GAVE_WAY : CRASH_BELLY_LANDING;
    return CRASH_NONE;
}

static float NoseDegrees(const Body& body)
{
    return (float)(std::asin(std::fmin(1.0, std::fabs(body.dir.y))) * DEGREES_PER_RADIAN);
}

CrashReport CrashCauseOf(const Body& body, int contact, int gear, float collapseSpeed)
{
    if (contact == CONTACT_NONE)
        return {CRASH_NONE, 0.0f};
    if (contact != CONTACT_FLAT)
        return {CRASH_RISING_GROUND, 0.0f};
    CrashReport crash = {RecognisedRule(body, gear, collapseSpeed), 0.0f};
    switch (crash.cause) {
    case CRASH_GEAR_GAVE_WAY:
        crash.value = collapseSpeed;
        break;
    case CRASH_DIVE:
        crash.value = NoseDegrees(body);
        crash.speed = body.airspeed;
        break;
    case CRASH_SINKING:
        crash.value = (float)SinkPerStep(body);
        break;
    case CRASH_NOSE_OFF_LEVEL:
        crash.value = NoseDegrees(body);
        break;
    case CRASH_ATTITUDE:
        crash.value = (float)(std::acos(std::fmax(-1.0, std::fmin(1.0, (double)body.up.y))) * DEGREES_PER_RADIAN);
        break;
    default:
        break;
    }
    return crash;
}

// A limit as the line states it: the whole units within it (asin 0.07 is
// 4.01 degrees, shown 4; acos 0.97 is 14.07, shown 14).
static int ShownLimit(double limit)
{
    return (int)std::floor(limit + 1e-9);
}

// The value rounded up (float noise aside); 0 for what no number can show.
static int RoundedUp(float value)
{
    double v = std::ceil((double)value - 0.001);
    return std::isfinite(v) && std::fabs(v) < 1e9 ? (int)v : 0;
}

// The value rounded up, and never shown at or under the limit it broke: a
// crash at exactly 5 units a step reads as over 5.
static int ShownValue(float value, int limit)
{
    int n = std::isfinite(value) ? RoundedUp(value) : limit + 1;
    return n > limit ? n : limit + 1;
}

void FormatCrashCause(const CrashReport& crash, char* out, size_t size)
{
    LandingLimits limits = LandingLimitsOf();
    const int SHOWN_GEAR_LIMIT = ShownLimit(limits.gearBreakSpeed);
    const int SHOWN_SINK_LIMIT = ShownLimit(limits.sinkPerStep);
    const int SHOWN_NOSE_LIMIT = ShownLimit(limits.noseDegrees);
    const int SHOWN_ATTITUDE_LIMIT = ShownLimit(limits.attitudeDegrees);
    switch (crash.cause) {
    case CRASH_RISING_GROUND:
        snprintf(out, size, "Flew into rising ground");
        break;
    case CRASH_BELLY_LANDING:
        snprintf(out, size, "A belly landing with the gear up");
        break;
    case CRASH_GEAR_GAVE_WAY:
        snprintf(out, size, "The landing gear gave way at speed %d (most %d)",
                 ShownValue(crash.value, SHOWN_GEAR_LIMIT), SHOWN_GEAR_LIMIT);
        break;
    case CRASH_DIVE:
        snprintf(out, size, "Hit the ground %d degrees nose down at speed %d",
                 ShownValue(crash.value, SHOWN_NOSE_LIMIT), RoundedUp(crash.speed));
        break;
    case CRASH_SINKING:
        snprintf(out, size, "Came down too fast, sinking %d units a step (most %d)",
                 ShownValue(crash.value, SHOWN_SINK_LIMIT), SHOWN_SINK_LIMIT);
        break;
    case CRASH_NOSE_OFF_LEVEL:
        snprintf(out, size, "The nose %d degrees off level on touchdown (most %d)",
                 ShownValue(crash.value, SHOWN_NOSE_LIMIT), SHOWN_NOSE_LIMIT);
        break;
    case CRASH_ATTITUDE:
        snprintf(out, size, "Banked or pitched %d degrees on touchdown (most %d)",
                 ShownValue(crash.value, SHOWN_ATTITUDE_LIMIT), SHOWN_ATTITUDE_LIMIT);
        break;
    case CRASH_NONE:
        if (size > 0)
            out[0] = '\0';
        break;
    }
}

// Puts a nose-down landing flat on the ground, heading kept.
static void LevelOnGround(Body& body)
{
    body.dir.y = 0.0f;
    body.normal.y = 0.0f;
    Normalize(body.dir);
    Normalize(body.normal);
    body.up = {0.0f, 1.0f, 0.0f};
    body.pos.y = RESTING_HEIGHT;
}

void EvaluateGroundContact()
{
    if (gearDown)
        gearCollapseSpeed = 0.0f;
    int contact = GroundContact(plane);
    switch (DecideContact(plane, contact, gearDown)) {
    case OUTCOME_AIRBORNE:
        break;
    case OUTCOME_REST:
        landed = 1;
        break;
    case OUTCOME_REST_LEVELLED:
        landed = 1;
        LevelOnGround(plane);
        break;
    case OUTCOME_GEAR_COLLAPSE:
        // The gear gives way silently and the contact points stay where they
        // were: a further step on the ground fails the gear check and crashes.
        landed = 1;
        gearDown = 0;
        gearCollapseSpeed = plane.speed;
        break;
    case OUTCOME_CRASH:
        // The aircraft stays where it is; the first explosion frame pauses the game.
        if (StartExplosion())
            lastCrash = CrashCauseOf(plane, contact, gearDown, gearCollapseSpeed);
        break;
    }
}

void RestartGame()
{
    if (!explosionScheduled)
        lastCrash = {CRASH_NONE, 0.0f};
    gearCollapseSpeed = 0.0f;
    restartPrompt = 0;
    ResetPlane(plane);
    paused = 0;
    landed = 0;
    gearDown = 1;
    gearHeight = GEAR_DOWN_HEIGHT;
    StartCourseAttempt();
}
