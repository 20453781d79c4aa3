// The flight recording file: encoding and the checked decoding of every field.
#include "common/flight_recording.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "common/regular_file.h"

uint64_t Fnv1a64(const void* data, size_t size, uint64_t seed)
{
    const uint8_t* p = (const uint8_t*)data;
    uint64_t h = seed;
    for (size_t i = 0; i < size; i++) {
        h ^= p[i];
        h *= 1099511628211ull;
    }
    return h;
}

bool DigestFile(const char* path, uint64_t& digest, uint64_t& bytes)
{
    digest = FNV_OFFSET;
    bytes = 0;
    FILE* file = OpenRegularFile(path, "rb");
    if (!file)
        return false;
    uint8_t buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) {
        digest = Fnv1a64(buffer, n, digest);
        bytes += n;
    }
    bool ok = !ferror(file);
    fclose(file);
    return ok;
}

// Little-endian writers.
static void PutU8(std::vector<uint8_t>& out, uint8_t v)
{
    out.push_back(v);
}

static void PutU16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back((uint8_t)v);
    out.push_back((uint8_t)(v >> 8));
}

static void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        out.push_back((uint8_t)(v >> (8 * i)));
}

static void PutU64(std::vector<uint8_t>& out, uint64_t v)
{
    for (int i = 0; i < 8; i++)
        out.push_back((uint8_t)(v >> (8 * i)));
}

static void PutFloat(std::vector<uint8_t>& out, float f)
{
    uint32_t bits;
    memcpy(&bits, &f, 4);
    PutU32(out, bits);
}

// Seven bits a byte, low first: a step delta of one takes one byte.
static void PutVarint(std::vector<uint8_t>& out, uint64_t v)
{
    while (v >= 0x80) {
        out.push_back((uint8_t)(v | 0x80));
        v >>= 7;
    }
    out.push_back((uint8_t)v);
}

// Chunk: type, payload length (varint), payload, then the low 16 bits of
// the FNV-1a digest of everything before it in the chunk. Sixteen bits are
// enough beside the state digests, and a second of flying by keyboard costs
// about ten bytes.
static uint16_t ChunkCheck(const uint8_t* data, size_t size)
{
    return (uint16_t)Fnv1a64(data, size);
}

static void PutChunk(uint8_t type, const std::vector<uint8_t>& payload, std::vector<uint8_t>& out)
{
    size_t start = out.size();
    PutU8(out, type);
    PutVarint(out, payload.size());
    out.insert(out.end(), payload.begin(), payload.end());
    PutU16(out, ChunkCheck(out.data() + start, out.size() - start));
}

void EncodeRecordingHeader(const Recording& recording, std::vector<uint8_t>& out)
{
    out.insert(out.end(), RECORDING_MAGIC, RECORDING_MAGIC + sizeof RECORDING_MAGIC);
    PutU16(out, recording.formatVersion);
    size_t n = recording.programVersion.size();
    if (n > RECORDING_MAX_VERSION_TEXT)
        n = RECORDING_MAX_VERSION_TEXT;
    PutU8(out, (uint8_t)n);
    out.insert(out.end(), recording.programVersion.begin(), recording.programVersion.begin() + n);
    PutU8(out, recording.hasLandscape ? 1 : 0);
    PutU64(out, recording.landscapeDigest);
    PutU64(out, recording.landscapeBytes);
}

void EncodeFlightChunk(const RecordedFlight& flight, std::vector<uint8_t>& out)
{
    std::vector<uint8_t> payload;
    PutVarint(payload, (uint64_t)flight.firstStep);
    PutVarint(payload, flight.state.size());
    payload.insert(payload.end(), flight.state.begin(), flight.state.end());
    PutFloat(payload, flight.padRoll);
    PutFloat(payload, flight.padPitch);
    PutChunk(CHUNK_FLIGHT, payload, out);
}

void AppendEvent(const RecordedEvent& event, int64_t& lastStep, std::vector<uint8_t>& payload)
{
    if (event.type == EVENT_DIGEST) {
        lastStep = event.step;
        return;
    }
    PutVarint(payload, (uint64_t)(event.step - lastStep));
    lastStep = event.step;
    uint8_t flags = event.type == EVENT_PAD ? event.flags : 0;
    PutU8(payload, (uint8_t)(event.type | (flags << 3)));
    switch (event.type) {
    case EVENT_KEY:
    case EVENT_ARROW:
        PutU8(payload, event.code);
        break;
    case EVENT_PAD:
        if (flags & PAD_HAS_ROLL)
            PutFloat(payload, event.roll);
        if (flags & PAD_HAS_PITCH)
            PutFloat(payload, event.pitch);
        if (flags & PAD_HAS_WHOLE_THRUST)
            PutU8(payload, (uint8_t)event.thrust);
        if (flags & PAD_HAS_THRUST)
            PutFloat(payload, event.thrust);
        if (flags & PAD_HAS_PRESSED)
            PutU8(payload, event.pressed);
        break;
    default:
        break;
    }
}

void EncodeSecondChunk(const std::vector<uint8_t>& payload, uint32_t digest, std::vector<uint8_t>& out)
{
    std::vector<uint8_t> withDigest = payload;
    PutU32(withDigest, digest);
    PutChunk(CHUNK_SECOND, withDigest, out);
}

void EncodeEventsChunk(const std::vector<uint8_t>& payload, std::vector<uint8_t>& out)
{
    PutChunk(CHUNK_EVENTS, payload, out);
}

void EncodeEndChunk(int64_t lastStep, uint64_t finalDigest, bool restarted, std::vector<uint8_t>& out)
{
    std::vector<uint8_t> payload;
    PutVarint(payload, (uint64_t)lastStep);
    PutU64(payload, finalDigest);
    PutU8(payload, restarted ? 1 : 0);
    PutChunk(CHUNK_END, payload, out);
}

namespace {

// A bounded reader over bytes: every read checks what is left first.
struct Reader {
    const uint8_t* data;
    size_t size;
    size_t pos;

    bool Left(size_t n) const { return size - pos >= n; }
    bool U8(uint8_t& v)
    {
        if (!Left(1))
            return false;
        v = data[pos++];
        return true;
    }
    bool U16(uint16_t& v)
    {
        if (!Left(2))
            return false;
        v = (uint16_t)(data[pos] | (data[pos + 1] << 8));
        pos += 2;
        return true;
    }
    bool U32(uint32_t& v)
    {
        if (!Left(4))
            return false;
        v = 0;
        for (int i = 0; i < 4; i++)
            v |= (uint32_t)data[pos + i] << (8 * i);
        pos += 4;
        return true;
    }
    bool U64(uint64_t& v)
    {
        if (!Left(8))
            return false;
        v = 0;
        for (int i = 0; i < 8; i++)
            v |= (uint64_t)data[pos + i] << (8 * i);
        pos += 8;
        return true;
    }
    bool Float(float& f)
    {
        uint32_t bits;
        if (!U32(bits))
            return false;
        memcpy(&f, &bits, 4);
        return true;
    }
    // At most RECORDING_MAX_STEP: anything larger is no step of a real flight.
    bool Count(int64_t& v)
    {
        uint64_t value = 0;
        for (int shift = 0; shift < 49; shift += 7) {
            uint8_t b;
            if (!U8(b))
                return false;
            value |= (uint64_t)(b & 0x7F) << shift;
            if (!(b & 0x80)) {
                if (value > (uint64_t)RECORDING_MAX_STEP)
                    return false;
                v = (int64_t)value;
                return true;
            }
        }
        return false;
    }
};

bool Fail(std::string& error, const std::string& reason)
{
    error = reason;
    return false;
}

// What the decoder counts across chunks and flights to bound the events.
struct EventCount {
    uint64_t total = 0;  // in the file
    int64_t step = -1;   // the step of the last event
    int inStep = 0;      // events at that step
};

bool DecodeEvents(Reader& r, RecordedFlight& flight, int64_t& lastStep, EventCount& count, std::string& error)
{
    while (r.pos < r.size) {
        RecordedEvent e = {};
        int64_t delta;
        uint8_t tag;
        if (!r.Count(delta) || !r.U8(tag))
            return Fail(error, "an event is cut short or its step is absurd");
        // A digest every RECORDING_DIGEST_PERIOD steps keeps every gap short;
        // a longer one would have a replay step on for nothing.
        if (delta > RECORDING_DIGEST_PERIOD || delta > RECORDING_MAX_STEP - lastStep)
            return Fail(error, "an event's step is absurd");
        e.step = lastStep + delta;
        lastStep = e.step;
        e.type = tag & 7;
        uint8_t flags = tag >> 3;
        bool ok = true;
        switch (e.type) {
        case EVENT_KEY:
        case EVENT_ARROW:
            ok = flags == 0 && r.U8(e.code);
            break;
        case EVENT_PAD:
            e.flags = flags;
            if ((flags & PAD_HAS_WHOLE_THRUST) && (flags & PAD_HAS_THRUST))
                return Fail(error, "a controller event holds two throttles");
            if (flags & PAD_HAS_ROLL)
                ok = ok && r.Float(e.roll);
            if (flags & PAD_HAS_PITCH)
                ok = ok && r.Float(e.pitch);
            if (flags & PAD_HAS_WHOLE_THRUST) {
                uint8_t whole = 0;
                ok = ok && r.U8(whole);
                e.thrust = whole;
            }
            if (flags & PAD_HAS_THRUST)
                ok = ok && r.Float(e.thrust);
            if (flags & PAD_HAS_PRESSED)
                ok = ok && r.U8(e.pressed);
            break;
        case EVENT_EXPLOSION:
            ok = flags == 0;
            break;
        default:
            return Fail(error, "an event of unknown type " + std::to_string(e.type));
        }
        if (!ok)
            return Fail(error, "an event is cut short or malformed");
        count.inStep = e.step == count.step ? count.inStep + 1 : 1;
        count.step = e.step;
        if (count.inStep > RECORDING_MAX_STEP_EVENTS)
            return Fail(error, "more than " + std::to_string(RECORDING_MAX_STEP_EVENTS) + " events in step " +
                                   std::to_string(e.step));
        if (++count.total > RECORDING_MAX_EVENTS)
            return Fail(error, "more than " + std::to_string(RECORDING_MAX_EVENTS) + " events");
        flight.events.push_back(e);
    }
    return true;
}

} // namespace

bool DecodeRecording(const uint8_t* data, size_t size, Recording& recording, std::string& error)
{
    recording = Recording();
    Reader r = {data, size, 0};
    if (size == 0)
        return Fail(error, "empty, not a Pelorin recording");
    if (size < sizeof RECORDING_MAGIC || memcmp(data, RECORDING_MAGIC, sizeof RECORDING_MAGIC) != 0)
        return Fail(error, "not a Pelorin recording");
    r.pos = sizeof RECORDING_MAGIC;
    uint8_t versionLength, hasLandscape;
    if (!r.U16(recording.formatVersion))
        return Fail(error, "cut short in its header");
    if (recording.formatVersion == 0 || recording.formatVersion > RECORDING_FORMAT_VERSION)
        return Fail(error, "recorded in format version " + std::to_string(recording.formatVersion) +
                               ", this game reads version " + std::to_string(RECORDING_FORMAT_VERSION));
    if (!r.U8(versionLength) || !r.Left(versionLength))
        return Fail(error, "cut short in its header");
    if (versionLength > RECORDING_MAX_VERSION_TEXT)
        return Fail(error, "its program version is absurdly long");
    recording.programVersion.assign((const char*)data + r.pos, versionLength);
    r.pos += versionLength;
    if (!r.U8(hasLandscape) || !r.U64(recording.landscapeDigest) || !r.U64(recording.landscapeBytes))
        return Fail(error, "cut short in its header");
    if (hasLandscape > 1)
        return Fail(error, "its header is damaged");
    recording.hasLandscape = hasLandscape == 1;

    int64_t lastStep = 0;
    int64_t digestStep = 0; // where the flight's next second ends
    bool open = false;      // a flight started and not yet ended
    EventCount count;
    while (r.pos < r.size) {
        uint8_t type;
        int64_t length;
        uint16_t check = 0;
        size_t start = r.pos;
        // A chunk that is not whole: a cut or damaged file. Once a flight has
        // begun, what came before still replays.
        const char* broken = nullptr;
        size_t payload = 0;
        if (!r.U8(type) || !r.Count(length)) {
            broken = "cut short in a chunk";
        } else if (length > (int64_t)RECORDING_MAX_CHUNK) {
            broken = "a chunk of an absurd length";
        } else if (!r.Left((size_t)length + 2)) {
            broken = "cut short in a chunk";
        } else {
            payload = r.pos;
            r.pos += (size_t)length;
            size_t checked = r.pos - start;
            r.U16(check);
            if (ChunkCheck(data + start, checked) != check)
                broken = "damaged: a chunk's check does not match";
        }
        if (broken) {
            if (recording.flights.empty())
                return Fail(error, broken);
            recording.damaged = true;
            recording.endStep = lastStep;
            return true;
        }
        Reader chunk = {data + payload, (size_t)length, 0};
        if (type == CHUNK_FLIGHT) {
            if (open)
                return Fail(error, "a flight starts before the last one ended");
            RecordedFlight flight;
            int64_t stateSize;
            if (!chunk.Count(flight.firstStep) || !chunk.Count(stateSize))
                return Fail(error, "a flight's start is malformed");
            if (flight.firstStep < lastStep)
                return Fail(error, "a flight starts before the last one ended");
            if (flight.firstStep - lastStep > RECORDING_DIGEST_PERIOD && !recording.flights.empty())
                return Fail(error, "a flight's first step is absurd");
            if (stateSize > RECORDING_MAX_STATE || !chunk.Left((size_t)stateSize))
                return Fail(error, "a flight's state has an absurd size");
            flight.state.assign(chunk.data + chunk.pos, chunk.data + chunk.pos + stateSize);
            chunk.pos += (size_t)stateSize;
            if (!chunk.Float(flight.padRoll) || !chunk.Float(flight.padPitch) || chunk.pos != chunk.size)
                return Fail(error, "a flight's start is malformed");
            lastStep = flight.firstStep;
            digestStep = (flight.firstStep / RECORDING_DIGEST_PERIOD + 1) * RECORDING_DIGEST_PERIOD;
            recording.flights.push_back(std::move(flight));
            open = true;
        } else if (type == CHUNK_EVENTS || type == CHUNK_SECOND) {
            if (!open)
                return Fail(error, "events outside a flight");
            RecordedEvent digest = {};
            if (type == CHUNK_SECOND) {
                uint32_t value;
                if (chunk.size < 4)
                    return Fail(error, "a second's chunk holds no digest");
                chunk.size -= 4;
                Reader tail = {chunk.data + chunk.size, 4, 0};
                tail.U32(value);
                digest.step = digestStep;
                digest.type = EVENT_DIGEST;
                digest.digest = value;
            }
            if (!DecodeEvents(chunk, recording.flights.back(), lastStep, count, error))
                return false;
            if (type == CHUNK_SECOND) {
                if (lastStep > digestStep || digestStep - lastStep > RECORDING_DIGEST_PERIOD)
                    return Fail(error, "a second's events do not fit its steps");
                recording.flights.back().events.push_back(digest);
                lastStep = digestStep;
                digestStep += RECORDING_DIGEST_PERIOD;
            }
        } else if (type == CHUNK_END) {
            if (!open)
                return Fail(error, "a flight ends that never started");
            RecordedFlight& flight = recording.flights.back();
            uint8_t restarted;
            if (!chunk.Count(flight.lastStep) || !chunk.U64(flight.finalDigest) || !chunk.U8(restarted) ||
                restarted > 1 || chunk.pos != chunk.size)
                return Fail(error, "a flight's end is malformed");
            if (flight.lastStep < lastStep)
                return Fail(error, "a flight ends before its last event");
            if (flight.lastStep - lastStep > RECORDING_DIGEST_PERIOD)
                return Fail(error, "a flight's last step is absurd");
            flight.ended = true;
            flight.restarted = restarted == 1;
            lastStep = flight.lastStep;
            open = false;
        } else {
            return Fail(error, "a chunk of unknown type " + std::to_string(type));
        }
    }
    if (recording.flights.empty())
        return Fail(error, "holds no flight");
    recording.endStep = lastStep;
    return true;
}

std::string RecordingEndNote(const Recording& recording)
{
    if (!recording.damaged)
        return "";
    char line[128];
    long long step = (long long)recording.endStep;
    if (step % 100 == 0)
        snprintf(line, sizeof line, "the recording ends at step %lld (%lld s): the rest of the file is damaged", step,
                 step / 100);
    else
        snprintf(line, sizeof line, "the recording ends at step %lld (%lld.%02lld s): the rest of the file is damaged",
                 step, step / 100, step % 100);
    return line;
}

bool ReadRecording(const char* path, Recording& recording, std::string& error)
{
    std::string name = path;
    struct stat info;
    if (stat(path, &info) != 0)
        return Fail(error, name + ": " + strerror(errno));
    if (!S_ISREG(info.st_mode))
        return Fail(error, name + ": not a regular file");
    if ((uint64_t)info.st_size > RECORDING_MAX_BYTES)
        return Fail(error, name + ": larger than any recording (" + std::to_string((long long)info.st_size) +
                               " bytes)");
    FILE* file = OpenRegularFile(path, "rb");
    if (!file)
        return Fail(error, name + ": " + (errno ? strerror(errno) : "cannot be opened"));
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + n);
        if (bytes.size() > RECORDING_MAX_BYTES)
            break;
    }
    bool readError = ferror(file) != 0;
    fclose(file);
    if (readError)
        return Fail(error, name + ": cannot be read");
    if (bytes.size() > RECORDING_MAX_BYTES)
        return Fail(error, name + ": larger than any recording");
    std::string reason;
    if (!DecodeRecording(bytes.data(), bytes.size(), recording, reason))
        return Fail(error, name + ": " + reason);
    return true;
}
