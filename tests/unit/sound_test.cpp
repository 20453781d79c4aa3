// The sound rendered offline and measured, the hand-over of its scene, and
// what the steps, keys and options tell it.
#include <gtest/gtest.h>

#include <GL/glut.h>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "common/friends_file.h"
#include "sim/flight/aircraft.h"
#include "sim/flight/explosion.h"
#include "sim/flight/flight_tick.h"
#include "sim/flight/ground_contact.h"
#include "sim/flight/remote_jets.h"
#include "sim/shell/controls.h"
#include "sim/shell/options.h"
#include "sim/shell/sound_feed.h"
#include "sim/sound/mailbox.h"
#include "sim/sound/synth.h"
#include "sim/view/view_state.h"
#include "tests/support/sound_analysis.h"

namespace {

const int RATE = 48000;
SoundMixer mixer; // 8 kB of table: not on the stack

// The engines alone at a steady spool, heard from 500 units (the chase view).
SoundScene Engines(float spool, float distance = 500.0f)
{
    SoundScene s = {};
    s.spoolTarget = spool;
    s.distance = distance;
    s.soundOn = 1;
    s.volume = 1.0f;
    StartMixer(mixer, RATE);
    mixer.spool = spool;
    return s;
}

} // namespace

TEST(SoundTest, EnginesRiseWithTheSpoolAndTheListenerShapesThem)
{
    double lastHz = 0.0, lastRms = 0.0;
    for (float spool : {0.0f, 0.25f, 0.5f, 1.0f}) {
        std::vector<float> out = RenderSound(mixer, Engines(spool), 0.8);
        double hz = DominantHz(out, RATE, 0.3, 0.8), rms = SoundRms(out, RATE, 0.3, 0.8);
        EXPECT_GT(hz, lastHz * 1.2) << spool;
        EXPECT_GT(rms, lastRms * 1.2) << spool;
        if (spool == 0.0f) { // a low idle, and no pure sine: overtones and noise above its line
            EXPECT_GT(rms, 0.01);
            EXPECT_GT(ShareAbove(out, RATE, 0.5, 0.8, hz * 1.5), 0.05);
        }
        lastHz = hz;
        lastRms = rms;
    }
    SoundScene cockpit = Engines(0.7f);
    cockpit.cockpit = 1;
    std::vector<float> inside = RenderSound(mixer, cockpit, 0.5);
    std::vector<float> chase = RenderSound(mixer, Engines(0.7f), 0.5);
    EXPECT_LT(ShareAbove(inside, RATE, 0.2, 0.5, 2000.0), 0.5 * ShareAbove(chase, RATE, 0.2, 0.5, 2000.0));
    for (float d : {1000.0f, 2000.0f, 4000.0f}) {
        double near = SoundRms(RenderSound(mixer, Engines(0.7f, d), 0.5), RATE, 0.2, 0.5);
        EXPECT_LT(SoundRms(RenderSound(mixer, Engines(0.7f, 2 * d), 0.5), RATE, 0.2, 0.5), 0.7 * near) << d;
    }
    SoundScene left = Engines(0.7f);
    left.pan = -1.0f;
    std::vector<float> out = RenderSound(mixer, left, 0.5);
    EXPECT_LT(out[out.size() - 1] * out[out.size() - 1] + out[out.size() - 3] * out[out.size() - 3], 1e-6);
    EXPECT_GT(SoundRms(out, RATE, 0.2, 0.5), 0.02);
}

TEST(SoundTest, SpoolLagsTheThrottleAndStandsWhilePaused)
{
    // Up in about 2 s whatever the step, down a little slower.
    const float cases[][4] = {{0, 1, 1.5f, 2.2f}, {0, 0.25f, 1.5f, 2.2f}, {1, 0, 2.2f, 2.8f}};
    for (const auto& c : cases) {
        SoundScene s = Engines(c[0]);
        s.spoolTarget = c[1];
        double seconds = 0.0;
        for (; std::fabs(mixer.spool - c[0]) < 0.9f * std::fabs(c[1] - c[0]) && seconds < 5.0; seconds += 0.01)
            RenderSound(mixer, s, 0.01);
        EXPECT_GE(seconds, c[2]) << c[0] << " to " << c[1];
        EXPECT_LE(seconds, c[3]) << c[0] << " to " << c[1];
    }
    SoundScene s = Engines(0.0f);
    s.spoolTarget = 1.0f;
    s.paused = 1;
    RenderSound(mixer, s, 0.5);
    EXPECT_EQ(mixer.spool, 0.0f);
}

TEST(SoundTest, PauseSoundOffAndVolumeZeroSilenceWithin50ms)
{
    for (int quiet = 0; quiet < 3; quiet++) {
        SoundScene loud = Engines(1.0f);
        loud.speed = 200.0f;
        loud.onGround = 1;
        RenderSound(mixer, loud, 0.2);
        SoundScene s = loud;
        s.paused = quiet == 0;
        s.soundOn = quiet != 1;
        s.volume = quiet == 2 ? 0.0f : 1.0f;
        std::vector<float> out = RenderSound(mixer, s, 0.2);
        EXPECT_GT(SoundRms(out, RATE, 0.0, 0.005), 0.02) << quiet;
        EXPECT_LT(SoundRms(out, RATE, 0.05, 0.2), 1e-4) << quiet;
        // Back when lifted; a restart brings the engines back at idle at once.
        loud.restarts = 1;
        loud.spoolTarget = 0.0f;
        EXPECT_GT(SoundRms(RenderSound(mixer, loud, 0.2), RATE, 0.05, 0.2), 0.02) << quiet;
        EXPECT_EQ(mixer.spool, 0.0f);
    }
}

TEST(SoundTest, CuesStandAboveTheBedAndNoSampleIsNaNOrClipped)
{
    SoundScene s = Engines(0.25f); // rolling at thrust 25 in the cockpit
    s.speed = 50.0f;
    s.onGround = 1;
    s.cockpit = 1;
    double bed = SoundRms(RenderSound(mixer, s, 0.5), RATE, 0.0, 0.5);
    s.touchdowns = 1;
    s.touchdownForce = 0.2f;
    std::vector<float> soft = RenderSound(mixer, s, 1.0);
    EXPECT_GT(SoundRms(soft, RATE, 0.0, 0.03), 3.0 * bed);
    EXPECT_LT(SoundRms(soft, RATE, 0.7, 1.0), 1.3 * bed) << "a transient";
    s.touchdowns = 2;
    s.touchdownForce = 1.0f;
    EXPECT_GT(SoundRms(RenderSound(mixer, s, 0.1), RATE, 0.0, 0.03), 1.3 * SoundRms(soft, RATE, 0.0, 0.03));
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

    // Everything at once at full volume, then a scene of nonsense.
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    for (float bad : {1.0f, nan, inf}) {
        SoundScene worst = Engines(1.0f, bad == 1.0f ? 0.0f : bad);
        worst.speed = bad == 1.0f ? 1e6f : bad;
        worst.onGround = 1;
        worst.pan = worst.touchdownForce = worst.volume = bad;
        RenderSound(mixer, worst, 0.1);
        worst.gearMoves = worst.touchdowns = worst.crashes = 1;
        for (float v : RenderSound(mixer, worst, 2.0))
            ASSERT_TRUE(std::fabs(v) < 1.0f) << bad; // false for NaN too
    }
}

TEST(SoundTest, MailboxHandsOverTheNewestScene)
{
    static SoundMailbox box;
    SoundScene s = {};
    StartMailbox(box, s);
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
    // The arguments after the name, and "soundOn soundVolume | the toolkit's options", or "refused".
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "1 80 |"}, {{"--mute"}, "0 80 |"}, {{"--volume", "0"}, "1 0 |"},
        {{"-sync", "--volume=100", "-geometry", "+1+2", "--mute"}, "0 100 | -sync -geometry +1+2"},
        {{"--volume"}, "refused"}, {{"--volume", "101"}, "refused"}, {{"--volume", "-1"}, "refused"},
        {{"--volume", "5x"}, "refused"}, {{"--volume="}, "refused"}, {{"--volume", "99999999999999999999"}, "refused"},
        {{"--mute", "x"}, "refused"}, {{"--mute=1"}, "refused"},
    };
    for (const auto& c : cases) {
        ResetSoundState();
        std::vector<std::string> args = c.first;
        args.insert(args.begin(), "pelorin");
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(&a[0]);
        argv.push_back(nullptr);
        SimOptions options;
        testing::internal::CaptureStderr();
        std::string got = "refused";
        if (ReadSimOptions((int)args.size(), argv.data(), options) == COMMAND_LINE_RUN) {
            ApplySimOptions(options);
            got = std::to_string(soundOn) + " " + std::to_string(soundVolume) + " |";
            for (size_t i = 1; i + 1 < options.toolkit.size(); i++)
                got += std::string(" ") + options.toolkit[i];
            EXPECT_EQ(options.toolkit.back(), nullptr);
        }
        std::string error = testing::internal::GetCapturedStderr();
        if (got == "refused") {
            EXPECT_EQ(error.rfind("pelorin: ", 0), 0u) << error;
            EXPECT_EQ(error.find('\n'), error.size() - 1) << error;
        }
        EXPECT_EQ(got, c.second) << args.back();
    }
}

TEST(SoundTest, StepsAndKeysCountEachEventOnce)
{
    // n steps, the first with the keys in its record.
    auto step = [](int n, const char* keys = "") {
        for (int i = 0; i < n; i++) {
            PilotInput input = PilotInput();
            for (const char* k = keys; i == 0 && *k; k++)
                input.presses.push_back({false, (unsigned char)*k});
            FeedSound(SimulationStep(input), false);
        }
    };
    testing::internal::CaptureStdout();
    step(1, "gg");
    TakeSpecialKey(GLUT_KEY_F9);
    TakeSpecialKey(GLUT_KEY_F9);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Raising landing gear\nLowering landing gear\nSound off\nSound on\n");
    EXPECT_EQ(soundEvents.gearMoves, 2u);

    // Resting: no touchdown. Lifted 100 units at speed 50, the jet sinks one
    // unit a step and touches once, gently.
    step(50);
    EXPECT_EQ(soundEvents.touchdowns, 0u);
    plane.thrust = 25.0f;
    plane.speed = 50.0f;
    plane.pos.y += 100.0f;
    step(200);
    EXPECT_EQ(soundEvents.touchdowns, 1u);
    EXPECT_GT(soundEvents.touchdownForce, 0.0f);
    EXPECT_LT(soundEvents.touchdownForce, 0.5f);

    // A belly landing crashes; the crash counts at the explosion's first
    // frame, once. The restart's settle onto the runway is no touchdown, and
    // the gear it puts down makes no motor sound.
    gearDown = 0;
    step(5);
    EXPECT_EQ(soundEvents.crashes, 0u);
    ExplosionQuad quad;
    while (AdvanceExplosion(quad))
        step(1);
    EXPECT_EQ(soundEvents.crashes, 1u);
    step(50, "y");
    EXPECT_EQ(soundEvents.restarts, 1u);
    EXPECT_EQ(soundEvents.touchdowns, 1u);
    EXPECT_EQ(soundEvents.gearMoves, 2u);
    EXPECT_EQ(TakeScene(soundMailbox).restarts, 1u);
}

// A friend's engines in a shared sky: heard on their side, fainter with
// distance, never as loud as the own, and nothing at all while flying alone.
TEST(SoundTest, FriendsEnginesAreHeardWhereTheyAreQuieterThanTheOwn)
{
    auto Channel = [](const std::vector<float>& out, int channel) {
        double sum = 0;
        size_t from = out.size() / 2 & ~(size_t)1;
        for (size_t i = from + channel; i < out.size(); i += 2)
            sum += (double)out[i] * out[i];
        return std::sqrt(sum / ((out.size() - from) / 2));
    };
    SoundScene alone = Engines(1.0f);
    double own = SoundRms(RenderSound(mixer, alone, 0.5), RATE, 0.2, 0.5);
    // The own jet far off, so that the friend is all there is to hear.
    struct Case {
        float distance, pan;
    } cases[] = {{600.0f, -1.0f}, {1200.0f, 1.0f}, {4800.0f, 0.0f}};
    double last = 1e9;
    for (const Case& c : cases) {
        SoundScene s = Engines(0.0f, 1e9f);
        s.friendCount = 1;
        s.friends[0] = {1.0f, c.distance, c.pan};
        std::vector<float> out = RenderSound(mixer, s, 0.5);
        double left = Channel(out, 0), right = Channel(out, 1), both = std::sqrt((left * left + right * right) / 2);
        EXPECT_LT(both, 0.5 * own) << c.distance;
        EXPECT_LT(both, last) << c.distance;
        if (c.pan < 0) {
            EXPECT_GT(left, 20 * right + 1e-4) << c.distance;
        }
        if (c.pan > 0) {
            EXPECT_GT(right, 20 * left + 1e-4) << c.distance;
        }
        last = both;
    }
    std::vector<float> withNone = RenderSound(mixer, Engines(0.5f), 0.2);
    SoundScene uncounted = Engines(0.5f);
    uncounted.friends[0] = {1.0f, 10.0f, 0.0f}; // friendCount 0: not heard
    EXPECT_EQ(withNone, RenderSound(mixer, uncounted, 0.2));

    // The step's scene takes them from the sky in view: a replay's shows the
    // friend as it was seen, on the cockpit's right here, with no network.
    ResetRemoteJets();
    viewMode = VIEW_COCKPIT;
    EXPECT_EQ(CurrentSoundScene(false).friendCount, 0) << "alone";
    std::vector<FriendsRecord> seen(2);
    seen[0].type = NET_JOINED;
    seen[0].id = 2;
    seen[1].step = 10;
    seen[1].state.id = 2;
    seen[1].state.step = 10;
    Vec3 at = {plane.pos.x + 500 * plane.normal.x, plane.pos.y, plane.pos.z + 500 * plane.normal.z};
    float frame[2][3] = {{plane.dir.x, plane.dir.y, plane.dir.z}, {plane.up.x, plane.up.y, plane.up.z}};
    float pos[3] = {at.x, at.y, at.z};
    std::copy(pos, pos + 3, seen[1].state.pos);
    std::copy(frame[0], frame[0] + 3, seen[1].state.dir);
    std::copy(frame[1], frame[1] + 3, seen[1].state.up);
    seen[1].state.thrust = 60.0f;
    TakeFriendsRecordsDue(seen, 0, 30);
    SoundScene replayed = CurrentSoundScene(false);
    ASSERT_EQ(replayed.friendCount, 1);
    EXPECT_NEAR(replayed.friends[0].distance, 500.0f, 1.0f);
    EXPECT_GT(replayed.friends[0].pan, 0.99f);
    ClearSky(replaySky);
    EXPECT_EQ(CurrentSoundScene(false).friendCount, 0) << "the replay's sky gone with it";
}
