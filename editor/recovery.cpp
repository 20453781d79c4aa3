// The recovery files written when the editor ends with unsaved changes.
#include "editor/recovery.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/home_folder.h"
#include "common/landscape_writer.h"
#include "editor/grid.h"
#include "editor/save.h"

namespace editor {

const char* const RECOVERY_PREFIX = "editor-recovery-";
const char* const RECOVERY_EXTENSION = ".dmf";
const mode_t STATE_FOLDER_MODE = 0700;
// Names taken by closes of the same second are skipped; past this many the
// folder is taken to be unusable.
const int RECOVERY_ATTEMPTS_MAX = 1000;

// The close and the exit handler both end the editor: the work is kept once.
static bool unsavedWorkKept;

void ResetRecoveryState()
{
    unsavedWorkKept = false;
}

std::string RecoveryFolder(const char* stateHome, const std::string& home)
{
    std::string state = XdgFolder(stateHome, home, "/.local/state");
    return state.empty() ? "" : state + "/pelorin";
}

std::string RecoveryName(const struct tm& when, int attempt)
{
    char stamp[64];
    strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &when);
    std::string name = std::string(RECOVERY_PREFIX) + stamp;
    if (attempt > 1)
        name += "-" + std::to_string(attempt);
    return name + RECOVERY_EXTENSION;
}

int CountRecoveryFiles(const std::string& folder)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return 0;
    int count = 0;
    size_t prefix = strlen(RECOVERY_PREFIX), extension = strlen(RECOVERY_EXTENSION);
    while (struct dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() > prefix + extension && name.compare(0, prefix, RECOVERY_PREFIX) == 0 &&
            name.compare(name.size() - extension, extension, RECOVERY_EXTENSION) == 0)
            count++;
    }
    closedir(dir);
    return count;
}

bool CreateFoldersFor(const std::string& path, std::string& reason)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        std::string folder = path.substr(0, slash);
        if (mkdir(folder.c_str(), STATE_FOLDER_MODE) != 0 && errno != EEXIST) {
            reason = folder + ": cannot create the folder: " + strerror(errno);
            return false;
        }
    }
    return true;
}

// A new file's name in `folder`, taken at once (created empty) so that no
// other close takes it; empty with a reason when none could be.
static std::string TakeRecoveryName(const std::string& folder, std::string& reason)
{
    time_t now = time(nullptr);
    struct tm when;
    localtime_r(&now, &when);
    for (int attempt = 1; attempt <= RECOVERY_ATTEMPTS_MAX; attempt++) {
        std::string path = folder + "/" + RecoveryName(when, attempt);
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            close(fd);
            return path;
        }
        if (errno != EEXIST) {
            reason = path + ": " + strerror(errno);
            return "";
        }
    }
    reason = folder + ": every name of this second is taken";
    return "";
}

void KeepUnsavedWork()
{
    if (unsavedWorkKept || !GridHasUnsavedChanges())
        return;
    unsavedWorkKept = true;
    std::string folder = RecoveryFolder(getenv("XDG_STATE_HOME"), HomeFolder());
    std::string reason, path;
    if (folder.empty())
        reason = "no home folder to keep it in";
    else if (CreateFoldersFor(folder + "/", reason) && !(path = TakeRecoveryName(folder, reason)).empty()) {
        if (SaveLandscapeFile(path.c_str(), gridSizeX, gridSizeY, gridHeights, reason)) {
            printf("Unsaved changes kept in %s\n", path.c_str());
            fflush(stdout);
            return;
        }
        unlink(path.c_str());
    }
    printf("Unsaved changes could not be kept: %s\n", reason.c_str());
    fflush(stdout);
}

void ReportWaitingRecoveryFiles()
{
    std::string folder = RecoveryFolder(getenv("XDG_STATE_HOME"), HomeFolder());
    int count = folder.empty() ? 0 : CountRecoveryFiles(folder);
    if (count == 1)
        printf("1 recovery file waits in %s\n", folder.c_str());
    else if (count > 1)
        printf("%d recovery files wait in %s\n", count, folder.c_str());
}

} // namespace editor
