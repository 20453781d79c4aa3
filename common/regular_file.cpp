// Regular-file open used by the readers of the delivered data.
#include "common/regular_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FILE* OpenRegularFile(const char* path, const char* mode)
{
    // Non-blocking, so that opening a pipe with no writer returns at once.
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        errno = EINVAL;
        return nullptr;
    }
    int flags = fcntl(fd, F_GETFL);
    if (flags != -1)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    FILE* file = fdopen(fd, mode);
    if (!file)
        close(fd);
    return file;
}

bool ReadSmallTextFile(const char* path, size_t maxBytes, std::string& text, std::string& error)
{
    errno = 0;
    FILE* file = OpenRegularFile(path, "rb");
    if (!file) {
        error = std::string(path) + ": " + (errno == EINVAL ? "not a regular file" : strerror(errno ? errno : ENOENT));
        return false;
    }
    text.clear();
    char buffer[4096];
    size_t n;
    // One byte past the limit is enough to know the file is too large.
    while ((n = fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, n);
        if (text.size() > maxBytes)
            break;
    }
    bool readError = ferror(file) != 0;
    fclose(file);
    if (readError) {
        error = std::string(path) + ": cannot be read";
        return false;
    }
    if (text.size() > maxBytes) {
        error = std::string(path) + ": larger than " + std::to_string(maxBytes) + " bytes";
        return false;
    }
    return true;
}
