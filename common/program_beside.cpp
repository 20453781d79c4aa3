// Finding a program of the suite beside the running one, or on PATH.
#include "common/program_beside.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

std::string OwnFolder()
{
    char self[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return "";
    std::string path(self, (size_t)length);
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

static bool IsExecutableFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string FindProgram(const std::string& ownFolder, const char* name, const char* searchPath)
{
    if (!ownFolder.empty() && IsExecutableFile(ownFolder + "/" + name))
        return ownFolder + "/" + name;
    if (!searchPath)
        return "";
    std::string path = searchPath;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(':', start);
        if (end == std::string::npos)
            end = path.size();
        std::string folder = path.substr(start, end - start);
        std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (IsExecutableFile(candidate))
            return candidate;
        start = end + 1;
    }
    return "";
}
