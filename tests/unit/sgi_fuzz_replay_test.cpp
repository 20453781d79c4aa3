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

// Decodes every file of a folder both ways. A file is refused or decoded to
// the size its header gives; `decoded` counts those decoded with alpha.
void ReplayFolder(const fs::path& folder, int& files, int& decoded)
{
    if (!fs::is_directory(folder))
        return;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        files++;
        for (bool wantAlpha : {false, true}) {
            int width = -1, height = -1;
            unsigned char* pixels = DecodeSgiImage(bytes.data(), bytes.size(), &width, &height, wantAlpha);
            if (pixels) {
                ASSERT_GE(bytes.size(), 12u) << entry.path();
                EXPECT_EQ(width, bytes[6] << 8 | bytes[7]) << entry.path();
                EXPECT_EQ(height, bytes[8] << 8 | bytes[9]) << entry.path();
                if (wantAlpha)
                    decoded++;
            }
            free(pixels);
        }
    }
}

// Every input that ever crashed a fuzzer of the reader stays refused or
// decoded within its size, and every seed of the fuzz corpus still decodes,
// so the fuzzer starts from images the reader takes.
TEST(SgiFuzzReplay, KeptCrashesAreSafeAndEverySeedDecodes)
{
    int crashes = 0, unused = 0;
    ReplayFolder(fs::path(PELORIN_TEST_DATA) / "fuzz-crashes" / "sgi", crashes, unused);
    int seeds = 0, decoded = 0;
    ReplayFolder(fs::path(PELORIN_SOURCE_DIR) / "tests" / "fuzz" / "corpus" / "sgi", seeds, decoded);
    EXPECT_GT(seeds, 0);
    EXPECT_EQ(decoded, seeds);
}

} // namespace
