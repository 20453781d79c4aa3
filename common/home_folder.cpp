// The user's home folder and XDG base folders, by one rule for both programs.
#include "common/home_folder.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

std::string HomeFolder()
{
    const char* home = getenv("HOME");
    if (home && home[0] == '/')
        return home;
    struct passwd* entry = getpwuid(getuid());
    return entry && entry->pw_dir && entry->pw_dir[0] == '/' ? entry->pw_dir : "";
}

std::string XdgFolder(const char* value, const std::string& home, const char* underHome)
{
    if (value && value[0] == '/')
        return value;
    return home.empty() ? "" : home + underHome;
}
