// The settings a program keeps between runs: an INI file in the user's XDG
// config folder, read with libinih against a table of the keys it knows and
// written whole through a temporary file and a rename.
#pragma once

#include <map>
#include <set>
#include <string>

#include "common/window_options.h"

// One key a program keeps: a whole number from `min` to `max`, or a line of
// text when `min` > `max`. Adding a setting is one row.
struct SettingRow {
    const char* section;
    const char* key;
    int min, max;
};

// Values by "section.key", as read or to be written; a key absent here is
// at the program's default.
typedef std::map<std::string, std::string> Settings;

// How reading went.
enum SettingsLoad {
    SETTINGS_READ,    // the file's values are in `settings`
    SETTINGS_ABSENT,  // no file yet: defaults, and the first save makes it
    SETTINGS_DAMAGED, // one line in `error` (the file and its line, or why it cannot be read):
                      // defaults for this run, and the file must be left as it is
};

// $XDG_CONFIG_HOME/pelorin/`file`, or $HOME/.config/pelorin/`file`; either
// variable counts only when it holds an absolute path. "" when neither does.
std::string SettingsPath(const char* file);

// Reads `path` against the `count` rows. A line that is not INI, a known key
// with a value outside its row, and a file that is no regular file or cannot
// be read make it SETTINGS_DAMAGED, with nothing kept. Unknown keys are kept
// as they are, so that a newer version's settings survive an older one.
SettingsLoad LoadSettings(const std::string& path, const SettingRow* rows, int count, Settings& settings,
                          std::string& error);

// Writes `settings` to `path` by sections, creating its folder, through a
// temporary file and a rename (common/careful_save.h). False with a
// one-line reason naming the file in `error`.
bool SaveSettings(const std::string& path, const Settings& settings, std::string& error);

// What to write back: the game's values `now`, except that a key the
// command line `overridden` for this run keeps the file's value (or stays
// out) unless the game changed it from `start`, its value once the options
// were applied. Keys of the file that `now` does not know stay as they are.
Settings SettingsToKeep(const Settings& file, const Settings& start, const Settings& now,
                        const std::set<std::string>& overridden);

// The number kept under `key`, or `fallback` when there is none.
int SettingNumber(const Settings& settings, const char* key, int fallback);
// The window's size and place kept under window.*, both programs alike; false
// when no size is kept (x and y are -1 when no place is).
bool SettingsWindowPlace(const Settings& settings, WindowPlace& place);
