// Replays every input that ever crashed a fuzzer of the SGI reader, and the
// seed corpus, so ordinary test runs (and the sanitizer build) keep them fixed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "sim/assets/sgi_image.h"

namespace {

namespace fs = std::filesystem;

// Decodes every file of a folder both ways; returns how many were decoded
// into an image (the rest were refused).
int ReplayFolder(const fs::path& folder, int& files)
{
    int decoded = 0;
    if (!fs::is_directory(folder))
        return 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        files++;
        for (bool wantAlpha : {false, true}) {
            int width = 0, height = 0;
            unsigned char* pixels = DecodeSgiImage(bytes.data(), bytes.size(), &width, &height, wantAlpha);
            if (pixels && wantAlpha)
                decoded++;
            free(pixels);
        }
    }
    return decoded;
}

TEST(SgiFuzzReplay, CrashInputsAreRefusedOrDecodedSafely)
{
    int files = 0;
    ReplayFolder(fs::path(PELORIN_TEST_DATA) / "fuzz-crashes" / "sgi", files);
    SUCCEED() << files << " kept inputs replayed";
}

TEST(SgiFuzzReplay, EverySeedDecodes)
{
    int files = 0;
    int decoded = ReplayFolder(fs::path(PELORIN_SOURCE_DIR) / "tests" / "fuzz" / "corpus" / "sgi", files);
    EXPECT_GT(files, 0);
    EXPECT_EQ(decoded, files);
}

} // namespace
