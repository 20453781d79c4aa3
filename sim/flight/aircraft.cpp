// The player's aircraft: its record, start pose and the two flight models.
#include "sim/flight/aircraft.h"

#include <cmath>
#include <cstdio>

#include "sim/view/view_state.h"

Body plane;
int flightModel;
float gravity;
int landed;

static const Vec3 WORLD_UP = {0.0f, 1.0f, 0.0f};
static const Vec3 WORLD_DOWN = {0.0f, -1.0f, 0.0f};

// The constants are doubles and every product and sum is taken in double,
// rounded only when a value is stored; the single-precision ones say so.

// Heading model.
static const double SPEED_STEP = 0.5;           // units per tick per tick towards 2 x thrust
static const double BANK_TURN = 0.2;            // degrees per tick per unit of bank
static const double STALL_SPEED = 30.0;         // units per tick
static const double STALL_SCALE = 1.0 / 30.0;   // per unit of speed below the stall
static const double STALL_DROP = 0.5;           // degrees per tick at speed 0
static const float MIN_GRAVITY = 2.5f;
static const double DIVE_GROWTH = 1.005;        // per tick with the nose down
static const double CLIMB_DECAY = 0.99502487562189068; // 1 / 1.005
static const double SINK_PER_TICK = 1.0;

// Force model.
static const double THRUST_FORCE = 10.0;        // force per unit of thrust
static const double DRAG = 0.0002;              // times velocity squared, per component
static const double LIFT_SPEED = 0.05;
static const double LIFT_PITCH_OFFSET = 45.0;   // degrees
static const float ONE_NINETIETH = 0.011111111f; // single precision
static const float FLOOR_Y = -1.0f;             // lowest altitude of the force model
static const double NOSE_TURN = 0.5;            // share of the force angle turned per tick

void ResetPlane(Body& body)
{
    body.pos = {3075.0f, 30.0f, -9470.0f};
    body.dir = {0.0f, 0.0f, 1.0f};
    body.up = {0.0f, 1.0f, 0.0f};
    UnitCross(body.dir, body.up, body.normal);
    body.speed = 0.0f;
    body.thrust = 0.0f;
    body.velocity = {0.0f, 0.0f, 0.0f};
    body.airspeed = 0.0f;
}

void UpdateFlight(Body& body)
{
    if (flightModel == 0)
        FlyHeading(body);
    else
        FlyForces(body);
}

void FlyHeading(Body& body)
{
    float target = (float)(2.0 * body.thrust);
    if (body.speed < target) {
        body.speed = (float)(body.speed + SPEED_STEP);
        if (body.speed > target)
            body.speed = target;
    } else if (body.speed > target) {
        body.speed = (float)(body.speed - SPEED_STEP);
        if (body.speed < target)
            body.speed = target;
    }

    if (landed) {
        body.pos.x = (float)(body.pos.x + (double)body.speed * body.dir.x);
        body.pos.y = (float)(body.pos.y + (double)body.speed * body.dir.y);
        body.pos.z = (float)(body.pos.z + (double)body.speed * body.dir.z);
        body.airspeed = body.speed;
        return;
    }

    // Straight up or down there is no horizontal left to turn about.
    if (!VecEqual(body.dir, WORLD_UP) && !VecEqual(body.dir, WORLD_DOWN)) {
        Vec3 side;
        UnitCross(WORLD_UP, body.dir, side);
        Vec3 turnAxis = WORLD_UP;
        RotateBody(body, (float)(BANK_TURN * Dot(body.up, side)), turnAxis);
        if (body.speed < STALL_SPEED)
            RotateBody(body, (float)((STALL_SPEED - body.speed) * STALL_SCALE * STALL_DROP), side);
    }

    if (body.dir.y < 0.0f)
        gravity = (float)(gravity * DIVE_GROWTH);
    else
        gravity = (float)(gravity * CLIMB_DECAY);
    if (gravity < MIN_GRAVITY)
        gravity = MIN_GRAVITY;

    float v = (float)(body.speed - (double)gravity * body.dir.y);
    body.pos.x = (float)(body.pos.x + (double)v * body.dir.x);
    body.pos.y = (float)(body.pos.y + (double)v * body.dir.y - SINK_PER_TICK);
    body.pos.z = (float)(body.pos.z + (double)v * body.dir.z);
    body.airspeed = v;
}

// |trunc(a)| + |trunc(b)| + |trunc(c)| as a float, in doubles so that no
// velocity, however large, overflows an integer conversion.
static float TruncatedSum(float a, float b, float c)
{
    return (float)(std::fabs(std::trunc((double)a)) + std::fabs(std::trunc((double)b)) +
                   std::fabs(std::trunc((double)c)));
}

void FlyForces(Body& body)
{
    float x = (float)(THRUST_FORCE * body.thrust - body.speed);
    if (x < 0.0f)
        x = 0.0f;

    Vec3 force = {0.0f, 0.0f, 0.0f};
    Vec3 push = {(float)((double)x * body.dir.x), (float)((double)x * body.dir.y), (float)((double)x * body.dir.z)};
    AddTo(push, force);
    const Vec3& v = body.velocity;
    Vec3 pushLessDrag = {(float)((double)x * body.dir.x - DRAG * v.x * std::fabs(v.x)),
                         (float)((double)x * body.dir.y - DRAG * v.y * std::fabs(v.y)),
                         (float)((double)x * body.dir.z - DRAG * v.z * std::fabs(v.z))};
    AddTo(pushLessDrag, force);
    Vec3 weight = {0.0f, -gravity, 0.0f};
    AddTo(weight, force);

    // Lift along the roof, growing with speed and with the pitch either way;
    // straight up or down the pitch is 90 degrees.
    Vec3 level = {body.dir.x, 0.0f, body.dir.z};
    double pitch = (level.x == 0.0f && level.z == 0.0f) ? 90.0 : AngleBetween(body.dir, level);
    float lift = (float)((pitch + LIFT_PITCH_OFFSET) * (LIFT_SPEED * body.speed) * (double)ONE_NINETIETH);
    Vec3 liftForce = {(float)((double)lift * body.up.x), (float)((double)lift * body.up.y),
                      (float)((double)lift * body.up.z)};
    AddTo(liftForce, force);

    AddTo(force, body.velocity);
    body.speed = TruncatedSum(body.velocity.x, body.velocity.y, body.velocity.z);

    if (landed) {
        body.pos.x += body.velocity.x;
        body.pos.z += body.velocity.z;
        if (body.velocity.x <= 2.0f) {
            body.velocity.y = 0.0f;
            body.speed = TruncatedSum(body.velocity.z, body.velocity.x, 0.0f);
            body.airspeed = body.speed;
            return;
        }
        body.pos.y += body.velocity.y;
    } else {
        if (!quietConsole)
            printf("No longer landed\n");
        AddTo(body.velocity, body.pos);
        if (body.pos.y < FLOOR_Y) {
            body.velocity = {0.0f, 0.0f, 0.0f};
            body.pos.y = FLOOR_Y;
        }
    }
    body.airspeed = body.speed;

    // The angle in degrees is scaled as if it were radians and then used as
    // degrees again: the nose follows the force by a / 114.6 degrees a tick.
    Normalize(force);
    Vec3 axis;
    UnitCross(force, body.dir, axis);
    double angle = AngleBetween(force, body.dir);
    RotateBody(body, (float)(angle * -(double)DEG_TO_RAD * NOSE_TURN), axis);
}

void PrintBody(const Body& body)
{
    printf("pos = %.2f, %.2f, %.2f, dir = %.2f, %.2f, %.2f (%.2f), up = %.2f, %.2f, %.2f (%.2f), "
           "normal = %.2f, %.2f, %.2f (%.2f)\n",
           body.pos.x, body.pos.y, body.pos.z, body.dir.x, body.dir.y, body.dir.z, Length(body.dir), body.up.x,
           body.up.y, body.up.z, Length(body.up), body.normal.x, body.normal.y, body.normal.z, Length(body.normal));
}

void ResetAircraftState()
{
    ResetPlane(plane);
    flightModel = 0;
    gravity = MIN_GRAVITY;
    landed = 1;
}
