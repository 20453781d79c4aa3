// Ground contact, the landing rules, the explosion's frames and the restart.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "common/landscape_reader.h"
#include "sim/flight/aircraft.h"
#include "sim/flight/flight_tick.h"
#include "sim/flight/explosion.h"
#include "sim/flight/ground_contact.h"
#include "sim/flight/instruments.h"
#include "sim/landscape/terrain.h"
#include "sim/render/frame.h"
#include "sim/shell/controls.h"
#include "sim/shell/scene.h"
#include "sim/view/view_state.h"

namespace {

// The start pose turned nose-up by `pitch` degrees and banked right by `bank`.
Body Attitude(float pitch, float bank)
{
    Body body;
    ResetPlane(body);
    RotateBody(body, pitch, body.normal); // positive: nose up, as the down arrow
    RotateBody(body, bank, body.dir);     // positive: right bank, as the right arrow
    return body;
}

// A 3 x 3 tile of one height centred on (x, z), so that the ground under the
// aircraft is exactly `height`, below 0 too (loading would raise that). The
// arrays are the tile's own, released with it by the next case's reset.
void PlaceLevelTile(float x, float z, float height)
{
    const int n = 3;
    ResetTerrainState();
    TerrainTile& tile = terrainTiles[0];
    tile.width = n;
    tile.depth = n;
    tile.heights = new float[n * n];
    tile.normals = new float[n * n * 6]();
    for (int i = 0; i < n * n; i++)
        tile.heights[i] = height;
    tile.cellSize = 500.0f;
    tile.translateX = x;
    tile.translateZ = z;
}

// The aircraft's start pose lies inside such a tile; skips while the height
// query does not see tiles.
bool TileUnderStartPose(float height)
{
    Body start;
    ResetPlane(start);
    PlaceLevelTile(start.pos.x, start.pos.z, height);
    return TerrainHeight(start.pos.x, 0.0f, start.pos.z) == height;
}

} // namespace

TEST(ContactTest, StartPoseRestsWithoutLevelling)
{
    ResetPlane(plane);
    landed = 0;
    EXPECT_EQ(GroundContact(plane), CONTACT_FLAT);
    EvaluateGroundContact();
    EXPECT_EQ(landed, 1);
    EXPECT_EQ(plane.pos.y, 30.0f);
    EXPECT_EQ(explosionScheduled, 0);
}

TEST(ContactTest, ContactPointsFollowTheFrameAndTheGear)
{
    Body body = Attitude(0.0f, 0.0f); // dir +z, normal -x
    const Vec3 want[4] = {{3100, -5, -9370}, {3050, -5, -9370}, {2965, -5, -9630}, {3185, -5, -9630}};
    for (int i = 0; i < CONTACT_POINT_COUNT; i++) {
        Vec3 p = ContactPoint(body, i);
        EXPECT_FLOAT_EQ(p.x, want[i].x) << i;
        EXPECT_FLOAT_EQ(p.y, want[i].y) << i;
        EXPECT_FLOAT_EQ(p.z, want[i].z) << i;
    }
    gearHeight = GEAR_UP_HEIGHT;
    EXPECT_FLOAT_EQ(ContactPoint(body, 0).y, 10.0f);
    // Gear up, the start pose is 10 units clear of flat ground.
    EXPECT_EQ(GroundContact(body), CONTACT_NONE);
    // Lowered along world y, not along the banked up vector.
    body = Attitude(0.0f, 30.0f);
    body.pos.y = 0.0f;
    Vec3 p = ContactPoint(body, 1);
    EXPECT_FLOAT_EQ(p.y, 25.0f * body.normal.y - GEAR_UP_HEIGHT);
}

TEST(ContactTest, LandingRulesByAttitudeAndTheCauseOfEachCrash)
{
    struct Case {
        const char* name;
        float pitch, bank;
        int contact, gear;
        float airspeed;
        ContactOutcome want;
        const char* cause; // the line under the restart question
    };
    const Case cases[] = {
        {"level", 0, 0, CONTACT_FLAT, 1, 0, OUTCOME_REST, ""},
        {"no contact", 0, 0, CONTACT_NONE, 1, 0, OUTCOME_AIRBORNE, ""},
        {"no contact, gear up", 0, 0, CONTACT_NONE, 0, 0, OUTCOME_AIRBORNE, ""},
        {"nose 5 up", 5, 0, CONTACT_FLAT, 1, 0, OUTCOME_CRASH, "The nose 5 degrees off level on touchdown (most 4)"},
        {"nose 3 up", 3, 0, CONTACT_FLAT, 1, 0, OUTCOME_REST, ""},
        {"nose 4.1 up", 4.1f, 0, CONTACT_FLAT, 1, 0, OUTCOME_CRASH, "The nose 5 degrees off level on touchdown (most 4)"},
        {"bank 15", 0, 15, CONTACT_FLAT, 1, 0, OUTCOME_CRASH, "Banked or pitched 15 degrees on touchdown (most 14)"},
        {"bank 10", 0, 10, CONTACT_FLAT, 1, 0, OUTCOME_REST, ""},
        {"bank 10 left", 0, -10, CONTACT_FLAT, 1, 0, OUTCOME_REST, ""},
        {"bank 40 left", 0, -40, CONTACT_FLAT, 1, 0, OUTCOME_CRASH, "Banked or pitched 40 degrees on touchdown (most 14)"},
        {"gear up", 0, 0, CONTACT_FLAT, 0, 0, OUTCOME_CRASH, "A belly landing with the gear up"},
        {"rising terrain", 0, 0, CONTACT_RISING, 1, 0, OUTCOME_CRASH, "Flew into rising ground"},
        {"rising terrain, gear up", 0, 0, CONTACT_RISING, 0, 0, OUTCOME_CRASH, "Flew into rising ground"},
        {"nose 3 down", -3, 0, CONTACT_FLAT, 1, 50, OUTCOME_REST_LEVELLED, ""},
        {"nose 3 down too fast", -3, 0, CONTACT_FLAT, 1, 100, OUTCOME_CRASH,
         "Came down too fast, sinking 6 units a step (most 5)"},
        {"nose 5 down", -5, 0, CONTACT_FLAT, 1, 10, OUTCOME_CRASH, "The nose 5 degrees off level on touchdown (most 4)"},
        // Several rules broken: the one a pilot recognises first, a dive
        // before the gear the landing test tries first.
        {"dive 44, gear up", -44, 0, CONTACT_FLAT, 0, 200, OUTCOME_CRASH,
         "Hit the ground 44 degrees nose down at speed 200"},
        {"dive 30 in a loop", -30, 20, CONTACT_FLAT, 1, 635.2f, OUTCOME_CRASH,
         "Hit the ground 30 degrees nose down at speed 636"},
        {"nose 5 down, gear up", -5, 0, CONTACT_FLAT, 0, 10, OUTCOME_CRASH,
         "Hit the ground 5 degrees nose down at speed 10"},
        {"dive into rising ground", -44, 0, CONTACT_RISING, 0, 200, OUTCOME_CRASH, "Flew into rising ground"},
        {"sinking, gear up", -3, 0, CONTACT_FLAT, 0, 100, OUTCOME_CRASH,
         "Came down too fast, sinking 6 units a step (most 5)"},
        {"nose 5 up, gear up", 5, 0, CONTACT_FLAT, 0, 0, OUTCOME_CRASH,
         "The nose 5 degrees off level on touchdown (most 4)"},
        {"bank 20, gear up", 0, 20, CONTACT_FLAT, 0, 0, OUTCOME_CRASH,
         "Banked or pitched 20 degrees on touchdown (most 14)"},
    };
    for (const Case& c : cases) {
        Body body = Attitude(c.pitch, c.bank);
        body.airspeed = c.airspeed;
        EXPECT_EQ(DecideContact(body, c.contact, c.gear), c.want) << c.name;
        CrashReport crash = CrashCauseOf(body, c.contact, c.gear, 0.0f);
        EXPECT_EQ(crash.cause == CRASH_NONE, c.want != OUTCOME_CRASH) << c.name;
        char line[200];
        FormatCrashCause(crash, line, sizeof line);
        EXPECT_STREQ(line, c.cause) << c.name;
    }
    // The gear that gave way is the cause of the belly landing it leads to.
    Body rolling = Attitude(0, 0);
    char line[200];
    FormatCrashCause(CrashCauseOf(rolling, CONTACT_FLAT, 0, 60.5f), line, sizeof line);
    EXPECT_STREQ(line, "The landing gear gave way at speed 61 (most 60)");
    FormatCrashCause({CRASH_SINKING, 5.0f}, line, sizeof line);
    EXPECT_STREQ(line, "Came down too fast, sinking 6 units a step (most 5)") << "never shown within the limit";
}

TEST(ContactTest, InstrumentsReadTheLandingTestsOwnFigures)
{
    struct Case {
        const char* name;
        float pitch, bank, airspeed;
        float wantPitch, wantBank, wantSink; // degrees, degrees, units a step
        bool pitchWarn, bankWarn, sinkWarn;
    };
    const Case cases[] = {
        {"level", 0, 0, 60, 0, 0, 0, false, false, false},
        {"nose 3 up", 3, 0, 60, 3, 0, -3.14f, false, false, false},
        {"nose 5 up", 5, 0, 60, 5, 0, -5.23f, true, false, false},
        {"nose 3 down", -3, 0, 60, -3, 0, 3.14f, false, false, false},
        {"nose 5 down", -5, 0, 60, -5, 0, 5.23f, true, false, true},
        {"nose 4 down, too fast", -4, 0, 80, -4, 0, 5.58f, false, false, true},
        {"banked 10 right", 0, 10, 60, 0, 10, 0, false, false, false},
        {"banked 15 left", 0, -15, 60, 0, -15, 0, false, true, false},
        {"nose 3 up banked 13.8", 3, 13.8f, 0, 3, 13.8f, 0, false, true, false},
        {"nose 3 up banked 13", 3, 13, 0, 3, 13, 0, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Body body = Attitude(c.pitch, c.bank);
        body.airspeed = c.airspeed;
        InstrumentReadings r = ReadInstruments(body, 1, 40.0f);
        EXPECT_NEAR(r.pitch, c.wantPitch, 0.01f);
        EXPECT_NEAR(r.bank, c.wantBank, 0.01f);
        EXPECT_NEAR(r.sink, c.wantSink, 0.01f);
        EXPECT_NEAR(r.heading, 90.0f, 0.01f); // the runway's heading on the landscape map
        EXPECT_EQ(r.pitchWarn, c.pitchWarn);
        EXPECT_EQ(r.bankWarn, c.bankWarn);
        EXPECT_EQ(r.sinkWarn, c.sinkWarn);
        // Amber exactly where the landing test would crash the jet.
        bool crash = DecideContact(body, CONTACT_FLAT, 1) == OUTCOME_CRASH;
        EXPECT_EQ(r.pitchWarn || r.bankWarn || r.sinkWarn, crash);
        // Not landing: high above the ground, or the gear up.
        InstrumentReadings high = ReadInstruments(body, 1, LANDING_WATCH_HEIGHT + 1);
        InstrumentReadings up = ReadInstruments(body, 0, 40.0f);
        EXPECT_FALSE(high.pitchWarn || high.bankWarn || high.sinkWarn);
        EXPECT_FALSE(up.pitchWarn || up.bankWarn || up.sinkWarn);
        EXPECT_TRUE(r.gearDown);
        EXPECT_FALSE(up.gearDown);
    }
    // The limits the crash line states come from the landing test's constants.
    LandingLimits limits = LandingLimitsOf();
    EXPECT_NEAR(limits.noseDegrees, 4.01, 0.01);
    EXPECT_NEAR(limits.attitudeDegrees, 14.07, 0.01);
    EXPECT_EQ(limits.sinkPerStep, 5.0);
    EXPECT_EQ(limits.gearBreakSpeed, 60.0f);
}

TEST(ContactTest, EvaluationActsOnTheRules)
{
    struct Case {
        const char* name;
        float pitch, bank;
        int gear;
        bool crash;
    };
    const Case cases[] = {
        {"nose 5 up", 5, 0, 1, true},  {"nose 3 up", 3, 0, 1, false}, {"bank 15", 0, 15, 1, true},
        {"bank 10", 0, 10, 1, false}, {"gear up", 0, 0, 0, true},
    };
    for (const Case& c : cases) {
        plane = Attitude(c.pitch, c.bank);
        plane.pos.y = 0.0f; // every point under the ground
        Body before = plane;
        gearDown = c.gear;
        landed = 0;
        explosionScheduled = 0;
        EvaluateGroundContact();
        EXPECT_EQ(explosionScheduled, c.crash ? 1 : 0) << c.name;
        EXPECT_EQ(landed, c.crash ? 0 : 1) << c.name;
        // Neither a crash nor a nose-up rest moves the aircraft.
        EXPECT_EQ(plane.pos.y, before.pos.y) << c.name;
        EXPECT_EQ(plane.up.y, before.up.y) << c.name;
    }
}

TEST(ContactTest, NoseDownLandingIsPutLevelAt34)
{
    plane = Attitude(-3.0f, 4.0f);
    plane.pos.y = 5.0f;
    plane.airspeed = 40.0f;
    landed = 0;
    EvaluateGroundContact();
    EXPECT_EQ(landed, 1);
    EXPECT_EQ(plane.pos.y, 34.0f);
    EXPECT_EQ(plane.up.x, 0.0f);
    EXPECT_EQ(plane.up.y, 1.0f);
    EXPECT_EQ(plane.up.z, 0.0f);
    EXPECT_EQ(plane.dir.y, 0.0f);
    EXPECT_EQ(plane.normal.y, 0.0f);
    EXPECT_NEAR(Length(plane.dir), 1.0f, 1e-6f);
    EXPECT_NEAR(Length(plane.normal), 1.0f, 1e-6f);
    EXPECT_EQ(explosionScheduled, 0);
}

TEST(ContactTest, GearGivesWayAbove60AndTheNextStepCrashes)
{
    for (float speed : {60.0f, 60.5f}) {
        ResetPlane(plane);
        plane.speed = speed;
        gearDown = 1;
        gearHeight = GEAR_DOWN_HEIGHT;
        landed = 0;
        EvaluateGroundContact();
        EXPECT_EQ(landed, 1) << speed;
        EXPECT_EQ(gearHeight, GEAR_DOWN_HEIGHT) << speed;
        EXPECT_EQ(gearDown, speed > 60.0f ? 0 : 1) << speed;
        EXPECT_EQ(explosionScheduled, 0) << speed;
    }
    // Still touching: the gear check fails, and the collapse is its cause.
    landed = 0;
    EvaluateGroundContact();
    EXPECT_EQ(explosionScheduled, 1);
    EXPECT_EQ(lastCrash.cause, CRASH_GEAR_GAVE_WAY);
    EXPECT_EQ(lastCrash.value, 60.5f);
    // A restart while the explosion still runs does not last: the cause stays
    // for the question its next frame asks; one after it clears the cause.
    RestartGame();
    EXPECT_EQ(lastCrash.cause, CRASH_GEAR_GAVE_WAY);
    explosionScheduled = 0;
    RestartGame();
    EXPECT_EQ(lastCrash.cause, CRASH_NONE);
}

TEST(ContactTest, TerrainAboveZeroCrashesAndBelowZeroIsFlat)
{
    if (!TileUnderStartPose(100.0f))
        GTEST_SKIP() << "the height query does not see tiles yet";
    ResetPlane(plane);
    EXPECT_EQ(GroundContact(plane), CONTACT_RISING);
    landed = 0;
    EvaluateGroundContact();
    EXPECT_EQ(explosionScheduled, 1);
    EXPECT_EQ(landed, 0);

    ASSERT_TRUE(TileUnderStartPose(-100.0f));
    explosionScheduled = 0;
    EXPECT_EQ(GroundContact(plane), CONTACT_NONE);
    plane.pos.y = -80.0f;
    EXPECT_EQ(GroundContact(plane), CONTACT_FLAT);
    // Levelled onto ground below 0, the aircraft still goes to 34.
    RotateBody(plane, -2.0f, plane.normal);
    landed = 0;
    EvaluateGroundContact();
    EXPECT_EQ(landed, 1);
    EXPECT_EQ(plane.pos.y, 34.0f);
}

TEST(ContactTest, AJetCrossingADrawnRidgeCrashesOnlyIntoTheRidge)
{
    // A ridge of 3000 painted along one file line of tile 0, where the game
    // places it; the jet flies along +z across it at speed 100, gear down.
    LandscapeGrid grid;
    grid.size = 41;
    grid.heights.assign(41 * 41, 0.0f);
    for (int col = 1; col < 40; col++)
        grid.heights[26 * 41 + col] = 3000.0f;
    InstallLandscapeGrid(grid);
    TerrainTile& t = terrainTiles[0];
    t.translateX = 8490.714f;
    t.translateZ = 54846.676f;
    const float ridgeZ = t.translateZ + (26 - 20.5f) * 500.0f;
    struct Case {
        float clearance; // contact points above the ridge when the jet reaches it
        bool crash;
    } cases[] = {{500.0f, false}, {100.0f, false}, {-100.0f, true}};
    for (const Case& c : cases) {
        ResetPlane(plane);
        plane.pos = {3075.0f, 0.0f, ridgeZ - 5000.0f};
        plane.thrust = 50.0f;
        plane.speed = 100.0f;
        // Level flight sinks a unit a step: 50 steps to the ridge.
        plane.pos.y = 3000.0f + c.clearance + GEAR_DOWN_HEIGHT + 50.0f;
        landed = 0;
        explosionScheduled = 0;
        for (int step = 0; step < 100 && !explosionScheduled; step++)
            SimulationStep(PilotInput());
        EXPECT_EQ(explosionScheduled == 1, c.crash) << c.clearance << " above, at z " << plane.pos.z;
        if (c.crash) {
            EXPECT_EQ(lastCrash.cause, CRASH_RISING_GROUND);
        }
    }
}

TEST(ContactTest, ExplosionShows19FramesThenRests)
{
    windowWidth = 640.0f;
    windowHeight = 480.0f;
    ExplosionQuad quad;
    for (int k = 1; k <= 19; k++) {
        ASSERT_TRUE(AdvanceExplosion(quad)) << k;
        EXPECT_EQ(explosionFrame, k);
        EXPECT_NEAR(quad.alpha, 1.0f - 0.05f * (k - 1), 1e-5f) << k;
        EXPECT_NEAR(quad.grey, 1.0f - (k - 1) / 23.0f, 1e-5f) << k;
        EXPECT_NEAR(quad.right - quad.left, 640.0f * 0.1f * k, 1e-3f) << k;
        EXPECT_NEAR(quad.top - quad.bottom, 480.0f * 0.1f * k, 1e-3f) << k;
        EXPECT_NEAR((quad.left + quad.right) / 2, 320.0f, 1e-3f) << k;
        EXPECT_NEAR((quad.bottom + quad.top) / 2, 240.0f, 1e-3f) << k;
        EXPECT_EQ(quad.depth, 0.2f);
        EXPECT_EQ(paused, 1);
        EXPECT_EQ(restartPrompt, 1);
    }
    EXPECT_FALSE(AdvanceExplosion(quad));
    EXPECT_EQ(explosionFrame, 0);
    EXPECT_EQ(explosionAlpha, 1.0f);
    EXPECT_EQ(explosionBrightness, 1.0f);
    EXPECT_EQ(paused, 1);
    EXPECT_EQ(restartPrompt, 1);
}

TEST(ContactTest, OneCrashStartsOneChainEvenIfSeenTwice)
{
    ResetPlane(plane);
    gearDown = 0;
    plane.pos.y = 0.0f;
    landed = 0;
    EvaluateGroundContact();
    ASSERT_EQ(explosionScheduled, 1);
    // Two more steps before the first frame runs see the same crash.
    EvaluateGroundContact();
    EvaluateGroundContact();
    EXPECT_FALSE(StartExplosion());
    ExplosionQuad quad;
    int runs = 1;
    while (AdvanceExplosion(quad))
        runs++;
    EXPECT_EQ(runs, 20);
    EXPECT_EQ(explosionScheduled, 0);
    // After the chain a new crash may start a new one.
    EXPECT_TRUE(StartExplosion());
}

TEST(ContactTest, RestartResetsOnlyItsList)
{
    plane = Attitude(20.0f, 30.0f);
    plane.pos = {1.0f, 2.0f, 3.0f};
    plane.thrust = 70.0f;
    plane.speed = 90.0f;
    plane.airspeed = 95.0f;
    plane.velocity = {4.0f, 5.0f, 6.0f};
    restartPrompt = 1;
    paused = 1;
    landed = 1;
    gearDown = 0;
    gearHeight = GEAR_UP_HEIGHT;
    gravity = 7.0f;
    flightModel = 1;
    viewMode = 5;
    fogDensity = 0.5f;
    fogMode = 2;
    RestartGame();
    Body start;
    ResetPlane(start);
    EXPECT_EQ(memcmp(&plane, &start, sizeof(Body)), 0);
    EXPECT_EQ(restartPrompt, 0);
    EXPECT_EQ(paused, 0);
    EXPECT_EQ(landed, 0);
    EXPECT_EQ(gearDown, 1);
    EXPECT_EQ(gearHeight, GEAR_DOWN_HEIGHT);
    EXPECT_EQ(gravity, 7.0f);
    EXPECT_EQ(flightModel, 1);
    EXPECT_EQ(viewMode, 5);
    EXPECT_EQ(fogDensity, 0.5f);
    EXPECT_EQ(fogMode, 2);
}
