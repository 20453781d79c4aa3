// The side file of a shared flight's recording, written as messages come.
#include "sim/shell/friends_recorder.h"

#include <unistd.h>

#include <cstdio>
#include <deque>

#include "common/recording_writer.h"
#include "sim/flight/remote_jets.h"

static std::string friendsPath; // empty without a recording file
static RecordingFile friendsFile;
static bool friendsStopped;     // a write failed or the file is full
// The last FRIENDS_KEPT_STEPS of messages, and the jets there before them.
static std::deque<FriendsRecord> kept;
static bool rosterPresent[NET_MAX_PLAYERS];
static std::string rosterNames[NET_MAX_PLAYERS];
static uint32_t rosterStep;

void StartFriendsFile(const std::string& recordingPath)
{
    CloseFriendsFile();
    friendsPath = recordingPath + FRIENDS_SUFFIX;
    friendsStopped = false;
    unlink(friendsPath.c_str());
}

static void Stop(const std::string& why)
{
    fprintf(stderr, "pelorin: %s: friends' messages no longer recorded: %s\n", friendsPath.c_str(), why.c_str());
    CloseRecordingFile(friendsFile);
    friendsStopped = true;
}

static void Append(const std::vector<uint8_t>& bytes, uint64_t records)
{
    std::string error;
    if (!AppendRecordingChunks(friendsFile, bytes, records, error))
        Stop(error);
}

// The header, and the jets already here, so that a side file read from its
// start knows every friend's name.
static bool Open(uint32_t step)
{
    std::string error;
    if (!CreateRecordingFile(friendsFile, friendsPath.c_str(), error)) {
        fprintf(stderr, "pelorin: %s\n", error.c_str());
        friendsStopped = true;
        return false;
    }
    std::vector<uint8_t> bytes;
    EncodeFriendsHeader(bytes);
    uint64_t records = 0;
    for (int id = 0; id < NET_MAX_PLAYERS; id++) {
        if (!liveSky.jets[id].present)
            continue;
        NetMessage joined;
        joined.type = NET_JOINED;
        joined.id = (uint8_t)id;
        joined.name = liveSky.jets[id].name;
        // A jet taken from a state before its join has no name to send.
        if (joined.name.empty())
            joined.name = "?";
        records += EncodeFriendsRecord(step, joined, bytes);
    }
    Append(bytes, records);
    return friendsFile.fd >= 0;
}

// Messages older than the kept steps leave their mark on the roster only.
static void Keep(const FriendsRecord& record)
{
    kept.push_back(record);
    while (!kept.empty() && (int64_t)kept.front().step < (int64_t)record.step - FRIENDS_KEPT_STEPS) {
        const FriendsRecord& old = kept.front();
        if (old.id < NET_MAX_PLAYERS && (old.type == NET_JOINED || old.type == NET_LEFT)) {
            rosterPresent[old.id] = old.type == NET_JOINED;
            rosterNames[old.id] = old.name;
        } else if (old.type == NET_STATE && old.state.id < NET_MAX_PLAYERS && !rosterPresent[old.state.id]) {
            // A jet heard before its join is taken as a replay would take it.
            rosterPresent[old.state.id] = true;
            rosterNames[old.state.id].clear();
        }
        rosterStep = old.step;
        kept.pop_front();
    }
}

std::vector<FriendsRecord> KeptFriendMessages()
{
    std::vector<FriendsRecord> records;
    for (int id = 0; id < NET_MAX_PLAYERS; id++) {
        if (!rosterPresent[id])
            continue;
        FriendsRecord joined;
        joined.step = rosterStep;
        joined.type = NET_JOINED;
        joined.id = (uint8_t)id;
        snprintf(joined.name, sizeof joined.name, "%s", rosterNames[id].c_str());
        records.push_back(joined);
    }
    records.insert(records.end(), kept.begin(), kept.end());
    return records;
}

void RecordFriendMessage(const NetMessage& message, int64_t step)
{
    uint32_t at = step < 0 ? 0 : step > (int64_t)UINT32_MAX ? UINT32_MAX : (uint32_t)step;
    if (message.type == NET_STATE || message.type == NET_JOINED || message.type == NET_LEFT ||
        message.type == NET_EVENT)
        Keep(FriendsRecordOf(at, message));
    if (friendsPath.empty() || friendsStopped)
        return;
    if (friendsFile.fd < 0 && !Open(at))
        return;
    if (friendsFile.events + NET_MAX_PLAYERS >= FRIENDS_MAX_RECORDS) {
        Stop("as many messages as a side file keeps");
        return;
    }
    std::vector<uint8_t> bytes;
    if (EncodeFriendsRecord(at, message, bytes))
        Append(bytes, 1);
}

void CloseFriendsFile()
{
    CloseRecordingFile(friendsFile);
}

void ResetFriendsRecorderState()
{
    CloseFriendsFile();
    friendsPath.clear();
    friendsStopped = false;
    kept.clear();
    for (int id = 0; id < NET_MAX_PLAYERS; id++) {
        rosterPresent[id] = false;
        rosterNames[id].clear();
    }
    rosterStep = 0;
}
