// Messages between the game and its server: little-endian fields in a fixed
// order after one type byte; texts carry a length byte.
#include "common/net_messages.h"

#include <cmath>
#include <cstring>

namespace {

struct Writer {
    std::vector<uint8_t> bytes;
    void U8(uint8_t v) { bytes.push_back(v); }
    void U16(uint16_t v)
    {
        U8((uint8_t)v);
        U8((uint8_t)(v >> 8));
    }
    void U32(uint32_t v)
    {
        for (int i = 0; i < 4; i++)
            U8((uint8_t)(v >> (8 * i)));
    }
    void U64(uint64_t v)
    {
        for (int i = 0; i < 8; i++)
            U8((uint8_t)(v >> (8 * i)));
    }
    void F32(float f)
    {
        uint32_t v;
        memcpy(&v, &f, 4);
        U32(v);
    }
    void Text(const std::string& s, size_t limit)
    {
        size_t n = s.size() < limit ? s.size() : limit;
        U8((uint8_t)n);
        bytes.insert(bytes.end(), s.begin(), s.begin() + n);
    }
};

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    bool failed = false;
    bool Need(size_t n)
    {
        if (failed || size - pos < n)
            failed = true;
        return !failed;
    }
    uint8_t U8() { return Need(1) ? data[pos++] : 0; }
    uint16_t U16()
    {
        uint16_t v = U8();
        return (uint16_t)(v | (U8() << 8));
    }
    uint32_t U32()
    {
        uint32_t v = 0;
        for (int i = 0; i < 4; i++)
            v |= (uint32_t)U8() << (8 * i);
        return v;
    }
    uint64_t U64()
    {
        uint64_t v = 0;
        for (int i = 0; i < 8; i++)
            v |= (uint64_t)U8() << (8 * i);
        return v;
    }
    float F32()
    {
        uint32_t v = U32();
        float f;
        memcpy(&f, &v, 4);
        return f;
    }
    std::string Text()
    {
        size_t n = U8();
        if (!Need(n))
            return std::string();
        std::string s((const char*)data + pos, n);
        pos += n;
        return s;
    }
    bool AtEnd() const { return !failed && pos == size; }
};

bool Printable(const std::string& s, size_t limit, bool mayBeEmpty)
{
    if (s.size() > limit || (s.empty() && !mayBeEmpty))
        return false;
    for (char c : s)
        if (c < ' ' || c > '~')
            return false;
    return true;
}

bool Finite(const float* v, int n)
{
    for (int i = 0; i < n; i++)
        if (!std::isfinite(v[i]))
            return false;
    return true;
}

float Dot3(const float* a, const float* b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

NetDecodeResult CheckState(const NetState& s)
{
    float numbers[] = {s.pos[0], s.pos[1], s.pos[2], s.dir[0], s.dir[1], s.dir[2],
                       s.up[0], s.up[1], s.up[2], s.speed, s.thrust};
    if (!Finite(numbers, 11))
        return NET_BAD_NUMBER;
    for (float p : s.pos)
        if (std::fabs(p) > NET_POSITION_LIMIT)
            return NET_BAD_RANGE;
    if (std::fabs(s.speed) > NET_SPEED_LIMIT || s.thrust < 0.0f || s.thrust > 100.0f)
        return NET_BAD_RANGE;
    if (std::fabs(Dot3(s.dir, s.dir) - 1.0f) > NET_FRAME_TOLERANCE ||
        std::fabs(Dot3(s.up, s.up) - 1.0f) > NET_FRAME_TOLERANCE ||
        std::fabs(Dot3(s.dir, s.up)) > NET_FRAME_TOLERANCE)
        return NET_BAD_FRAME;
    if (s.flags & ~NET_FLAGS_KNOWN)
        return NET_BAD_FLAGS;
    return NET_OK;
}

bool ValidAngle(float degrees)
{
    return degrees >= 0.0f && degrees < 360.0f;
}

} // namespace

const char* NetDecodeResultName(NetDecodeResult result)
{
    static const char* const names[NET_BAD_COUNT] = {
        "ok", "empty message", "unknown message type", "wrong size", "a number that is not finite",
        "a number out of range", "a frame that is not orthonormal", "unknown flags", "a bad text",
        "a landscape that does not match its digest"};
    return result >= 0 && result < NET_BAD_COUNT ? names[result] : "?";
}

NetDecodeResult DecodeNetMessage(const uint8_t* data, size_t size, NetMessage& out)
{
    if (size == 0)
        return NET_BAD_EMPTY;
    if (data[0] < NET_HELLO || data[0] >= NET_TYPE_END)
        return NET_BAD_TYPE;
    Reader r{data, size, 1};
    NetMessage m;
    m.type = (NetType)data[0];
    switch (m.type) {
    case NET_HELLO:
        m.protocol = r.U16();
        m.version = r.Text();
        m.name = r.Text();
        break;
    case NET_WELCOME: {
        m.id = r.U8();
        m.slot = r.U8();
        m.maxPlayers = r.U8();
        m.sun = r.F32();
        m.moon = r.F32();
        m.digest = r.U64();
        uint32_t length = r.U32();
        if (r.failed || length > NET_LANDSCAPE_MAX || !r.Need(length))
            return NET_BAD_SIZE;
        m.landscape.assign((const char*)data + r.pos, (const char*)data + r.pos + length);
        r.pos += length;
        break;
    }
    case NET_REFUSED:
        m.refusal = r.U8();
        m.reason = r.Text();
        break;
    case NET_STATE:
        m.state.id = r.U8();
        m.state.step = r.U32();
        for (float& v : m.state.pos)
            v = r.F32();
        for (float& v : m.state.dir)
            v = r.F32();
        for (float& v : m.state.up)
            v = r.F32();
        m.state.speed = r.F32();
        m.state.thrust = r.F32();
        m.state.flags = r.U8();
        break;
    case NET_JOINED:
        m.id = r.U8();
        m.name = r.Text();
        break;
    case NET_LEFT:
        m.id = r.U8();
        break;
    case NET_EVENT:
        m.id = r.U8();
        m.event = r.U8();
        break;
    case NET_CLOCK:
        m.sun = r.F32();
        m.moon = r.F32();
        break;
    case NET_GOODBYE:
        m.reason = r.Text();
        break;
    default:
        return NET_BAD_TYPE;
    }
    if (!r.AtEnd())
        return NET_BAD_SIZE;
    switch (m.type) {
    case NET_HELLO:
        if (!Printable(m.version, NET_VERSION_MAX, false) || !ValidPlayerName(m.name))
            return NET_BAD_TEXT;
        break;
    case NET_WELCOME:
        if (!std::isfinite(m.sun) || !std::isfinite(m.moon))
            return NET_BAD_NUMBER;
        if (!ValidAngle(m.sun) || !ValidAngle(m.moon) || m.maxPlayers < 1 || m.maxPlayers > NET_MAX_PLAYERS ||
            m.id >= NET_MAX_PLAYERS || m.slot >= NET_MAX_PLAYERS)
            return NET_BAD_RANGE;
        if (NetDigest(m.landscape.data(), m.landscape.size()) != m.digest)
            return NET_BAD_DIGEST;
        break;
    case NET_REFUSED:
        if (m.refusal < REFUSED_FULL || m.refusal > REFUSED_BAD_HELLO)
            return NET_BAD_RANGE;
        if (!Printable(m.reason, NET_REASON_MAX, false))
            return NET_BAD_TEXT;
        break;
    case NET_STATE:
        if (NetDecodeResult bad = CheckState(m.state))
            return bad;
        if (m.state.id >= NET_MAX_PLAYERS)
            return NET_BAD_RANGE;
        break;
    case NET_JOINED:
        if (m.id >= NET_MAX_PLAYERS)
            return NET_BAD_RANGE;
        if (!ValidPlayerName(m.name))
            return NET_BAD_TEXT;
        break;
    case NET_LEFT:
        if (m.id >= NET_MAX_PLAYERS)
            return NET_BAD_RANGE;
        break;
    case NET_EVENT:
        if (m.id >= NET_MAX_PLAYERS || (m.event != NET_EVENT_CRASH && m.event != NET_EVENT_RESTART))
            return NET_BAD_RANGE;
        break;
    case NET_CLOCK:
        if (!std::isfinite(m.sun) || !std::isfinite(m.moon))
            return NET_BAD_NUMBER;
        if (!ValidAngle(m.sun) || !ValidAngle(m.moon))
            return NET_BAD_RANGE;
        break;
    case NET_GOODBYE:
        if (!Printable(m.reason, NET_REASON_MAX, false))
            return NET_BAD_TEXT;
        break;
    default:
        break;
    }
    out = std::move(m);
    return NET_OK;
}

std::vector<uint8_t> EncodeHello(const std::string& version, const std::string& name, uint16_t protocol)
{
    Writer w;
    w.U8(NET_HELLO);
    w.U16(protocol);
    w.Text(version, 255);
    w.Text(name, 255);
    return w.bytes;
}

std::vector<uint8_t> EncodeWelcome(uint8_t id, uint8_t slot, uint8_t maxPlayers, float sun, float moon,
                                   const std::vector<char>& landscape)
{
    Writer w;
    w.U8(NET_WELCOME);
    w.U8(id);
    w.U8(slot);
    w.U8(maxPlayers);
    w.F32(sun);
    w.F32(moon);
    w.U64(NetDigest(landscape.data(), landscape.size()));
    w.U32((uint32_t)landscape.size());
    w.bytes.insert(w.bytes.end(), landscape.begin(), landscape.end());
    return w.bytes;
}

std::vector<uint8_t> EncodeRefused(NetRefusal refusal, const std::string& reason)
{
    Writer w;
    w.U8(NET_REFUSED);
    w.U8(refusal);
    w.Text(reason, NET_REASON_MAX);
    return w.bytes;
}

std::vector<uint8_t> EncodeState(const NetState& s)
{
    Writer w;
    w.U8(NET_STATE);
    w.U8(s.id);
    w.U32(s.step);
    for (float v : s.pos)
        w.F32(v);
    for (float v : s.dir)
        w.F32(v);
    for (float v : s.up)
        w.F32(v);
    w.F32(s.speed);
    w.F32(s.thrust);
    w.U8(s.flags);
    return w.bytes;
}

std::vector<uint8_t> EncodeJoined(uint8_t id, const std::string& name)
{
    Writer w;
    w.U8(NET_JOINED);
    w.U8(id);
    w.Text(name, 255);
    return w.bytes;
}

std::vector<uint8_t> EncodeLeft(uint8_t id)
{
    return {NET_LEFT, id};
}

std::vector<uint8_t> EncodeEvent(uint8_t id, NetEvent event)
{
    return {NET_EVENT, id, event};
}

std::vector<uint8_t> EncodeClock(float sun, float moon)
{
    Writer w;
    w.U8(NET_CLOCK);
    w.F32(sun);
    w.F32(moon);
    return w.bytes;
}

std::vector<uint8_t> EncodeGoodbye(const std::string& reason)
{
    Writer w;
    w.U8(NET_GOODBYE);
    w.Text(reason, NET_REASON_MAX);
    return w.bytes;
}

uint64_t NetDigest(const char* data, size_t size)
{
    uint64_t h = 1469598103934665603ULL;
    for (size_t i = 0; i < size; i++) {
        h ^= (uint8_t)data[i];
        h *= 1099511628211ULL;
    }
    return h;
}

bool ValidPlayerName(const std::string& name)
{
    return Printable(name, NET_NAME_MAX, false);
}

std::string PlayerNameFrom(const char* given, const char* login)
{
    const char* source = given && *given ? given : login && *login ? login : "pilot";
    std::string name(source, strnlen(source, NET_NAME_MAX));
    for (char& c : name)
        if (c < ' ' || c > '~')
            c = '_';
    return name;
}

bool SplitHostPort(const char* text, std::string& host, int& port)
{
    std::string s = text ? text : "";
    std::string portText;
    if (!s.empty() && s[0] == '[') {
        size_t close = s.find(']');
        if (close == std::string::npos)
            return false;
        host = s.substr(1, close - 1);
        if (close + 1 < s.size()) {
            if (s[close + 1] != ':')
                return false;
            portText = s.substr(close + 2);
            if (portText.empty())
                return false;
        }
    } else {
        size_t colon = s.find(':');
        // More than one colon is a bare IPv6 address, which has no port.
        if (colon != std::string::npos && s.find(':', colon + 1) == std::string::npos) {
            host = s.substr(0, colon);
            portText = s.substr(colon + 1);
            if (portText.empty())
                return false;
        } else
            host = s;
    }
    if (host.empty())
        return false;
    port = NET_DEFAULT_PORT;
    if (!portText.empty()) {
        long p = 0;
        for (char c : portText) {
            if (c < '0' || c > '9' || p > 65535)
                return false;
            p = p * 10 + (c - '0');
        }
        if (p < 1 || p > 65535)
            return false;
        port = (int)p;
    }
    return true;
}
