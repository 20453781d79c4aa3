// Reader for SGI image files (one byte per channel, 3 or 4 channels, verbatim
// or run-length encoded) into interleaved 8-bit RGB or RGBA pixel arrays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

const uint16_t SGI_MAGIC = 474;
const uint64_t SGI_HEADER_BYTES = 512;
// Largest image the reader accepts, in pixels (4096 x 4096): far above any
// texture the simulator uses, and it bounds every allocation a hostile
// header can ask for.
const uint64_t SGI_MAX_PIXELS = 4096ull * 4096ull;

// One open image. Exactly one of `file` and `data` is the source; every read
// is checked against `sourceLength` before it happens.
struct SgiImage {
    uint16_t magic;
    uint16_t storage; // STORAGE * 256 + BPC
    uint16_t dimension;
    uint16_t xsize, ysize, zsize;
    FILE* file;
    const unsigned char* data;
    uint64_t sourceLength; // bytes in the file or memory block
    unsigned char* rowBuffer; // xsize * 256 bytes
    uint32_t* rowStart; // ysize * zsize, run-length encoded images only
    uint32_t* rowLength;
};

// True when the image is run-length encoded.
bool SgiIsRle(const SgiImage* image);

// Opens a file and loads its header and, if run-length encoded, its tables.
// Returns null, silently, when the file is missing, unreadable or not an image
// this reader can decode safely (wrong magic, not one byte per channel, a
// zero or oversized dimension, tables or planes beyond the end of the file).
// Ends the program with status 1 if memory runs out.
SgiImage* OpenSgiImage(const char* fileName);
// The same over a memory block, which must outlive the image.
SgiImage* OpenSgiImageMemory(const unsigned char* data, size_t size);
// Decodes row y of channel z into xsize bytes at `destination`. Returns false,
// leaving the destination's contents unspecified, when the row cannot be
// decoded (a packet past the row's data, a run past xsize bytes, a read
// error). A row that ends early leaves its remaining bytes zero.
bool ReadSgiRow(SgiImage* image, unsigned char* destination, int y, int z);
// Closes the source and frees the record and everything it owns.
void CloseSgiImage(SgiImage* image);

// Reads a whole 3- or 4-channel image, rows in file order, 3 bytes per pixel
// (4 with wantAlpha; alpha 255 for 3-channel files). Width and height are
// stored whenever the header could be read. Returns null for anything that
// cannot be decoded; the caller frees the result with free().
unsigned char* ReadSgiImage(const char* fileName, int* width, int* height, bool wantAlpha);
unsigned char* ReadSgiRgb(const char* fileName, int* width, int* height);
unsigned char* ReadSgiRgba(const char* fileName, int* width, int* height);
// ReadSgiImage over a memory block (fuzzing and tests).
unsigned char* DecodeSgiImage(const unsigned char* data, size_t size, int* width, int* height, bool wantAlpha);
