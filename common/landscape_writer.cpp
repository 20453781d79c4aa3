// Landscape file writer with an all-or-nothing save.
#include "common/landscape_writer.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

bool WriteLandscape(FILE* out, int sizeX, int sizeY, const int* heights)
{
    // The header's reals must read back with a decimal point whatever the
    // user's locale; the programs never change LC_NUMERIC, so "C" holds.
    fprintf(out, "%d %d %f %f %f\n", sizeX, sizeY, 50.0, 0.0, 0.0);
    for (int r = 0; r < sizeX; r++) {
        for (int c = 0; c < sizeX; c++)
            fprintf(out, "%d ", heights[r * sizeX + c]);
        fputc('\n', out);
    }
    // A buffered stream only reports a full disk when it is flushed.
    return fflush(out) == 0 && !ferror(out);
}

bool SaveLandscapeFile(const char* path, int sizeX, int sizeY, const int* heights, std::string& error)
{
    std::string temp = std::string(path) + ".tmpXXXXXX";
    int fd = mkstemp(&temp[0]);
    if (fd < 0) {
        error = std::string(path) + ": cannot create a file there: " + strerror(errno);
        return false;
    }
    FILE* out = fdopen(fd, "w");
    if (!out) {
        error = std::string(path) + ": " + strerror(errno);
        close(fd);
        unlink(temp.c_str());
        return false;
    }
    bool written = WriteLandscape(out, sizeX, sizeY, heights);
    int writeErrno = errno;
    if (fflush(out) != 0 && written) {
        written = false;
        writeErrno = errno;
    }
    if (written && fsync(fileno(out)) != 0 && errno != EINVAL) {
        written = false;
        writeErrno = errno;
    }
    if (fclose(out) != 0 && written) {
        written = false;
        writeErrno = errno;
    }
    if (!written) {
        if (writeErrno == 0)
            writeErrno = EIO;
        error = std::string(path) + ": could not write the landscape: " + strerror(writeErrno);
        unlink(temp.c_str());
        return false;
    }
    // mkstemp creates the file readable by its owner only; a landscape is an
    // ordinary document, so it keeps the permissions of the file it replaces,
    // or gets the usual ones under the umask.
    struct stat old;
    mode_t mode;
    if (stat(path, &old) == 0 && S_ISREG(old.st_mode)) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    chmod(temp.c_str(), mode);
    if (rename(temp.c_str(), path) != 0) {
        error = std::string(path) + ": could not replace the file: " + strerror(errno);
        unlink(temp.c_str());
        return false;
    }
    return true;
}
