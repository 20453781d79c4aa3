// The side file of a shared flight's recording, written as messages come.
#include "sim/shell/friends_recorder.h"

#include <unistd.h>

#include <cstdio>
#include <vector>

#include "common/friends_file.h"
#include "common/recording_writer.h"
#include "sim/flight/remote_jets.h"

static std::string friendsPath; // empty without a recording file
static RecordingFile friendsFile;
static bool friendsStopped;     // a write failed or the file is full

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
        if (!remoteJets[id].present)
            continue;
        NetMessage joined;
        joined.type = NET_JOINED;
        joined.id = (uint8_t)id;
        joined.name = remoteJets[id].name;
        // A jet taken from a state before its join has no name to send.
        if (joined.name.empty())
            joined.name = "?";
        records += EncodeFriendsRecord(step, joined, bytes);
    }
    Append(bytes, records);
    return friendsFile.fd >= 0;
}

void RecordFriendMessage(const NetMessage& message, int64_t step)
{
    if (friendsPath.empty() || friendsStopped)
        return;
    uint32_t at = step < 0 ? 0 : step > (int64_t)UINT32_MAX ? UINT32_MAX : (uint32_t)step;
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
}
