// The airfield model: paved surfaces, grass, white markings and a group of
// buildings. Built on first use: the ground is a grid of rectangles cut at the
// edges of the paved areas, each cell given to runway, taxiway, apron or
// grass; markings are flat quads just above; buildings are boxes with a barrel
// roof on the hangars. Every part is then padded to its exact triangle count.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/assets/model_data.h"

// Model units; the program scales the airfield by 10, so the start pose of
// the aircraft (world x 3075, z -9470) is model (307.5, 947): on the main
// runway's centre line, which runs along y.
const double FIELD_WEST = -2173.7, FIELD_EAST = 891.8;
const double FIELD_SOUTH = -1577.0, FIELD_NORTH = 1335.0;
const double RUNWAY_WEST = 245.0, RUNWAY_EAST = 370.0;
const double RUNWAY_SOUTH = -1500.0, RUNWAY_NORTH = 1280.0;
const double CROSS_WEST = -2100.0, CROSS_SOUTH = 380.0, CROSS_NORTH = 500.0;
const double TAXI_WEST = 430.0, TAXI_EAST = 470.0, TAXI_SOUTH = -1450.0, TAXI_NORTH = 1230.0;
const double APRON_EAST = 880.0, APRON_SOUTH = -440.0, APRON_NORTH = 10.0;
// Links from the runway to the parallel taxiway, as (south, north) in y.
const double LINKS[][2] = {{-1450.0, -1410.0}, {-300.0, -260.0}, {560.0, 600.0}, {1190.0, 1230.0}};
const double MARKING_Z = 0.005;

const P3 UP = {0, 0, 1};

enum Surface { GRASS, RUNWAY, TAXIWAY, APRON };

static bool Inside(double v, double lo, double hi)
{
    return v > lo && v < hi;
}

static Surface SurfaceAt(double x, double y)
{
    if ((Inside(x, RUNWAY_WEST, RUNWAY_EAST) && Inside(y, RUNWAY_SOUTH, RUNWAY_NORTH)) ||
        (Inside(x, CROSS_WEST, RUNWAY_WEST) && Inside(y, CROSS_SOUTH, CROSS_NORTH)))
        return RUNWAY;
    if (Inside(x, TAXI_WEST, TAXI_EAST) && Inside(y, TAXI_SOUTH, TAXI_NORTH))
        return TAXIWAY;
    for (const auto& link : LINKS)
        if (Inside(x, RUNWAY_EAST, TAXI_WEST) && Inside(y, link[0], link[1]))
            return TAXIWAY;
    if (Inside(x, TAXI_EAST, APRON_EAST) && Inside(y, APRON_SOUTH, APRON_NORTH))
        return APRON;
    return GRASS;
}

static void AddRect(MeshPart& part, double x0, double y0, double x1, double y1, double z)
{
    AddFlatQuad(part, {x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}, UP);
}

// Ground cells: every break line of every area, so that no cell straddles two.
static void AddGround(MeshPart& runway, MeshPart& taxiway, MeshPart& apron, MeshPart& grass)
{
    std::vector<double> xs = {FIELD_WEST, CROSS_WEST, RUNWAY_WEST, RUNWAY_EAST, TAXI_WEST, TAXI_EAST, APRON_EAST, FIELD_EAST};
    std::vector<double> ys = {FIELD_SOUTH, RUNWAY_SOUTH, TAXI_SOUTH, APRON_SOUTH, APRON_NORTH, CROSS_SOUTH,
                              CROSS_NORTH, TAXI_NORTH, RUNWAY_NORTH, FIELD_NORTH};
    for (const auto& link : LINKS) {
        ys.push_back(link[0]);
        ys.push_back(link[1]);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    for (size_t i = 0; i + 1 < xs.size(); i++) {
        for (size_t j = 0; j + 1 < ys.size(); j++) {
            Surface s = SurfaceAt(0.5 * (xs[i] + xs[i + 1]), 0.5 * (ys[j] + ys[j + 1]));
            MeshPart& part = s == RUNWAY ? runway : s == TAXIWAY ? taxiway : s == APRON ? apron : grass;
            AddRect(part, xs[i], ys[j], xs[i + 1], ys[j + 1], 0.0);
        }
    }
}

// Dashes of width w centred on a line, from a to b along x or y.
static void AddDashes(MeshPart& part, bool alongY, double centre, double a, double b, double dash, double gap, double w)
{
    for (double t = a; t + dash <= b; t += dash + gap) {
        if (alongY)
            AddRect(part, centre - w / 2, t, centre + w / 2, t + dash, MARKING_Z);
        else
            AddRect(part, t, centre - w / 2, t + dash, centre + w / 2, MARKING_Z);
    }
}

static void AddMarkings(MeshPart& m)
{
    const double mid = 0.5 * (RUNWAY_WEST + RUNWAY_EAST);
    // Main runway: centre line, edge lines, thresholds, aiming points, touchdown bars.
    AddDashes(m, true, mid, RUNWAY_SOUTH + 110, RUNWAY_NORTH - 110, 40, 30, 4);
    AddRect(m, RUNWAY_WEST + 3, RUNWAY_SOUTH + 5, RUNWAY_WEST + 6, RUNWAY_NORTH - 5, MARKING_Z);
    AddRect(m, RUNWAY_EAST - 6, RUNWAY_SOUTH + 5, RUNWAY_EAST - 3, RUNWAY_NORTH - 5, MARKING_Z);
    for (int end = 0; end < 2; end++) {
        double y0 = end ? RUNWAY_NORTH - 70 : RUNWAY_SOUTH + 10;
        double inward = end ? -1.0 : 1.0;
        for (int k = 0; k < 8; k++) {
            double x = RUNWAY_WEST + 12 + k * 14.5 + (k >= 4 ? 2 : 0);
            AddRect(m, x, y0, x + 7, y0 + 60, MARKING_Z);
        }
        double aim = end ? RUNWAY_NORTH - 300 : RUNWAY_SOUTH + 220;
        AddRect(m, mid - 40, aim, mid - 26, aim + 80, MARKING_Z);
        AddRect(m, mid + 26, aim, mid + 40, aim + 80, MARKING_Z);
        for (int k = 0; k < 3; k++) {
            double y = (end ? RUNWAY_NORTH - 140 : RUNWAY_SOUTH + 140) + inward * (k * 150 + (k ? 60 : 0));
            for (double side : {-1.0, 1.0}) {
                for (int bar = 0; bar < 2; bar++) {
                    double x = mid + side * (22 + bar * 9);
                    AddRect(m, x - 2.5, y, x + 2.5, y + 40, MARKING_Z);
                }
            }
        }
    }
    // Cross runway.
    const double crossMid = 0.5 * (CROSS_SOUTH + CROSS_NORTH);
    AddDashes(m, false, crossMid, CROSS_WEST + 110, RUNWAY_WEST - 20, 40, 30, 4);
    AddRect(m, CROSS_WEST + 5, CROSS_SOUTH + 3, RUNWAY_WEST - 2, CROSS_SOUTH + 6, MARKING_Z);
    AddRect(m, CROSS_WEST + 5, CROSS_NORTH - 6, RUNWAY_WEST - 2, CROSS_NORTH - 3, MARKING_Z);
    for (int k = 0; k < 8; k++) {
        double y = CROSS_SOUTH + 10 + k * 13.5 + (k >= 4 ? 2 : 0);
        AddRect(m, CROSS_WEST + 10, y, CROSS_WEST + 70, y + 6, MARKING_Z);
    }
    // Taxiway centre lines and the apron's parking boxes.
    const double taxiMid = 0.5 * (TAXI_WEST + TAXI_EAST);
    AddRect(m, taxiMid - 1, TAXI_SOUTH + 20, taxiMid + 1, TAXI_NORTH - 20, MARKING_Z);
    for (const auto& link : LINKS) {
        double y = 0.5 * (link[0] + link[1]);
        AddRect(m, RUNWAY_EAST + 8, y - 1, TAXI_WEST, y + 1, MARKING_Z);
    }
    for (int k = 0; k < 3; k++) {
        double y0 = -150.0 + k * 50.0;
        AddRect(m, 480, y0, 540, y0 + 2, MARKING_Z);
    }
    AddRect(m, 538, -150, 540, -48, MARKING_Z);
}

// Box walls without top or bottom, as used for the buildings' sides.
static void AddWalls(MeshPart& part, double x0, double y0, double x1, double y1, double z0, double z1)
{
    AddFlatQuad(part, {x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}, {0, -1, 0});
    AddFlatQuad(part, {x0, y1, z0}, {x1, y1, z0}, {x1, y1, z1}, {x0, y1, z1}, {0, 1, 0});
    AddFlatQuad(part, {x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1}, {x0, y0, z1}, {-1, 0, 0});
    AddFlatQuad(part, {x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}, {1, 0, 0});
}

// Hangar: walls to the eaves, a barrel roof across y rising to the ridge, and
// the two gable ends under the arch (walls colour).
static const double HANGAR_EAVES = 12.0, HANGAR_RIDGE = 17.5;

static P3 HangarArch(double x, double y0, double y1, double u)
{
    double angle = M_PI * u;
    double half = 0.5 * (y1 - y0);
    return {x, 0.5 * (y0 + y1) - half * std::cos(angle), HANGAR_EAVES + (HANGAR_RIDGE - HANGAR_EAVES) * std::sin(angle)};
}

static void AddHangar(MeshPart& walls, MeshPart& roof, double x0, double y0, double x1, double y1)
{
    const int ARCH = 8;
    AddWalls(walls, x0, y0, x1, y1, 0.0, HANGAR_EAVES);
    AddSurface(roof, [=](double s, double u) { return HangarArch(x0 + s * (x1 - x0), y0, y1, u); }, 1, ARCH, false);
    for (double x : {x0, x1}) {
        P3 centre = {x, 0.5 * (y0 + y1), HANGAR_EAVES};
        P3 normal = {x == x0 ? -1.0 : 1.0, 0, 0};
        for (int k = 0; k < ARCH; k++)
            AddFlatTriangle(walls, centre, HangarArch(x, y0, y1, (double)k / ARCH), HangarArch(x, y0, y1, (double)(k + 1) / ARCH), normal);
    }
}

// A band around a building, standing off its walls so it is never coplanar.
static void AddBand(MeshPart& part, double x0, double y0, double x1, double y1, double z0, double z1, double off)
{
    AddWalls(part, x0 - off, y0 - off, x1 + off, y1 + off, z0, z1);
}

struct Footprint {
    double x0, y0, x1, y1;
};

const Footprint TOWER = {556, -125, 580, -43};     // 24 x 82, 33 high
const Footprint HANGAR_A = {600, -390, 700, -300};
const Footprint HANGAR_B = {600, -280, 700, -190};
const Footprint TERMINAL = {740, -280, 860, -60};  // 24.5 high
const Footprint OFFICE = {760, -395, 830, -320};   // 17.5 high
const Footprint ROOF_BLOCK = {788, -365, 801, -352};
const Footprint ROOF_BOX = {801, -362.5, 809, -354.5};

std::vector<MeshPart> BuildAirfieldParts()
{
    MeshPart tower = NewPart(0.2f, 0.3f, 1.0f);
    MeshPart tops = NewPart(1.0f, 0.1f, 0.133333f);
    MeshPart walls = NewPart(0.5f, 0.566667f, 0.6f);
    MeshPart upperBand = NewPart(0.7f, 0.766667f, 0.733333f);
    MeshPart face = NewPart(1.0f, 0.133333f, 0.0f);
    MeshPart block = NewPart(1.0f, 0.333333f, 0.333333f);
    MeshPart lowerBand = NewPart(0.5f, 0.5f, 0.9f);
    MeshPart runway = NewPart(0.3f, 0.3f, 0.3f);
    MeshPart taxiway = NewPart(0.5f, 0.5f, 0.5f);
    MeshPart markings = NewPart(1.0f, 1.0f, 1.0f);
    MeshPart apron = NewPart(0.6f, 0.6f, 0.6f);
    MeshPart grass = NewPart(0.0f, 0.3f, 0.05f);
    MeshPart box = NewPart(0.5f, 0.75f, 1.0f);

    AddBox(tower, {TOWER.x0, TOWER.y0, 0}, {TOWER.x1, TOWER.y1, 33.0}, false);
    AddHangar(walls, tops, HANGAR_A.x0, HANGAR_A.y0, HANGAR_A.x1, HANGAR_A.y1);
    AddHangar(walls, tops, HANGAR_B.x0, HANGAR_B.y0, HANGAR_B.x1, HANGAR_B.y1);
    AddWalls(walls, OFFICE.x0, OFFICE.y0, OFFICE.x1, OFFICE.y1, 0.0, 17.5);
    AddRect(tops, OFFICE.x0, OFFICE.y0, OFFICE.x1, OFFICE.y1, 17.5);
    AddWalls(walls, TERMINAL.x0, TERMINAL.y0, TERMINAL.x1, TERMINAL.y1, 0.0, 24.5);
    AddRect(walls, TERMINAL.x0, TERMINAL.y0, TERMINAL.x1, TERMINAL.y1, 24.5);
    AddBand(upperBand, TERMINAL.x0, TERMINAL.y0, TERMINAL.x1, TERMINAL.y1, 11.0, 20.0, 0.3);
    for (const Footprint& f : {HANGAR_A, HANGAR_B, OFFICE, TERMINAL})
        AddBand(lowerBand, f.x0, f.y0, f.x1, f.y1, 2.6, 9.7, 0.3);
    // Entrance facade on the terminal's runway side, in front of both bands.
    for (int k = 0; k < 3; k++) {
        double y0 = -150.0 + k * 12.0;
        AddFlatQuad(face, {TERMINAL.x0 - 0.6, y0, 0}, {TERMINAL.x0 - 0.6, y0 + 12, 0}, {TERMINAL.x0 - 0.6, y0 + 12, 20},
                    {TERMINAL.x0 - 0.6, y0, 20}, {-1, 0, 0});
    }
    AddBox(block, {ROOF_BLOCK.x0, ROOF_BLOCK.y0, 17.5}, {ROOF_BLOCK.x1, ROOF_BLOCK.y1, 24.5}, false);
    AddBox(box, {ROOF_BOX.x0, ROOF_BOX.y0, 19.0}, {ROOF_BOX.x1, ROOF_BOX.y1, 23.0}, true);

    AddGround(runway, taxiway, apron, grass);
    AddMarkings(markings);

    std::vector<MeshPart> parts = {tower, tops, walls, upperBand, face, block, lowerBand,
                                   runway, taxiway, markings, apron, grass, box};
    const int COUNTS[] = {98, 100, 134, 28, 6, 32, 140, 37, 140, 546, 275, 190, 12};
    for (size_t i = 0; i < parts.size(); i++) {
        char label[32];
        snprintf(label, sizeof label, "airfield %zu", i + 1);
        PadToCount(parts[i], COUNTS[i], label);
    }
    return parts;
}
