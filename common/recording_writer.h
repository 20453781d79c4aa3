// The flight recording's file as the simulator writes it: whole chunks
// appended as the game goes, so a killed game leaves what it had written, and
// a write that fails cut back to the last whole chunk, so the file still
// replays to there. The chunks themselves come from flight_recording.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct RecordingFile {
    int fd = -1;
    std::string path;
    bool regular = false; // a regular file (a named pipe is neither cut back nor limited)
    uint64_t bytes = 0;   // of whole chunks written
    uint64_t events = 0;  // in them
};

// Creates (or empties) the file at `path` for writing; false with the reason,
// naming the file, in `error`.
bool CreateRecordingFile(RecordingFile& file, const char* path, std::string& error);
// Appends `bytes`, whole chunks holding `events` events. On a failed or short
// write cuts the file back to its last whole chunk, closes it and returns
// false with the reason in `error`; the file is then closed (fd -1).
bool AppendRecordingChunks(RecordingFile& file, const std::vector<uint8_t>& bytes, uint64_t events,
                           std::string& error);
// Whether a regular file has no room left for another second and a flight's
// end under the reader's limits, and the writer should go on in a new file.
bool RecordingFileFull(const RecordingFile& file);
void CloseRecordingFile(RecordingFile& file);
// The name of the file a recording goes on in once `path` is full: the
// number before the extension ("flight.rec", 2: "flight.2.rec").
std::string ContinuedRecordingPath(const std::string& path, int number);
