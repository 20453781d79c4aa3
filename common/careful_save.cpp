// Saving a file the way careful editors do: the file a link names, replaced
// whole where that keeps what the name means, written in place where not.
#include "common/careful_save.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// As many links in a row as the kernel itself follows before giving up.
const int MAX_LINK_HOPS = 40;

// The name that is finally written when `path` is a symbolic link, or a chain
// of them; `path` itself otherwise. A link to a missing file gives that
// missing name, which the save then creates.
static bool FollowLinks(const std::string& path, std::string& target, std::string& error)
{
    target = path;
    for (int hop = 0; hop < MAX_LINK_HOPS; hop++) {
        struct stat info;
        if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true;
        char link[4096];
        ssize_t length = readlink(target.c_str(), link, sizeof link);
        if (length < 0 || length >= (ssize_t)sizeof link) {
            error = path + ": cannot follow the link: " + strerror(length < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        std::string next(link, (size_t)length);
        // A relative link is read from the folder that holds the link.
        size_t slash = target.rfind('/');
        if (!next.empty() && next[0] != '/' && slash != std::string::npos)
            next = target.substr(0, slash + 1) + next;
        target = next;
    }
    error = path + ": cannot follow the link: " + strerror(ELOOP);
    return false;
}

// Errors of creating a file that say the folder takes no new file while an
// existing file in it may still be written.
static bool FolderRefusesNewFiles(int err)
{
    return err == EACCES || err == EPERM || err == EROFS || err == ENAMETOOLONG;
}

// Writes, flushes to the device and closes; false with errno set on failure.
static bool WriteAndClose(FILE* out, const SaveContent& content)
{
    bool written = content.write(out, content.data) && fflush(out) == 0 && !ferror(out);
    int writeErrno = errno;
    // Pipes and character devices have nothing to sync.
    if (written && fsync(fileno(out)) != 0 && errno != EINVAL) {
        written = false;
        writeErrno = errno;
    }
    if (fclose(out) != 0 && written) {
        written = false;
        writeErrno = errno;
    }
    errno = writeErrno != 0 ? writeErrno : EIO;
    return written;
}

// Writes the open temporary file `fd` (named `temp`, beside the target) and
// renames it over the target only when complete, so a failed write leaves
// the old file whole; the temporary file is removed on failure.
static bool SaveBeside(const char* path, const std::string& target, int fd, const std::string& temp,
                       const SaveContent& content, std::string& error)
{
    // mkstemp creates the file readable by its owner only; what is saved is an
    // ordinary document, so it takes the owner, group and permissions of the
    // file it replaces, as far as this process may give them, or the usual
    // permissions under the umask.
    struct stat old;
    mode_t mode;
    if (stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
        if (fchown(fd, old.st_uid, old.st_gid) != 0 && fchown(fd, (uid_t)-1, old.st_gid) != 0) {
            // Not permitted: the file belongs to whoever saves it, as a new one would.
        }
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    // After the owner: changing it may clear the set-id bits.
    fchmod(fd, mode);
    FILE* out = fdopen(fd, "w");
    if (!out) {
        error = std::string(path) + ": " + strerror(errno);
        close(fd);
        unlink(temp.c_str());
        return false;
    }
    if (!WriteAndClose(out, content)) {
        error = std::string(path) + ": could not write " + content.what + ": " + strerror(errno);
        unlink(temp.c_str());
        return false;
    }
    if (rename(temp.c_str(), target.c_str()) != 0) {
        error = std::string(path) + ": could not replace the file: " + strerror(errno);
        unlink(temp.c_str());
        return false;
    }
    return true;
}

// Opens the target itself for writing, truncating it, as a plain open for
// writing would. Non-blocking only while opening: a named pipe that nobody
// reads is refused at once instead of holding the program forever.
static int OpenInPlace(const char* path, const std::string& target, bool exists, std::string& error)
{
    int fd = open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        int err = errno;
        if (err == ENXIO)
            error = std::string(path) + ": cannot write to it: nothing is reading from it";
        else if (exists)
            error = std::string(path) + ": cannot write to it: " + strerror(err);
        else
            error = std::string(path) + ": cannot create a file there: " + strerror(err);
        return -1;
    }
    int flags = fcntl(fd, F_GETFL);
    if (flags != -1)
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

// Writes into an open target. A reader that goes away before the end must
// not end the program with SIGPIPE: the signal is held back while writing and
// a pipe error is reported like any other.
static bool WriteInPlace(const char* path, int fd, const SaveContent& content, std::string& error)
{
    sigset_t pipeSignal, oldMask;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &oldMask);
    bool written = false;
    int writeErrno = 0;
    FILE* out = fdopen(fd, "w");
    if (!out) {
        writeErrno = errno;
        close(fd);
    } else {
        written = WriteAndClose(out, content);
        writeErrno = errno;
    }
    if (!sigismember(&oldMask, SIGPIPE)) {
        sigset_t pending;
        sigpending(&pending);
        if (sigismember(&pending, SIGPIPE)) {
            const timespec NO_WAIT = {0, 0};
            sigtimedwait(&pipeSignal, nullptr, &NO_WAIT);
        }
    }
    pthread_sigmask(SIG_SETMASK, &oldMask, nullptr);
    if (!written)
        error = std::string(path) + ": could not write " + content.what + ": " + strerror(writeErrno);
    return written;
}

bool SaveFileCarefully(const char* path, const SaveContent& content, std::string& error, bool* touched)
{
    if (touched)
        *touched = false;
    if (path[0] == '\0') {
        error = "no file name given";
        return false;
    }
    std::string target;
    if (!FollowLinks(path, target, error))
        return false;
    struct stat info;
    bool exists = stat(target.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) {
        error = std::string(path) + ": cannot write to it: " + strerror(EISDIR);
        return false;
    }
    // A rename would change what the name means: every other hard link would
    // keep the old landscape, and a device or pipe would become a plain file.
    bool inPlace = exists && (!S_ISREG(info.st_mode) || info.st_nlink > 1);
    if (!inPlace) {
        std::string temp = target + ".tmpXXXXXX";
        int fd = mkstemp(&temp[0]);
        if (fd >= 0)
            return SaveBeside(path, target, fd, temp, content, error);
        if (!FolderRefusesNewFiles(errno)) {
            error = std::string(path) + ": cannot create a file there: " + strerror(errno);
            return false;
        }
    }
    int fd = OpenInPlace(path, target, exists, error);
    if (fd < 0)
        return false;
    if (touched)
        *touched = true;
    return WriteInPlace(path, fd, content, error);
}
