// The simulator's settings file: the keys it keeps, reading them into the
// game, and writing back what the game changed.
#include "sim/shell/settings.h"

#include <atomic>
#include <cstdio>
#include <set>
#include <string>
#include <thread>

#include "common/settings_file.h"
#include "sim/shell/sound_feed.h"
#include "toolkit/window_mode.h"
#include "sim/view/view_state.h"

static const char SETTINGS_FILE[] = "pelorin.conf";

// One row per kept value; its reading and writing are in ApplyToGame and CurrentSettings.
static const SettingRow SIM_SETTINGS[] = {
    {"sound", "volume", 0, 100},
    {"sound", "mute", 0, 1},
    {"display", "view", VIEW_COCKPIT, VIEW_ORBIT},
    {"display", "classic", 0, 1},
    {"console", "quiet", 0, 1},
    {"window", "width", 1, 32767},
    {"window", "height", 1, 32767},
    {"window", "x", -32768, 32767},
    {"window", "y", -32768, 32767},
    {"window", "fullscreen", 0, 1},
};

static std::string settingsPath;    // "" when there is no file to keep
static Settings settingsInFile;     // as read, then as last written
static Settings settingsAtStart;    // the game's own values once the options were applied
static std::set<std::string> settingsOverridden; // keys an option set for this run
static bool settingsKept;           // live play: the file follows the game
static bool startNoted;             // settingsAtStart taken
static std::thread writer;          // the last write, while it runs
static std::atomic<bool> writeFailed; // a write failed: no more are tried

void ResetSettingsState()
{
    settingsPath.clear();
    settingsInFile.clear();
    settingsAtStart.clear();
    settingsOverridden.clear();
    settingsKept = false;
    startNoted = false;
    if (writer.joinable())
        writer.join();
    writeFailed = false;
}

void LoadSimSettings()
{
    std::string path = SettingsPath(SETTINGS_FILE);
    if (path.empty())
        return;
    std::string error;
    switch (LoadSettings(path, SIM_SETTINGS, sizeof SIM_SETTINGS / sizeof SIM_SETTINGS[0], settingsInFile, error)) {
    case SETTINGS_DAMAGED:
        fprintf(stderr, "%s\n", error.c_str());
        return;
    case SETTINGS_ABSENT:
        break;
    case SETTINGS_READ:
        soundVolume = SettingNumber(settingsInFile, "sound.volume", soundVolume);
        soundOn = !SettingNumber(settingsInFile, "sound.mute", !soundOn);
        viewMode = SettingNumber(settingsInFile, "display.view", viewMode);
        classicDisplay = SettingNumber(settingsInFile, "display.classic", classicDisplay);
        quietConsole = SettingNumber(settingsInFile, "console.quiet", quietConsole);
        break;
    }
    settingsPath = path;
}

bool SettingsWindow(WindowPlace& place, bool& fullScreen)
{
    fullScreen = SettingNumber(settingsInFile, "window.fullscreen", 0) != 0;
    return SettingsWindowPlace(settingsInFile, place);
}

// The kept values as the game has them now.
static Settings CurrentSettings()
{
    Settings now;
    now["sound.volume"] = std::to_string(soundVolume);
    now["sound.mute"] = std::to_string(soundOn ? 0 : 1);
    now["display.view"] = std::to_string(viewMode);
    now["display.classic"] = std::to_string(classicDisplay);
    now["console.quiet"] = std::to_string(quietConsole);
    bool fullScreen = false;
    WindowPlace place = CurrentWindowPlace(fullScreen);
    now["window.width"] = std::to_string(place.width);
    now["window.height"] = std::to_string(place.height);
    now["window.x"] = std::to_string(place.x);
    now["window.y"] = std::to_string(place.y);
    now["window.fullscreen"] = std::to_string(fullScreen ? 1 : 0);
    return now;
}

void KeepSimSettings(const SimOptions& options)
{
    if (settingsPath.empty())
        return;
    if (options.mute)
        settingsOverridden.insert("sound.mute");
    if (options.volume >= 0)
        settingsOverridden.insert("sound.volume");
    if (options.quiet)
        settingsOverridden.insert("console.quiet");
    if (options.classic)
        settingsOverridden.insert("display.classic");
    if (options.fullScreen)
        settingsOverridden.insert("window.fullscreen");
    if (options.geometry)
        settingsOverridden.insert({"window.width", "window.height", "window.x", "window.y"});
    settingsKept = true;
}

void SaveSimSettingsIfChanged(bool instantReplay)
{
    if (!settingsKept || instantReplay)
        return;
    // The start is taken at the first look, a second in, when the window
    // stands where the window manager put it; before it is shown its place
    // is not known.
    if (!startNoted) {
        settingsAtStart = CurrentSettings();
        startNoted = true;
    }
    Settings kept = SettingsToKeep(settingsInFile, settingsAtStart, CurrentSettings(), settingsOverridden);
    if (kept == settingsInFile || writeFailed)
        return;
    // The careful save waits for the disk (fsync), which a busy machine can
    // make last hundreds of milliseconds: it runs beside the game, one
    // write at a time, the newest values last.
    if (writer.joinable())
        writer.join();
    settingsInFile = kept;
    writer = std::thread([kept] {
        std::string error;
        if (!SaveSettings(settingsPath, kept, error)) {
            // One line is enough: the run goes on without trying again.
            fprintf(stderr, "%s\n", error.c_str());
            writeFailed = true;
        }
    });
}

void FinishSimSettings()
{
    // Every way to the game's end puts the live game back first.
    SaveSimSettingsIfChanged(false);
    if (writer.joinable())
        writer.join();
}
