// SGI image reader: header, run-length tables and rows, checked against the
// length of the file so that a damaged or hostile file is refused, never
// decoded past a buffer or past the end of its data.
#include "sim/assets/sgi_image.h"

#include "common/regular_file.h"

#include <sys/types.h>

#include <cstdlib>
#include <cstring>

// One packet of two bytes yields at most 127 bytes, so no row length a
// genuine writer produces comes near this many bytes per pixel of a row.
static const uint64_t RLE_ROW_BYTES_PER_PIXEL = 256;
static const uint16_t STORAGE_VERBATIM = 0;
static const uint16_t STORAGE_RLE = 1;
static const uint16_t BYTES_PER_CHANNEL = 1;

// Memory exhaustion inside the reader is not something the game can recover
// from; the messages and status are the ones players and scripts expect.
static void OutOfMemory(const char* message)
{
    fputs(message, stderr);
    exit(1);
}

static uint16_t BigEndian16(const unsigned char* p)
{
    return (uint16_t)((p[0] << 8) | p[1]);
}

static uint32_t BigEndian32(const unsigned char* p)
{
    return ((uint32_t)p[0] << 24) | ((uint32_t)p[1] << 16) | ((uint32_t)p[2] << 8) | (uint32_t)p[3];
}

// Copies `count` bytes from `offset` of the source; false if any of them lies
// beyond the source's end or the read fails.
static bool ReadAt(SgiImage* image, uint64_t offset, void* destination, uint64_t count)
{
    if (offset > image->sourceLength || count > image->sourceLength - offset)
        return false;
    if (count == 0)
        return true;
    if (image->data) {
        memcpy(destination, image->data + offset, count);
        return true;
    }
    if (fseeko(image->file, (off_t)offset, SEEK_SET) != 0)
        return false;
    return fread(destination, 1, count, image->file) == count;
}

bool SgiIsRle(const SgiImage* image)
{
    return (image->storage & 0xFF00) == (STORAGE_RLE << 8);
}

// Reads and checks the header and tables of an image whose source is set.
// Every size is worked out in 64 bits and compared with the source length
// before anything is allocated for it.
static bool LoadSgiHeader(SgiImage* image)
{
    unsigned char header[12];
    if (!ReadAt(image, 0, header, sizeof header))
        return false;
    image->magic = BigEndian16(header);
    image->storage = BigEndian16(header + 2);
    image->dimension = BigEndian16(header + 4);
    image->xsize = BigEndian16(header + 6);
    image->ysize = BigEndian16(header + 8);
    image->zsize = BigEndian16(header + 10);

    uint16_t storageKind = image->storage >> 8;
    if (image->magic != SGI_MAGIC || (image->storage & 0xFF) != BYTES_PER_CHANNEL)
        return false;
    if (storageKind != STORAGE_VERBATIM && storageKind != STORAGE_RLE)
        return false;
    uint64_t xsize = image->xsize, ysize = image->ysize, zsize = image->zsize;
    if (xsize == 0 || ysize == 0 || zsize == 0 || xsize * ysize > SGI_MAX_PIXELS)
        return false;

    if (!SgiIsRle(image))
        return SGI_HEADER_BYTES + xsize * ysize * zsize <= image->sourceLength;

    uint64_t rows = ysize * zsize;
    if (SGI_HEADER_BYTES + 8 * rows > image->sourceLength)
        return false;
    unsigned char* table = (unsigned char*)malloc(8 * rows);
    image->rowStart = (uint32_t*)malloc(4 * rows);
    image->rowLength = (uint32_t*)malloc(4 * rows);
    if (!table || !image->rowStart || !image->rowLength)
        OutOfMemory("\nOut of memory!\n");
    bool ok = ReadAt(image, SGI_HEADER_BYTES, table, 8 * rows);
    uint64_t longestRow = 1;
    for (uint64_t i = 0; ok && i < rows; i++) {
        uint64_t start = BigEndian32(table + 4 * i);
        uint64_t length = BigEndian32(table + 4 * (rows + i));
        image->rowStart[i] = (uint32_t)start;
        image->rowLength[i] = (uint32_t)length;
        if (length > xsize * RLE_ROW_BYTES_PER_PIXEL || start + length > image->sourceLength)
            ok = false;
        if (length > longestRow)
            longestRow = length;
    }
    free(table);
    if (!ok)
        return false;
    // Sized by the longest row the file really holds, which the checks above
    // bound by both the file and xsize * 256.
    image->rowBuffer = (unsigned char*)malloc(longestRow);
    if (!image->rowBuffer)
        OutOfMemory("\nOut of memory!\n");
    return true;
}

static SgiImage* NewSgiImage()
{
    SgiImage* image = (SgiImage*)calloc(1, sizeof(SgiImage));
    if (!image)
        OutOfMemory("Out of memory!\n");
    return image;
}

SgiImage* OpenSgiImage(const char* fileName)
{
    SgiImage* image = NewSgiImage();
    image->file = OpenRegularFile(fileName, "rb");
    if (!image->file) {
        free(image);
        return nullptr;
    }
    off_t length = -1;
    if (fseeko(image->file, 0, SEEK_END) == 0)
        length = ftello(image->file);
    if (length < 0) {
        CloseSgiImage(image);
        return nullptr;
    }
    image->sourceLength = (uint64_t)length;
    if (!LoadSgiHeader(image)) {
        CloseSgiImage(image);
        return nullptr;
    }
    return image;
}

SgiImage* OpenSgiImageMemory(const unsigned char* data, size_t size)
{
    SgiImage* image = NewSgiImage();
    // A distinct non-null pointer keeps an empty block on the memory path.
    static const unsigned char EMPTY = 0;
    image->data = data ? data : &EMPTY;
    image->sourceLength = data ? size : 0;
    if (!LoadSgiHeader(image)) {
        CloseSgiImage(image);
        return nullptr;
    }
    return image;
}

bool ReadSgiRow(SgiImage* image, unsigned char* destination, int y, int z)
{
    if (y < 0 || y >= image->ysize || z < 0 || z >= image->zsize)
        return false;
    uint64_t xsize = image->xsize;
    uint64_t index = (uint64_t)z * image->ysize + (uint64_t)y;
    if (!SgiIsRle(image))
        return ReadAt(image, SGI_HEADER_BYTES + index * xsize, destination, xsize);

    uint64_t length = image->rowLength[index];
    if (!ReadAt(image, image->rowStart[index], image->rowBuffer, length))
        return false;
    memset(destination, 0, xsize);
    const unsigned char* packet = image->rowBuffer;
    const unsigned char* end = packet + length;
    uint64_t written = 0;
    while (packet < end) {
        unsigned char count = *packet++;
        uint64_t n = count & 0x7F;
        if (n == 0)
            break;
        if (n > xsize - written)
            return false;
        if (count & 0x80) {
            if (n > (uint64_t)(end - packet))
                return false;
            memcpy(destination + written, packet, n);
            packet += n;
        } else {
            if (packet == end)
                return false;
            memset(destination + written, *packet++, n);
        }
        written += n;
    }
    return true;
}

void CloseSgiImage(SgiImage* image)
{
    if (!image)
        return;
    if (image->file)
        fclose(image->file);
    free(image->rowBuffer);
    free(image->rowStart);
    free(image->rowLength);
    free(image);
}

// Decodes an open image into interleaved pixels and closes it.
static unsigned char* ReadSgiPixels(SgiImage* image, int* width, int* height, bool wantAlpha)
{
    if (!image)
        return nullptr;
    *width = image->xsize;
    *height = image->ysize;
    if (image->zsize != 3 && image->zsize != 4) {
        CloseSgiImage(image);
        return nullptr;
    }
    uint64_t xsize = image->xsize, ysize = image->ysize;
    uint64_t pixelBytes = wantAlpha ? 4 : 3;
    unsigned char* pixels = (unsigned char*)malloc(xsize * ysize * pixelBytes);
    unsigned char* channels = (unsigned char*)malloc(4 * xsize);
    bool ok = pixels && channels;
    for (uint64_t y = 0; ok && y < ysize; y++) {
        unsigned char* channel[4] = {channels, channels + xsize, channels + 2 * xsize, channels + 3 * xsize};
        for (int z = 0; ok && z < image->zsize; z++)
            ok = ReadSgiRow(image, channel[z], (int)y, z);
        if (image->zsize == 3)
            memset(channel[3], 255, xsize);
        unsigned char* out = pixels + y * xsize * pixelBytes;
        for (uint64_t x = 0; ok && x < xsize; x++) {
            out[0] = channel[0][x];
            out[1] = channel[1][x];
            out[2] = channel[2][x];
            if (wantAlpha)
                out[3] = channel[3][x];
            out += pixelBytes;
        }
    }
    CloseSgiImage(image);
    free(channels);
    if (!ok) {
        free(pixels);
        return nullptr;
    }
    return pixels;
}

unsigned char* ReadSgiImage(const char* fileName, int* width, int* height, bool wantAlpha)
{
    return ReadSgiPixels(OpenSgiImage(fileName), width, height, wantAlpha);
}

unsigned char* ReadSgiRgb(const char* fileName, int* width, int* height)
{
    return ReadSgiImage(fileName, width, height, false);
}

unsigned char* ReadSgiRgba(const char* fileName, int* width, int* height)
{
    return ReadSgiImage(fileName, width, height, true);
}

unsigned char* DecodeSgiImage(const unsigned char* data, size_t size, int* width, int* height, bool wantAlpha)
{
    return ReadSgiPixels(OpenSgiImageMemory(data, size), width, height, wantAlpha);
}
