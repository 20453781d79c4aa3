// The flight recording's file as the simulator writes it.
#include "common/recording_writer.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/flight_recording.h"

bool CreateRecordingFile(RecordingFile& file, const char* path, std::string& error)
{
    // Written in place as it goes, so a killed game leaves what it had
    // written; a named pipe takes it too.
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = std::string(path) + ": cannot record: " + strerror(errno);
        return false;
    }
    struct stat info;
    file = RecordingFile();
    file.fd = fd;
    file.path = path;
    file.regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    return true;
}

bool AppendRecordingChunks(RecordingFile& file, const std::vector<uint8_t>& bytes, uint64_t events,
                           std::string& error)
{
    if (file.fd < 0)
        return false;
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(file.fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            int why = n < 0 ? errno : ENOSPC;
            error = strerror(why);
            // A part of a chunk would make the reader call the rest damaged:
            // leave the file as it stood after its last whole chunk.
            if (done > 0 && file.regular && ftruncate(file.fd, (off_t)file.bytes) != 0)
                error += std::string("; it could not be cut back to its last whole chunk: ") + strerror(errno);
            CloseRecordingFile(file);
            return false;
        }
        done += (size_t)n;
    }
    file.bytes += bytes.size();
    file.events += events;
    return true;
}

bool RecordingFileFull(const RecordingFile& file)
{
    // Room for the second under way and the flight's end, each at most a
    // chunk, and a second of the most events a step may hold, twice.
    const uint64_t secondEvents = (uint64_t)RECORDING_DIGEST_PERIOD * RECORDING_MAX_STEP_EVENTS;
    return file.regular && (file.bytes + 2 * (uint64_t)RECORDING_MAX_CHUNK > RECORDING_MAX_BYTES ||
                            file.events + 2 * secondEvents > RECORDING_MAX_EVENTS);
}

void CloseRecordingFile(RecordingFile& file)
{
    if (file.fd >= 0)
        close(file.fd);
    file.fd = -1;
}

std::string ContinuedRecordingPath(const std::string& path, int number)
{
    size_t slash = path.rfind('/');
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1)
        return path + "." + std::to_string(number);
    return path.substr(0, dot) + "." + std::to_string(number) + path.substr(dot);
}
