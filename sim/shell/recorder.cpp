// The live flight recorder: the flight in memory, its snapshots, and the file.
#include "sim/shell/recorder.h"

#include <cstdio>
#include <cstring>

#include "common/recording_writer.h"
#include "sim/flight/aircraft.h"
#include "sim/flight/explosion.h"
#include "sim/flight/ground_contact.h"
#include "sim/landscape/terrain.h"
#include "sim/shell/flight_state.h"
#include "sim/shell/friends_recorder.h"

#ifndef PELORIN_VERSION
#define PELORIN_VERSION "unknown"
#endif

// The instant replay starts at the oldest snapshot at the earliest; the
// friends' messages from before it must still be there.
static_assert(FRIENDS_KEPT_STEPS > (int64_t)SNAPSHOTS_KEPT * SNAPSHOT_PERIOD, "friends kept as long as snapshots");

static bool recorderOn;
static bool recorderSuspended;
static RecordedFlight liveFlight;
static std::vector<FlightSnapshot> liveSnapshots;
static int64_t steps;              // live steps since the start of the game
static float padRoll, padPitch;    // the stick as last recorded
static bool padSeen;               // the controller acted in the step under way
static RecordingFile recordFile;
static std::string recordPath;              // as named; full files go on in numbered ones
static int recordFileNumber;                // of the file being written, from 1
static std::vector<uint8_t> pendingPayload; // events not yet written
static uint64_t pendingEvents;              // how many
static int64_t pendingLastStep;             // their delta base
static int stepEvents;                      // events recorded in the step under way

void ResetRecorderState()
{
    CloseRecordingFile(recordFile);
    ResetFriendsRecorderState();
    recordPath.clear();
    recordFileNumber = 0;
    recorderOn = false;
    recorderSuspended = false;
    liveFlight = RecordedFlight();
    liveSnapshots.clear();
    steps = 0;
    padRoll = padPitch = 0.0f;
    padSeen = false;
    pendingPayload.clear();
    pendingEvents = 0;
    pendingLastStep = 0;
    stepEvents = 0;
}

const char* ProgramVersion()
{
    return PELORIN_VERSION;
}

Recording RecordingHeaderNow()
{
    Recording header;
    header.programVersion = PELORIN_VERSION;
    header.hasLandscape = DigestFile(LANDSCAPE_FILE, header.landscapeDigest, header.landscapeBytes);
    if (!header.hasLandscape)
        header.landscapeDigest = header.landscapeBytes = 0;
    return header;
}

static bool Writing()
{
    return recordFile.fd >= 0;
}

// A recording that cannot go on stops the file, not the game; the file keeps
// its whole chunks and so replays up to there.
static void StopFile(const std::string& why)
{
    fprintf(stderr, "pelorin: %s: recording stopped: %s; the file ends at its last whole second\n",
            recordFile.path.c_str(), why.c_str());
    CloseRecordingFile(recordFile);
}

static void WriteOut(const std::vector<uint8_t>& bytes, uint64_t events = 0)
{
    std::string error;
    if (Writing() && !bytes.empty() && !AppendRecordingChunks(recordFile, bytes, events, error))
        StopFile(error);
}

// The inputs not yet written: as a second's chunk with the digest that ends
// it, or (at a flight's end) as they are.
static void FlushEvents(bool second = false, uint32_t digest = 0)
{
    if (!Writing() || (pendingPayload.empty() && !second))
        return;
    std::vector<uint8_t> chunk;
    if (second)
        EncodeSecondChunk(pendingPayload, digest, chunk);
    else
        EncodeEventsChunk(pendingPayload, chunk);
    pendingPayload.clear();
    uint64_t events = pendingEvents;
    pendingEvents = 0;
    WriteOut(chunk, events);
}

static void AddEvent(const RecordedEvent& event)
{
    liveFlight.events.push_back(event);
    if (event.type != EVENT_DIGEST && ++stepEvents > RECORDING_MAX_STEP_EVENTS && Writing())
        StopFile("more than " + std::to_string(RECORDING_MAX_STEP_EVENTS) + " inputs in one step");
    if (Writing()) {
        AppendEvent(event, pendingLastStep, pendingPayload);
        pendingEvents += event.type != EVENT_DIGEST;
    }
}

static void TakeSnapshot()
{
    liveSnapshots.push_back({steps, liveFlight.events.size(), padRoll, padPitch, CaptureFlightState()});
}

// Only the last seconds of a flight are replayed from memory: what lies
// before the oldest snapshot kept goes, so a long flight holds no more memory
// than a short one. The flight in memory then starts at that snapshot.
static void ForgetOldSeconds()
{
    if (liveSnapshots.size() <= SNAPSHOTS_KEPT)
        return;
    size_t drop = liveSnapshots.size() - SNAPSHOTS_KEPT;
    size_t firstEvent = liveSnapshots[drop].eventIndex;
    liveSnapshots.erase(liveSnapshots.begin(), liveSnapshots.begin() + drop);
    liveFlight.events.erase(liveFlight.events.begin(), liveFlight.events.begin() + firstEvent);
    for (FlightSnapshot& s : liveSnapshots)
        s.eventIndex -= firstEvent;
    const FlightSnapshot& first = liveSnapshots.front();
    liveFlight.firstStep = first.step;
    liveFlight.state = first.state;
    liveFlight.padRoll = first.padRoll;
    liveFlight.padPitch = first.padPitch;
}

static void BeginFlight()
{
    liveFlight = RecordedFlight();
    liveFlight.firstStep = steps;
    liveFlight.state = CaptureFlightState();
    liveFlight.padRoll = padRoll;
    liveFlight.padPitch = padPitch;
    liveSnapshots.clear();
    TakeSnapshot();
    pendingLastStep = steps;
    if (Writing()) {
        std::vector<uint8_t> chunk;
        EncodeFlightChunk(liveFlight, chunk);
        WriteOut(chunk);
    }
}

static void EndFlight(bool restarted)
{
    if (!Writing())
        return;
    FlushEvents();
    std::vector<uint8_t> chunk;
    EncodeEndChunk(steps, FlightStateDigest(), restarted, chunk);
    WriteOut(chunk);
}

void StartRecorder()
{
    recorderOn = true;
    BeginFlight();
}

// The header and the flight so far, as a new file starts.
static void WriteFileStart()
{
    std::vector<uint8_t> bytes;
    EncodeRecordingHeader(RecordingHeaderNow(), bytes);
    EncodeFlightChunk(liveFlight, bytes);
    pendingPayload.clear();
    pendingEvents = 0;
    pendingLastStep = liveFlight.firstStep;
    uint64_t written = 0;
    for (const RecordedEvent& e : liveFlight.events) {
        AppendEvent(e, pendingLastStep, pendingPayload);
        if (e.type != EVENT_DIGEST) {
            pendingEvents++;
        } else {
            EncodeSecondChunk(pendingPayload, (uint32_t)e.digest, bytes);
            pendingPayload.clear();
            written += pendingEvents;
            pendingEvents = 0;
        }
    }
    WriteOut(bytes, written);
}

bool RecordToFile(const char* path, std::string& error)
{
    if (!CreateRecordingFile(recordFile, path, error))
        return false;
    recordPath = path;
    recordFileNumber = 1;
    StartFriendsFile(recordPath);
    WriteFileStart();
    return Writing();
}

// A file that nears the reader's limits ends as a game does at that second,
// and the recording goes on in the next one, from the state of this second.
static void ContinueInNextFile()
{
    if (!Writing() || !RecordingFileFull(recordFile))
        return;
    std::vector<uint8_t> chunk;
    EncodeEndChunk(steps, FlightStateDigest(), false, chunk);
    WriteOut(chunk);
    if (!Writing())
        return;
    CloseRecordingFile(recordFile);
    std::string next = ContinuedRecordingPath(recordPath, ++recordFileNumber);
    std::string error;
    if (!CreateRecordingFile(recordFile, next.c_str(), error)) {
        fprintf(stderr, "pelorin: %s\n", error.c_str());
        return;
    }
    printf("recording goes on in %s\n", next.c_str());
    StartFriendsFile(next);
    RecordedFlight flight;
    flight.firstStep = steps;
    flight.state = liveSnapshots.back().state;
    flight.padRoll = padRoll;
    flight.padPitch = padPitch;
    std::vector<uint8_t> bytes;
    EncodeRecordingHeader(RecordingHeaderNow(), bytes);
    EncodeFlightChunk(flight, bytes);
    pendingLastStep = steps;
    WriteOut(bytes);
}

static bool Taking()
{
    return recorderOn && !recorderSuspended;
}

static void AddPress(const PilotPress& press)
{
    RecordedEvent e = {};
    e.step = steps;
    e.type = press.arrow ? EVENT_ARROW : EVENT_KEY;
    e.code = press.code;
    AddEvent(e);
}

static bool SameBits(float a, float b)
{
    return memcmp(&a, &b, sizeof a) == 0;
}

static void AddPadActions(const PadActions& actions)
{
    padSeen = true;
    RecordedEvent e = {};
    e.step = steps;
    e.type = EVENT_PAD;
    // Only what differs from a centred stick that leaves the throttle alone,
    // so a resting controller costs nothing.
    if (!SameBits(actions.roll, padRoll)) {
        e.flags |= PAD_HAS_ROLL;
        e.roll = padRoll = actions.roll;
    }
    if (!SameBits(actions.pitch, padPitch)) {
        e.flags |= PAD_HAS_PITCH;
        e.pitch = padPitch = actions.pitch;
    }
    if (!SameBits(actions.thrust, plane.thrust)) {
        bool whole = actions.thrust >= 0.0f && actions.thrust <= 100.0f && actions.thrust == (float)(int)actions.thrust;
        e.flags |= whole ? PAD_HAS_WHOLE_THRUST : PAD_HAS_THRUST;
        e.thrust = actions.thrust;
    }
    if (actions.pressed & 0xFFu) {
        e.flags |= PAD_HAS_PRESSED;
        e.pressed = (uint8_t)actions.pressed;
    }
    if (e.flags)
        AddEvent(e);
}

void RecordInput(const PilotInput& input)
{
    if (!Taking())
        return;
    for (int i = 0; i < input.explosionFrames; i++) {
        RecordedEvent e = {};
        e.step = steps;
        e.type = EVENT_EXPLOSION;
        AddEvent(e);
    }
    if (input.padRead)
        AddPadActions(input.pad);
    for (const PilotPress& press : input.presses)
        AddPress(press);
}

void RecordStepDone(const StepOutcome& outcome)
{
    if (!Taking())
        return;
    // A device pulled out leaves the stick centred from this step on.
    if (!padSeen && (padRoll != 0.0f || padPitch != 0.0f)) {
        RecordedEvent e = {};
        e.step = steps;
        e.type = EVENT_PAD;
        e.flags = PAD_HAS_ROLL | PAD_HAS_PITCH;
        padRoll = padPitch = 0.0f;
        AddEvent(e);
    }
    padSeen = false;
    stepEvents = 0;
    steps++;
    if (steps % SNAPSHOT_PERIOD == 0) {
        TakeSnapshot();
        RecordedEvent e = {};
        e.step = steps;
        e.type = EVENT_DIGEST;
        const std::vector<uint8_t>& state = liveSnapshots.back().state;
        e.digest = (uint32_t)Fnv1a64(state.data(), state.size());
        AddEvent(e);
        liveSnapshots.back().eventIndex = liveFlight.events.size();
        FlushEvents(true, (uint32_t)e.digest);
        ForgetOldSeconds();
        ContinueInNextFile();
    }
    // A restart in the step ends the flight with it; the next one starts
    // from the state the step left.
    if (outcome.restarts) {
        EndFlight(true);
        BeginFlight();
    }
}

void FinishRecording()
{
    if (!recorderOn)
        return;
    EndFlight(false);
    CloseRecordingFile(recordFile);
    CloseFriendsFile();
}

bool RecorderOn()
{
    return recorderOn;
}

const RecordedFlight& LiveFlight()
{
    return liveFlight;
}

const std::vector<FlightSnapshot>& LiveSnapshots()
{
    return liveSnapshots;
}

int64_t RecordedSteps()
{
    return steps;
}

void SuspendRecorder(bool suspended)
{
    recorderSuspended = suspended;
}
