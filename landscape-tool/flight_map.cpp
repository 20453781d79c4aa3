// Drawing a recorded flight from above.
#include "landscape-tool/flight_map.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/height_colour.h"
#include "common/program_beside.h"
#include "landscape-tool/landscape_info.h"
#include "landscape-tool/map_text.h"

extern char** environ;

static const char* const TRACK_HEADER = "time,x,y,z,heading,pitch,roll,speed,thrust,gear,on_ground,crashed";

bool ParseTrack(const std::string& csv, std::vector<TrackRow>& rows, std::string& error)
{
    rows.clear();
    size_t end = csv.find('\n');
    if (csv.compare(0, end, TRACK_HEADER) != 0) {
        error = "not a track of pelorin --track (its first line names other columns)";
        return false;
    }
    size_t pos = end == std::string::npos ? csv.size() : end + 1;
    int line = 1;
    while (pos < csv.size()) {
        end = csv.find('\n', pos);
        std::string text = csv.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? csv.size() : end + 1;
        line++;
        TrackRow r;
        double heading, pitch, roll, speed, thrust;
        int used = 0;
        if (sscanf(text.c_str(), "%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%lf,%d,%d,%d%n", &r.time, &r.x, &r.y, &r.z, &heading,
                   &pitch, &roll, &speed, &thrust, &r.gear, &r.onGround, &r.crashed, &used) != 12 ||
            used != (int)text.size() || !std::isfinite(r.x) || !std::isfinite(r.y) || !std::isfinite(r.z)) {
            error = "line " + std::to_string(line) + " of the track is not a row of twelve numbers";
            return false;
        }
        rows.push_back(r);
    }
    if (rows.empty()) {
        error = "the track has no rows";
        return false;
    }
    return true;
}

std::string SimulatorProgram()
{
    std::string beside = FindProgram(OwnFolder(), "pelorin", nullptr);
    return beside.empty() ? "pelorin" : beside;
}

bool RunTrack(const std::string& program, const char* recording, std::string& csv, std::string& error)
{
    int out[2];
    if (pipe(out) != 0) {
        error = "cannot run " + program + ": " + strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string flag = "--track";
    char* argv[] = {(char*)program.c_str(), (char*)flag.c_str(), (char*)recording, nullptr};
    pid_t pid;
    int spawned = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        error = "cannot run " + program + ": " + strerror(spawned);
        return false;
    }
    csv.clear();
    char buffer[65536];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            csv.append(buffer, (size_t)n);
    close(out[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 1) {
        error.clear(); // the simulator said why, in its one line
        return false;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = program + " could not replay it";
        return false;
    }
    return true;
}

namespace {

struct Canvas {
    int width, height;
    double north, west, scale; // world x at the top row, world z at the left column, units per pixel
    std::vector<uint8_t> pixels;

    void Put(int px, int py, Colour3 c)
    {
        if (px < 0 || py < 0 || px >= width || py >= height)
            return;
        uint8_t* p = &pixels[((size_t)py * width + px) * 3];
        p[0] = (uint8_t)std::lround(std::min(1.0f, std::max(0.0f, c.r)) * 255.0f);
        p[1] = (uint8_t)std::lround(std::min(1.0f, std::max(0.0f, c.g)) * 255.0f);
        p[2] = (uint8_t)std::lround(std::min(1.0f, std::max(0.0f, c.b)) * 255.0f);
    }
    double Px(double z) const { return (z - west) / scale; }
    double Py(double x) const { return (north - x) / scale; }
    void Dot(double x, double z, int radius, Colour3 c)
    {
        int cx = (int)std::floor(Px(z)), cy = (int)std::floor(Py(x));
        for (int dy = -radius; dy <= radius; dy++)
            for (int dx = -radius; dx <= radius; dx++)
                if (dx * dx + dy * dy <= radius * radius)
                    Put(cx + dx, cy + dy, c);
    }
    // A line of dots from one world point to another.
    void Line(double x0, double z0, double x1, double z1, int radius, Colour3 c)
    {
        double length = std::hypot(Px(z1) - Px(z0), Py(x1) - Py(x0));
        int steps = (int)std::min(4.0 * (width + height), std::ceil(length)) + 1;
        for (int i = 0; i <= steps; i++) {
            double t = (double)i / steps;
            Dot(x0 + (x1 - x0) * t, z0 + (z1 - z0) * t, radius, c);
        }
    }
    void Rectangle(double x0, double z0, double x1, double z1, int radius, Colour3 c)
    {
        Line(x0, z0, x0, z1, radius, c);
        Line(x0, z1, x1, z1, radius, c);
        Line(x1, z1, x1, z0, radius, c);
        Line(x1, z0, x0, z0, radius, c);
    }
};

const Colour3 RUNWAY = {0.35f, 0.35f, 0.38f};
const Colour3 OUTLINE = {0.2f, 0.12f, 0.05f};
const Colour3 TAKE_OFF = {0.1f, 0.9f, 0.2f};
const Colour3 TOUCH_DOWN = {0.2f, 0.4f, 1.0f};
const Colour3 CRASH = {1.0f, 0.1f, 0.1f};
const Colour3 WHITE = {1.0f, 1.0f, 1.0f};

// One colour per flight, told apart from the ground's greens, the runway's
// grey and the marks' green, blue and red; the ninth flight takes the first
// colour again.
const Colour3 FLIGHT_COLOURS[] = {
    {1.0f, 0.85f, 0.1f}, {1.0f, 0.3f, 0.9f}, {0.1f, 0.95f, 1.0f}, {1.0f, 0.55f, 0.1f},
    {0.75f, 0.55f, 1.0f}, {1.0f, 1.0f, 0.6f}, {0.55f, 0.3f, 0.1f}, {1.0f, 0.65f, 0.7f},
};
const int FLIGHT_COLOUR_COUNT = sizeof FLIGHT_COLOURS / sizeof FLIGHT_COLOURS[0];

void Bytes(Colour3 c, uint8_t rgb[3])
{
    rgb[0] = (uint8_t)std::lround(std::min(1.0f, std::max(0.0f, c.r)) * 255.0f);
    rgb[1] = (uint8_t)std::lround(std::min(1.0f, std::max(0.0f, c.g)) * 255.0f);
    rgb[2] = (uint8_t)std::lround(std::min(1.0f, std::max(0.0f, c.b)) * 255.0f);
}

// Text in `c` over a one-pixel dark outline, readable on any ground.
void Label(Canvas& canvas, int x, int y, const std::string& text, int scale, Colour3 c)
{
    uint8_t dark[3] = {0, 0, 0}, rgb[3];
    Bytes(c, rgb);
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++)
            if (dx || dy)
                DrawText(canvas.pixels, canvas.width, canvas.height, x + dx, y + dy, text, scale, dark);
    DrawText(canvas.pixels, canvas.width, canvas.height, x, y, text, scale, rgb);
}

// A flag over the point: a white stem and a square outlined in white with a
// letter, the start (S) or end (E) of a flight, leaving the point's own
// mark in sight.
void EndMark(Canvas& canvas, double x, double z, Colour3 c, const char* letter)
{
    const int half = 9, stem = 22;
    int cx = (int)std::floor(canvas.Px(z)), cy = (int)std::floor(canvas.Py(x));
    for (int dy = 0; dy < stem; dy++)
        canvas.Put(cx, cy - dy, WHITE);
    cy -= stem + half - 1;
    for (int dy = -half; dy <= half; dy++)
        for (int dx = -half; dx <= half; dx++)
            canvas.Put(cx + dx, cy + dy, std::abs(dx) >= half - 1 || std::abs(dy) >= half - 1 ? WHITE : c);
    uint8_t black[3] = {0, 0, 0};
    DrawText(canvas.pixels, canvas.width, canvas.height, cx - TextWidth(letter, 2) / 2, cy - TextHeight(2) / 2,
             letter, 2, black);
}

// A darkened box behind the legend, so that it reads over the map.
void Shade(Canvas& canvas, int x0, int y0, int x1, int y1)
{
    for (int y = std::max(0, y0); y < std::min(canvas.height, y1); y++)
        for (int x = std::max(0, x0); x < std::min(canvas.width, x1); x++)
            for (int k = 0; k < 3; k++) {
                uint8_t& p = canvas.pixels[((size_t)y * canvas.width + x) * 3 + k];
                p = (uint8_t)(p / 4);
            }
}

// A length of 1, 2 or 5 times a power of ten, the largest not above `most`.
double RoundLength(double most)
{
    double power = std::pow(10.0, std::floor(std::log10(most)));
    for (double step : {5.0, 2.0, 1.0})
        if (step * power <= most)
            return step * power;
    return power;
}

// The bar at the lower left: a round length in world units, with its ends
// and middle ticked.
void ScaleBar(Canvas& canvas)
{
    double length = RoundLength(canvas.width * canvas.scale / 4.0);
    int pixels = (int)std::lround(length / canvas.scale);
    int x0 = 16, y0 = canvas.height - 24;
    std::string text = std::to_string((long)length) + " UNITS";
    Shade(canvas, x0 - 8, y0 - TextHeight(2) - 16, x0 + std::max(pixels, TextWidth(text, 2)) + 8, y0 + 12);
    for (int x = x0; x <= x0 + pixels; x++)
        for (int dy = 0; dy < 4; dy++)
            canvas.Put(x, y0 + dy, WHITE);
    for (int tick : {0, pixels / 2, pixels})
        for (int dy = -6; dy < 4; dy++)
            for (int dx = 0; dx < 2; dx++)
                canvas.Put(x0 + tick - (tick ? 1 : 0) + dx, y0 + dy, WHITE);
    Label(canvas, x0, y0 - TextHeight(2) - 10, text, 2, WHITE);
}

// Where a tile of `points` a side reaches around its centre, as the
// simulator draws it: from (0 - points / 2) to (points - 1 - points / 2) cells.
void TileSpan(float centre, int points, double& low, double& high)
{
    low = centre + (0.0 - points * 0.5) * SIM_CELL_SIZE;
    high = centre + ((points - 1) - points * 0.5) * SIM_CELL_SIZE;
}

} // namespace

std::vector<uint8_t> DrawFlightMap(const std::vector<TrackRow>& rows, const LandscapeGrid* landscape, int& width,
                                   int& height)
{
    float cx[SIM_TILE_COUNT], cz[SIM_TILE_COUNT];
    TileCentres(cx, cz);
    int zeroPoints = landscape ? landscape->size : SIM_MOUNTAIN_SIZE;
    double zeroX0, zeroX1, zeroZ0, zeroZ1;
    TileSpan(cx[0], zeroPoints, zeroX0, zeroX1);
    TileSpan(cz[0], zeroPoints, zeroZ0, zeroZ1);

    // The flight, the runway and tile 0, with a margin around them.
    double xLow = std::min((double)SIM_RUNWAY_WEST_X, zeroX0), xHigh = std::max((double)SIM_RUNWAY_EAST_X, zeroX1);
    double zLow = std::min((double)SIM_RUNWAY_START_Z, zeroZ0), zHigh = std::max((double)SIM_RUNWAY_END_Z, zeroZ1);
    for (const TrackRow& r : rows) {
        xLow = std::min(xLow, r.x);
        xHigh = std::max(xHigh, r.x);
        zLow = std::min(zLow, r.z);
        zHigh = std::max(zHigh, r.z);
    }
    double margin = 0.05 * std::max(xHigh - xLow, zHigh - zLow);
    xLow -= margin;
    xHigh += margin;
    zLow -= margin;
    zHigh += margin;
    Canvas c;
    c.scale = std::max(xHigh - xLow, zHigh - zLow) / MAP_SIZE;
    c.width = std::max(1, (int)std::ceil((zHigh - zLow) / c.scale));
    c.height = std::max(1, (int)std::ceil((xHigh - xLow) / c.scale));
    c.north = xHigh;
    c.west = zLow;
    c.pixels.assign((size_t)c.width * c.height * 3, 0);

    Colour3 ground = HeightColour(0.0f);
    for (int py = 0; py < c.height; py++) {
        double x = c.north - (py + 0.5) * c.scale;
        for (int px = 0; px < c.width; px++) {
            double z = c.west + (px + 0.5) * c.scale;
            Colour3 colour = ground;
            if (x >= SIM_RUNWAY_WEST_X && x <= SIM_RUNWAY_EAST_X && z >= SIM_RUNWAY_START_Z && z <= SIM_RUNWAY_END_Z)
                colour = RUNWAY;
            // Tile 0 from the file: the colour of the grid point nearest.
            if (landscape && landscape->size > 0 && x >= zeroX0 && x <= zeroX1 && z >= zeroZ0 && z <= zeroZ1) {
                int n = landscape->size;
                long col = std::lround((x - zeroX0) / SIM_CELL_SIZE);
                long row = std::lround((z - zeroZ0) / SIM_CELL_SIZE);
                col = std::min<long>(n - 1, std::max<long>(0, col));
                row = std::min<long>(n - 1, std::max<long>(0, row));
                colour = HeightColour(landscape->heights[(size_t)row * n + col]);
            }
            c.Put(px, py, colour);
        }
    }
    for (int k = 0; k < SIM_TILE_COUNT; k++) {
        double x0, x1, z0, z1;
        int points = k == 0 ? zeroPoints : SIM_MOUNTAIN_SIZE;
        TileSpan(cx[k], points, x0, x1);
        TileSpan(cz[k], points, z0, z1);
        c.Rectangle(x0, z0, x1, z1, 1, OUTLINE);
    }

    // Each tile labelled with its index in the middle of what the map shows of it.
    for (int k = 0; k < SIM_TILE_COUNT; k++) {
        double x0, x1, z0, z1;
        int points = k == 0 ? zeroPoints : SIM_MOUNTAIN_SIZE;
        TileSpan(cx[k], points, x0, x1);
        TileSpan(cz[k], points, z0, z1);
        double left = std::max(0.0, c.Px(z0)), right = std::min((double)c.width, c.Px(z1));
        double upper = std::max(0.0, c.Py(x1)), lower = std::min((double)c.height, c.Py(x0));
        std::string index = std::to_string(k);
        if (right - left < TextWidth(index, 3) || lower - upper < TextHeight(3))
            continue;
        Label(c, (int)((left + right) / 2) - TextWidth(index, 3) / 2, (int)((upper + lower) / 2) - TextHeight(3) / 2,
              index, 3, {0.95f, 0.9f, 0.8f});
    }

    // The flights: the time starts again at 0 with every restart. Where later
    // flights fly the same way, an earlier one is drawn wider and shows at
    // their edges.
    std::vector<size_t> firsts = {0};
    for (size_t i = 1; i < rows.size(); i++)
        if (rows[i].time < rows[i - 1].time)
            firsts.push_back(i);
    for (size_t f = 0; f < firsts.size(); f++) {
        size_t end = f + 1 < firsts.size() ? firsts[f + 1] : rows.size();
        Colour3 colour = FLIGHT_COLOURS[f % FLIGHT_COLOUR_COUNT];
        int radius = 2 + 2 * (int)std::min<size_t>(3, firsts.size() - 1 - f);
        for (size_t i = firsts[f] + 1; i < end; i++)
            c.Line(rows[i - 1].x, rows[i - 1].z, rows[i].x, rows[i].z, radius, colour);
    }
    for (size_t i = 1; i < rows.size(); i++) {
        const TrackRow& a = rows[i - 1];
        const TrackRow& b = rows[i];
        // A restart puts the jet back on the runway through one airborne
        // step: no touch-down to mark there.
        if (b.time < a.time || a.time == 0.0)
            continue;
        const TrackRow* mark = nullptr;
        Colour3 colour = WHITE;
        if (a.onGround && !b.onGround && !b.crashed) {
            mark = &a;
            colour = TAKE_OFF;
        } else if (!a.onGround && b.onGround && !b.crashed) {
            mark = &b;
            colour = TOUCH_DOWN;
        } else if (!a.crashed && b.crashed) {
            mark = &b;
            colour = CRASH;
        }
        if (mark) {
            c.Dot(mark->x, mark->z, 9, WHITE);
            c.Dot(mark->x, mark->z, 7, colour);
        }
    }
    // Each flight's start and end over its path and the marks.
    for (size_t f = 0; f < firsts.size(); f++) {
        size_t end = f + 1 < firsts.size() ? firsts[f + 1] : rows.size();
        Colour3 colour = FLIGHT_COLOURS[f % FLIGHT_COLOUR_COUNT];
        EndMark(c, rows[end - 1].x, rows[end - 1].z, colour, "E");
        EndMark(c, rows[firsts[f]].x, rows[firsts[f]].z, colour, "S");
    }

    // The legend at the upper left: each flight by its colour, then the marks.
    const int lineStep = TextHeight(2) + 8, swatch = 14, left = 16, textLeft = left + swatch + 10;
    struct Entry {
        Colour3 colour;
        std::string text;
        bool dot;
    };
    std::vector<Entry> entries;
    for (size_t f = 0; f < firsts.size(); f++) {
        size_t end = f + 1 < firsts.size() ? firsts[f + 1] : rows.size();
        char seconds[32];
        snprintf(seconds, sizeof seconds, "%.1f S", rows[end - 1].time);
        entries.push_back({FLIGHT_COLOURS[f % FLIGHT_COLOUR_COUNT],
                           "FLIGHT " + std::to_string(f + 1) + " (" + seconds + ")", false});
    }
    entries.push_back({TAKE_OFF, "TAKE-OFF", true});
    entries.push_back({TOUCH_DOWN, "TOUCH-DOWN", true});
    entries.push_back({CRASH, "CRASH", true});
    entries.push_back({WHITE, "S START  E END", false});
    int widest = 0;
    for (const Entry& e : entries)
        widest = std::max(widest, TextWidth(e.text, 2));
    Shade(c, left - 8, 8, textLeft + widest + 8, 16 + (int)entries.size() * lineStep);
    for (size_t i = 0; i < entries.size(); i++) {
        const Entry& e = entries[i];
        int y = 16 + (int)i * lineStep;
        if (i + 1 < entries.size()) {
            for (int dy = 0; dy < swatch; dy++)
                for (int dx = 0; dx < swatch; dx++) {
                    int rx = dx - swatch / 2, ry = dy - swatch / 2;
                    if (!e.dot || rx * rx + ry * ry <= (swatch / 2) * (swatch / 2))
                        c.Put(left + dx, y + dy - 3, e.colour);
                }
            Label(c, textLeft, y, e.text, 2, WHITE);
        } else {
            Label(c, left, y, e.text, 2, WHITE);
        }
    }
    ScaleBar(c);
    width = c.width;
    height = c.height;
    return c.pixels;
}
