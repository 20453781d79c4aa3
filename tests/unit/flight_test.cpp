// Flight dynamics: the heading model, the force model and the step around them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "sim/flight/aircraft.h"
#include "sim/flight/flight_tick.h"
#include "sim/flight/explosion.h"
#include "sim/flight/ground_contact.h"

namespace {

Body LevelPlane(float speed, float thrust)
{
    Body b;
    ResetPlane(b);
    b.pos = {0, 5000, 0};
    b.speed = speed;
    b.thrust = thrust;
    return b;
}

float NoseAngleBelowHorizon(const Body& b)
{
    return (float)(std::asin(-b.dir.y) * 57.29577951308232);
}

// The two models written out once more, every product and sum in double and
// rounded once where the value is kept, for the long flight below.
void ReferenceHeading(Body& b, float& g, bool onGround)
{
    float target = (float)(2.0 * b.thrust);
    if (b.speed != target)
        b.speed = b.speed < target ? std::min(target, (float)(b.speed + 0.5)) : std::max(target, (float)(b.speed - 0.5));
    if (onGround) {
        b.pos = {(float)(b.pos.x + (double)b.speed * b.dir.x), (float)(b.pos.y + (double)b.speed * b.dir.y),
                 (float)(b.pos.z + (double)b.speed * b.dir.z)};
        b.airspeed = b.speed;
        return;
    }
    if (!(b.dir.x == 0 && b.dir.z == 0 && std::fabs(b.dir.y) == 1)) {
        Vec3 worldUp = {0, 1, 0}, side;
        UnitCross(worldUp, b.dir, side);
        float bank = (float)((double)b.up.x * side.x + (double)b.up.y * side.y + (double)b.up.z * side.z);
        RotateBody(b, (float)(0.2 * bank), worldUp);
        if (b.speed < 30)
            RotateBody(b, (float)((30.0 - b.speed) * (1.0 / 30.0) * 0.5), side);
    }
    g = std::max(2.5f, (float)(g * (b.dir.y < 0 ? 1.005 : 0.99502487562189068)));
    float v = (float)(b.speed - (double)g * b.dir.y);
    b.pos = {(float)(b.pos.x + (double)v * b.dir.x), (float)(b.pos.y + (double)v * b.dir.y - 1.0),
             (float)(b.pos.z + (double)v * b.dir.z)};
    b.airspeed = v;
}

void ReferenceForces(Body& b, float g, bool onGround)
{
    double x = std::max(0.0, (double)(float)(10.0 * b.thrust - b.speed));
    double pitch = b.dir.x == 0 && b.dir.z == 0 ? 90.0 : AngleBetween(b.dir, Vec3{b.dir.x, 0, b.dir.z});
    double lift = (float)((pitch + 45.0) * (0.05 * b.speed) * (double)0.011111111f);
    const float* d = &b.dir.x;
    const float* u = &b.up.x;
    float* vel = &b.velocity.x;
    float f[3];
    for (int i = 0; i < 3; i++) {
        float push = (float)(x * d[i]);
        float pushLessDrag = (float)(x * d[i] - 0.0002 * vel[i] * std::fabs(vel[i]));
        f[i] = (float)((float)((float)(push + pushLessDrag) - (i == 1 ? g : 0.0f)) + (float)(lift * u[i]));
    }
    for (int i = 0; i < 3; i++)
        vel[i] = vel[i] + f[i];
    auto sum = [](float p, float q, float r) {
        return (float)(std::fabs(std::trunc((double)p)) + std::fabs(std::trunc((double)q)) + std::fabs(std::trunc((double)r)));
    };
    b.speed = sum(vel[0], vel[1], vel[2]);
    if (onGround) {
        b.pos.x += vel[0];
        b.pos.z += vel[2];
        if (vel[0] <= 2) {
            vel[1] = 0;
            b.speed = b.airspeed = sum(vel[2], vel[0], 0);
            return;
        }
        b.pos.y += vel[1];
    } else {
        b.pos = {b.pos.x + vel[0], b.pos.y + vel[1], b.pos.z + vel[2]};
        if (b.pos.y < -1) {
            b.velocity = {0, 0, 0};
            b.pos.y = -1;
        }
    }
    b.airspeed = b.speed;
    Vec3 force = {f[0], f[1], f[2]};
    Normalize(force);
    Vec3 axis;
    UnitCross(force, b.dir, axis);
    RotateBody(b, (float)(AngleBetween(force, b.dir) * -(double)0.017453292f * 0.5), axis);
}

} // namespace

TEST(FlyHeading, RollsAlongTheGroundUpToTwiceTheThrust)
{
    Body b;
    ResetPlane(b);
    landed = 1;
    FlyHeading(b);
    EXPECT_EQ(b.speed, 0.0f);
    EXPECT_EQ(b.pos.z, -9470.0f) << "at rest with no thrust it stays";
    b.thrust = 50;
    float z = b.pos.z;
    for (int tick = 1; tick <= 250; tick++) {
        FlyHeading(b);
        float expected = tick < 200 ? 0.5f * tick : 100.0f;
        ASSERT_EQ(b.speed, expected) << tick;
        z += b.speed;
        ASSERT_FLOAT_EQ(b.pos.z, z);
        ASSERT_EQ(b.pos.y, 30.0f);
        ASSERT_EQ(b.airspeed, b.speed);
    }
    // Throttle back: down by 0.5 a tick, never past the target.
    b.thrust = 49.9f;
    FlyHeading(b);
    EXPECT_FLOAT_EQ(b.speed, 99.8f);
}

TEST(FlyHeading, LevelFlightSinksOneUnitATickWithoutTurning)
{
    Body b = LevelPlane(100, 50);
    landed = 0;
    for (int tick = 1; tick <= 100; tick++) {
        Body before = b;
        FlyHeading(b);
        ASSERT_EQ(b.pos.y, before.pos.y - 1.0f);
        ASSERT_EQ(b.pos.z, before.pos.z + 100.0f);
        ASSERT_EQ(b.pos.x, before.pos.x);
        ASSERT_TRUE(VecEqual(b.dir, before.dir));
        ASSERT_EQ(gravity, 2.5f);
    }
}

TEST(FlyHeading, StallDropsTheNoseBelowThirty)
{
    struct Case {
        float speed;
        float drop; // degrees after one tick
    };
    const Case cases[] = {{0, 0.5f}, {15, 0.25f}, {29.5f, 0.5f / 60.0f}, {30, 0}, {200, 0}};
    for (const Case& c : cases) {
        Body b = LevelPlane(c.speed, c.speed / 2);
        landed = 0;
        FlyHeading(b);
        EXPECT_NEAR(NoseAngleBelowHorizon(b), c.drop, 1e-4) << c.speed;
    }
}

TEST(FlyHeading, BankTurnsTowardsTheLowWing)
{
    Body b = LevelPlane(100, 50);
    landed = 0;
    Vec3 roll = b.dir;
    RotateBody(b, 30, roll); // right wing down
    FlyHeading(b);
    EXPECT_LT(b.dir.x, 0.0f) << "nose turns to the right (-x)";
    EXPECT_NEAR(std::atan2(-b.dir.x, b.dir.z) * 57.2957795, 0.2 * std::sin(30 * 0.0174532925), 1e-4);
}

TEST(FlyHeading, StraightUpOrDownSkipsTurnAndStall)
{
    const Vec3 dirs[] = {{0, 1, 0}, {0, -1, 0}};
    for (const Vec3& dir : dirs) {
        Body b = LevelPlane(0, 0);
        b.dir = dir;
        b.up = {0, 0, -dir.y};
        UnitCross(b.dir, b.up, b.normal);
        landed = 0;
        gravity = 2.5f;
        Body before = b;
        FlyHeading(b);
        EXPECT_TRUE(VecEqual(b.dir, before.dir));
        EXPECT_TRUE(VecEqual(b.up, before.up));
        float v = 0 - gravity * dir.y;
        EXPECT_FLOAT_EQ(b.pos.y, before.pos.y + v * dir.y - 1.0f);
        EXPECT_FLOAT_EQ(b.airspeed, v);
    }
}

TEST(FlyHeading, GravityGrowsInADiveAndNeverFallsBelowItsFloor)
{
    Body b = LevelPlane(100, 50);
    landed = 0;
    Vec3 pitch = b.normal;
    RotateBody(b, -20, pitch); // nose down
    ASSERT_LT(b.dir.y, 0.0f);
    gravity = 2.5f;
    float g = 2.5f;
    for (int tick = 0; tick < 100; tick++) {
        FlyHeading(b);
        g = (float)(g * 1.005);
        ASSERT_EQ(gravity, g);
    }
    pitch = b.normal;
    RotateBody(b, 40, pitch); // nose up
    ASSERT_GT(b.dir.y, 0.0f);
    float previous = gravity;
    for (int tick = 0; tick < 300; tick++) {
        FlyHeading(b);
        ASSERT_GE(gravity, 2.5f);
        ASSERT_LE(gravity, previous);
        previous = gravity;
    }
    EXPECT_EQ(gravity, 2.5f);
}

TEST(FlyForces, RestingAircraftStaysOnTheGround)
{
    // Along z only: velocity.x stays at or below 2, so it never climbs.
    Body b = LevelPlane(0, 100);
    landed = 1;
    for (int tick = 0; tick < 200; tick++) {
        FlyForces(b);
        ASSERT_EQ(b.pos.y, 5000.0f);
        ASSERT_EQ(b.velocity.y, 0.0f);
        ASSERT_EQ(b.speed, std::fabs(std::trunc(b.velocity.z)) + std::fabs(std::trunc(b.velocity.x)));
        ASSERT_EQ(b.airspeed, b.speed);
    }
    EXPECT_GT(b.pos.z, 10000.0f);
}

TEST(FlyForces, RestingAircraftMovingAlongXClimbsByItsVelocity)
{
    Body b = LevelPlane(0, 0);
    b.dir = {1, 0, 0};
    UnitCross(b.dir, b.up, b.normal);
    b.velocity = {10, 5, 0};
    b.speed = 15;
    landed = 1;
    FlyForces(b);
    EXPECT_GT(b.velocity.x, 2.0f);
    EXPECT_FLOAT_EQ(b.pos.y, 5000.0f + b.velocity.y);
    EXPECT_FLOAT_EQ(b.pos.x, b.velocity.x);
}

TEST(FlyForces, AirborneBelowTheFloorStopsDeadAndSaysSoEveryTick)
{
    Body b = LevelPlane(0, 0);
    b.pos.y = 0;
    b.velocity = {3, -50, 4};
    landed = 0;
    testing::internal::CaptureStdout();
    FlyForces(b);
    FlyForces(b);
    FlyForces(b);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.substr(0, 17), "No longer landed\n");
    size_t count = 0;
    for (size_t p = 0; (p = out.find("No longer landed\n", p)) != std::string::npos; p++)
        count++;
    EXPECT_EQ(count, 3u);
    EXPECT_EQ(b.pos.y, -1.0f);
    EXPECT_EQ(b.velocity.x, 0.0f);
    EXPECT_EQ(b.velocity.z, 0.0f);
}

TEST(FlyForces, LiftMakesFullThrustClimbAndNoThrustFall)
{
    testing::internal::CaptureStdout();
    Body full = LevelPlane(0, 100);
    Body idle = LevelPlane(0, 0);
    landed = 0;
    for (int tick = 0; tick < 300; tick++) {
        FlyForces(full);
        FlyForces(idle);
    }
    testing::internal::GetCapturedStdout();
    EXPECT_GT(full.pos.y, 5000.0f + 100.0f);
    EXPECT_LT(idle.pos.y, 5000.0f - 100.0f);
}

TEST(FlyForces, SwitchingModelsRecomputesSpeedFromVelocity)
{
    Body b = LevelPlane(100, 50);
    landed = 0;
    b.velocity = {10.7f, -3.2f, 80.9f};
    flightModel = 0;
    UpdateFlight(b);
    EXPECT_FLOAT_EQ(b.speed, 100.0f) << "the heading model leaves velocity alone";
    EXPECT_EQ(b.velocity.z, 80.9f);
    flightModel = 1;
    testing::internal::CaptureStdout();
    UpdateFlight(b);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(b.speed, std::fabs(std::trunc(b.velocity.x)) + std::fabs(std::trunc(b.velocity.y)) +
                           std::fabs(std::trunc(b.velocity.z)));
    EXPECT_EQ(b.speed, std::trunc(b.speed));
}

TEST(FlyForces, EnormousVelocitiesStayDefined)
{
    Body b = LevelPlane(0, 0);
    b.velocity = {3e38f, -3e38f, 1e30f};
    landed = 1;
    FlyForces(b);
    EXPECT_FALSE(std::isnan(b.speed));
}

TEST(FlightModels, LongFlightMatchesTheDoubleArithmeticBitForBit)
{
    // A takeoff roll, a stall, a banked turn, a long dive and a pull-up in
    // each model; the pilot's turns go to both records alike.
    struct Phase {
        int ticks;
        float thrust;
        bool onGround;
        float roll, pitch; // degrees turned at the start of the phase
    };
    const Phase phases[] = {{80, 40, true, 0, 0},   {120, 10, false, 0, 5}, {200, 60, false, 25, 0},
                            {600, 30, false, -25, -35}, {300, 100, false, 10, 70}, {50, 5, true, 0, 0}};
    Body flown[2], reference[2];
    float gravities[2][2];
    testing::internal::CaptureStdout();
    for (int model = 0; model < 2; model++) {
        flightModel = model;
        Body b = LevelPlane(0, 0), ref = b;
        b.velocity = ref.velocity = {3.5f, 0, 1};
        gravity = 2.5f;
        float refGravity = gravity;
        for (const Phase& p : phases) {
            for (Body* body : {&b, &ref}) {
                body->thrust = p.thrust;
                Vec3 roll = body->dir, pitch = body->normal;
                RotateBody(*body, p.roll, roll);
                RotateBody(*body, p.pitch, pitch);
            }
            landed = p.onGround;
            for (int tick = 0; tick < p.ticks; tick++) {
                UpdateFlight(b);
                if (model == 0)
                    ReferenceHeading(ref, refGravity, p.onGround);
                else
                    ReferenceForces(ref, refGravity, p.onGround);
            }
        }
        flown[model] = b;
        reference[model] = ref;
        gravities[model][0] = gravity;
        gravities[model][1] = refGravity;
    }
    testing::internal::GetCapturedStdout();
    flightModel = 0;
    for (int model = 0; model < 2; model++) {
        const Body& b = flown[model];
        const Body& ref = reference[model];
        EXPECT_EQ(memcmp(&b, &ref, sizeof b), 0) << "model " << model << ": pos " << b.pos.x << " " << b.pos.y << " "
                                                 << b.pos.z << ", reference " << ref.pos.x << " " << ref.pos.y << " "
                                                 << ref.pos.z;
        EXPECT_EQ(gravities[model][0], gravities[model][1]) << "model " << model;
    }
    EXPECT_GT(gravities[0][0], 4.0f) << "the dive must have counted";
}

TEST(SimulationStep, PausedDoesNothingAndExplosionSkipsGroundContact)
{
    ResetPlane(plane);
    plane.thrust = 50;
    paused = 1;
    landed = 1;
    SimulationStep(PilotInput());
    EXPECT_EQ(plane.speed, 0.0f);
    EXPECT_EQ(landed, 1);

    paused = 0;
    explosionFrame = 5;
    SimulationStep(PilotInput());
    EXPECT_EQ(plane.speed, 0.5f);
    EXPECT_EQ(landed, 0) << "no ground contact ran to set it again";
    explosionFrame = 0;
}

TEST(PrintBody, ExactLine)
{
    Body b;
    ResetPlane(b);
    testing::internal::CaptureStdout();
    PrintBody(b);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "pos = 3075.00, 30.00, -9470.00, dir = 0.00, 0.00, 1.00 (1.00), up = 0.00, 1.00, 0.00 (1.00), "
              "normal = -1.00, 0.00, 0.00 (1.00)\n");
}
