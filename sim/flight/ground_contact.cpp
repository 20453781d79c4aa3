// Ground contact, the landing rules and the game-state flags around a crash.
#include "sim/flight/ground_contact.h"

#include <cmath>

#include "sim/flight/aircraft.h"
#include "sim/landscape/terrain.h"

int gearDown = 1;
float gearHeight = GEAR_DOWN_HEIGHT;
int paused = 0;
int restartPrompt = 0;

static const double MAX_SINK_PER_TICK = 5.0;   // airspeed x dir.y must stay above minus this
static const double MAX_NOSE_OFF_LEVEL = 0.07; // |dir.y|: about four degrees
static const double MIN_UP_Y = 0.97;           // roll and pitch together under about fourteen degrees
static const float GEAR_BREAK_SPEED = 60.0f;   // rolling faster than this breaks the gear
static const float RESTING_HEIGHT = 34.0f;     // pos.y of an aircraft put level on the ground

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

ContactOutcome DecideContact(const Body& body, int contact, int gear)
{
    if (contact == CONTACT_NONE)
        return OUTCOME_AIRBORNE;
    if (contact != CONTACT_FLAT)
        return OUTCOME_CRASH;
    if (gear != 1)
        return OUTCOME_CRASH;
    if (!((double)body.airspeed * body.dir.y > -MAX_SINK_PER_TICK))
        return OUTCOME_CRASH;
    if (!(std::fabs(body.dir.y) < MAX_NOSE_OFF_LEVEL))
        return OUTCOME_CRASH;
    if (!(body.up.y > MIN_UP_Y))
        return OUTCOME_CRASH;
    if (body.dir.y < 0.0f)
        return OUTCOME_REST_LEVELLED;
    if (body.speed > GEAR_BREAK_SPEED)
        return OUTCOME_GEAR_COLLAPSE;
    return OUTCOME_REST;
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
        break;
    case OUTCOME_CRASH:
        // The aircraft stays where it is; the first explosion frame pauses the game.
        StartExplosion();
        break;
    }
}

void RestartGame()
{
    restartPrompt = 0;
    ResetPlane(plane);
    paused = 0;
    landed = 0;
    gearDown = 1;
    gearHeight = GEAR_DOWN_HEIGHT;
}
