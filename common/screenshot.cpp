// The screenshot's folder, name and exclusive, all-or-nothing file.
#include "common/screenshot.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/home_folder.h"
#include "common/png_write.h"

// Names taken by earlier screenshots of the same second are skipped; past
// this many the folder is taken to be unusable rather than searched on.
const int SCREENSHOT_ATTEMPTS_MAX = 1000;
// Fast over small: a screenshot is written while the game waits for it.
const int SCREENSHOT_COMPRESSION = 1;

// The value of a user-dirs.dirs line XDG_PICTURES_DIR="...", with "$HOME"
// at its start replaced; empty when the line is not that one.
static std::string PicturesLineValue(const std::string& line, const std::string& home)
{
    const std::string key = "XDG_PICTURES_DIR=\"";
    size_t start = line.find_first_not_of(" \t");
    if (start == std::string::npos || line.compare(start, key.size(), key) != 0)
        return "";
    size_t open = start + key.size();
    size_t close = line.find('"', open);
    if (close == std::string::npos)
        return "";
    std::string value = line.substr(open, close - open);
    if (value.compare(0, 5, "$HOME") == 0)
        value = home + value.substr(5);
    return value;
}

std::string PicturesFolder(const char* home, const char* configHome)
{
    std::string h = home ? home : "";
    std::string config = XdgFolder(configHome, h, "/.config");
    std::string folder = h + "/Pictures";
    FILE* in = fopen((config + "/user-dirs.dirs").c_str(), "r");
    if (!in)
        return folder;
    char buffer[4096];
    while (fgets(buffer, sizeof buffer, in)) {
        std::string line(buffer);
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        std::string value = PicturesLineValue(line, h);
        // The last line that names it wins, as when the shell reads the file.
        if (!value.empty())
            folder = value;
    }
    fclose(in);
    return folder;
}

static bool IsFolder(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string ScreenshotFolder(const char* screenshotsVariable, const char* home, const char* configHome)
{
    if (screenshotsVariable && *screenshotsVariable)
        return screenshotsVariable;
    std::string pictures = PicturesFolder(home, configHome);
    if (IsFolder(pictures))
        return pictures;
    return home ? home : "";
}

std::string ScreenshotName(const struct tm& when, int attempt)
{
    char stamp[64];
    strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &when);
    std::string name = std::string("pelorin-") + stamp;
    if (attempt > 1)
        name += "-" + std::to_string(attempt);
    return name + ".png";
}

static bool WriteAll(int fd, const std::vector<uint8_t>& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += (size_t)n;
    }
    return true;
}

bool SaveScreenshotIn(const std::string& folder, const struct tm& when, int width, int height,
                      const std::vector<uint8_t>& rgbTopFirst, std::string& pathOrReason)
{
    std::vector<uint8_t> png;
    std::string reason;
    if (!EncodePng(width, height, PNG_RGB8, rgbTopFirst, png, reason, SCREENSHOT_COMPRESSION)) {
        pathOrReason = "could not encode the picture: " + reason;
        return false;
    }
    std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    for (int attempt = 1; attempt <= SCREENSHOT_ATTEMPTS_MAX; attempt++) {
        std::string path = prefix + ScreenshotName(when, attempt);
        // O_EXCL: a file of that name, or a link, is never opened, let alone replaced.
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0) {
            pathOrReason = folder + ": " + strerror(errno);
            return false;
        }
        bool written = WriteAll(fd, png);
        int writeErrno = errno;
        if (close(fd) != 0 && written) {
            written = false;
            writeErrno = errno;
        }
        if (!written) {
            unlink(path.c_str());
            pathOrReason = path + ": " + strerror(writeErrno);
            return false;
        }
        pathOrReason = path;
        return true;
    }
    pathOrReason = folder + ": every name for this second is taken";
    return false;
}

bool SaveScreenshot(int width, int height, const std::vector<uint8_t>& rgbBottomFirst)
{
    size_t rowBytes = (size_t)width * 3;
    std::vector<uint8_t> rgb(rgbBottomFirst.size());
    for (int y = 0; y < height && rowBytes * (y + 1) <= rgbBottomFirst.size(); y++)
        memcpy(&rgb[rowBytes * (height - 1 - y)], &rgbBottomFirst[rowBytes * y], rowBytes);
    std::string home = HomeFolder();
    std::string folder = ScreenshotFolder(getenv("PELORIN_SCREENSHOTS"), home.c_str(), getenv("XDG_CONFIG_HOME"));
    time_t now = time(nullptr);
    struct tm when;
    localtime_r(&now, &when);
    std::string result;
    bool saved = !folder.empty() && SaveScreenshotIn(folder, when, width, height, rgb, result);
    if (folder.empty())
        result = "no home folder to save it in";
    if (saved)
        printf("Screenshot saved: %s\n", result.c_str());
    else
        printf("Screenshot not saved: %s\n", result.c_str());
    fflush(stdout);
    return saved;
}
