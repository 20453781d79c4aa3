// The sound rendered offline and measured, the hand-over of its scene, and
// what the steps and keys tell it.
#include <gtest/gtest.h>

#include <GL/glut.h>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "sim/flight/aircraft.h"
#include "sim/flight/explosion.h"
#include "sim/flight/flight_tick.h"
#include "sim/flight/ground_contact.h"
#include "sim/shell/controls.h"
#include "sim/shell/sound_feed.h"
#include "sim/sound/mailbox.h"
#include "sim/sound/synth.h"
#include "sim/view/view_state.h"
#include "tests/support/sound_analysis.h"

namespace {

const int RATE = 48000;
SoundMixer mixer; // 16 kB of tables: not on the stack

// Engines alone at a steady spool, heard from the chase view.
SoundScene Engines(float spool)
{
    SoundScene s = {};
    s.spoolTarget = spool;
    s.distance = CHASE_DISTANCE_START;
    s.soundOn = 1;
    s.volume = 1.0f;
    return s;
}

// Rolling at thrust 25 and speed 50 in the cockpit: the bed a cue must rise from.
SoundScene Rolling()
{
    SoundScene s = Engines(0.25f);
    s.speed = 50.0f;
    s.onGround = 1;
    s.cockpit = 1;
    return s;
}

void StartAt(float spool)
{
    StartMixer(mixer, RATE);
    mixer.spool = spool;
}

} // namespace

TEST(SoundTest, EnginesRiseInPitchAndLoudnessWithTheSpool)
{
    double lastHz = 0.0, lastRms = 0.0;
    for (float spool : {0.0f, 0.25f, 0.5f, 1.0f}) {
        StartAt(spool);
        std::vector<float> out = RenderSound(mixer, Engines(spool), 1.0);
        double hz = DominantHz(out, RATE, 0.5, 1.0);
        double rms = SoundRms(out, RATE, 0.5, 1.0);
        EXPECT_GT(hz, lastHz * 1.2) << spool;
        EXPECT_GT(rms, lastRms * 1.2) << spool;
        if (spool == 0.0f) {
            EXPECT_GT(rms, 0.01) << "a low idle, not silence";
            // Not a pure sine: overtones and noise above the whine's line.
            EXPECT_GT(ShareAbove(out, RATE, 0.5, 1.0, hz * 1.5), 0.05);
        }
        lastHz = hz;
        lastRms = rms;
    }
}

TEST(SoundTest, SpoolLagsTheThrottleAndStandsWhilePaused)
{
    struct Case {
        float from, to;
        double minSeconds, maxSeconds;
    };
    // Up in about 2 s, down a little slower, for any size of throttle step.
    const Case cases[] = {{0.0f, 1.0f, 1.5, 2.2}, {0.0f, 0.25f, 1.5, 2.2}, {1.0f, 0.0f, 2.2, 2.8}};
    for (const Case& c : cases) {
        StartAt(c.from);
        SoundScene s = Engines(c.to);
        double seconds = 0.0;
        while (std::fabs(mixer.spool - c.from) < 0.9f * std::fabs(c.to - c.from) && seconds < 5.0) {
            RenderSound(mixer, s, 0.01);
            seconds += 0.01;
        }
        EXPECT_GE(seconds, c.minSeconds) << c.from << " to " << c.to;
        EXPECT_LE(seconds, c.maxSeconds) << c.from << " to " << c.to;
    }
    StartAt(0.0f);
    SoundScene s = Engines(1.0f);
    s.paused = 1;
    RenderSound(mixer, s, 1.0);
    EXPECT_EQ(mixer.spool, 0.0f);
}

TEST(SoundTest, PauseSoundOffAndVolumeZeroSilenceWithin50ms)
{
    SoundScene loud = Engines(1.0f);
    loud.speed = 200.0f;
    loud.onGround = 1;
    SoundScene paused = loud, off = loud, zero = loud;
    paused.paused = 1;
    off.soundOn = 0;
    zero.volume = 0.0f;
    for (const SoundScene& quiet : {paused, off, zero}) {
        StartAt(1.0f);
        RenderSound(mixer, loud, 0.2);
        std::vector<float> out = RenderSound(mixer, quiet, 0.2);
        EXPECT_GT(SoundRms(out, RATE, 0.0, 0.005), 0.02);
        EXPECT_LT(SoundRms(out, RATE, 0.05, 0.2), 1e-4);
        // And back when it is lifted, a restart bringing the engines back at idle.
        SoundScene again = loud;
        again.restarts = 1;
        again.spoolTarget = 0.0f;
        out = RenderSound(mixer, again, 0.2);
        EXPECT_GT(SoundRms(out, RATE, 0.05, 0.2), 0.02);
        EXPECT_EQ(mixer.spool, 0.0f);
    }
}

TEST(SoundTest, TouchdownAndCrashStandWellAboveTheBed)
{
    StartAt(0.25f);
    SoundScene s = Rolling();
    double bed = SoundRms(RenderSound(mixer, s, 0.5), RATE, 0.0, 0.5);
    s.touchdowns = 1;
    s.touchdownForce = 0.2f;
    std::vector<float> soft = RenderSound(mixer, s, 1.0);
    EXPECT_GT(SoundRms(soft, RATE, 0.0, 0.03), 3.0 * bed);
    EXPECT_LT(SoundRms(soft, RATE, 0.7, 1.0), 1.3 * bed) << "the touchdown is a transient";
    s.touchdowns = 2;
    s.touchdownForce = 1.0f;
    std::vector<float> hard = RenderSound(mixer, s, 0.1);
    EXPECT_GT(SoundRms(hard, RATE, 0.0, 0.03), 1.3 * SoundRms(soft, RATE, 0.0, 0.03)) << "a harder touch is louder";

    // The crash's first frame pauses the game; the explosion plays on through
    // the pause for two to three seconds, heard even from far away.
    s.crashes = 1;
    s.paused = 1;
    s.cockpit = 0;
    s.distance = 10000.0f;
    std::vector<float> crash = RenderSound(mixer, s, 3.0);
    EXPECT_GT(SoundRms(crash, RATE, 0.0, 0.1), 4.0 * bed);
    EXPECT_GT(SoundRms(crash, RATE, 1.9, 2.0), 0.002);
    EXPECT_LT(SoundRms(crash, RATE, 2.7, 3.0), 1e-5);
}

TEST(SoundTest, NoSampleIsNaNOrClipped)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    SoundScene worst = Engines(1.0f);
    worst.speed = 1e6f;
    worst.onGround = 1;
    worst.distance = 0.0f;
    SoundScene broken = worst;
    broken.spoolTarget = nan;
    broken.speed = inf;
    broken.distance = nan;
    broken.pan = inf;
    broken.volume = nan;
    broken.touchdownForce = nan;
    for (SoundScene s : {worst, broken}) {
        StartAt(1.0f);
        RenderSound(mixer, s, 0.1);
        s.gearMoves = s.touchdowns = s.crashes = 1;
        for (float v : RenderSound(mixer, s, 3.0)) {
            ASSERT_TRUE(std::isfinite(v));
            ASSERT_LT(std::fabs(v), 1.0f);
        }
    }
}

TEST(SoundTest, CockpitIsDarkerAndDistanceQuieterAndPanned)
{
    StartAt(0.7f);
    std::vector<float> chase = RenderSound(mixer, Engines(0.7f), 1.0);
    SoundScene inside = Engines(0.7f);
    inside.cockpit = 1;
    StartAt(0.7f);
    std::vector<float> cockpit = RenderSound(mixer, inside, 1.0);
    EXPECT_LT(ShareAbove(cockpit, RATE, 0.2, 1.0, 2000.0), 0.5 * ShareAbove(chase, RATE, 0.2, 1.0, 2000.0));

    double last = 1.0;
    for (float d : {1000.0f, 2000.0f, 4000.0f, 8000.0f}) {
        SoundScene s = Engines(0.7f);
        s.distance = d;
        StartAt(0.7f);
        double rms = SoundRms(RenderSound(mixer, s, 0.5), RATE, 0.2, 0.5);
        EXPECT_LT(rms, 0.7 * last) << d;
        last = rms;
    }

    SoundScene left = Engines(0.7f);
    left.pan = -1.0f;
    StartAt(0.7f);
    std::vector<float> out = RenderSound(mixer, left, 0.5);
    double l = 0.0, r = 0.0;
    for (size_t i = out.size() / 2; i + 1 < out.size(); i += 2) {
        l += out[i] * out[i];
        r += out[i + 1] * out[i + 1];
    }
    EXPECT_GT(l, 100.0 * r);
}

TEST(SoundTest, MailboxHandsOverTheNewestSceneAndKeepsItUntilTheNext)
{
    static SoundMailbox box;
    SoundScene s = {};
    StartMailbox(box, s);
    EXPECT_EQ(TakeScene(box).crashes, 0u);
    for (unsigned i = 1; i <= 5; i++) {
        s.crashes = i;
        PostScene(box, s);
        if (i % 2 == 0) {
            EXPECT_EQ(TakeScene(box).crashes, i);
        }
    }
    EXPECT_EQ(TakeScene(box).crashes, 5u);
    EXPECT_EQ(TakeScene(box).crashes, 5u);
}

TEST(SoundTest, OptionsTakeMuteAndVolumeAndLeaveTheRest)
{
    struct Case {
        std::vector<std::string> args;
        bool ok;
        int on, volume;
        std::string left;
    };
    const Case cases[] = {
        {{}, true, 1, 80, ""},
        {{"--mute"}, true, 0, 80, ""},
        {{"--volume", "0"}, true, 1, 0, ""},
        {{"-sync", "--volume=100", "x", "--mute"}, true, 0, 100, "-sync x "},
        {{"--volume"}, false, 1, 80, ""},
        {{"--volume", "101"}, false, 1, 80, ""},
        {{"--volume", "-1"}, false, 1, 80, ""},
        {{"--volume", "5x"}, false, 1, 80, ""},
        {{"--volume="}, false, 1, 80, ""},
        {{"--volume", "99999999999999999999"}, false, 1, 80, ""},
    };
    for (const Case& c : cases) {
        ResetSoundState();
        std::vector<std::string> storage = c.args;
        storage.insert(storage.begin(), "pelorin");
        std::vector<char*> argv;
        for (std::string& a : storage)
            argv.push_back(&a[0]);
        argv.push_back(nullptr);
        int argc = (int)storage.size();
        char error[256] = "";
        std::string what = storage.size() > 1 ? storage.back() : "none";
        ASSERT_EQ(TakeSoundOptions(argc, argv.data(), error, sizeof error), c.ok) << what;
        if (!c.ok) {
            EXPECT_EQ(std::string(error).rfind("--volume ", 0), 0u) << error;
            continue;
        }
        EXPECT_EQ(soundOn, c.on) << what;
        EXPECT_EQ(soundVolume, c.volume) << what;
        std::string left;
        for (int i = 1; i < argc; i++)
            left += std::string(argv[i]) + " ";
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(argv[argc], nullptr);
    }
}

TEST(SoundTest, StepsAndKeysCountEachEventOnce)
{
    auto step = [](int n) {
        for (int i = 0; i < n; i++) {
            SimulationStep();
            FeedSound();
        }
    };
    testing::internal::CaptureStdout();
    PilotKey('g');
    PilotKey('g');
    PilotSpecialKey(GLUT_KEY_F9);
    PilotSpecialKey(GLUT_KEY_F9);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Raising landing gear\nLowering landing gear\nSound off\nSound on\n");
    EXPECT_EQ(soundEvents.gearMoves, 2u);

    // Resting at the start: no touchdown. Lifted 200 units and dropped, the
    // jet comes down gently and touches once.
    step(50);
    EXPECT_EQ(soundEvents.touchdowns, 0u);
    plane.thrust = 25.0f;
    plane.speed = 50.0f;
    plane.pos.y += 100.0f;
    step(200);
    EXPECT_EQ(soundEvents.touchdowns, 1u);
    EXPECT_GT(soundEvents.touchdownForce, 0.0f);
    EXPECT_LT(soundEvents.touchdownForce, 0.5f);

    // A crash counts at its first frame, once; the restart's settle onto the
    // runway is no touchdown, and the gear it puts down makes no motor sound.
    gearDown = 0;
    step(5);
    ASSERT_TRUE(explosionScheduled);
    EXPECT_EQ(soundEvents.crashes, 0u);
    ExplosionQuad quad;
    while (AdvanceExplosion(quad))
        step(1);
    EXPECT_EQ(soundEvents.crashes, 1u);
    PilotKey('y');
    step(50);
    EXPECT_EQ(soundEvents.restarts, 1u);
    EXPECT_EQ(soundEvents.touchdowns, 1u);
    EXPECT_EQ(soundEvents.gearMoves, 2u);
    EXPECT_EQ(TakeScene(soundMailbox).restarts, 1u);
}
