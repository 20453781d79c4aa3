// The data readers open only regular files: a pipe in place of a data file
// must not block the program at start, nor a device feed it forever.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "common/landscape_reader.h"
#include "common/regular_file.h"
#include "sim/assets/sgi_image.h"

TEST(RegularFile, OnlyOrdinaryFilesOpen)
{
    char dir[] = "/tmp/pelorin-regular.XXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    std::string fifo = std::string(dir) + "/pipe";
    std::string plain = std::string(dir) + "/plain";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    FILE* f = fopen(plain.c_str(), "w");
    ASSERT_TRUE(f);
    fputs("2 2 0 0 0 1 2 3 4\n", f);
    fclose(f);

    // No writer is on the pipe: a blocking open would never return.
    EXPECT_EQ(OpenRegularFile(fifo.c_str(), "r"), nullptr);
    EXPECT_EQ(OpenRegularFile("/dev/zero", "rb"), nullptr);
    EXPECT_EQ(OpenRegularFile(dir, "r"), nullptr);
    EXPECT_EQ(OpenRegularFile((std::string(dir) + "/missing").c_str(), "r"), nullptr);
    FILE* ok = OpenRegularFile(plain.c_str(), "r");
    ASSERT_NE(ok, nullptr);
    char line[64] = {0};
    EXPECT_TRUE(fgets(line, sizeof line, ok));
    EXPECT_STREQ(line, "2 2 0 0 0 1 2 3 4\n");
    fclose(ok);

    LandscapeGrid grid;
    EXPECT_FALSE(ReadLandscape(fifo.c_str(), grid, nullptr));
    EXPECT_FALSE(ReadLandscape("/dev/zero", grid, nullptr));
    EXPECT_TRUE(ReadLandscape(plain.c_str(), grid, nullptr));
    EXPECT_EQ(grid.size, 2);
    EXPECT_EQ(OpenSgiImage(fifo.c_str()), nullptr);
    EXPECT_EQ(OpenSgiImage("/dev/zero"), nullptr);

    unlink(fifo.c_str());
    unlink(plain.c_str());
    rmdir(dir);
}
