// The flight recording file: a header, then per flight a start chunk holding
// the whole simulation state, chunks of per-step inputs with a state digest
// every second, and an end chunk. Pure data: the simulator writes and replays
// it, pelorin-landscape reads it; neither needs the other's code for that.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// "PELORINR", then the format version. A reader refuses a newer version.
const char RECORDING_MAGIC[8] = {'P', 'E', 'L', 'O', 'R', 'I', 'N', 'R'};
const uint16_t RECORDING_FORMAT_VERSION = 1;
// Limits that keep a damaged or hostile file from taking the machine's
// memory, shared by the writer and the reader. A file holds at most
// RECORDING_MAX_BYTES and RECORDING_MAX_EVENTS: a file of that size is read
// whole into memory and its events kept as a vector, so these two bound what
// a replay can take (8 MiB and some 32 MB of events). A day's flight by
// controller (about 64 KB a minute, some 92 MB) does not fit in one such
// file, so the writer starts a new file, each one whole and replayable from
// its own start state, before it would pass either limit: about two hours by
// controller, many more by keyboard. Reading in a stream would have had the
// replay hold the file open and decode as it flies; a file of a bounded size
// keeps the reader a plain function over bytes.
const uint64_t RECORDING_MAX_BYTES = (uint64_t)8 << 20;
const uint64_t RECORDING_MAX_EVENTS = (uint64_t)1 << 20;
// A chunk is written once a second and holds far less than
// RECORDING_MAX_CHUNK (a second of the most events a step may hold, of the
// largest kind, is some 400 KB); a state blob is a few hundred bytes.
const uint32_t RECORDING_MAX_CHUNK = (uint32_t)1 << 20;
const uint32_t RECORDING_MAX_STATE = 4096;
const size_t RECORDING_MAX_VERSION_TEXT = 64;
const int64_t RECORDING_MAX_STEP = (int64_t)1 << 40; // 348 years of 10 ms steps
// The inputs one step may hold: a key held through a stall of seconds
// repeats some thirty times a second, and the explosion's frames come two a
// step. A file with more is refused, and the writer stops before it writes
// one.
const int RECORDING_MAX_STEP_EVENTS = 256;
// A state digest every this many steps (one second).
const int64_t RECORDING_DIGEST_PERIOD = 100;

// Chunk types.
const uint8_t CHUNK_FLIGHT = 'F'; // a flight starts: first step, state, stick carried in
const uint8_t CHUNK_SECOND = 'S'; // a second's inputs, then the state digest at its end
const uint8_t CHUNK_EVENTS = 'E'; // inputs since the last second, at a flight's end
const uint8_t CHUNK_END = 'X';    // the flight ends: last step and final digest

// Event types.
enum RecordedEventType : uint8_t {
    EVENT_KEY = 1,       // code: a character key of the pilot's table
    EVENT_ARROW = 2,     // code: a GLUT arrow key
    EVENT_PAD = 3,       // the controller's actions in the step after `step`
    EVENT_EXPLOSION = 4, // one frame of the crash explosion's timer chain
    EVENT_DIGEST = 5,    // digest of the state once `step` steps have run (its low 32 bits);
                         // in a file, the end of a CHUNK_SECOND
};
// Which parts of a pad event are present; the stick's roll and pitch carry
// on from one pad event to the next, the rest act once.
const uint8_t PAD_HAS_ROLL = 1;
const uint8_t PAD_HAS_PITCH = 2;
const uint8_t PAD_HAS_WHOLE_THRUST = 4; // thrust 0..100 stored in one byte
const uint8_t PAD_HAS_THRUST = 8;       // thrust as a float
const uint8_t PAD_HAS_PRESSED = 16;

// `step`: the steps of the recording run before the event; an input that
// reached the game between steps N and N + 1 has step N.
struct RecordedEvent {
    int64_t step;
    uint64_t digest; // EVENT_DIGEST
    float roll, pitch, thrust; // EVENT_PAD, where flags say
    uint8_t type;
    uint8_t flags;   // EVENT_PAD
    uint8_t code;    // EVENT_KEY, EVENT_ARROW
    uint8_t pressed; // EVENT_PAD: buttons that went down
};

struct RecordedFlight {
    int64_t firstStep = 0;      // steps of the recording before this flight
    std::vector<uint8_t> state; // the simulation's state at the start, as the simulator packs it
    float padRoll = 0.0f;       // the stick carried into the flight
    float padPitch = 0.0f;
    std::vector<RecordedEvent> events;
    bool ended = false;         // an end chunk was read (false for a game that was killed)
    bool restarted = false;     // it ended in a restart, and the next flight follows on
    int64_t lastStep = 0;       // with ended: the steps run when it ended
    uint64_t finalDigest = 0;
};

struct Recording {
    uint16_t formatVersion = RECORDING_FORMAT_VERSION;
    // The file goes on past its last whole chunk (cut by a full disk or a
    // killed machine, or damaged): what came before is here, to replay, and
    // endStep is where it ends.
    bool damaged = false;
    int64_t endStep = 0;
    std::string programVersion;
    bool hasLandscape = false;     // a landscape file was read at start
    uint64_t landscapeDigest = 0;  // of its bytes
    uint64_t landscapeBytes = 0;
    std::vector<RecordedFlight> flights;
};

// FNV-1a, 64 bits, continued from `seed` (start with FNV_OFFSET).
const uint64_t FNV_OFFSET = 14695981039346656037ull;
uint64_t Fnv1a64(const void* data, size_t size, uint64_t seed = FNV_OFFSET);

// The digest of a file's bytes; false when it cannot be read as a regular
// file (then `bytes` is 0): the simulator then flies without it, and so the
// absence is what a recording keeps.
bool DigestFile(const char* path, uint64_t& digest, uint64_t& bytes);

// Encoding, appended to `out`.
void EncodeRecordingHeader(const Recording& recording, std::vector<uint8_t>& out);
void EncodeFlightChunk(const RecordedFlight& flight, std::vector<uint8_t>& out);
// One event into a chunk's payload; `lastStep` is the step of the flight's
// previous event (its first step for the first) and moves on. A digest
// writes nothing here (it ends the second's chunk) but moves lastStep too.
void AppendEvent(const RecordedEvent& event, int64_t& lastStep, std::vector<uint8_t>& payload);
// The second's chunk: its events, then the digest taken at its end, which
// falls on the next multiple of RECORDING_DIGEST_PERIOD steps.
void EncodeSecondChunk(const std::vector<uint8_t>& payload, uint32_t digest, std::vector<uint8_t>& out);
void EncodeEventsChunk(const std::vector<uint8_t>& payload, std::vector<uint8_t>& out);
void EncodeEndChunk(int64_t lastStep, uint64_t finalDigest, bool restarted, std::vector<uint8_t>& out);

// Decodes a whole recording held in memory, checking every count, length,
// step order and checksum. A file whose chunks stop being whole after its
// first flight began decodes up to there, with `damaged` set; anything else
// wrong returns false with the reason (no file name, no line end) in `error`.
bool DecodeRecording(const uint8_t* data, size_t size, Recording& recording, std::string& error);
// Reads and decodes the file at `path`; the error then names the file.
bool ReadRecording(const char* path, Recording& recording, std::string& error);
// For a damaged recording, the one line that says where its replay ends
// ("the recording ends at step N (M s): the rest of the file is damaged");
// empty for a whole one.
std::string RecordingEndNote(const Recording& recording);
