// The side file of a shared flight's recording: the friends' messages.
#include "common/friends_file.h"

#include <cstdio>
#include <cstring>

#include "common/regular_file.h"

static void Put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back((uint8_t)v);
    out.push_back((uint8_t)(v >> 8));
}

static void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        out.push_back((uint8_t)(v >> (8 * i)));
}

static uint32_t Get(const uint8_t* p, int bytes)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes; i++)
        v |= (uint32_t)p[i] << (8 * i);
    return v;
}

FriendsRecord FriendsRecordOf(uint32_t step, const NetMessage& m)
{
    FriendsRecord r;
    r.step = step;
    r.type = m.type;
    r.id = m.id;
    r.event = m.event;
    snprintf(r.name, sizeof r.name, "%s", m.name.c_str());
    r.state = m.state;
    return r;
}

void EncodeFriendsHeader(std::vector<uint8_t>& out)
{
    out.insert(out.end(), FRIENDS_MAGIC, FRIENDS_MAGIC + 4);
    Put16(out, FRIENDS_VERSION);
    Put16(out, 0);
}

bool EncodeFriendsRecord(uint32_t step, const NetMessage& m, std::vector<uint8_t>& out)
{
    std::vector<uint8_t> bytes;
    switch (m.type) {
    case NET_STATE: bytes = EncodeState(m.state); break;
    case NET_JOINED: bytes = EncodeJoined(m.id, m.name); break;
    case NET_LEFT: bytes = EncodeLeft(m.id); break;
    case NET_EVENT: bytes = EncodeEvent(m.id, (NetEvent)m.event); break;
    default: return false;
    }
    if (bytes.size() > FRIENDS_MESSAGE_MAX)
        return false;
    Put32(out, step);
    Put16(out, (uint16_t)bytes.size());
    out.insert(out.end(), bytes.begin(), bytes.end());
    return true;
}

bool ParseFriendsBytes(const uint8_t* data, size_t size, std::vector<FriendsRecord>& records, std::string& damage)
{
    records.clear();
    damage.clear();
    if (size < FRIENDS_HEADER_BYTES || memcmp(data, FRIENDS_MAGIC, 4) != 0) {
        damage = "not a friends file";
        return false;
    }
    if (Get(data + 4, 2) != FRIENDS_VERSION || Get(data + 6, 2) != 0) {
        damage = "friends file version " + std::to_string(Get(data + 4, 2)) + " is not one this game reads";
        return false;
    }
    size_t at = FRIENDS_HEADER_BYTES;
    while (at < size) {
        std::string why;
        size_t length = 0;
        NetMessage m;
        if (records.size() >= FRIENDS_MAX_RECORDS)
            why = "more messages than a recording keeps";
        else if ((uint64_t)size - at < FRIENDS_RECORD_HEAD)
            why = "cut short";
        else if ((length = Get(data + at + 4, 2)) == 0 || length > FRIENDS_MESSAGE_MAX)
            why = "a message of " + std::to_string(length) + " bytes";
        else if ((uint64_t)size - at - FRIENDS_RECORD_HEAD < length)
            why = "cut short";
        else if (NetDecodeResult r = DecodeNetMessage(data + at + FRIENDS_RECORD_HEAD, length, m); r != NET_OK)
            why = std::string("a message refused (") + NetDecodeResultName(r) + ")";
        else if (m.type != NET_STATE && m.type != NET_JOINED && m.type != NET_LEFT && m.type != NET_EVENT)
            why = "a message a recording does not keep";
        else if (!records.empty() && Get(data + at, 4) < records.back().step)
            why = "a step going backwards";
        if (!why.empty()) {
            damage = "damaged after " + std::to_string(records.size()) + " messages: " + why;
            return true;
        }
        records.push_back(FriendsRecordOf(Get(data + at, 4), m));
        at += FRIENDS_RECORD_HEAD + length;
    }
    return true;
}

bool ReadFriendsFile(const char* path, std::vector<FriendsRecord>& records, std::string& damage)
{
    const size_t most = FRIENDS_HEADER_BYTES + FRIENDS_MAX_RECORDS * (FRIENDS_RECORD_HEAD + FRIENDS_MESSAGE_MAX);
    std::string bytes, error;
    if (!ReadSmallTextFile(path, most, bytes, error)) {
        records.clear();
        damage = error;
        return false;
    }
    bool ok = ParseFriendsBytes((const uint8_t*)bytes.data(), bytes.size(), records, damage);
    if (!damage.empty())
        damage = std::string(path) + ": " + damage;
    return ok;
}
