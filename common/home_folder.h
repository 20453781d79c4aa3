// The user's folders as both programs find them: the home folder and the
// XDG base folders under it.
#pragma once

#include <string>

// HOME when it is an absolute path; else (HOME unset under a service
// manager, or relative) the password database's home folder when that is
// absolute; empty when neither gives one.
std::string HomeFolder();

// An XDG base folder: `value` (the variable, such as XDG_STATE_HOME) when it
// is absolute, for relative ones are to be ignored, as the base directory
// rules say; else `home` followed by `underHome` (such as "/.local/state");
// empty when `home` is empty too.
std::string XdgFolder(const char* value, const std::string& home, const char* underHome);
