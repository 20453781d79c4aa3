// The landscape file reader: layouts, short and broken files, sizes, locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/landscape_reader.h"
#include "common/landscape_writer.h"

namespace {

// Decodes `text` and returns what the reader printed.
std::string Decode(const std::string& text, LandscapeGrid& grid, bool* accepted = nullptr)
{
    char* buffer = nullptr;
    size_t length = 0;
    FILE* echo = open_memstream(&buffer, &length);
    bool ok = DecodeLandscape(text.data(), text.size(), "test.dmf", grid, echo);
    fclose(echo);
    std::string out(buffer, length);
    free(buffer);
    if (accepted)
        *accepted = ok;
    return out;
}

} // namespace

TEST(LandscapeReader, ReadsBackWhatTheWriterWrote)
{
    const int n = 41;
    std::vector<int> heights(n * n);
    for (int i = 0; i < n * n; i++)
        heights[i] = (i * 7919) % 8000;
    char* buffer = nullptr;
    size_t length = 0;
    FILE* out = open_memstream(&buffer, &length);
    ASSERT_TRUE(WriteLandscape(out, n, n, heights.data()));
    fclose(out);
    std::string text(buffer, length);
    free(buffer);

    LandscapeGrid grid;
    std::string echo = Decode(text, grid);
    EXPECT_EQ(echo.substr(0, echo.find('\n') + 1), "41.000000 41.000000 50.000000 0.000000 0.000000\n");
    ASSERT_EQ(grid.size, n);
    ASSERT_EQ(grid.heights.size(), (size_t)(n * n));
    for (int i = 0; i < n * n; i++)
        ASSERT_EQ(grid.heights[i], (float)heights[i]) << "at " << i;
    EXPECT_EQ(grid.errorLines, 0);
    // A writer's file ends with a line end, so the reader never meets the end.
    EXPECT_EQ(echo.find("ERROR!"), std::string::npos);
}

TEST(LandscapeReader, ReadsAFileFromDisk)
{
    std::string path = testing::TempDir() + "landscape_reader_disk.dmf";
    const int heights[9] = {0, 1, 2, 3, 4000, 5, 6, 7, 8};
    std::string error;
    ASSERT_TRUE(SaveLandscapeFile(path.c_str(), 3, 3, heights, error)) << error;
    LandscapeGrid grid;
    ASSERT_TRUE(ReadLandscape(path.c_str(), grid, nullptr));
    EXPECT_EQ(grid.size, 3);
    EXPECT_EQ(grid.heights[4], 4000.0f);
    remove(path.c_str());
    EXPECT_FALSE(ReadLandscape(path.c_str(), grid, nullptr)) << "a missing file reads as nothing";
    EXPECT_EQ(grid.size, 0);
}

TEST(LandscapeReader, LayoutDoesNotMatter)
{
    const std::string canonical = "3 3 50.000000 0.000000 0.000000\n1 2 3 \n4 5 6 \n7 8 9 \n";
    const char* layouts[] = {
        "3 3 50 0 0 1 2 3 4 5 6 7 8 9 ",
        "3 3\n50.0 0\n0\n1 2 3\n4 5 6\n7 8 9\n",
        "3 3 50 0 0\r\n1 2 3 \r\n4 5 6 \r\n7 8 9 \r\n",
        "3\t3\t50\t0\t0\n1\t2\t3\n\t4\t5\t6\n7\t8\t9\t\n",
        "  \v\f3 3 50 0 0\n\n\n1 2 3\n4 5 6\n7 8 9 10 11 12\n",
        "3.9 7 50 0 0 1 2 3 4 5 6 7 8 9\n",
    };
    LandscapeGrid expected;
    std::string expectedEcho = Decode(canonical, expected);
    for (const char* text : layouts) {
        LandscapeGrid grid;
        std::string echo = Decode(text, grid);
        EXPECT_EQ(grid.size, 3) << text;
        EXPECT_EQ(grid.heights, expected.heights) << text;
        EXPECT_EQ(grid.errorLines, 0) << text;
        // Only the header echo may differ (3.9 and 7 in the last layout).
        EXPECT_EQ(echo.substr(echo.find('\n')), expectedEcho.substr(expectedEcho.find('\n'))) << text;
    }
}

TEST(LandscapeReader, ShortAndBrokenFilesPrintTheExactLines)
{
    struct Case {
        const char* text;
        const char* echo;
        std::vector<float> heights;
    };
    const std::string header = "2.000000 2.000000 0.000000 0.000000 0.000000\n";
    const Case cases[] = {
        // The last number runs into the end: every later read is after it.
        {"2 2 0 0 0\n1 2", "1.000000\n2.000000\nERROR!\n0.000000\nERROR!\n0.000000\n", {1, 2, 0, 0}},
        // A trailing blank: the read that meets the end prints nothing.
        {"2 2 0 0 0\n1 2 \n", "1.000000\n2.000000\n0.000000\nERROR!\n0.000000\n", {1, 2, 0, 0}},
        // A token that is not a number stops every later read, silently.
        {"2 2 0 0 0\n1 x 3 4\n", "1.000000\n0.000000\n0.000000\n0.000000\n", {1, 0, 0, 0}},
        {"2 2 0 0 0 1 x", "1.000000\n0.000000\n0.000000\n0.000000\n", {1, 0, 0, 0}},
        // Reals, exponents, extra numbers ignored.
        {"2 2 0 0 0 12.75 1e3 -4 0.5 99 98", "12.750000\n1000.000000\n-4.000000\n0.500000\n", {12.75f, 1000, -4, 0.5f}},
        // Non-finite values echo as read and count as ground level.
        {"2 2 0 0 0 nan inf -inf 1e999", "nan\ninf\n-inf\ninf\n", {0, 0, 0, 0}},
        // Decimal commas are not numbers here: "50" then ",5" stops the reads.
        {"2 2 0 0 0 1,5 2 3 4", "1.000000\n0.000000\n0.000000\n0.000000\n", {1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        LandscapeGrid grid;
        std::string echo = Decode(c.text, grid);
        EXPECT_EQ(echo, header + c.echo) << c.text;
        EXPECT_EQ(grid.heights, c.heights) << c.text;
    }
}

TEST(LandscapeReader, TwoHeaderNumbersShiftEveryHeight)
{
    LandscapeGrid grid;
    std::string echo = Decode("3 3\n1 2 3\n4 5 6\n7 8 9\n", grid);
    EXPECT_EQ(echo.substr(0, echo.find('\n') + 1), "3.000000 3.000000 1.000000 2.000000 3.000000\n");
    EXPECT_EQ(grid.heights, (std::vector<float>{4, 5, 6, 7, 8, 9, 0, 0, 0}));
    // The seventh read meets the end after the last line end; two follow it.
    EXPECT_EQ(grid.errorLines, 2);
}

TEST(LandscapeReader, GridSizes)
{
    struct Case {
        const char* first;
        bool accepted;
        int size;
    };
    const Case cases[] = {
        {"3", true, 3},           {"3.9", true, 3},          {"2", true, 2},
        {"1.9", true, 1},         {"1", true, 1},            {"0.5", true, 0},
        {"0", true, 0},           {"-0.5", true, 0},         {"-5", true, 0},
        {"-1e9", true, 0},        {"-2147483649", true, 0},  {"-inf", false, 0},
        {"2049", true, 2049},     {"2049.9", true, 2049},    {"2050", false, 0},
        {"1e9", false, 0},        {"2147483648", false, 0},  {"4294967299", false, 0},
        {"1e999", false, 0},      {"inf", false, 0},         {"nan", false, 0},
        // No size at all keeps the terrain, silently.
        {"x", false, 0},
    };
    for (const Case& c : cases) {
        std::string text = std::string(c.first) + " 3 50 0 0\n1 2 3 4 5 6 7 8 9\n";
        LandscapeGrid grid;
        testing::internal::CaptureStderr();
        bool accepted = DecodeLandscape(text.data(), text.size(), "sizes.dmf", grid, nullptr);
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(accepted, c.accepted) << c.first;
        EXPECT_EQ(grid.size, c.size) << c.first;
        EXPECT_EQ(grid.heights.size(), (size_t)c.size * (size_t)c.size) << c.first;
        if (c.accepted) {
            EXPECT_EQ(err, "") << c.first;
        } else if (*c.first == 'x') {
            EXPECT_EQ(err, "") << c.first;
        } else {
            // One line, naming the file.
            EXPECT_EQ(err.rfind("sizes.dmf: grid size ", 0), 0u) << err;
            EXPECT_EQ(err.find('\n'), err.size() - 1) << err;
        }
    }
}

TEST(LandscapeReader, ScannerStopsWhereStrtodWould)
{
    struct Case {
        const char* text;
        bool ok;
        float value;
        size_t end;
        bool atEnd;
    };
    const Case cases[] = {
        {"  42 ", true, 42, 4, false},     {"42", true, 42, 2, true},        {"0x10 ", true, 16, 4, false},
        {"0x ", true, 0, 1, false},        {"1e ", true, 1, 1, false},       {"1e+5 ", true, 1e5f, 4, false},
        {".5 ", true, 0.5f, 2, false},     {"5. ", true, 5, 2, false},       {"- ", false, 0, 0, false},
        {"-", false, 0, 0, true},          {"   ", false, 0, 3, true},      {"+7 ", true, 7, 2, false},
        {"INFINITY ", true, INFINITY, 8, false}, {"infin ", true, INFINITY, 3, false},
        {"1e-999 ", true, 0, 6, false},    {"x1 ", false, 0, 0, false},
    };
    for (const Case& c : cases) {
        size_t pos = 0;
        bool atEnd = false;
        float value = 0;
        std::string text = c.text;
        EXPECT_EQ(ScanLandscapeNumber(text.data(), text.size(), pos, atEnd, value), c.ok) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(pos, c.end) << c.text;
        EXPECT_EQ(atEnd, c.atEnd) << c.text;
    }
}

TEST(LandscapeReader, DecimalPointWhateverTheLocale)
{
    const char* commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"};
    const char* found = nullptr;
    for (const char* name : commaLocales)
        if (setlocale(LC_NUMERIC, name)) {
            found = name;
            break;
        }
    if (!found) {
        // None installed: compile one for this test alone from the system's
        // locale sources.
        char dir[] = "/tmp/pelorin-locale.XXXXXX";
        ASSERT_TRUE(mkdtemp(dir));
        std::string command = std::string("localedef -i de_DE -f UTF-8 ") + dir + "/de_DE.UTF-8 >/dev/null 2>&1";
        if (system(command.c_str()) == 0) {
            setenv("LOCPATH", dir, 1);
            if (setlocale(LC_NUMERIC, "de_DE.UTF-8"))
                found = "de_DE.UTF-8";
        }
        std::string cleanup = std::string("rm -rf ") + dir;
        (void)!system(cleanup.c_str());
    }
    if (!found)
        GTEST_SKIP() << "no locale with a decimal comma is installed and none could be made";
    ASSERT_STREQ(localeconv()->decimal_point, ",");
    std::string text = "2 2 50.000000 0.000000 0.000000\n12.5 1 2 3\n";
    LandscapeGrid grid;
    ASSERT_TRUE(DecodeLandscape(text.data(), text.size(), "locale.dmf", grid, nullptr));
    setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(grid.header[2], 50.0f);
    EXPECT_EQ(grid.heights[0], 12.5f);
}
