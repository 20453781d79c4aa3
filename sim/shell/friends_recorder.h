// The side file of a recording made in a shared sky: what came from the
// other jets, written beside the recording (FILE.friends) as it comes, so the
// recording itself stays as a lone flight's is. Created with the first
// message; a game that receives nothing leaves no side file.
#pragma once

#include <cstdint>
#include <string>

#include "common/net_messages.h"

// The recording goes to `recordingPath` from now on: the side file, if one
// comes, is its path with FRIENDS_SUFFIX. One left there by an earlier
// recording of that name goes, as that recording's file is emptied.
void StartFriendsFile(const std::string& recordingPath);
// A message received from the server about another jet, arriving before the
// recording's step `step`. Nothing without a recording file; a failed write
// stops the side file with one line, leaving its whole records.
void RecordFriendMessage(const NetMessage& message, int64_t step);
// The side file completed: at the end of the game, or as the recording goes
// on in another file.
void CloseFriendsFile();
// No side file: the start state.
void ResetFriendsRecorderState();
