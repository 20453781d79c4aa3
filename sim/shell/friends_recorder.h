// What came from the other jets in a shared sky, recorded as the own flight
// is: the last seconds kept in memory for the instant replay, and with a
// recording file a side file beside it (FILE.friends) written as it comes,
// so the recording itself stays as a lone flight's is. The side file is
// created with the first message; a game that receives nothing leaves none.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/friends_file.h"
#include "common/net_messages.h"

// Steps of messages kept in memory: those since the instant replay's
// earliest start (the oldest snapshot the recorder keeps), and five seconds
// before it, so that each jet's states are there when the replay starts.
const int64_t FRIENDS_KEPT_STEPS = 4500;

// The recording goes to `recordingPath` from now on: the side file, if one
// comes, is its path with FRIENDS_SUFFIX. One left there by an earlier
// recording of that name goes, as that recording's file is emptied.
void StartFriendsFile(const std::string& recordingPath);
// A message received from the server about another jet, arriving before the
// recording's step `step`: kept, and written to the side file when there is
// one; a failed write stops the side file with one line, leaving its whole
// records.
void RecordFriendMessage(const NetMessage& message, int64_t step);
// What is kept, for a replay of the last steps: first the jets that were
// there before the oldest kept message (as joins), then every kept message.
std::vector<FriendsRecord> KeptFriendMessages();
// The side file completed: at the end of the game, or as the recording goes
// on in another file.
void CloseFriendsFile();
// Nothing kept and no side file: the start state.
void ResetFriendsRecorderState();
