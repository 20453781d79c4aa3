// The SGI reader on hand-made files: what it must decode, and the damaged or
// hostile headers, tables and packets it must refuse without touching memory
// outside its buffers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "sim/assets/sgi_image.h"
#include "tools/sgi_writer.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A picture whose every byte says where it came from.
SgiPicture Pattern(int width, int height, int channels)
{
    SgiPicture p;
    p.width = width;
    p.height = height;
    p.channels = channels;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
            for (int z = 0; z < channels; z++)
                p.pixels.push_back((unsigned char)(x * 7 + y * 31 + z * 64));
    return p;
}

struct Decoded {
    bool ok = false;
    int width = -1, height = -1;
    Bytes pixels;
};

Decoded Decode(const Bytes& file, bool wantAlpha)
{
    Decoded d;
    unsigned char* pixels = DecodeSgiImage(file.data(), file.size(), &d.width, &d.height, wantAlpha);
    if (pixels) {
        d.ok = true;
        d.pixels.assign(pixels, pixels + (size_t)d.width * d.height * (wantAlpha ? 4 : 3));
        free(pixels);
    }
    return d;
}

void Put16(Bytes& b, size_t at, unsigned v)
{
    b[at] = (unsigned char)(v >> 8);
    b[at + 1] = (unsigned char)v;
}

void Put32(Bytes& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        b[at + i] = (unsigned char)(v >> (24 - 8 * i));
}

// A run-length file with one channel-row per (y, z) given as raw packet bytes,
// each placed where `starts` says (0 = right after the tables, in order).
Bytes RleFile(int width, int height, int channels, const std::vector<Bytes>& rows)
{
    Bytes b(512, 0);
    Put16(b, 0, SGI_MAGIC);
    Put16(b, 2, 0x0101);
    Put16(b, 4, 3);
    Put16(b, 6, (unsigned)width);
    Put16(b, 8, (unsigned)height);
    Put16(b, 10, (unsigned)channels);
    size_t n = rows.size(), tables = b.size();
    b.resize(tables + 8 * n);
    for (size_t i = 0; i < n; i++) {
        Put32(b, tables + 4 * i, (uint32_t)b.size());
        Put32(b, tables + 4 * (n + i), (uint32_t)rows[i].size());
        b.insert(b.end(), rows[i].begin(), rows[i].end());
    }
    return b;
}

TEST(SgiReader, VerbatimThreeChannelsReadAsRgbaGetsOpaqueAlpha)
{
    SgiPicture p = Pattern(5, 3, 3);
    Decoded d = Decode(EncodeSgi(p, false), true);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.width, 5);
    EXPECT_EQ(d.height, 3);
    for (size_t i = 0; i < 15; i++) {
        EXPECT_EQ(d.pixels[4 * i], p.pixels[3 * i]);
        EXPECT_EQ(d.pixels[4 * i + 1], p.pixels[3 * i + 1]);
        EXPECT_EQ(d.pixels[4 * i + 2], p.pixels[3 * i + 2]);
        EXPECT_EQ(d.pixels[4 * i + 3], 255);
    }
}

TEST(SgiReader, BothStorageFormsAndChannelCountsRoundTrip)
{
    for (bool rle : {false, true})
        for (int channels : {3, 4})
            for (bool wantAlpha : {false, true}) {
                SgiPicture p = Pattern(300, 7, channels); // rows longer than one packet
                Decoded d = Decode(EncodeSgi(p, rle), wantAlpha);
                ASSERT_TRUE(d.ok) << rle << channels << wantAlpha;
                int out = wantAlpha ? 4 : 3;
                bool same = true;
                for (size_t i = 0; i < 300 * 7; i++)
                    for (int z = 0; z < out; z++) {
                        int want = z < channels ? p.pixels[i * channels + z] : 255;
                        same = same && d.pixels[i * out + z] == want;
                    }
                EXPECT_TRUE(same) << "rle " << rle << " channels " << channels << " alpha " << wantAlpha;
            }
}

TEST(SgiReader, RowsComeInFileOrderUnflipped)
{
    SgiPicture p = Pattern(2, 4, 3);
    Decoded d = Decode(EncodeSgi(p, true), false);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(Bytes(d.pixels.begin(), d.pixels.begin() + 6), Bytes(p.pixels.begin(), p.pixels.begin() + 6));
}

TEST(SgiReader, PacketsRepeatCopyAndEnd)
{
    // One 8-pixel row per channel: repeat 5 x 0x2A, copy 3 bytes, end.
    // Channel 1 ends with 0x80 (a literal packet of zero bytes) instead.
    Bytes red = {0x05, 0x2A, 0x83, 1, 2, 3, 0x00, 0x01, 0x99};
    Bytes green = {0x88, 10, 11, 12, 13, 14, 15, 16, 17, 0x80, 0x01, 0x99};
    Bytes blue = {0x08, 0x07};
    Decoded d = Decode(RleFile(8, 1, 3, {red, green, blue}), false);
    ASSERT_TRUE(d.ok);
    const unsigned char wantRed[8] = {0x2A, 0x2A, 0x2A, 0x2A, 0x2A, 1, 2, 3};
    for (int x = 0; x < 8; x++) {
        EXPECT_EQ(d.pixels[3 * x], wantRed[x]);
        EXPECT_EQ(d.pixels[3 * x + 1], 10 + x);
        EXPECT_EQ(d.pixels[3 * x + 2], 7);
    }
}

TEST(SgiReader, ShortRowLeavesTheRestZero)
{
    Decoded d = Decode(RleFile(4, 1, 3, {{0x02, 9, 0}, {0x04, 8, 0}, {0x04, 7, 0}}), false);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.pixels, (Bytes{9, 8, 7, 9, 8, 7, 0, 8, 7, 0, 8, 7}));
}

TEST(SgiReader, TablesMayReorderReuseAndPointFarIntoTheFile)
{
    // Two rows of three channels: rows stored back to front after a gap that
    // pushes offsets past 65535, and all of channel 2 sharing one row.
    const int width = 3, height = 2, channels = 3;
    Bytes b = RleFile(width, height, channels, {});
    Put16(b, 8, height);
    Put16(b, 10, channels);
    const size_t n = height * channels, tables = 512;
    b.resize(tables + 8 * n + 70000, 0xEE);
    auto addRow = [&](size_t index, Bytes row) {
        Put32(b, tables + 4 * index, (uint32_t)b.size());
        Put32(b, tables + 4 * (n + index), (uint32_t)row.size());
        b.insert(b.end(), row.begin(), row.end());
    };
    for (int i = (int)n - 1; i >= 0; i--)
        if (i / height != 2)
            addRow(i, {0x03, (unsigned char)(10 * i + 1), 0});
    size_t shared = b.size();
    b.insert(b.end(), {0x83, 5, 6, 7, 0});
    for (int y = 0; y < height; y++) {
        Put32(b, tables + 4 * (2 * height + y), (uint32_t)shared);
        Put32(b, tables + 4 * (n + 2 * height + y), 5);
    }
    Decoded d = Decode(b, false);
    ASSERT_TRUE(d.ok);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const unsigned char* px = &d.pixels[(y * width + x) * 3];
            EXPECT_EQ(px[0], 10 * y + 1);
            EXPECT_EQ(px[1], 10 * (height + y) + 1);
            EXPECT_EQ(px[2], 5 + x);
        }
}

TEST(SgiReader, OpenAcceptsGreyButTheImageReadRefusesIt)
{
    for (int channels : {1, 2, 5}) {
        SgiPicture p = Pattern(4, 4, channels);
        Bytes file = EncodeSgi(p, true);
        SgiImage* image = OpenSgiImageMemory(file.data(), file.size());
        ASSERT_NE(image, nullptr);
        CloseSgiImage(image);
        Decoded d = Decode(file, true);
        EXPECT_FALSE(d.ok) << channels << " channels";
        EXPECT_EQ(d.width, 4);
    }
}

TEST(SgiReader, RowIndexOutsideTheImageIsRefused)
{
    Bytes file = EncodeSgi(Pattern(4, 2, 3), false);
    SgiImage* image = OpenSgiImageMemory(file.data(), file.size());
    ASSERT_NE(image, nullptr);
    unsigned char row[4];
    EXPECT_TRUE(ReadSgiRow(image, row, 1, 2));
    EXPECT_FALSE(ReadSgiRow(image, row, 2, 0));
    EXPECT_FALSE(ReadSgiRow(image, row, 0, 3));
    EXPECT_FALSE(ReadSgiRow(image, row, -1, 0));
    CloseSgiImage(image);
}

// Each case damages a valid file; every one must be refused cleanly.
struct Damage {
    const char* what;
    bool rle;
    void (*apply)(Bytes& file);
};

const size_t TABLES = 512;
// The valid base is 4 x 2 pixels, 3 channels: six rows in the tables.
const size_t ROWS = 6;

const Damage DAMAGES[] = {
    {"empty file", false, [](Bytes& f) { f.clear(); }},
    {"ends inside the first 12 bytes", false, [](Bytes& f) { f.resize(11); }},
    {"ends inside the header", true, [](Bytes& f) { f.resize(300); }},
    {"wrong magic", false, [](Bytes& f) { Put16(f, 0, 475); }},
    {"not an image at all", false, [](Bytes& f) { for (size_t i = 0; i < 12; i++) f[i] = "P6\n4 2\n255\n "[i]; }},
    {"two bytes per channel", false, [](Bytes& f) { Put16(f, 2, 0x0002); }},
    {"two bytes per channel, rle", true, [](Bytes& f) { Put16(f, 2, 0x0102); }},
    {"unknown storage", false, [](Bytes& f) { Put16(f, 2, 0x0201); }},
    {"zero width", false, [](Bytes& f) { Put16(f, 6, 0); }},
    {"zero height", true, [](Bytes& f) { Put16(f, 8, 0); }},
    {"zero channels", false, [](Bytes& f) { Put16(f, 10, 0); }},
    {"65535 x 65535 x 4 verbatim", false, [](Bytes& f) { Put16(f, 6, 65535); Put16(f, 8, 65535); Put16(f, 10, 4); }},
    {"65535 x 65535 x 4 rle", true, [](Bytes& f) { Put16(f, 6, 65535); Put16(f, 8, 65535); Put16(f, 10, 4); }},
    {"verbatim shorter than its planes", false, [](Bytes& f) { f.pop_back(); }},
    {"verbatim claims more rows", false, [](Bytes& f) { Put16(f, 8, 3); }},
    {"tables cut short", true, [](Bytes& f) { f.resize(TABLES + 8 * ROWS - 1); }},
    {"more rows than the tables hold", true, [](Bytes& f) { Put16(f, 8, 200); }},
    {"start beyond the file", true, [](Bytes& f) { Put32(f, TABLES + 4, (uint32_t)f.size() + 1); }},
    {"ends inside a row", true, [](Bytes& f) { f.pop_back(); }},
    {"start and length wrap 32 bits", true,
     [](Bytes& f) { Put32(f, TABLES, 0xFFFFFFF0u); Put32(f, TABLES + 4 * ROWS, 0x20); }},
    {"length of 4 GiB", true, [](Bytes& f) { Put32(f, TABLES + 4 * ROWS, 0xFFFFFFFFu); }},
    {"row length above the row buffer", true, [](Bytes& f) {
         // 4 pixels allow 1024 bytes; point a 1025-byte row at real data.
         f.resize(f.size() + 1100, 0);
         Put32(f, TABLES + 4 * ROWS, 1025);
     }},
    {"repeat run past the row", true, [](Bytes& f) {
         uint32_t start = (uint32_t)f.size();
         f.insert(f.end(), {0x05, 1, 0});
         Put32(f, TABLES, start);
         Put32(f, TABLES + 4 * ROWS, 3);
     }},
    {"literal run past the row", true, [](Bytes& f) {
         uint32_t start = (uint32_t)f.size();
         f.insert(f.end(), {0x83, 1, 2, 3, 0x82, 4, 5, 0});
         Put32(f, TABLES, start);
         Put32(f, TABLES + 4 * ROWS, 8);
     }},
    {"literal packet cut by the row length", true, [](Bytes& f) {
         uint32_t start = (uint32_t)f.size();
         f.insert(f.end(), {0x84, 1, 2, 3, 4, 0});
         Put32(f, TABLES, start);
         Put32(f, TABLES + 4 * ROWS, 3);
     }},
    {"repeat packet without its byte", true, [](Bytes& f) {
         uint32_t start = (uint32_t)f.size();
         f.insert(f.end(), {0x04});
         Put32(f, TABLES, start);
         Put32(f, TABLES + 4 * ROWS, 1);
     }},
};

TEST(SgiReader, DamagedFilesAreRefused)
{
    for (const Damage& damage : DAMAGES) {
        Bytes file = EncodeSgi(Pattern(4, 2, 3), damage.rle);
        ASSERT_TRUE(Decode(file, true).ok) << damage.what;
        damage.apply(file);
        EXPECT_FALSE(Decode(file, true).ok) << damage.what;
        EXPECT_FALSE(Decode(file, false).ok) << damage.what;
    }
}

TEST(SgiReader, FilesOnDiskDecodeLikeMemoryAndMissingOnesAreRefused)
{
    std::string dir = testing::TempDir();
    int width = 0, height = 0;
    EXPECT_EQ(ReadSgiRgb((dir + "/no-such-image.rgb").c_str(), &width, &height), nullptr);
    EXPECT_EQ(ReadSgiRgb(dir.c_str(), &width, &height), nullptr); // a directory

    for (bool damaged : {false, true}) {
        SgiPicture p = Pattern(9, 5, 4);
        Bytes file = EncodeSgi(p, true);
        if (damaged)
            file.resize(file.size() - 3);
        std::string path = dir + "/sgi_reader_test.rgba";
        FILE* out = fopen(path.c_str(), "wb");
        ASSERT_NE(out, nullptr);
        fwrite(file.data(), 1, file.size(), out);
        fclose(out);
        unsigned char* pixels = ReadSgiRgba(path.c_str(), &width, &height);
        Decoded d = Decode(file, true);
        ASSERT_EQ(pixels != nullptr, d.ok);
        ASSERT_EQ(d.ok, !damaged);
        if (pixels) {
            EXPECT_EQ(Bytes(pixels, pixels + 9 * 5 * 4), d.pixels);
            EXPECT_EQ(d.pixels, p.pixels);
        }
        free(pixels);
        remove(path.c_str());
    }
}

} // namespace
