// The editor's settings file: its keys, reading them and writing back what changed.
#include "editor/settings.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "common/settings_file.h"
#include "toolkit/window_mode.h"

namespace editor {

static const char SETTINGS_FILE[] = "pelorin-editor.conf";

static const SettingRow EDITOR_SETTINGS[] = {
    {"window", "width", 1, 32767}, {"window", "height", 1, 32767}, {"window", "x", -32768, 32767},
    {"window", "y", -32768, 32767}, {"files", "folder", 1, 0},
};

static std::string settingsPath;                 // "" when there is no file to keep
static Settings settingsInFile;                  // as read, then as last written
static Settings settingsAtStart;                 // once the window is up
static std::set<std::string> settingsOverridden; // keys -geometry set for this run
static bool settingsKept;
static bool startNoted;
static std::string lastFolder;

void ResetEditorSettingsState()
{
    settingsPath.clear();
    settingsInFile.clear();
    settingsAtStart.clear();
    settingsOverridden.clear();
    settingsKept = false;
    startNoted = false;
    lastFolder.clear();
}

void LoadEditorSettings()
{
    std::string path = SettingsPath(SETTINGS_FILE);
    if (path.empty())
        return;
    std::string error;
    if (LoadSettings(path, EDITOR_SETTINGS, sizeof EDITOR_SETTINGS / sizeof EDITOR_SETTINGS[0], settingsInFile,
                     error) == SETTINGS_DAMAGED) {
        fprintf(stderr, "%s\n", error.c_str());
        return;
    }
    auto folder = settingsInFile.find("files.folder");
    if (folder != settingsInFile.end())
        lastFolder = folder->second;
    settingsPath = path;
}

bool EditorSettingsWindow(WindowPlace& place)
{
    return SettingsWindowPlace(settingsInFile, place);
}

std::string LastFolder()
{
    return lastFolder;
}

void NoteLandscapeFile(const char* path)
{
    char* absolute = realpath(path, nullptr);
    if (!absolute)
        return;
    std::string file = absolute;
    free(absolute);
    size_t slash = file.rfind('/');
    lastFolder = slash == 0 ? "/" : file.substr(0, slash);
}

static Settings CurrentSettings()
{
    Settings now;
    bool fullScreen = false;
    WindowPlace place = CurrentWindowPlace(fullScreen);
    now["window.width"] = std::to_string(place.width);
    now["window.height"] = std::to_string(place.height);
    now["window.x"] = std::to_string(place.x);
    now["window.y"] = std::to_string(place.y);
    if (!lastFolder.empty())
        now["files.folder"] = lastFolder;
    return now;
}

void KeepEditorSettings(bool geometry)
{
    if (settingsPath.empty())
        return;
    if (geometry)
        settingsOverridden = {"window.width", "window.height", "window.x", "window.y"};
    settingsKept = true;
}

void NoteEditorSettingsStart()
{
    if (!settingsKept || startNoted)
        return;
    settingsAtStart = CurrentSettings();
    startNoted = true;
}

void SaveEditorSettingsIfChanged()
{
    if (!settingsKept)
        return;
    NoteEditorSettingsStart();
    Settings kept = SettingsToKeep(settingsInFile, settingsAtStart, CurrentSettings(), settingsOverridden);
    if (kept == settingsInFile)
        return;
    std::string error;
    if (!SaveSettings(settingsPath, kept, error)) {
        fprintf(stderr, "%s\n", error.c_str());
        settingsKept = false;
        return;
    }
    settingsInFile = kept;
}

} // namespace editor
