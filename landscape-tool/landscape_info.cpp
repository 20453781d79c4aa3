// The landscape figures that "info" reports, and where tile 0 lies.
#include "landscape-tool/landscape_info.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "common/grid_surface.h"
#include "common/random.h"
#include "common/regular_file.h"
#include "common/tile_placement.h"


bool LoadLandscapeText(const char* path, std::string& text, std::string& error)
{
    std::string name(path);
    text.clear();
    // Only a regular file: opening a named pipe with no writer would hang.
    FILE* in = OpenRegularFile(path, "rb");
    if (!in) {
        error = errno == EINVAL ? name + ": not a regular file"
                                : name + ": cannot open the landscape: " + strerror(errno);
        return false;
    }
    struct stat st;
    if (fstat(fileno(in), &st) != 0) {
        fclose(in);
        error = name + ": cannot read the landscape: " + strerror(errno);
        return false;
    }
    if ((unsigned long long)st.st_size > LANDSCAPE_MAX_FILE_BYTES) {
        fclose(in);
        error = name + ": file is larger than " + std::to_string(LANDSCAPE_MAX_FILE_BYTES) + " bytes";
        return false;
    }
    text.resize((size_t)st.st_size);
    size_t got = fread(&text[0], 1, text.size(), in);
    bool failed = ferror(in) != 0;
    int readErrno = errno;
    fclose(in);
    if (failed) {
        error = name + ": cannot read the landscape: " + strerror(readErrno);
        return false;
    }
    text.resize(got);
    return true;
}

LandscapeInfo AnalyseLandscape(const std::string& text)
{
    LandscapeInfo info;
    const char* data = text.data();
    size_t size = text.size();
    size_t pos = 0;
    bool atEnd = false;
    float first = 0.0f;
    info.sizeRead = ScanLandscapeNumber(data, size, pos, atEnd, first);
    if (!info.sizeRead)
        return info; // the simulator keeps its generated tile 0
    // The reader's refusal rule, checked here so that the reader is only
    // asked to decode what it accepts and prints nothing.
    if (!std::isfinite(first)) {
        info.refused = true;
        info.refusal = "the grid size is not a number of grid points";
    } else if (first >= (float)LANDSCAPE_MAX_SIZE + 1.0f) {
        info.refused = true;
        info.refusal = "the grid size is above " + std::to_string(LANDSCAPE_MAX_SIZE) + " points a side";
    }
    if (info.refused) {
        // The header as the simulator echoes it, without the decode.
        pos = 0;
        atEnd = false;
        for (float& field : info.grid.header)
            if (!ScanLandscapeNumber(data, size, pos, atEnd, field))
                break;
        info.grid.size = 0;
        info.grid.heights.clear();
        return info;
    }
    if (!DecodeLandscape(data, size, "landscape", info.grid, nullptr)) {
        info.refused = true;
        info.refusal = "the reader refused it";
        return info;
    }

    // Heights that were numbers: the reader stops at the first token that is
    // not one, so they are the leading run after the header.
    pos = 0;
    atEnd = false;
    float value;
    for (int i = 0; i < 5; i++)
        if (!ScanLandscapeNumber(data, size, pos, atEnd, value))
            break;
    size_t count = info.grid.heights.size();
    while (info.heightsRead < count && ScanLandscapeNumber(data, size, pos, atEnd, value))
        info.heightsRead++;

    double sum = 0.0;
    for (size_t i = 0; i < count; i++) {
        float h = info.grid.heights[i];
        if (i == 0 || h < info.minimum)
            info.minimum = h;
        if (i == 0 || h > info.maximum)
            info.maximum = h;
        sum += h;
        if (!(h >= SIM_LOWEST_HEIGHT))
            info.raised++;
    }
    info.mean = count ? sum / (double)count : 0.0;
    return info;
}

void TileZeroCentre(float& x, float& z)
{
    float xs[SIM_TILE_COUNT], zs[SIM_TILE_COUNT];
    TileCentres(xs, zs);
    x = xs[0];
    z = zs[0];
}

void TileCentres(float x[SIM_TILE_COUNT], float z[SIM_TILE_COUNT])
{
    // The simulator's draws replayed from the first state, apart from the
    // shared generator so that asking twice gives the same answer.
    uint32_t state = RANDOM_FIRST_STATE;
    // The draws before each tile's placement: two per tree of the 100-tree
    // forest before the first tile, then for every tile one per point seeding
    // its 41 x 41 mountain and two per growth step, of which there are twice
    // the points.
    const int forestDraws = 2 * 100;
    const int points = SIM_MOUNTAIN_SIZE * SIM_MOUNTAIN_SIZE;
    for (int i = 0; i < forestDraws; i++)
        NextRandomFrom(state);
    for (int tile = 0; tile < SIM_TILE_COUNT; tile++) {
        for (int i = 0; i < points + 2 * 2 * points; i++)
            NextRandomFrom(state);
        int a = NextRandomFrom(state) % 100;
        int b = NextRandomFrom(state) % 100;
        TilePlacement(tile, a, b, x[tile], z[tile]);
    }
}

// One formatted line appended to out; the attribute lets the compiler check
// every format against its arguments.
__attribute__((format(printf, 2, 3))) static void AddLine(std::string& out, const char* format, ...)
{
    char line[512];
    va_list args;
    va_start(args, format);
    vsnprintf(line, sizeof line, format, args);
    va_end(args);
    out += line;
}

std::string FormatLandscapeInfo(const char* path, const LandscapeInfo& info)
{
    std::string out;
    const LandscapeGrid& g = info.grid;
    AddLine(out, "file: %s\n", path);
    if (!info.sizeRead) {
        AddLine(out, "grid size: no grid size could be read\n");
        AddLine(out, "tile 0: the generated mountain stays\n");
        return out;
    }
    AddLine(out, "header echo: %f %f %f %f %f\n", g.header[0], g.header[1], g.header[2], g.header[3], g.header[4]);
    if (info.refused) {
        AddLine(out, "refused: yes, %s\n", info.refusal.c_str());
        AddLine(out, "tile 0: the generated mountain stays\n");
        return out;
    }
    AddLine(out, "refused: no\n");
    size_t count = g.heights.size();
    AddLine(out, "grid size: %d x %d points\n", g.size, g.size);
    AddLine(out, "heights read: %zu of %zu\n", info.heightsRead, count);
    AddLine(out, "ERROR! lines: %d\n", g.errorLines);
    if (count == 0) {
        AddLine(out, "tile 0: empty, no grid points\n");
        return out;
    }
    AddLine(out, "height: minimum %g, maximum %g, mean %.1f\n", info.minimum, info.maximum, info.mean);
    AddLine(out, "raised to %g: %zu\n", SIM_LOWEST_HEIGHT, info.raised);
    float x, z;
    TileZeroCentre(x, z);
    // Point (line r, position c) is drawn at x = centre + (c - n / 2) cells,
    // z = centre + (r - n / 2) cells.
    float low = -(float)g.size * 0.5f * SIM_CELL_SIZE;
    float high = low + (float)(g.size - 1) * SIM_CELL_SIZE;
    AddLine(out, "tile 0 centre: x %f z %f\n", x, z);
    AddLine(out, "tile 0 spans: x %.0f to %.0f (position in line), z %.0f to %.0f (file line)\n", x + low, x + high, z + low,
        z + high);
    // A large grid reaches back over the airfield; the aircraft then starts
    // on the surface drawn from it.
    double u = (SIM_START_X - (x + low)) / SIM_CELL_SIZE;
    double v = (SIM_START_Z - (z + low)) / SIM_CELL_SIZE;
    double cells = (double)(g.size - 1);
    if (g.size >= 2 && u >= 0.0 && u <= cells && v >= 0.0 && v <= cells) {
        int col = std::min((int)u, g.size - 2);
        int row = std::min((int)v, g.size - 2);
        auto at = [&g](int r, int c) {
            float h = g.heights[(size_t)r * g.size + (size_t)c];
            return h >= SIM_LOWEST_HEIGHT ? (double)h : (double)SIM_LOWEST_HEIGHT;
        };
        double h = CellSurfaceHeight(at(row, col), at(row, col + 1), at(row + 1, col + 1), at(row + 1, col), u - col,
                                     v - row);
        AddLine(out, "start point: on tile 0 (file lines %d and %d, positions %d and %d, height %g): the aircraft "
                     "starts on this ground\n",
            row + 1, row + 2, col + 1, col + 2, h);
    } else {
        AddLine(out, "start point: off tile 0\n");
    }
    return out;
}
