// What a game in a shared sky received from the others while it recorded,
// kept beside its recording (FILE.friends) so that the recording's own format
// stays as it is: each message with the step it arrived before, so that a
// replay hands it to the friends' jets at the same step. Read as carefully as
// the recording: bounded, every message checked, a damaged tail cut off.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/net_messages.h"

// "PFRN", then the version (little-endian 16 bits) and two zero bytes; then
// records: the step (32 bits), the message's length (16 bits), and the
// message as the server sent it (a state, a join, a leave or an event).
const char FRIENDS_MAGIC[4] = {'P', 'F', 'R', 'N'};
const uint16_t FRIENDS_VERSION = 1;
const size_t FRIENDS_HEADER_BYTES = 8;
const size_t FRIENDS_RECORD_HEAD = 6;
const size_t FRIENDS_MESSAGE_MAX = 128;      // bytes of one message: a state is about 50
const size_t FRIENDS_MAX_RECORDS = 2000000;  // about 8 hours of one friend's states
const char* const FRIENDS_SUFFIX = ".friends";

// One received message, decoded. Only the fields of its type mean anything.
struct FriendsRecord {
    uint32_t step = 0;   // the recording's steps done when it arrived
    NetType type = NET_STATE;
    uint8_t id = 0;      // joined, left, event
    uint8_t event = 0;   // event
    char name[NET_NAME_MAX + 1] = {}; // joined
    NetState state;      // state
};

// A received message as a record kept at `step`; only the fields of its
// type are taken.
FriendsRecord FriendsRecordOf(uint32_t step, const NetMessage& message);

// The file's first bytes.
void EncodeFriendsHeader(std::vector<uint8_t>& out);
// One record appended to `out`; false (nothing appended) for a message that
// is not kept (not a state, join, leave or event) or too long.
bool EncodeFriendsRecord(uint32_t step, const NetMessage& message, std::vector<uint8_t>& out);

// Reads a side file's bytes. False with the reason when the header is not
// one of this game's; otherwise true, with every record up to the first that
// is damaged (cut short, too long, a message the decoder refuses or does not
// keep, a step going backwards, one record too many), and the reason for the
// cut in `damage` (empty when the file is whole).
bool ParseFriendsBytes(const uint8_t* data, size_t size, std::vector<FriendsRecord>& records, std::string& damage);
// The same from the file at `path`, refusing a file larger than the limits
// allow; the reasons name the file.
bool ReadFriendsFile(const char* path, std::vector<FriendsRecord>& records, std::string& damage);
