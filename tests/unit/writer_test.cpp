// The landscape writer: the exact bytes, and saves that fail without harming
// the file they were meant to replace.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "common/landscape_writer.h"

static std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

static void WriteAll(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

static std::string MakeTempDir()
{
    char dir[] = "/tmp/pelorin-writer.XXXXXX";
    EXPECT_NE(mkdtemp(dir), nullptr);
    return dir;
}

static std::vector<std::string> DirEntries(const std::string& dir)
{
    std::vector<std::string> names;
    DIR* d = opendir(dir.c_str());
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n != "." && n != "..")
            names.push_back(n);
    }
    closedir(d);
    return names;
}

static std::string WriteToString(int sizeX, int sizeY, const int* heights)
{
    FILE* f = tmpfile();
    EXPECT_TRUE(WriteLandscape(f, sizeX, sizeY, heights));
    std::string text;
    rewind(f);
    for (int ch; (ch = fgetc(f)) != EOF;)
        text += (char)ch;
    fclose(f);
    return text;
}

TEST(WriterFormat, SmallGridIsLineMajorWithATrailingBlankOnEveryLine)
{
    int heights[9] = {0, 1, 2, 30, 40, 50, 600, 7000, 80000};
    EXPECT_EQ(WriteToString(3, 3, heights), "3 3 50.000000 0.000000 0.000000\n"
                                            "0 1 2 \n"
                                            "30 40 50 \n"
                                            "600 7000 80000 \n");
}

TEST(WriterFormat, BothLoopsAreBoundedByTheFirstDimension)
{
    int heights[4] = {1, 2, 3, 4};
    EXPECT_EQ(WriteToString(2, 5, heights), "2 5 50.000000 0.000000 0.000000\n1 2 \n3 4 \n");
}

TEST(WriterFormat, AFullDeviceIsReportedByTheWriterItself)
{
    FILE* f = fopen("/dev/full", "w");
    ASSERT_NE(f, nullptr);
    std::vector<int> heights(41 * 41, 0);
    EXPECT_FALSE(WriteLandscape(f, 41, 41, heights.data()));
    fclose(f);
}

TEST(WriterSave, ReplacesAnExistingFileKeepingItsPermissionsAndLeavesNoTemporary)
{
    std::string dir = MakeTempDir();
    std::string path = dir + "/land.dmf";
    WriteAll(path, "old contents\n");
    chmod(path.c_str(), 0640);
    int heights[4] = {5, 6, 7, 8};
    std::string error;
    ASSERT_TRUE(SaveLandscapeFile(path.c_str(), 2, 2, heights, error)) << error;
    EXPECT_EQ(ReadAll(path), "2 2 50.000000 0.000000 0.000000\n5 6 \n7 8 \n");
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(DirEntries(dir), std::vector<std::string>{"land.dmf"});
}

TEST(WriterSave, FailuresNameTheFileAndLeaveTheDirectoryAsItWas)
{
    std::string dir = MakeTempDir();
    std::string subdir = dir + "/sub";
    ASSERT_EQ(mkdir(subdir.c_str(), 0755), 0);
    int heights[4] = {1, 2, 3, 4};
    struct Case {
        const char* what;
        std::string path;
    } cases[] = {
        {"directory missing", dir + "/missing/land.dmf"},
        {"target is a directory", subdir},
        {"empty name", dir + "/"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(SaveLandscapeFile(c.path.c_str(), 2, 2, heights, error)) << c.what;
        EXPECT_NE(error.find(c.path), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
    }
    EXPECT_EQ(DirEntries(dir), std::vector<std::string>{"sub"});
    EXPECT_TRUE(DirEntries(subdir).empty());
}

TEST(WriterSave, AWriteThatFailsHalfWayKeepsTheOldFileWhole)
{
    std::string dir = MakeTempDir();
    std::string path = dir + "/landscape.dmf";
    std::string old = "3 3 50.000000 0.000000 0.000000\n1 2 3 \n4 5 6 \n7 8 9 \n";
    WriteAll(path, old);
    // Files may grow to 1000 bytes only, far less than a 41 x 41 landscape of
    // four-digit heights: the write fails part way, as on a full disk.
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit = {1000, 1000};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    std::vector<int> heights(41 * 41, 8000);
    std::string error;
    EXPECT_FALSE(SaveLandscapeFile(path.c_str(), 41, 41, heights.data(), error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(DirEntries(dir), std::vector<std::string>{"landscape.dmf"});
}
