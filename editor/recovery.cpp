// The recovery file written when the window closes with unsaved changes.
#include "editor/recovery.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/landscape_writer.h"
#include "editor/grid.h"
#include "editor/save.h"

namespace editor {

const char* const RECOVERY_FILE = "pelorin/editor-recovery.dmf";
const char* const DEFAULT_STATE_FOLDER = "/.local/state/"; // under the home folder
const mode_t STATE_FOLDER_MODE = 0700;

std::string RecoveryPath(const char* stateHome, const char* home)
{
    if (stateHome && stateHome[0] == '/')
        return std::string(stateHome) + "/" + RECOVERY_FILE;
    if (home && home[0] == '/')
        return std::string(home) + DEFAULT_STATE_FOLDER + RECOVERY_FILE;
    return "";
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

// HOME may be unset under a service manager; the password database still
// knows the home folder.
static const char* HomeFolder()
{
    const char* home = getenv("HOME");
    if (home && home[0] == '/')
        return home;
    struct passwd* entry = getpwuid(getuid());
    return entry ? entry->pw_dir : nullptr;
}

void KeepUnsavedWork()
{
    if (!GridHasUnsavedChanges())
        return;
    std::string path = RecoveryPath(getenv("XDG_STATE_HOME"), HomeFolder());
    std::string reason;
    if (path.empty())
        reason = "no home folder to keep it in";
    else if (CreateFoldersFor(path, reason) &&
             SaveLandscapeFile(path.c_str(), gridSizeX, gridSizeY, gridHeights, reason)) {
        printf("Unsaved changes kept in %s\n", path.c_str());
        fflush(stdout);
        return;
    }
    printf("Unsaved changes could not be kept: %s\n", reason.c_str());
    fflush(stdout);
}

} // namespace editor
