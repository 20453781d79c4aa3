// The settings file: where it lives, reading it with libinih, writing it carefully.
#include "common/settings_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ini.h>
#include <sys/stat.h>

#include "common/careful_save.h"

std::string SettingsPath(const char* file)
{
    const char* config = getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config && config[0] == '/') {
        folder = config;
    } else {
        const char* home = getenv("HOME");
        if (!home || home[0] != '/')
            return "";
        folder = std::string(home) + "/.config";
    }
    return folder + "/pelorin/" + file;
}

namespace {

struct Reading {
    const SettingRow* rows;
    int count;
    Settings* settings;
};

// The whole text a whole number from `min` to `max`.
bool InRange(const char* text, int min, int max)
{
    if (!(text[0] == '-' || (text[0] >= '0' && text[0] <= '9')))
        return false;
    char* end = nullptr;
    errno = 0;
    long value = strtol(text, &end, 10);
    return errno == 0 && *end == '\0' && value >= min && value <= max;
}

// libinih's handler: a nonzero return keeps the line; zero marks it damaged.
int TakeSetting(void* user, const char* section, const char* key, const char* value)
{
    Reading& reading = *(Reading*)user;
    for (int i = 0; i < reading.count; i++) {
        const SettingRow& row = reading.rows[i];
        if (strcmp(row.section, section) == 0 && strcmp(row.key, key) == 0 && row.min <= row.max &&
            !InRange(value, row.min, row.max))
            return 0;
    }
    (*reading.settings)[std::string(section) + "." + key] = value;
    return 1;
}

bool WriteSettings(FILE* out, const void* data)
{
    const Settings& settings = *(const Settings*)data;
    fputs("# Pelorin keeps its settings here; it rewrites the file when they change.\n", out);
    std::string section = "\1";
    for (const auto& entry : settings) {
        // A line end in a value would make a line of its own: such a value is not kept.
        if (entry.second.find_first_of("\r\n") != std::string::npos)
            continue;
        size_t dot = entry.first.find('.');
        std::string name = entry.first.substr(0, dot);
        if (name != section) {
            section = name;
            fprintf(out, "\n[%s]\n", section.c_str());
        }
        fprintf(out, "%s = %s\n", entry.first.substr(dot + 1).c_str(), entry.second.c_str());
    }
    return !ferror(out);
}

// Makes every folder of `path` up to its last slash.
bool MakeFolders(const std::string& path, std::string& error)
{
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        std::string folder = path.substr(0, slash);
        if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
            error = folder + ": cannot make the settings folder: " + strerror(errno);
            return false;
        }
    }
    return true;
}

} // namespace

SettingsLoad LoadSettings(const std::string& path, const SettingRow* rows, int count, Settings& settings,
                          std::string& error)
{
    settings.clear();
    struct stat info;
    if (stat(path.c_str(), &info) != 0 && errno == ENOENT)
        return SETTINGS_ABSENT;
    FILE* in = fopen(path.c_str(), "r");
    if (!in || fstat(fileno(in), &info) != 0 || !S_ISREG(info.st_mode)) {
        error = path + ": " + (in ? "not a regular file" : strerror(errno)) +
                "; settings at their defaults for this run";
        if (in)
            fclose(in);
        return SETTINGS_DAMAGED;
    }
    Reading reading = {rows, count, &settings};
    int line = ini_parse_file(in, TakeSetting, &reading);
    bool readError = ferror(in);
    fclose(in);
    if (line == 0 && !readError)
        return SETTINGS_READ;
    settings.clear();
    if (line > 0)
        error = path + ":" + std::to_string(line) + ": not understood; settings at their defaults for this run";
    else
        error = path + ": cannot be read; settings at their defaults for this run";
    return SETTINGS_DAMAGED;
}

bool SaveSettings(const std::string& path, const Settings& settings, std::string& error)
{
    if (!MakeFolders(path, error))
        return false;
    SaveContent content = {WriteSettings, &settings, "the settings"};
    return SaveFileCarefully(path.c_str(), content, error);
}

Settings SettingsToKeep(const Settings& file, const Settings& start, const Settings& now,
                        const std::set<std::string>& overridden)
{
    Settings kept = file;
    for (const auto& entry : now) {
        auto atStart = start.find(entry.first);
        bool changed = atStart == start.end() || atStart->second != entry.second;
        if (overridden.count(entry.first) && !changed)
            continue;
        kept[entry.first] = entry.second;
    }
    return kept;
}

int SettingNumber(const Settings& settings, const char* key, int fallback)
{
    auto found = settings.find(key);
    return found == settings.end() ? fallback : atoi(found->second.c_str());
}

bool SettingsWindowPlace(const Settings& settings, WindowPlace& place)
{
    if (!settings.count("window.width") || !settings.count("window.height"))
        return false;
    place.width = SettingNumber(settings, "window.width", 0);
    place.height = SettingNumber(settings, "window.height", 0);
    place.x = SettingNumber(settings, "window.x", -1);
    place.y = SettingNumber(settings, "window.y", -1);
    return true;
}
