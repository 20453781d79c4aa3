// The landscape writer: the exact bytes, and saves that fail without harming
// the file they were meant to replace.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

const char* TWO_BY_TWO = "2 2 50.000000 0.000000 0.000000\n5 6 \n7 8 \n";

TEST(WriterSave, ALinkIsFollowedAndItsTargetReplacedWithItsOwnerAndPermissions)
{
    std::string dir = MakeTempDir();
    ASSERT_EQ(mkdir((dir + "/real").c_str(), 0755), 0);
    std::string target = dir + "/real/land.dmf", link = dir + "/land.dmf";
    WriteAll(target, "old\n");
    chmod(target.c_str(), 0604);
    // Only a privileged run can hand the file to someone else.
    bool chowned = chown(target.c_str(), 4242, 4343) == 0;
    // Relative, so it must be read from the link's folder, not the current one.
    ASSERT_EQ(symlink("real/land.dmf", link.c_str()), 0);
    int heights[4] = {5, 6, 7, 8};
    std::string error;
    ASSERT_TRUE(SaveLandscapeFile(link.c_str(), 2, 2, heights, error)) << error;
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadAll(target), TWO_BY_TWO);
    ASSERT_EQ(stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    if (chowned) {
        EXPECT_EQ(st.st_uid, 4242u);
        EXPECT_EQ(st.st_gid, 4343u);
    }
    EXPECT_EQ(DirEntries(dir + "/real"), std::vector<std::string>{"land.dmf"});
}

TEST(WriterSave, EveryHardLinkSeesTheNewLandscape)
{
    std::string dir = MakeTempDir();
    std::string a = dir + "/a.dmf", b = dir + "/b.dmf";
    WriteAll(a, "old\n");
    ASSERT_EQ(link(a.c_str(), b.c_str()), 0);
    int heights[4] = {5, 6, 7, 8};
    std::string error;
    ASSERT_TRUE(SaveLandscapeFile(a.c_str(), 2, 2, heights, error)) << error;
    EXPECT_EQ(ReadAll(b), TWO_BY_TWO);
    struct stat st;
    ASSERT_EQ(stat(a.c_str(), &st), 0);
    EXPECT_EQ(st.st_nlink, 2u);
}

TEST(WriterSave, AWritableFileInAReadOnlyFolderIsWrittenInPlace)
{
    std::string dir = MakeTempDir();
    std::string path = dir + "/land.dmf";
    WriteAll(path, "old\n");
    chmod(path.c_str(), 0666);
    chmod(dir.c_str(), 0555);
    // Root may create files in any folder, so a privileged run saves from a
    // child that has given up its privileges, to meet the folder as a user
    // would.
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const unsigned NOBODY = 65534;
        if (geteuid() == 0 && (setgid(NOBODY) != 0 || setuid(NOBODY) != 0))
            _exit(2);
        if (access(dir.c_str(), W_OK) == 0)
            _exit(3);
        int heights[4] = {5, 6, 7, 8};
        std::string error;
        bool saved = SaveLandscapeFile(path.c_str(), 2, 2, heights, error);
        if (!saved)
            fprintf(stderr, "%s\n", error.c_str());
        _exit(saved ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    chmod(dir.c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "running as root and cannot give up root";
    ASSERT_NE(WEXITSTATUS(status), 3) << "the folder was writable after all";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadAll(path), TWO_BY_TWO);
    EXPECT_EQ(DirEntries(dir), std::vector<std::string>{"land.dmf"});
}

// A process reading the named pipe `fifo` into the file `copy`: to the end,
// or only until the first bytes when `quitEarly`. The read end is opened
// before this returns, so a writer finds it there.
static pid_t StartPipeReader(const std::string& fifo, const std::string& copy, bool quitEarly)
{
    int in = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    EXPECT_GE(in, 0);
    pid_t pid = fork();
    if (pid == 0) {
        int out = open(copy.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        char buffer[4096];
        size_t got = 0;
        // Until a writer opens the pipe a read says end of file; ten seconds
        // at most.
        for (int idle = 0; idle < 10000;) {
            ssize_t n = read(in, buffer, sizeof buffer);
            if (n > 0) {
                got += (size_t)n;
                if (write(out, buffer, (size_t)n) != n || quitEarly)
                    _exit(0);
            } else if (n == 0 && got > 0) {
                _exit(0);
            } else {
                usleep(1000);
                idle++;
            }
        }
        _exit(1);
    }
    close(in);
    return pid;
}

TEST(WriterSave, ANamedPipeIsWrittenToItsReaderAndAMissingOrVanishingReaderIsReported)
{
    std::string dir = MakeTempDir();
    std::string fifo = dir + "/pipe.dmf", copy = dir + "/copy";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    int heights[4] = {5, 6, 7, 8};
    std::string error;
    bool touched = true;
    // Nobody reading: refused at once rather than waiting for ever.
    EXPECT_FALSE(SaveLandscapeFile(fifo.c_str(), 2, 2, heights, error, &touched));
    EXPECT_NE(error.find("nothing is reading"), std::string::npos) << error;
    EXPECT_FALSE(touched);

    pid_t reader = StartPipeReader(fifo, copy, false);
    EXPECT_TRUE(SaveLandscapeFile(fifo.c_str(), 2, 2, heights, error)) << error;
    int status = 0;
    ASSERT_EQ(waitpid(reader, &status, 0), reader);
    EXPECT_EQ(ReadAll(copy), TWO_BY_TWO);
    struct stat st;
    ASSERT_EQ(lstat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    // A reader that leaves after the first bytes of a landscape far larger
    // than the pipe holds: a failure to report, not a signal that ends us.
    std::vector<int> big(1000 * 1000, 8000);
    reader = StartPipeReader(fifo, copy, true);
    EXPECT_FALSE(SaveLandscapeFile(fifo.c_str(), 1000, 1000, big.data(), error, &touched));
    EXPECT_NE(error.find("Broken pipe"), std::string::npos) << error;
    EXPECT_TRUE(touched);
    ASSERT_EQ(waitpid(reader, &status, 0), reader);
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
    rlimit old_limit;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    rlimit limit = {1000, old_limit.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    std::vector<int> heights(41 * 41, 8000);
    std::string error;
    EXPECT_FALSE(SaveLandscapeFile(path.c_str(), 41, 41, heights.data(), error));
    setrlimit(RLIMIT_FSIZE, &old_limit);
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(DirEntries(dir), std::vector<std::string>{"landscape.dmf"});
}
