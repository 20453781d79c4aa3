// pelorin-landscape: import orientation and scale, resampling, the round
// trip through a 16-bit picture, what info counts, and refused inputs.
#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <png.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "landscape-tool/commands.h"
#include "landscape-tool/flight_map.h"
#include "landscape-tool/landscape_info.h"
#include "landscape-tool/resample.h"
#include "sim/assets/display_lists.h"
#include "sim/landscape/terrain.h"

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string MakeTempDir()
{
    char dir[] = "/tmp/pelorin-landscape-tool.XXXXXX";
    EXPECT_NE(mkdtemp(dir), nullptr);
    return dir;
}

int EntryCount(const std::string& dir)
{
    int count = 0;
    DIR* d = opendir(dir.c_str());
    while (dirent* e = readdir(d))
        count += e->d_name[0] != '.';
    closedir(d);
    return count;
}

// An 8-bit grey PNG written by libpng itself, rows top first.
void WriteGreyPng(const std::string& path, int width, int height, const std::vector<uint8_t>& pixels)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_GRAY;
    ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr));
}

int RunTool(std::vector<std::string> args)
{
    args.insert(args.begin(), "pelorin-landscape");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(&a[0]);
    return RunLandscapeTool((int)argv.size(), argv.data());
}

} // namespace

TEST(LandscapeTool, ImportPlacesEveryPixelByTheEditorsAxes)
{
    std::string dir = MakeTempDir();
    std::string png = dir + "/hand.png", dmf = dir + "/hand.dmf";
    WriteGreyPng(png, 3, 3, {10, 20, 30, 40, 50, 60, 70, 80, 90});
    // Image column = file line; the bottom row comes first in each line.
    ASSERT_EQ(RunTool({"import", png, "-o", dmf, "--size", "3", "--height", "255", "--keep-border"}), 0);
    EXPECT_EQ(ReadAll(dmf), "3 3 50.000000 0.000000 0.000000\n70 40 10 \n80 50 20 \n90 60 30 \n");
    // The default white is 8000 and the border ring goes to 0.
    ASSERT_EQ(RunTool({"import", png, "-o", dmf, "--size", "3"}), 0);
    EXPECT_EQ(ReadAll(dmf), "3 3 50.000000 0.000000 0.000000\n0 0 0 \n0 1569 0 \n0 0 0 \n");
}

TEST(LandscapeTool, ResamplesByAreaWhenShrinkingAndBilinearWhenGrowing)
{
    GreyImage four;
    four.width = four.height = 4;
    four.samples = {0, 4, 8, 12, 4, 8, 12, 16, 100, 100, 0, 0, 100, 100, 0, 0};
    EXPECT_EQ(ResampleImage(four, 2), (std::vector<float>{4, 12, 100, 0}));
    GreyImage two;
    two.width = two.height = 2;
    two.samples = {0, 40, 80, 120};
    EXPECT_EQ(ResampleImage(two, 3), (std::vector<float>{0, 20, 40, 40, 60, 80, 80, 100, 120}));
}

TEST(LandscapeTool, Grey16ExportThenImportGivesTheSameFile)
{
    std::string dir = MakeTempDir();
    std::string original = std::string(PELORIN_SOURCE_DIR) + "/data/landscape.dmf";
    ASSERT_EQ(RunTool({"export", original, "-o", dir + "/grey.png", "--grey16"}), 0);
    ASSERT_EQ(RunTool({"import", dir + "/grey.png", "-o", dir + "/back.dmf", "--size", "41", "--height", "65535",
                   "--keep-border"}),
              0);
    EXPECT_EQ(ReadAll(dir + "/back.dmf"), ReadAll(original));

    // An export is saved as a landscape is: a link stays a link and the file
    // it names takes the image, which every hard link of that file sees.
    ASSERT_EQ(mkdir((dir + "/real").c_str(), 0755), 0);
    WriteAll(dir + "/real/map.png", "old");
    ASSERT_EQ(symlink("real/map.png", (dir + "/map.png").c_str()), 0);
    ASSERT_EQ(link((dir + "/real/map.png").c_str(), (dir + "/hard.png").c_str()), 0);
    ASSERT_EQ(RunTool({"export", original, "-o", dir + "/map.png"}), 0);
    struct stat st;
    ASSERT_EQ(lstat((dir + "/map.png").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadAll(dir + "/hard.png").substr(1, 3), "PNG");
    EXPECT_EQ(ReadAll(dir + "/hard.png"), ReadAll(dir + "/real/map.png"));
}

TEST(LandscapeTool, InfoCountsWhatTheSimulatorWould)
{
    struct Case {
        const char* text;
        bool sizeRead, refused;
        size_t heightsRead;
        int errorLines;
        size_t raised;
    } cases[] = {
        {"2 2 50 0 0\n1 -2 nan 8000\n", true, false, 4, 0, 2},
        {"3 3 50 0 0\n1 2 3 4", true, false, 4, 5, 5}, // past the end: ERROR! for each of the last five
        {"2 2 50 0 0\n1 x 3 4\n", true, false, 1, 0, 3}, // the scan sticks at x
        {"2050 2050 50 0 0\n", true, true, 0, 0, 0},
        {"inf 2 50 0 0\n", true, true, 0, 0, 0},
        {"", false, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        LandscapeInfo info = AnalyseLandscape(c.text);
        EXPECT_EQ(info.sizeRead, c.sizeRead) << c.text;
        EXPECT_EQ(info.refused, c.refused) << c.text;
        EXPECT_EQ(info.heightsRead, c.heightsRead) << c.text;
        EXPECT_EQ(info.grid.errorLines, c.errorLines) << c.text;
        EXPECT_EQ(info.raised, c.raised) << c.text;
    }
    std::string report = FormatLandscapeInfo("x.dmf", AnalyseLandscape(""));
    EXPECT_NE(report.find("no grid size could be read"), std::string::npos);
    // From 258 points a side the drawn tile 0 reaches back under the aircraft's start.
    EXPECT_NE(FormatLandscapeInfo("x", AnalyseLandscape("257")).find("start point: off"), std::string::npos);
    EXPECT_NE(FormatLandscapeInfo("x", AnalyseLandscape("258")).find("start point: on"), std::string::npos);
}

TEST(LandscapeTool, BadInputFailsWithOneLineAndNoFile)
{
    std::string dir = MakeTempDir();
    std::vector<uint8_t> pattern(64 * 64);
    for (size_t i = 0; i < pattern.size(); i++)
        pattern[i] = (uint8_t)(i * 37 % 251);
    WriteGreyPng(dir + "/good.png", 64, 64, pattern);
    std::string good = ReadAll(dir + "/good.png");
    WriteAll(dir + "/cut.png", good.substr(0, good.size() / 2));
    WriteAll(dir + "/text.png", "41 41 50 0 0\n");
    // A pipe nobody writes to: opening it as a file would hang.
    ASSERT_EQ(mkfifo((dir + "/pipe").c_str(), 0600), 0);
    std::string landscape = std::string(PELORIN_SOURCE_DIR) + "/data/landscape.dmf";
    std::string out = dir + "/out";
    struct Case {
        std::vector<std::string> args;
        std::string named, reason;
    } cases[] = {
        {{"import", dir + "/none.png", "-o", out}, dir + "/none.png", "No such file"},
        {{"import", dir + "/cut.png", "-o", out}, dir + "/cut.png", "truncated"},
        {{"import", dir + "/text.png", "-o", out}, dir + "/text.png", "not a PNG image"},
        {{"import", dir + "/good.png", "-o", out, "--size", "1"}, dir + "/good.png", "2 to 2049"},
        {{"import", dir + "/good.png", "-o", out, "--size", "2050"}, dir + "/good.png", "2 to 2049"},
        {{"import", dir + "/good.png", "-o", dir + "/no/out"}, dir + "/no/out", "cannot create"},
        {{"export", landscape, "-o", dir + "/no/out"}, dir + "/no/out", "cannot create"},
        {{"export", dir + "/none.dmf", "-o", out}, dir + "/none.dmf", "No such file"},
        {{"import", dir + "/pipe", "-o", out}, dir + "/pipe", "not a regular file"},
        {{"info", dir + "/pipe"}, dir + "/pipe", "not a regular file"},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        int status = RunTool(c.args);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, 1) << c.args[1];
        EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
        EXPECT_EQ(err.rfind(c.named + ":", 0), 0u) << err;
        EXPECT_NE(err.find(c.reason), std::string::npos) << err;
        EXPECT_EQ(EntryCount(dir), 4) << "left a file behind: " << err;
    }
}

// The map's tile outlines lie where the simulator generates its tiles, and a
// track that is not the simulator's is refused by line.
TEST(LandscapeTool, MapTilesAndTracksAreTheSimulators)
{
    float x[SIM_TILE_COUNT], z[SIM_TILE_COUNT];
    TileCentres(x, z);
    testing::internal::CaptureStdout();
    SkipForestDraws();
    GenerateTerrainTiles();
    testing::internal::GetCapturedStdout();
    for (int k = 0; k < SIM_TILE_COUNT; k++) {
        EXPECT_EQ(x[k], terrainTiles[k].translateX) << k;
        EXPECT_EQ(z[k], terrainTiles[k].translateZ) << k;
    }
    std::vector<TrackRow> rows;
    std::string error;
    const std::string header = "time,x,y,z,heading,pitch,roll,speed,thrust,gear,on_ground,crashed\n";
    EXPECT_TRUE(ParseTrack(header + "0.00,3075.0,30.0,-9470.0,90.00,0.00,-0.00,0.00,0,1,1,0\n", rows, error));
    EXPECT_EQ(rows.size(), 1u);
    EXPECT_FALSE(ParseTrack(header + "0.00,3075.0,30.0\n", rows, error));
    EXPECT_EQ(error, "line 2 of the track is not a row of twelve numbers");
    EXPECT_FALSE(ParseTrack("x,y\n1,2\n", rows, error));
}
