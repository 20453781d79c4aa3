// The shared random generator, height colour rule, window options and
// screenshot files, and the settings file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "common/height_colour.h"
#include "common/random.h"
#include "common/screenshot.h"
#include "common/settings_file.h"
#include "common/window_options.h"
#include "landscape-tool/png_io.h"

TEST(NextRandom, StartsFromStateOneWithTheKnownSequence)
{
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected)
        EXPECT_EQ(NextRandom(), value);
    for (int i = 0; i < 100000; i++) {
        int r = NextRandom();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
}

TEST(HeightColour, GroundAtZeroAndBelow)
{
    for (float h : {0.0f, -5.0f}) {
        Colour3 c = HeightColour(h);
        EXPECT_EQ(c.r, 0.3f);
        EXPECT_EQ(c.g, 0.5f);
        EXPECT_EQ(c.b, 0.1f);
    }
}

TEST(HeightColour, BlendsTowardsThePeakAndGoesOnPast8000)
{
    Colour3 c = HeightColour(8000);
    EXPECT_FLOAT_EQ(c.r, 0.65f);
    EXPECT_FLOAT_EQ(c.g, 0.16f);
    EXPECT_FLOAT_EQ(c.b, 0.16f);
    c = HeightColour(4000);
    EXPECT_FLOAT_EQ(c.r, 0.475f);
    EXPECT_FLOAT_EQ(c.g, 0.33f);
    EXPECT_FLOAT_EQ(c.b, 0.13f);
    c = HeightColour(16000);
    EXPECT_NEAR(c.r, 1.0f, 1e-6);
    EXPECT_NEAR(c.g, -0.18f, 1e-6);
    EXPECT_NEAR(c.b, 0.22f, 1e-6);
}

TEST(WindowOptions, GeometryGetsTheStartSizeWhereItNamesNone)
{
    const struct {
        const char* given;
        const char* made;
    } cases[] = {
        {"1280x960", "1280x960"},          {"1024x768+10-20", "1024x768+10-20"}, {"=800X600", "800x600"},
        {"+100+50", "640x480+100+50"},     {"-0-0", "640x480-0-0"},           {"1024", "1024x480"},
        {"x300+5+5", "640x300+5+5"},       {"0x0", "640x480"},                 {"40000x40000", "640x480"},
        {"big", "640x480"},                {"800x600+1+2junk", "640x480"},     {"", "640x480"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GeometryWithSize(c.given, 640, 480), c.made) << c.given;

    char prog[] = "pelorin", opt[] = "-geometry", place[] = "+7+8", full[] = "--fullscreen", file[] = "a.dmf";
    char* argv[] = {prog, opt, place, full, file, full, nullptr};
    int argc = 6;
    std::string storage;
    CompleteGeometryOption(argc, argv, 640, 480, storage);
    EXPECT_STREQ(argv[2], "640x480+7+8");
    EXPECT_TRUE(TakeOption(argc, argv, "--fullscreen"));
    ASSERT_EQ(argc, 4);
    EXPECT_STREQ(argv[3], "a.dmf");
    EXPECT_EQ(argv[4], nullptr);
    EXPECT_FALSE(TakeOption(argc, argv, "--fullscreen"));
}

static std::string ScratchFolder()
{
    char dir[] = "/tmp/pelorin-shots.XXXXXX";
    EXPECT_NE(mkdtemp(dir), nullptr);
    return dir;
}

TEST(Screenshot, FolderFromTheVariableThePicturesFolderOrHome)
{
    std::string home = ScratchFolder(), config = home + "/config";
    EXPECT_EQ(ScreenshotFolder("/shots", home.c_str(), nullptr), "/shots");
    // No pictures folder yet: home.
    EXPECT_EQ(ScreenshotFolder("", home.c_str(), nullptr), home);
    mkdir((home + "/Pictures").c_str(), 0700);
    EXPECT_EQ(ScreenshotFolder(nullptr, home.c_str(), nullptr), home + "/Pictures");
    // user-dirs.dirs names another, as xdg-user-dir reads it.
    mkdir(config.c_str(), 0700);
    std::ofstream(config + "/user-dirs.dirs") << "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                                << "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
    EXPECT_EQ(PicturesFolder(home.c_str(), config.c_str()), home + "/Bilder");
    EXPECT_EQ(ScreenshotFolder(nullptr, home.c_str(), config.c_str()), home);
    mkdir((home + "/Bilder").c_str(), 0700);
    EXPECT_EQ(ScreenshotFolder(nullptr, home.c_str(), config.c_str()), home + "/Bilder");
}

TEST(Screenshot, NewFileEveryTimeNeverReplacingOne)
{
    std::string folder = ScratchFolder();
    struct tm when = {};
    when.tm_year = 126, when.tm_mon = 11, when.tm_mday = 7, when.tm_hour = 9, when.tm_min = 5, when.tm_sec = 3;
    // Red, green on top; blue, white below.
    std::vector<uint8_t> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    std::ofstream(folder + "/pelorin-20261207-090503.png") << "not ours";
    std::string path;
    ASSERT_TRUE(SaveScreenshotIn(folder, when, 2, 2, rgb, path)) << path;
    EXPECT_EQ(path, folder + "/pelorin-20261207-090503-2.png");
    ASSERT_TRUE(SaveScreenshotIn(folder + "/", when, 2, 2, rgb, path)) << path;
    EXPECT_EQ(path, folder + "/pelorin-20261207-090503-3.png");
    std::ifstream kept(folder + "/pelorin-20261207-090503.png");
    std::string old((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
    EXPECT_EQ(old, "not ours");
    GreyImage image;
    std::string error;
    ASSERT_TRUE(ReadGreyPng(path.c_str(), image, error)) << error;
    ASSERT_EQ(image.width, 2);
    ASSERT_EQ(image.height, 2);
    EXPECT_NEAR(image.samples[0], 0.2126 * 65535, 2);
    EXPECT_NEAR(image.samples[2], 0.0722 * 65535, 2);

    // A folder that is not one, or is missing: the reason, and no file.
    std::string notFolder = folder + "/pelorin-20261207-090503.png";
    EXPECT_FALSE(SaveScreenshotIn(notFolder, when, 2, 2, rgb, path));
    EXPECT_EQ(path, notFolder + ": Not a directory");
    EXPECT_FALSE(SaveScreenshotIn(folder + "/missing", when, 2, 2, rgb, path));
    EXPECT_EQ(path, folder + "/missing: No such file or directory");

    // The key's whole path: rows turned top first, the line on standard output.
    setenv("PELORIN_SCREENSHOTS", folder.c_str(), 1);
    testing::internal::CaptureStdout();
    EXPECT_TRUE(SaveScreenshot(2, 2, rgb));
    std::string line = testing::internal::GetCapturedStdout();
    setenv("PELORIN_SCREENSHOTS", notFolder.c_str(), 1);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(SaveScreenshot(2, 2, rgb));
    std::string refused = testing::internal::GetCapturedStdout();
    unsetenv("PELORIN_SCREENSHOTS");
    ASSERT_EQ(line.compare(0, 18, "Screenshot saved: "), 0) << line;
    ASSERT_TRUE(ReadGreyPng(line.substr(18, line.size() - 19).c_str(), image, error)) << error;
    EXPECT_NEAR(image.samples[0], 0.0722 * 65535, 2);
    EXPECT_EQ(refused, "Screenshot not saved: " + notFolder + ": Not a directory\n");
}

// The settings file: where it lives, what reading makes of each kind of file,
// and what is written back when an option overrode a value for one run.
TEST(SettingsFile, ReadWriteAndOverride)
{
    char dir[] = "/tmp/pelorin-settings-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string base = dir;
    // Put back for the cases that run after this one in the same process.
    const char* oldHome = getenv("HOME");
    const char* oldConfig = getenv("XDG_CONFIG_HOME");
    std::string home = oldHome ? oldHome : "", config = oldConfig ? oldConfig : "";
    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    setenv("HOME", dir, 1);
    EXPECT_EQ(SettingsPath("a.conf"), base + "/.config/pelorin/a.conf");
    setenv("XDG_CONFIG_HOME", dir, 1);
    const std::string path = SettingsPath("a.conf");
    EXPECT_EQ(path, base + "/pelorin/a.conf");
    oldHome ? setenv("HOME", home.c_str(), 1) : unsetenv("HOME");
    oldConfig ? setenv("XDG_CONFIG_HOME", config.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");

    const SettingRow rows[] = {{"sound", "volume", 0, 100}, {"files", "folder", 1, 0}};
    struct Case {
        const char* name;
        const char* text; // null: no file; "/": a folder in its place
        SettingsLoad load;
        const char* got;  // the settings read, or the error's end
    } cases[] = {
        {"absent", nullptr, SETTINGS_ABSENT, ""},
        {"read", "[sound]\nvolume = 30\n; a comment\n[files]\nfolder = /a b\n[new]\nkey = kept\n", SETTINGS_READ,
         "files.folder=/a b new.key=kept sound.volume=30 "},
        {"not ini", "[sound]\nvolume = 30\nthis is no setting\n", SETTINGS_DAMAGED, "a.conf:3: not understood"},
        {"bad value", "[sound]\nvolume = 300\n", SETTINGS_DAMAGED, "a.conf:2: not understood"},
        {"not a number", "[sound]\nvolume = 3O\n", SETTINGS_DAMAGED, "a.conf:2: not understood"},
        {"unreadable", "/", SETTINGS_DAMAGED, "a.conf: not a regular file"},
    };
    for (const Case& c : cases) {
        std::string folder = base + "/pelorin";
        mkdir(folder.c_str(), 0755);
        rmdir(path.c_str());
        unlink(path.c_str());
        if (c.text && std::string(c.text) == "/")
            mkdir(path.c_str(), 0755);
        else if (c.text)
            std::ofstream(path) << c.text;
        Settings settings;
        std::string error;
        EXPECT_EQ(LoadSettings(path, rows, 2, settings, error), c.load) << c.name;
        std::string got;
        for (const auto& entry : settings)
            got += entry.first + "=" + entry.second + " ";
        if (c.load == SETTINGS_DAMAGED) {
            EXPECT_EQ(error.rfind(path, 0), 0u) << c.name << ": " << error;
            EXPECT_NE(error.find(c.got + 0), std::string::npos) << c.name << ": " << error;
            EXPECT_TRUE(settings.empty()) << c.name;
        } else {
            EXPECT_EQ(got, c.got) << c.name;
        }
    }

    // Written whole into a folder made for it, and read back as written.
    rmdir(path.c_str());
    rmdir((base + "/pelorin").c_str());
    Settings file = {{"sound.volume", "30"}, {"new.key", "kept"}};
    std::string error;
    ASSERT_TRUE(SaveSettings(path, file, error)) << error;
    Settings back;
    EXPECT_EQ(LoadSettings(path, rows, 2, back, error), SETTINGS_READ);
    EXPECT_EQ(back, file);

    // --volume 10 for this run: the file keeps 30 until the game changes the
    // volume; what the game changed is written, unknown keys stay.
    Settings start = {{"sound.volume", "10"}, {"display.view", "1"}};
    Settings now = start;
    now["display.view"] = "2";
    Settings kept = SettingsToKeep(file, start, now, {"sound.volume"});
    EXPECT_EQ(kept, (Settings{{"sound.volume", "30"}, {"new.key", "kept"}, {"display.view", "2"}}));
    now["sound.volume"] = "55";
    EXPECT_EQ(SettingsToKeep(file, start, now, {"sound.volume"})["sound.volume"], "55");
    EXPECT_EQ(SettingsToKeep({}, start, start, {"sound.volume"}), (Settings{{"display.view", "1"}}));
    unlink(path.c_str());
    rmdir((base + "/pelorin").c_str());
    rmdir(dir);
}
