// Flight recordings: the file's checked decoding, and the instant replay
// putting the live game back as it was.
#include <gtest/gtest.h>

#include <GL/glut.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "common/flight_recording.h"
#include "common/printable_text.h"
#include "common/recording_writer.h"
#include "sim/flight/aircraft.h"
#include "sim/flight/explosion.h"
#include "sim/flight/ground_contact.h"
#include "sim/shell/controls.h"
#include "sim/shell/live_step.h"
#include "sim/shell/flight_state.h"
#include "sim/flight/life.h"
#include "sim/flight/pilot_input.h"
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

std::vector<uint8_t> Cut(const std::vector<uint8_t>& bytes, size_t n)
{
    return std::vector<uint8_t>(bytes.begin(), bytes.begin() + n);
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
    // Broken before any flight began: nothing to replay.
    std::vector<uint8_t> checksum = good;
    checksum[starts[0] + 4] ^= 1;
    std::vector<uint8_t> longChunk = header;
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
}

namespace {

// Explosion frames, `perStep` to a step, as chunks of events.
std::vector<uint8_t> ExplosionFrames(std::vector<uint8_t> bytes, int steps, int perStep)
{
    std::vector<uint8_t> payload;
    for (int step = 0; step < steps; step++) {
        for (int i = 0; i < perStep; i++)
            payload.insert(payload.end(), {(uint8_t)(i == 0 ? 1 : 0), EVENT_EXPLOSION});
        if (payload.size() > 500000 || step == steps - 1) {
            bytes = WithChunk(bytes, CHUNK_EVENTS, payload);
            payload.clear();
        }
    }
    return bytes;
}

} // namespace

// A file cut or damaged past its first flight's start replays up to its last
// whole chunk and says where it ends; one that holds more than a game writes
// is refused.
TEST(RecordingFile, DamagedFilesReplayToTheirLastWholeChunk)
{
    std::vector<size_t> starts;
    std::vector<uint8_t> good = SampleRecording(&starts);
    std::vector<uint8_t> flipped = good;
    flipped[starts[2] + 2] ^= 0x40;
    std::vector<uint8_t> flight = Cut(good, starts[1]);
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* says; // the end note, or the error
        size_t events;    // of a flight that decodes
    } cases[] = {
        {"whole", good, "", 5},
        {"cut after the flight's start", Cut(good, starts[1]), "", 0},
        {"cut after its first second", Cut(good, starts[2]), "", 5},
        {"cut inside the flight's start", Cut(good, starts[0] + 3), "cut short in a chunk", 0},
        {"cut inside its first second", Cut(good, starts[1] + 5),
         "the recording ends at step 0 (0 s): the rest of the file is damaged", 0},
        {"cut inside its end", Cut(good, good.size() - 1),
         "the recording ends at step 100 (1 s): the rest of the file is damaged", 5},
        {"a damaged end", flipped, "the recording ends at step 100 (1 s): the rest of the file is damaged", 5},
        {"an absurd chunk length",
         [&] {
             std::vector<uint8_t> b = Cut(good, starts[2]);
             b.insert(b.end(), {CHUNK_EVENTS, 0xff, 0xff, 0xff, 0x7f, 0});
             return b;
         }(),
         "the recording ends at step 100 (1 s): the rest of the file is damaged", 5},
        {"events at step 37 and a cut",
         [&] {
             std::vector<uint8_t> b = WithChunk(flight, CHUNK_EVENTS, {37, EVENT_EXPLOSION});
             b.push_back(CHUNK_END);
             return b;
         }(),
         "the recording ends at step 37 (0.37 s): the rest of the file is damaged", 1},
        {"as many events in a step as a game writes", ExplosionFrames(flight, 2, RECORDING_MAX_STEP_EVENTS), "",
         2 * RECORDING_MAX_STEP_EVENTS},
        {"one more", ExplosionFrames(flight, 1, RECORDING_MAX_STEP_EVENTS + 1), "more than 256 events in step 1", 0},
        {"more events than a file holds",
         ExplosionFrames(flight, (int)(RECORDING_MAX_EVENTS / RECORDING_MAX_STEP_EVENTS) + 1, RECORDING_MAX_STEP_EVENTS),
         "more than 1048576 events", 0},
    };
    for (const Case& c : cases) {
        Recording r;
        std::string error;
        bool ok = DecodeRecording(c.bytes.data(), c.bytes.size(), r, error);
        EXPECT_EQ(ok ? RecordingEndNote(r) : error, c.says) << c.what;
        EXPECT_EQ(r.damaged, ok && *c.says != '\0') << c.what;
        if (ok && !r.flights.empty()) {
            EXPECT_EQ(r.flights.back().events.size(), c.events) << c.what;
        }
    }
    // Cut at any byte past the flight's start: it decodes, and says it is
    // damaged unless the cut falls between chunks.
    for (size_t n = starts[1]; n < good.size(); n++) {
        Recording r;
        std::string error;
        ASSERT_TRUE(DecodeRecording(good.data(), n, r, error)) << n << ": " << error;
        EXPECT_EQ(r.damaged, n != starts[1] && n != starts[2]) << n;
    }
}

TEST(RecordingFile, VersionTextIsShownEscaped)
{
    EXPECT_EQ(PrintableText("1.2-3 (x)"), "1.2-3 (x)");
    EXPECT_EQ(PrintableText("\x1b]0;owned\x07\\\xc3\xa9\x7f\n"), "\\x1B]0;owned\\x07\\\\\\xC3\\xA9\\x7F\\x0A");
}

// The writer's file: a failed write leaves the file at its last whole chunk,
// which replays; a full file names the next.
TEST(RecordingFile, AFailedWriteCutsBackToTheLastWholeChunk)
{
    if (access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "no /dev/full";
    std::vector<size_t> starts;
    std::vector<uint8_t> good = SampleRecording(&starts);
    RecordingFile file;
    std::string error;
    ASSERT_TRUE(CreateRecordingFile(file, "/dev/full", error)) << error;
    EXPECT_FALSE(AppendRecordingChunks(file, good, 4, error));
    EXPECT_EQ(error, "No space left on device");
    EXPECT_EQ(file.fd, -1);

    // A regular file whose size limit stops the second chunk part-way.
    char folder[] = "/tmp/pelorin-writer-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    std::string path = std::string(folder) + "/flight.rec";
    ASSERT_TRUE(CreateRecordingFile(file, path.c_str(), error)) << error;
    ASSERT_TRUE(AppendRecordingChunks(file, Cut(good, starts[1]), 0, error)) << error;
    EXPECT_FALSE(RecordingFileFull(file));
    pid_t child = fork();
    if (child == 0) {
        struct rlimit limit = {starts[1] + 3, starts[1] + 3};
        signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        std::vector<uint8_t> rest(good.begin() + starts[1], good.end());
        std::string why;
        _exit(!AppendRecordingChunks(file, rest, 4, why) && why == "File too large" ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    CloseRecordingFile(file);
    Recording r;
    ASSERT_TRUE(ReadRecording(path.c_str(), r, error)) << error;
    EXPECT_FALSE(r.damaged) << "cut back to the whole flight's start";
    EXPECT_EQ(std::filesystem::file_size(path), starts[1]);
    std::filesystem::remove_all(folder);

    EXPECT_EQ(ContinuedRecordingPath("out/flight.rec", 2), "out/flight.2.rec");
    EXPECT_EQ(ContinuedRecordingPath("a.b/flight", 3), "a.b/flight.3");
    file.regular = true;
    file.bytes = RECORDING_MAX_BYTES - 2 * RECORDING_MAX_CHUNK;
    EXPECT_FALSE(RecordingFileFull(file));
    file.bytes++;
    EXPECT_TRUE(RecordingFileFull(file)) << "a full file leaves room for a second and the end";
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
// is refused with a reason; the seeds from the game's own recordings decode,
// the cut one up to its cut.
TEST(RecordingFile, FuzzSeedsAndKeptInputsAreSafe)
{
    namespace fs = std::filesystem;
    int decoded = 0;
    for (const char* folder : {PELORIN_SOURCE_DIR "/tests/fuzz/corpus/recording_reader",
                               PELORIN_TEST_DATA "/fuzz-crashes/recording_reader"}) {
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            Recording recording;
            std::string error;
            bool ok = DecodeRecording(bytes.data(), bytes.size(), recording, error);
            decoded += ok;
            if (entry.path().extension() == ".rec") {
                EXPECT_TRUE(ok) << entry.path() << ": " << error;
            } else {
                EXPECT_TRUE(ok || !error.empty()) << entry.path();
            }
            EXPECT_EQ(recording.damaged, entry.path().filename() == "cut.rec") << entry.path();
        }
    }
    EXPECT_GE(decoded, 4);
}

namespace {

// A controller that moves every way at once, with arrows beside it: `perStep`
// inputs a step, for `steps` steps or until `stop` says so.
template <typename Stop>
void BusyController(int steps, int perStep, Stop stop)
{
    for (int step = 0; step < steps && !stop(); step++) {
        PilotInput input = {};
        input.padRead = true;
        input.pad.roll = step % 2 ? 0.5f : -0.5f;
        input.pad.pitch = step % 2 ? 0.25f : -0.25f;
        input.pad.thrust = step % 2 ? 33.5f : 66.5f;
        for (int i = 1; i < perStep; i++)
            input.presses.push_back({true, (unsigned char)(i % 2 ? ARROW_LEFT : ARROW_RIGHT)});
        RecordInput(input);
        RecordStepDone(StepOutcome{});
    }
}

} // namespace

// The live recorder against the reader's limits: a file that would pass them
// ends at a second, whole, and the flight goes on in the next file from there;
// a step of more inputs than a file may hold stops the file where it was whole.
TEST(RecordingFile, TheWriterKeepsEveryFileWithinTheReadersLimits)
{
    ASSERT_EQ(chdir(PELORIN_SOURCE_DIR "/data"), 0);
    char folder[] = "/tmp/pelorin-limits-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    std::string first = std::string(folder) + "/flight.rec", second = ContinuedRecordingPath(first, 2);
    std::string error;
    testing::internal::CaptureStdout();
    StartRecorder();
    ASSERT_TRUE(RecordToFile(first.c_str(), error)) << error;
    BusyController(4000, RECORDING_MAX_STEP_EVENTS, [&] { return access(second.c_str(), F_OK) == 0; });
    BusyController(150, 1, [] { return false; });
    FinishRecording();
    EXPECT_NE(testing::internal::GetCapturedStdout().find("recording goes on in " + second + "\n"), std::string::npos);
    EXPECT_LE(std::filesystem::file_size(first), RECORDING_MAX_BYTES);
    Recording a, b;
    ASSERT_TRUE(ReadRecording(first.c_str(), a, error)) << error;
    ASSERT_TRUE(ReadRecording(second.c_str(), b, error)) << error;
    ASSERT_EQ(a.flights.size(), 1u);
    ASSERT_EQ(b.flights.size(), 1u);
    EXPECT_TRUE(a.flights[0].ended && !a.flights[0].restarted);
    EXPECT_EQ(a.flights[0].lastStep % RECORDING_DIGEST_PERIOD, 0);
    EXPECT_EQ(b.flights[0].firstStep, a.flights[0].lastStep) << "the next file starts where the last one ended";
    EXPECT_TRUE(b.flights[0].state == CaptureFlightState());
    EXPECT_TRUE(b.flights[0].ended);
    EXPECT_EQ(b.flights[0].lastStep, RecordedSteps());
    EXPECT_FALSE(a.damaged || b.damaged);

    ResetRecorderState();
    testing::internal::CaptureStderr();
    StartRecorder();
    ASSERT_TRUE(RecordToFile(first.c_str(), error)) << error;
    BusyController(250, 1, [] { return false; });
    BusyController(1, RECORDING_MAX_STEP_EVENTS + 1, [] { return false; });
    BusyController(100, 1, [] { return false; });
    FinishRecording();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "pelorin: " + first +
                  ": recording stopped: more than 256 inputs in one step; the file ends at its last whole second\n");
    ASSERT_TRUE(ReadRecording(first.c_str(), a, error)) << error;
    EXPECT_FALSE(a.damaged);
    EXPECT_FALSE(a.flights[0].ended);
    EXPECT_EQ(a.endStep, 200);
    std::filesystem::remove_all(folder);
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
