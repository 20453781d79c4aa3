// Flight recordings: the file's checked decoding, and the instant replay
// putting the live game back as it was.
#include <gtest/gtest.h>

#include <GL/glut.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "common/flight_recording.h"
#include "sim/flight/aircraft.h"
#include "sim/flight/explosion.h"
#include "sim/flight/ground_contact.h"
#include "sim/shell/controls.h"
#include "sim/shell/live_step.h"
#include "sim/shell/flight_state.h"
#include "sim/flight/life.h"
#include "sim/shell/pilot_keys.h"
#include "sim/shell/recorder.h"
#include "sim/shell/replay.h"
#include "sim/shell/replay_modes.h"
#include "sim/shell/sound_feed.h"
#include "sim/shell/track.h"
#include "sim/view/view_state.h"

namespace {

RecordedEvent Event(int64_t step, uint8_t type)
{
    RecordedEvent e = {};
    e.step = step;
    e.type = type;
    return e;
}

// A recording of one flight holding an event of every kind, and where its
// chunks begin.
std::vector<uint8_t> SampleRecording(std::vector<size_t>* chunkStarts = nullptr, uint16_t version = 1)
{
    Recording header;
    header.formatVersion = version;
    header.programVersion = "test";
    header.hasLandscape = true;
    header.landscapeDigest = 42;
    header.landscapeBytes = 7;
    std::vector<uint8_t> out;
    EncodeRecordingHeader(header, out);
    RecordedFlight flight;
    flight.firstStep = 0;
    flight.state.assign(FLIGHT_STATE_BYTES, 0);
    flight.padRoll = 0.25f;
    std::vector<size_t> starts = {out.size()};
    EncodeFlightChunk(flight, out);
    std::vector<uint8_t> payload;
    int64_t last = 0;
    RecordedEvent key = Event(3, EVENT_KEY), arrow = Event(3, EVENT_ARROW), pad = Event(4, EVENT_PAD);
    key.code = ']';
    arrow.code = 103;
    pad.flags = PAD_HAS_ROLL | PAD_HAS_PITCH | PAD_HAS_WHOLE_THRUST | PAD_HAS_PRESSED;
    pad.roll = -0.0f;
    pad.pitch = 0.3f;
    pad.thrust = 57.0f;
    pad.pressed = 5;
    RecordedEvent digest = Event(100, EVENT_DIGEST);
    digest.digest = 0x89abcdefu;
    for (const RecordedEvent& e : {key, arrow, pad, Event(60, EVENT_EXPLOSION), digest})
        AppendEvent(e, last, payload);
    starts.push_back(out.size());
    EncodeSecondChunk(payload, (uint32_t)digest.digest, out);
    starts.push_back(out.size());
    EncodeEndChunk(150, 99, false, out);
    if (chunkStarts)
        *chunkStarts = starts;
    return out;
}

std::string DecodeError(const std::vector<uint8_t>& bytes)
{
    Recording recording;
    std::string error;
    if (DecodeRecording(bytes.data(), bytes.size(), recording, error))
        return "";
    return error;
}

// A chunk with a correct checksum around any payload.
std::vector<uint8_t> WithChunk(std::vector<uint8_t> bytes, uint8_t type, const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> chunk;
    EncodeEventsChunk(payload, chunk);
    chunk[0] = type;
    uint16_t check = (uint16_t)Fnv1a64(chunk.data(), chunk.size() - 2);
    chunk[chunk.size() - 2] = (uint8_t)check;
    chunk[chunk.size() - 1] = (uint8_t)(check >> 8);
    bytes.insert(bytes.end(), chunk.begin(), chunk.end());
    return bytes;
}

} // namespace

TEST(RecordingFile, EveryEventComesBackBitForBit)
{
    std::vector<uint8_t> bytes = SampleRecording();
    Recording r;
    std::string error;
    ASSERT_TRUE(DecodeRecording(bytes.data(), bytes.size(), r, error)) << error;
    EXPECT_EQ(r.programVersion, "test");
    EXPECT_TRUE(r.hasLandscape);
    EXPECT_EQ(r.landscapeDigest, 42u);
    ASSERT_EQ(r.flights.size(), 1u);
    const RecordedFlight& f = r.flights[0];
    EXPECT_EQ(f.padRoll, 0.25f);
    EXPECT_TRUE(f.ended);
    EXPECT_EQ(f.lastStep, 150);
    EXPECT_EQ(f.finalDigest, 99u);
    ASSERT_EQ(f.events.size(), 5u);
    EXPECT_EQ(f.events[0].code, ']');
    EXPECT_EQ(f.events[1].code, 103);
    const RecordedEvent& pad = f.events[2];
    EXPECT_EQ(pad.step, 4);
    EXPECT_TRUE(std::signbit(pad.roll));
    EXPECT_EQ(pad.pitch, 0.3f);
    EXPECT_EQ(pad.thrust, 57.0f);
    EXPECT_EQ(pad.pressed, 5);
    EXPECT_EQ(f.events[3].type, EVENT_EXPLOSION);
    EXPECT_EQ(f.events[3].step, 60);
    EXPECT_EQ(f.events[4].digest, 0x89abcdefu);
}

TEST(RecordingFile, BadFilesAreRefusedWithTheirReason)
{
    std::vector<size_t> starts;
    std::vector<uint8_t> good = SampleRecording(&starts);
    std::vector<uint8_t> header(good.begin(), good.begin() + starts[0]);
    std::vector<uint8_t> flight(good.begin(), good.begin() + starts[1]);
    std::vector<uint8_t> checksum = good;
    checksum[starts[1] + 4] ^= 1;
    std::vector<uint8_t> longChunk = flight;
    longChunk.insert(longChunk.end(), {CHUNK_EVENTS, 0xff, 0xff, 0xff, 0x7f, 0});
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* reason;
    } cases[] = {
        {"empty", {}, "empty, not a Pelorin recording"},
        {"garbage", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}, "not a Pelorin recording"},
        {"a newer format", SampleRecording(nullptr, 2), "recorded in format version 2, this game reads version 1"},
        {"cut in the header", std::vector<uint8_t>(good.begin(), good.begin() + 12), "cut short in its header"},
        {"no flight", header, "holds no flight"},
        {"a damaged chunk", checksum, "check does not match"},
        {"an absurd chunk length", longChunk, "a chunk of an absurd length"},
        {"an absurd state size", WithChunk(header, CHUNK_FLIGHT, {0, 0xff, 0xff, 0x03}), "absurd size"},
        {"an absurd step gap", WithChunk(flight, CHUNK_EVENTS, {0xe5, 0x07, EVENT_EXPLOSION}), "step is absurd"},
        {"a step past any flight", WithChunk(flight, CHUNK_EVENTS, {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x7f}),
         "step is absurd"},
        {"an unknown event", WithChunk(flight, CHUNK_EVENTS, {1, 7}), "unknown type 7"},
        {"a second without its digest", WithChunk(flight, CHUNK_SECOND, {0, 0}), "holds no digest"},
        {"a second too long", WithChunk(flight, CHUNK_SECOND, {100, 4, 100, 4, 0, 0, 0, 0}), "do not fit"},
        {"an unknown chunk", WithChunk(flight, 'Z', {}), "unknown type 90"},
        {"events before a flight", WithChunk(header, CHUNK_EVENTS, {}), "events outside a flight"},
        {"two flights at once", WithChunk(flight, CHUNK_FLIGHT, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "before the last"},
    };
    for (const Case& c : cases)
        EXPECT_NE(DecodeError(c.bytes).find(c.reason), std::string::npos) << c.what << ": " << DecodeError(c.bytes);
    // Cut anywhere: whole chunks replay (a killed game), a part of one never does.
    for (size_t n = starts[0]; n < good.size(); n++) {
        bool boundary = n == starts[1] || n == starts[2];
        EXPECT_EQ(DecodeError(std::vector<uint8_t>(good.begin(), good.begin() + n)).empty(), boundary) << n;
    }
}

TEST(RecordingFile, OnlyARegularFileIsRead)
{
    char folder[] = "/tmp/pelorin-recording-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    std::string pipe = std::string(folder) + "/pipe.rec";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    Recording r;
    std::string error;
    EXPECT_FALSE(ReadRecording(folder, r, error));
    EXPECT_EQ(error, std::string(folder) + ": not a regular file");
    EXPECT_FALSE(ReadRecording(pipe.c_str(), r, error));
    EXPECT_EQ(error, pipe + ": not a regular file");
    unlink(pipe.c_str());
    EXPECT_FALSE(ReadRecording(pipe.c_str(), r, error));
    EXPECT_EQ(error, pipe + ": No such file or directory");
    rmdir(folder);
}

// Every seed of the fuzz corpus and every input a fuzzer ever kept decodes or
// is refused with a reason; the seeds from the game's own recordings decode.
TEST(RecordingFile, FuzzSeedsAndKeptInputsAreSafe)
{
    namespace fs = std::filesystem;
    int decoded = 0;
    for (const char* folder : {PELORIN_SOURCE_DIR "/tests/fuzz/corpus/recording_reader",
                               PELORIN_TEST_DATA "/fuzz-crashes/recording_reader"}) {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            bool ok = DecodeError(bytes).empty();
            decoded += ok;
            EXPECT_EQ(ok, entry.path().filename() != "cut.rec" && entry.path().extension() == ".rec") << entry.path();
        }
    }
    EXPECT_GE(decoded, 4);
}

namespace {

bool chainArmed;

// As the live game's ArmExplosionTimer: a replayed crash's frames are the
// recording's.
void ArmChain()
{
    if (!ReplayShows())
        chainArmed = true;
}

// The step timer and, once armed, the explosion's 19 shown frames and its
// last, as the live game's timers run them.
void LiveSteps(int count)
{
    for (int i = 0; i < count; i++) {
        RunOneStep();
        if (chainArmed) {
            chainArmed = false;
            ExplosionQuad quad;
            bool more = true;
            while (more) {
                more = AdvanceExplosion(quad);
                NoteLiveExplosionFrame(quad);
                AddLiveExplosionFrame();
            }
        }
    }
}

} // namespace

TEST(InstantReplay, AfterACrashTheLiveGameComesBackWithItsQuestion)
{
    ASSERT_EQ(chdir(PELORIN_SOURCE_DIR "/data"), 0);
    testing::internal::CaptureStdout();
    BuildWorldWithoutWindow();
    armExplosionTimer = ArmChain;
    StartRecorder();
    // A slow roll down the runway for 37 s, then the nose pulled ten degrees
    // up on the ground: a crash at once.
    for (int i = 0; i < 5; i++)
        TakeKey('+');
    LiveSteps(3700);
    for (int i = 0; i < 10; i++)
        TakeSpecialKey(GLUT_KEY_DOWN);
    LiveSteps(300);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(restartPrompt, 1);
    ASSERT_NE(lastCrash.cause, CRASH_NONE);
    EXPECT_EQ(LiveSnapshots().size(), SNAPSHOTS_KEPT) << "a long flight keeps its last seconds only";
    viewMode = VIEW_OVERHEAD;
    std::vector<uint8_t> before = CaptureFlightState();

    EXPECT_TRUE(ReplayTakesKey(KEY_CTRL_R));
    ASSERT_TRUE(InstantReplayRunning());
    EXPECT_EQ(viewMode, VIEW_CHASE);
    EXPECT_EQ(lastCrash.cause, CRASH_NONE) << "the replay starts 30 s back, before the crash";
    EXPECT_TRUE(ReplayTakesKey('y')) << "the replay flies nothing";
    ReplayTakesKey('p');
    RunOneStep();
    EXPECT_TRUE(TakeScene(soundMailbox).paused) << "a paused replay's engines fall silent";
    ReplayTakesKey('p');
    EXPECT_FALSE(CurrentSoundScene(false).paused);
    int steps = 0;
    bool crashShown = false;
    testing::internal::CaptureStderr();
    while (InstantReplayRunning() && steps < 4000) {
        RunOneStep();
        crashShown = crashShown || (restartPrompt && lastCrash.cause != CRASH_NONE);
        steps++;
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "the replay must not diverge";
    EXPECT_TRUE(crashShown);
    EXPECT_FALSE(InstantReplayRunning());
    EXPECT_GE(steps, (int)INSTANT_REPLAY_STEPS);
    EXPECT_LE(steps, (int)(INSTANT_REPLAY_STEPS + SNAPSHOT_PERIOD + 1));
    EXPECT_TRUE(CaptureFlightState() == before);
    EXPECT_EQ(viewMode, VIEW_OVERHEAD);

    // A second Ctrl+R ends it early, just as exactly; the live game goes on.
    ReplayTakesKey(KEY_CTRL_R);
    LiveSteps(0);
    RunOneStep();
    ReplayTakesKey(KEY_CTRL_R);
    EXPECT_FALSE(InstantReplayRunning());
    EXPECT_TRUE(CaptureFlightState() == before);
    int64_t live = RecordedSteps();
    RunOneStep();
    EXPECT_EQ(RecordedSteps(), live + 1);
}

// Ended early while the replayed jet flies, the instant replay gives the
// sound's watcher back the live jet's memory: rolling on, it lands nowhere.
TEST(InstantReplay, AnEarlyEndPlaysNoTouchdown)
{
    ASSERT_EQ(chdir(PELORIN_SOURCE_DIR "/data"), 0);
    testing::internal::CaptureStdout();
    BuildWorldWithoutWindow();
    StartRecorder();
    TakeKey(']');
    for (int i = 0; i < 300; i++)
        RunOneStep();
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(landed, 1) << "the live jet rolls";
    ReplayTakesKey(KEY_CTRL_R);
    ASSERT_TRUE(InstantReplayRunning());
    RunOneStep();
    // What the watcher keeps of a replayed jet in the air.
    soundEvents.airborneSteps = TOUCHDOWN_MIN_AIRBORNE_STEPS;
    soundEvents.lastY = plane.pos.y + 200.0f;
    soundEvents.sink = 1.0f;
    unsigned touchdowns = soundEvents.touchdowns;
    ReplayTakesKey(KEY_CTRL_R);
    ASSERT_FALSE(InstantReplayRunning());
    RunOneStep();
    EXPECT_EQ(landed, 1);
    EXPECT_EQ(soundEvents.touchdowns, touchdowns);
}

// A replayed file flies; it switches nothing that is only shown, whatever
// keys it holds: they pass the flight-key table as live play's do.
TEST(Replay, AFileSwitchesOnlyWhatFlies)
{
    RecordedFlight flight;
    flight.state = CaptureFlightState();
    for (uint8_t key : {'L', 'F', 'd', 't', ']', '3', 'l'}) {
        RecordedEvent e = Event(0, EVENT_KEY);
        e.code = key;
        flight.events.push_back(e);
    }
    std::vector<RecordedFlight> flights(1, flight);
    ASSERT_TRUE(StartReplay(flights, 0));
    testing::internal::CaptureStdout();
    EXPECT_EQ(ReplayStep(), REPLAY_STEPPED);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(plane.thrust, 10.0f);
    EXPECT_EQ(lifeOn, 0);
    EXPECT_EQ(fogMode, 0);
    EXPECT_EQ(spotLightOn, 0);
    EXPECT_EQ(viewMode, VIEW_COCKPIT);
    EXPECT_EQ(texturesOn, 1);
}
