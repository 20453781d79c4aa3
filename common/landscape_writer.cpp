// Landscape file writer, and the save that writes the file the user named
// without leaving it half-written where that can be avoided.
#include "common/landscape_writer.h"

#include "common/careful_save.h"

bool WriteLandscape(FILE* out, int sizeX, int sizeY, const int* heights)
{
    // The header's reals must read back with a decimal point whatever the
    // user's locale; the programs never change LC_NUMERIC, so "C" holds.
    fprintf(out, "%d %d %f %f %f\n", sizeX, sizeY, 50.0, 0.0, 0.0);
    for (int r = 0; r < sizeX; r++) {
        for (int c = 0; c < sizeX; c++)
            fprintf(out, "%d ", heights[r * sizeX + c]);
        fputc('\n', out);
    }
    // A buffered stream only reports a full disk when it is flushed.
    return fflush(out) == 0 && !ferror(out);
}

namespace {

struct LandscapeData {
    int sizeX, sizeY;
    const int* heights;
};

bool WriteLandscapeData(FILE* out, const void* data)
{
    const LandscapeData& d = *(const LandscapeData*)data;
    return WriteLandscape(out, d.sizeX, d.sizeY, d.heights);
}

} // namespace

bool SaveLandscapeFile(const char* path, int sizeX, int sizeY, const int* heights, std::string& error,
                       bool* touched)
{
    LandscapeData data = {sizeX, sizeY, heights};
    return SaveFileCarefully(path, {WriteLandscapeData, &data, "the landscape"}, error, touched);
}

