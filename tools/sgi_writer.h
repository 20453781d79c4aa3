// A small SGI image writer for the tools that make and inspect images:
// one byte per channel, verbatim or run-length encoded, rows in the order
// given (row 0 is the bottom row, as OpenGL reads textures).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

// Interleaved pixels, `channels` bytes each, row 0 first.
struct SgiPicture {
    int width = 0, height = 0, channels = 3;
    std::vector<unsigned char> pixels;
};

inline void PutBigEndian16(std::vector<unsigned char>& out, size_t at, unsigned value)
{
    out[at] = (unsigned char)(value >> 8);
    out[at + 1] = (unsigned char)value;
}

inline void PutBigEndian32(std::vector<unsigned char>& out, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; i++)
        out[at + i] = (unsigned char)(value >> (24 - 8 * i));
}

// Packs one channel row into packets of at most 127 bytes: runs of three or
// more equal bytes as repeat packets, the rest as literal packets, then the
// terminating zero.
inline void EncodeSgiRow(const unsigned char* row, int width, std::vector<unsigned char>& out)
{
    int x = 0;
    while (x < width) {
        int run = 1;
        while (x + run < width && run < 127 && row[x + run] == row[x])
            run++;
        if (run >= 3) {
            out.push_back((unsigned char)run);
            out.push_back(row[x]);
            x += run;
            continue;
        }
        int start = x, count = 0;
        while (x < width && count < 127) {
            if (x + 2 < width && row[x] == row[x + 1] && row[x] == row[x + 2])
                break;
            x++;
            count++;
        }
        out.push_back((unsigned char)(0x80 | count));
        out.insert(out.end(), row + start, row + start + count);
    }
    out.push_back(0);
}

// The whole file in memory: 512-byte header, then planes or tables and rows.
inline std::vector<unsigned char> EncodeSgi(const SgiPicture& picture, bool rle)
{
    const int w = picture.width, h = picture.height, zs = picture.channels;
    std::vector<unsigned char> out(512, 0);
    PutBigEndian16(out, 0, 474);
    PutBigEndian16(out, 2, (rle ? 0x0100u : 0u) | 1u);
    PutBigEndian16(out, 4, zs == 1 ? 2 : 3);
    PutBigEndian16(out, 6, (unsigned)w);
    PutBigEndian16(out, 8, (unsigned)h);
    PutBigEndian16(out, 10, (unsigned)zs);
    PutBigEndian32(out, 16, 255); // PIXMAX
    std::vector<unsigned char> row((size_t)w);
    auto channelRow = [&](int y, int z) {
        for (int x = 0; x < w; x++)
            row[(size_t)x] = picture.pixels[((size_t)y * w + x) * zs + z];
    };
    if (!rle) {
        for (int z = 0; z < zs; z++)
            for (int y = 0; y < h; y++) {
                channelRow(y, z);
                out.insert(out.end(), row.begin(), row.end());
            }
        return out;
    }
    size_t rows = (size_t)h * zs;
    size_t tables = out.size();
    out.resize(tables + 8 * rows);
    for (int z = 0; z < zs; z++)
        for (int y = 0; y < h; y++) {
            size_t index = (size_t)z * h + y, start = out.size();
            channelRow(y, z);
            EncodeSgiRow(row.data(), w, out);
            PutBigEndian32(out, tables + 4 * index, (uint32_t)start);
            PutBigEndian32(out, tables + 4 * (rows + index), (uint32_t)(out.size() - start));
        }
    return out;
}

inline bool WriteSgiFile(const char* path, const SgiPicture& picture, bool rle)
{
    std::vector<unsigned char> bytes = EncodeSgi(picture, rle);
    FILE* file = fopen(path, "wb");
    if (!file)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}
