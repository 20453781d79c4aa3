// The jet model: a twin-finned, twin-engined fighter with its landing gear.
// Built on first use from parametric surfaces (ogive nose, elliptical forward
// fuselage, engine nacelles whose section goes from a squarish intake to a
// round nozzle, an upper spine and a belly between them, tapered wings, fins
// and tailplanes with a rounded section), boxes, and torus wheels; each part
// is then padded to its exact triangle count by splitting its longest edges.
// To change a part, edit its dimensions here and rebuild.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "sim/assets/model_data.h"

// Model units: fuselage along x with the nose at -x, wings along y, z up.
// The centre line lies at y = JET_Y0 so that the span matches the model's
// stated extent (-536.9..549.7).
const double JET_Y0 = 6.4;
const double NOSE_TIP_X = -533.9;
const double NOSE_JOIN_X = -420.0;      // nose cone meets the forward fuselage
const double FORWARD_END_X = 120.0;     // forward fuselage ends inside the spine
const double NOSE_RADIUS = 38.0;
const double BELLY_LOW_Z = -112.3;      // lowest point without the gear
const double WHEEL_LOW_Z = -190.9;      // lowest point with the gear down
const double FIN_TIP_Z = 199.7;
const double TAILPLANE_TIP_TE_X = 917.2;
const double HALF_SPAN = 543.3;

const double NACELLE_Y = 100.0;         // engine axis, each side of the centre line
const double NACELLE_Z = -40.0;
const double NACELLE_FRONT_X = -150.0;
const double NACELLE_BLEND_X = 600.0;   // the nacelle turns into its nozzle from here
const double NACELLE_REAR_X = 740.0;    // ... to here
const double SPINE_FRONT_X = 60.0;
const double SPINE_REAR_X = 750.0;      // hidden behind the nozzles' closed ends
const double SPINE_CREST = 18.0;        // spine height above the nacelle tops

// The renderer draws each engine's glow and nozzle plate at fixed places in
// these units: glows centred at x 780, y -108 and +113.4, z -52, about 108
// wide, 80 high and 20 deep; plates 108 by 72 at x 760. Each nozzle is built
// round them: an open ring ending just behind the glow, closed by a dark face
// just ahead of the plate, with the plate's corners inside the ring's wall.
const double GLOW_Y[2] = {-108.0, 113.4}; // -y side, +y side
const double GLOW_Z = -52.0;
const double NOZZLE_END_X = 805.0;
const double NOZZLE_FACE_X = 755.0;
const double NOZZLE_OUTER_Y = 68.0, NOZZLE_OUTER_Z = 56.0; // half-sizes of the outer skin
const double NOZZLE_INNER_Y = 58.0, NOZZLE_INNER_Z = 44.0; // half-sizes of the opening
const double NOZZLE_SHAPE = 0.8; // section exponent: a little squarer than an ellipse

// How finely the jet is cut: the full model, or the ghost's lighter one
// (fewer segments round the bodies, fewer rows along them, no insignia or
// seats, and no padding to the full model's counts).
struct JetCuts {
    int segments; // around every body of revolution
    int divide;   // rows along the surfaces, divided by this
    bool details; // roundels and the seats inside the canopy
    bool padded;
};

const JetCuts FULL_CUTS = {16, 1, true, true};
const JetCuts GHOST_CUTS = {8, 2, false, false};

// A grid count of the full model, cut for the model being built.
static int Rows(const JetCuts& cuts, int full)
{
    return std::max(1, full / cuts.divide);
}

static double Smooth(double e0, double e1, double x)
{
    double t = std::fmin(1.0, std::fmax(0.0, (x - e0) / (e1 - e0)));
    return t * t * (3.0 - 2.0 * t);
}

static double SignedPow(double v, double p)
{
    return v < 0 ? -std::pow(-v, p) : std::pow(v, p);
}

// ---- Forward fuselage and nose ----------------------------------------------

static double FuselageWidth(double x)
{
    double t = (x - NOSE_JOIN_X) / (FORWARD_END_X - NOSE_JOIN_X);
    return NOSE_RADIUS + 6.0 * Smooth(0.0, 0.5, t);
}

static double FuselageHeight(double x)
{
    double t = (x - NOSE_JOIN_X) / (FORWARD_END_X - NOSE_JOIN_X);
    return NOSE_RADIUS + 14.0 * Smooth(0.0, 0.35, t) - 12.0 * Smooth(0.5, 1.0, t);
}

static double FuselageCentreZ(double x)
{
    double t = (x - NOSE_JOIN_X) / (FORWARD_END_X - NOSE_JOIN_X);
    return -7.0 * Smooth(0.3, 1.0, t);
}

static double FuselageTopZ(double x)
{
    return FuselageCentreZ(x) + FuselageHeight(x);
}

static double FuselageBottomZ(double x)
{
    return FuselageCentreZ(x) - FuselageHeight(x);
}

// Section point: angle u * 2 pi from the bottom, through +y, over the top.
static P3 FuselagePoint(double x, double u)
{
    double a = 2.0 * M_PI * u;
    return {x, JET_Y0 + FuselageWidth(x) * std::sin(a), FuselageCentreZ(x) - FuselageHeight(x) * std::cos(a)};
}

static P3 NosePoint(double s, double u)
{
    double r = NOSE_RADIUS * (1.0 - (1.0 - s) * (1.0 - s));
    double a = 2.0 * M_PI * u;
    return {NOSE_TIP_X + s * (NOSE_JOIN_X - NOSE_TIP_X), JET_Y0 + r * std::sin(a), -r * std::cos(a)};
}

// ---- Canopy ---------------------------------------------------------------

const double CANOPY_FRONT_X = -390.0;
const double CANOPY_REAR_X = -150.0;

// s along the canopy from front to rear, u from the +y sill over the top to
// the -y sill; grow widens it (the frame sits just outside the glazing).
static P3 CanopyPoint(double s, double u, double grow)
{
    double x = CANOPY_FRONT_X + s * (CANOPY_REAR_X - CANOPY_FRONT_X);
    double shape = std::pow(std::sin(M_PI * std::pow(s, 0.7)), 0.6);
    double halfWidth = 29.0 * shape + grow;
    double height = 34.0 * shape + grow;
    double base = FuselageTopZ(x) - 14.0;
    double a = M_PI * u;
    return {x, JET_Y0 + halfWidth * std::cos(a), base + height * std::sin(a)};
}

// ---- Engine nacelles, spine and belly -------------------------------------

const double NACELLE_RADIUS = 55.0;

// A nacelle section: centre, half-width, half-height and the exponent of
// its outline (below 1 squarer than an ellipse).
struct Section {
    double y, z, halfWidth, halfHeight, shape;
};

// Squarish at the intake, round from x = 150 on, and from NACELLE_BLEND_X
// on turning into the nozzle round the glow.
static Section NacelleSection(double x, double side)
{
    double t = Smooth(NACELLE_BLEND_X, NACELLE_REAR_X, x);
    double axisY = JET_Y0 + side * NACELLE_Y;
    double front = 0.35 + 0.65 * Smooth(NACELLE_FRONT_X, 150.0, x);
    return {axisY + t * (GLOW_Y[side > 0] - axisY), NACELLE_Z + t * (GLOW_Z - NACELLE_Z),
            NACELLE_RADIUS + t * (NOZZLE_OUTER_Y - NACELLE_RADIUS), NACELLE_RADIUS + t * (NOZZLE_OUTER_Z - NACELLE_RADIUS),
            front + t * (NOZZLE_SHAPE - front)};
}

// Angle u * 2 pi from the bottom, through +y, over the top.
static P3 SectionPoint(const Section& c, double x, double u, double scale)
{
    double a = 2.0 * M_PI * u;
    return {x, c.y + scale * c.halfWidth * SignedPow(std::sin(a), c.shape),
            c.z - scale * c.halfHeight * SignedPow(std::cos(a), c.shape)};
}

static P3 NacellePoint(double x, double u, double side, double scale)
{
    return SectionPoint(NacelleSection(x, side), x, u, scale);
}

// The body's rows: even along the round middle, close where the nozzle grows.
static double NacelleStation(double s)
{
    const double stations[] = {NACELLE_FRONT_X, 150.0, 400.0, NACELLE_BLEND_X, 680.0, NACELLE_REAR_X};
    double k = s * 5.0;
    int i = std::min(4, (int)k);
    return stations[i] + (k - i) * (stations[i + 1] - stations[i]);
}

// Spine and belly run between the two nacelles' crowns and keels.
static P3 BetweenNacelles(double x, double v, bool top)
{
    Section left = NacelleSection(x, -1.0), right = NacelleSection(x, 1.0);
    double zl = top ? left.z + left.halfHeight : left.z - left.halfHeight;
    double zr = top ? right.z + right.halfHeight : right.z - right.halfHeight;
    double t = 0.5 * (v + 1.0);
    return {x, left.y + t * (right.y - left.y), zl + t * (zr - zl)};
}

static P3 SpinePoint(double x, double u)
{
    double v = 2.0 * u - 1.0;
    double crest = SPINE_CREST * (1.0 - v * v) * (1.0 - Smooth(600.0, SPINE_REAR_X, x));
    return BetweenNacelles(x, v, true) + P3{0, 0, crest};
}

static P3 BellyPoint(double x, double u)
{
    double v = 2.0 * u - 1.0;
    double bump = std::sqrt(std::fmax(0.0, std::sin(M_PI * (x - NACELLE_FRONT_X) / (SPINE_REAR_X - NACELLE_FRONT_X))));
    P3 keel = BetweenNacelles(x, v, false);
    double drop = (1.0 - v * v) * bump;
    return {x, keel.y, keel.z + (BELLY_LOW_Z - keel.z) * drop};
}

// ---- Lifting surfaces -----------------------------------------------------

// A tapered surface: root and tip chords at two spanwise stations, a rounded
// section whose half-thickness is `thick` times sin(pi c)^0.6.
struct Planform {
    double rootY, tipY;           // distance from the centre line
    double rootLE, rootTE, tipLE, tipTE;
    double midZ;
    double rootThick, tipThick;
    double lowerShare;            // lower skin depth as a share of the upper
};

const Planform WING = {140.0, HALF_SPAN, -40.0, 430.0, 390.0, 520.0, 5.0, 16.0, 6.0, 0.6};
// The tailplanes pass over the nozzles, their roots inside the nozzle walls.
const Planform TAILPLANE = {140.0, 400.0, 650.0, 860.0, 830.0, TAILPLANE_TIP_TE_X, 0.0, 6.0, 3.0, 1.0};

static double SectionShape(double c)
{
    return std::pow(std::fmax(0.0, std::sin(M_PI * c)), 0.6);
}

// c along the chord (0 leading edge), e along the span (0 root), skin +1 the
// upper and -1 the lower.
static P3 PlanformPoint(const Planform& w, double c, double e, double side, double skin, double lift)
{
    double le = w.rootLE + e * (w.tipLE - w.rootLE);
    double te = w.rootTE + e * (w.tipTE - w.rootTE);
    double thick = (w.rootThick + e * (w.tipThick - w.rootThick)) * SectionShape(c);
    double z = w.midZ + (skin > 0 ? thick + lift : -w.lowerShare * thick);
    return {le + c * (te - le), JET_Y0 + side * (w.rootY + e * (w.tipY - w.rootY)), z};
}

static void AddPlanform(MeshPart& upper, MeshPart& lower, const Planform& w, double side, int nc, int ne)
{
    AddSurface(upper, [&](double s, double u) { return PlanformPoint(w, s, u, side, 1.0, 0.0); }, nc, ne, side > 0);
    AddSurface(lower, [&](double s, double u) { return PlanformPoint(w, s, u, side, -1.0, 0.0); }, nc, ne, side < 0);
    AddFlatSurface(lower, [&](double s, double u) {
        P3 top = PlanformPoint(w, u, 1.0, side, 1.0, 0.0), bottom = PlanformPoint(w, u, 1.0, side, -1.0, 0.0);
        return top + (bottom - top) * s;
    }, 1, nc, {0, side, 0});
}

// Fin: chord c, height e from root to tip; canted outwards; skin +1 outer.
const double FIN_ROOT_Z = 0.0; // inside the nacelle crown all along the root
const double FIN_CANT = 0.21; // outward lean, y per unit of height

static P3 FinPoint(double c, double e, double side, double skin)
{
    double le = 560.0 + e * (770.0 - 560.0);
    double te = 850.0 + e * (880.0 - 850.0);
    double z = FIN_ROOT_Z + e * (FIN_TIP_Z - FIN_ROOT_Z);
    double thick = (7.0 - 4.5 * e) * SectionShape(c);
    double y = NACELLE_Y + (z - FIN_ROOT_Z) * FIN_CANT + skin * thick;
    return {le + c * (te - le), JET_Y0 + side * y, z};
}

static void AddFinSkins(MeshPart& part, double side, double c0, double c1, int nc, int ne)
{
    for (double skin : {1.0, -1.0})
        AddSurface(part, [=](double s, double u) { return FinPoint(c0 + s * (c1 - c0), u, side, skin); }, nc, ne,
                   skin * side < 0);
}

static void AddFinTip(MeshPart& part, const JetCuts& cuts, double side)
{
    AddFlatSurface(part, [=](double s, double u) {
        P3 outer = FinPoint(u, 1.0, side, 1.0), inner = FinPoint(u, 1.0, side, -1.0);
        return outer + (inner - outer) * s;
    }, 1, Rows(cuts, 8), {0, 0, 1});
}

// ---- Insignia ---------------------------------------------------------------

// A roundel laid on a surface: the mapping takes a point of the flat disc
// (dx, dy, lift) to the surface point and its normal.
using SurfaceMap = std::function<void(double dx, double dy, double lift, P3& point, P3& normal)>;

static void AddDisc(MeshPart& part, const SurfaceMap& map, double inner, double outer, int segments, double lift)
{
    for (int k = 0; k < segments; k++) {
        double a0 = 2.0 * M_PI * k / segments, a1 = 2.0 * M_PI * (k + 1) / segments;
        P3 p[4], n[4];
        map(outer * std::cos(a0), outer * std::sin(a0), lift, p[0], n[0]);
        map(outer * std::cos(a1), outer * std::sin(a1), lift, p[1], n[1]);
        map(inner * std::cos(a1), inner * std::sin(a1), lift, p[2], n[2]);
        map(inner * std::cos(a0), inner * std::sin(a0), lift, p[3], n[3]);
        AddTriangle(part, p[0], n[0], p[1], n[1], p[2], n[2]);
        if (inner > 0.0)
            AddTriangle(part, p[0], n[0], p[2], n[2], p[3], n[3]);
    }
}

// Blue ring, white disc, pink centre, each a little above the one below.
static void AddRoundel(MeshPart& white, MeshPart& blue, MeshPart& pink, const SurfaceMap& map, double radius)
{
    AddDisc(blue, map, radius * 0.55, radius, 18, 1.0);
    AddDisc(white, map, 0.0, radius * 0.62, 26, 1.6);
    AddDisc(pink, map, 0.0, radius * 0.28, 8, 2.2);
}

static double WingTopZ(double x, double yFromCentre)
{
    const Planform& w = WING;
    double e = (yFromCentre - w.rootY) / (w.tipY - w.rootY);
    double le = w.rootLE + e * (w.tipLE - w.rootLE);
    double te = w.rootTE + e * (w.tipTE - w.rootTE);
    double c = (x - le) / (te - le);
    return w.midZ + (w.rootThick + e * (w.tipThick - w.rootThick)) * SectionShape(c);
}

static void WingRoundelMap(double dx, double dy, double lift, P3& point, P3& normal)
{
    const double cx = 395.0, cy = 360.0, h = 0.01; // centre, distance from the centre line, -y wing
    double x = cx + dx, yc = cy + dy;
    double z = WingTopZ(x, yc);
    double dzdx = (WingTopZ(x + h, yc) - WingTopZ(x - h, yc)) / (2 * h);
    double dzdy = (WingTopZ(x, yc + h) - WingTopZ(x, yc - h)) / (2 * h);
    point = {x, JET_Y0 - yc, z + lift};
    normal = Normalised({-dzdx, dzdy, 1.0}); // y mirrored for the -y wing
}

static SurfaceMap NacelleRoundelMap(double side)
{
    return [side](double dx, double dz, double lift, P3& point, P3& normal) {
        const double cx = 560.0;
        double r = NACELLE_RADIUS + lift;
        double a = dz / r;
        point = {cx + dx, JET_Y0 + side * (NACELLE_Y + r * std::cos(a)), NACELLE_Z + r * std::sin(a)};
        normal = {0, side * std::cos(a), std::sin(a)};
    };
}

// ---- Landing gear -----------------------------------------------------------

const double MAIN_WHEEL_X = 330.0, MAIN_WHEEL_Y = 118.0, MAIN_WHEEL_R = 40.0, MAIN_WHEEL_HALF_WIDTH = 12.0;
const double NOSE_WHEEL_X = -330.0, NOSE_WHEEL_Y = 13.0, NOSE_WHEEL_R = 28.0, NOSE_WHEEL_HALF_WIDTH = 7.0;

// Tyre as a torus about an axle along y, with hub discs; the lowest vertex
// lies exactly radius below the centre.
static void AddWheel(MeshPart& part, const JetCuts& cuts, P3 centre, double radius, double halfWidth)
{
    const int segments = cuts.segments;
    double tube = 0.32 * radius, ring = radius - tube;
    AddSurface(part, [=](double s, double u) {
        double t = 2.0 * M_PI * u, f = 2.0 * M_PI * s;
        double rho = ring + tube * std::cos(f);
        return P3{centre.x + rho * std::sin(t), centre.y + halfWidth * std::sin(f), centre.z - rho * std::cos(t)};
    }, std::max(3, Rows(cuts, 5)), segments, true);
    for (double face : {-1.0, 1.0}) {
        P3 hub = {centre.x, centre.y + face * 0.5 * halfWidth, centre.z};
        for (int k = 0; k < segments; k++) {
            double a0 = 2.0 * M_PI * k / segments, a1 = 2.0 * M_PI * (k + 1) / segments;
            AddFlatTriangle(part, hub, hub + P3{ring * std::sin(a0), 0, -ring * std::cos(a0)},
                            hub + P3{ring * std::sin(a1), 0, -ring * std::cos(a1)}, {0, face, 0});
        }
    }
}

// Round strut between two points (axis along z or y), closed at both ends.
static void AddStrut(MeshPart& part, P3 from, P3 to, double radius, int rows, int segments)
{
    P3 axis = to - from;
    P3 across = std::fabs(axis.z) > std::fabs(axis.y) ? P3{1, 0, 0} : P3{0, 0, 1};
    P3 e1 = Normalised(Cross(axis, across)), e2 = Normalised(Cross(axis, e1));
    auto at = [=](double s, double u) {
        double a = 2.0 * M_PI * u;
        return from + axis * s + e1 * (radius * std::cos(a)) + e2 * (radius * std::sin(a));
    };
    AddSurface(part, at, rows, segments, Dot(Cross(axis, Cross(e1, e2)), axis) < 0);
    for (double end : {0.0, 1.0}) {
        P3 centre = from + axis * end;
        P3 normal = Normalised(axis * (end > 0.5 ? 1.0 : -1.0));
        for (int k = 0; k < segments; k++)
            AddFlatTriangle(part, centre, at(end, (double)k / segments), at(end, (double)(k + 1) / segments), normal);
    }
}

// ---- Assembly ---------------------------------------------------------------

struct PartLayout {
    int triangles;
    float r, g, b;
};

// Parts 1-51: triangle count and colour, in drawing order.
const PartLayout JET_PARTS[51] = {
    {216, 0, 0, 0}, {216, 0, 0, 0}, {216, 0, 0, 0}, {216, 0, 0, 0},
    {144, 0.13f, 0.13f, 0.15f}, {144, 0.13f, 0.13f, 0.15f}, {144, 0.13f, 0.13f, 0.15f},
    {28, 0.13f, 0.13f, 0.15f}, {28, 0.13f, 0.13f, 0.15f},
    {60, 0.55f, 0.56f, 0.6f}, {88, 0.55f, 0.56f, 0.6f}, {50, 0.55f, 0.56f, 0.6f}, {86, 0.55f, 0.56f, 0.6f},
    {26, 1, 1, 1}, {36, 0.2f, 0.2f, 0.8f}, {8, 1, 0.6f, 0.6f},
    {26, 1, 1, 1}, {36, 0.2f, 0.2f, 0.8f}, {8, 1, 0.6f, 0.6f},
    {26, 1, 1, 1}, {36, 0.2f, 0.2f, 0.8f}, {8, 1, 0.6f, 0.6f},
    {80, 0.55f, 0.56f, 0.6f}, {80, 0.6f, 0.6f, 0.65f}, {80, 0.55f, 0.56f, 0.6f}, {80, 0.6f, 0.6f, 0.65f},
    {77, 0.55f, 0.56f, 0.6f}, {24, 0.6f, 0.62f, 0.65f}, {31, 0.6f, 0.6f, 0.65f},
    {92, 0.55f, 0.56f, 0.6f}, {18, 0.54f, 0.55f, 0.58f}, {22, 0.6f, 0.62f, 0.65f},
    {110, 0.6f, 0.64f, 0.7f}, {213, 0.55f, 0.56f, 0.6f}, {117, 0.6f, 0.6f, 0.65f},
    {98, 0.566667f, 0.566667f, 0.6f}, {236, 0.55f, 0.56f, 0.6f}, {106, 0.6f, 0.62f, 0.65f},
    {348, 0.55f, 0.56f, 0.6f}, {88, 0.6f, 0.6f, 0.65f},
    {86, 0.64f, 0.64f, 0.7f}, {164, 0.55f, 0.56f, 0.6f}, {114, 0.6f, 0.6f, 0.65f},
    {77, 0.6f, 0.62f, 0.65f}, {36, 0.6f, 0.6f, 0.65f}, {251, 0.55f, 0.56f, 0.6f},
    {106, 1, 1, 1}, {258, 0.02f, 0.05f, 0.533333f},
    {424, 0.55f, 0.56f, 0.6f}, {194, 0.6f, 0.6f, 0.65f}, {152, 0.66f, 0.68f, 0.7f},
};

// Intake: the lip between the squarish nacelle front and the duct mouth, and
// the duct narrowing to a point inside the engine.
static void AddIntake(MeshPart& part, const JetCuts& cuts, double side)
{
    const int segments = cuts.segments;
    const double mouth = 0.82, recess = 2.0, ductEnd = -40.0;
    AddFlatSurface(part, [=](double s, double u) {
        P3 outer = NacellePoint(NACELLE_FRONT_X, u, side, 1.0);
        P3 inner = NacellePoint(NACELLE_FRONT_X + recess, u, side, mouth);
        return outer + (inner - outer) * s;
    }, 1, segments, {-1, 0, 0});
    P3 apex = {ductEnd, JET_Y0 + side * NACELLE_Y, NACELLE_Z};
    AddSurface(part, [=](double s, double u) {
        P3 mouthPoint = NacellePoint(NACELLE_FRONT_X + recess, u, side, mouth);
        return mouthPoint + (apex - mouthPoint) * s;
    }, 1, segments, side > 0);
}

// Outward normals on both sides: the sections are not mirrored by side.
static void AddNacelleBody(MeshPart& part, const JetCuts& cuts, double side)
{
    const int segments = cuts.segments;
    AddSurface(part, [=](double s, double u) { return NacellePoint(NacelleStation(s), u, side, 1.0); }, 5, segments, true);
}

static Section NozzleSection(double side, bool inner)
{
    return {GLOW_Y[side > 0], GLOW_Z, inner ? NOZZLE_INNER_Y : NOZZLE_OUTER_Y, inner ? NOZZLE_INNER_Z : NOZZLE_OUTER_Z,
            NOZZLE_SHAPE};
}

static void AddNozzleOuter(MeshPart& part, const JetCuts& cuts, double side)
{
    const int segments = cuts.segments;
    Section outer = NozzleSection(side, false);
    AddSurface(part, [=](double s, double u) {
        return SectionPoint(outer, NACELLE_REAR_X + s * (NOZZLE_END_X - NACELLE_REAR_X), u, 1.0);
    }, 1, segments, true);
}

// The lip, the inner wall facing the glow, and the face that closes the
// nozzle just ahead of the plate.
static void AddNozzleInner(MeshPart& part, const JetCuts& cuts, double side)
{
    const int segments = cuts.segments;
    Section outer = NozzleSection(side, false), inner = NozzleSection(side, true);
    AddFlatSurface(part, [=](double s, double u) {
        P3 from = SectionPoint(outer, NOZZLE_END_X, u, 1.0), to = SectionPoint(inner, NOZZLE_END_X, u, 1.0);
        return from + (to - from) * s;
    }, 1, segments, {1, 0, 0});
    AddSurface(part, [=](double s, double u) {
        return SectionPoint(inner, NOZZLE_END_X + s * (NOZZLE_FACE_X - NOZZLE_END_X), u, 1.0);
    }, 1, segments, true);
    P3 centre = {NOZZLE_FACE_X, inner.y, inner.z};
    for (int k = 0; k < segments; k++)
        AddFlatTriangle(part, centre, SectionPoint(inner, NOZZLE_FACE_X, (double)k / segments, 1.0),
                        SectionPoint(inner, NOZZLE_FACE_X, (double)(k + 1) / segments, 1.0), {1, 0, 0});
}

// Wing-root extension: a flat glove from the forward fuselage side to the
// wing's leading edge; upper skin, lower skin and the slanted outer edge.
static void AddGlove(MeshPart& upper, MeshPart& lower, MeshPart& edge, const JetCuts& cuts, double side)
{
    const double top = 11.0, bottom = -3.0;
    auto corner = [=](double x, double y, double z) { return P3{x, JET_Y0 + side * y, z}; };
    // Front point A at the fuselage, B on the wing's leading edge, C and D aft.
    auto at = [=](double s, double u, double z) {
        P3 a = corner(-280.0, 40.0, z), b = corner(-40.0, 145.0, z), c = corner(150.0, 145.0, z), d = corner(150.0, 40.0, z);
        P3 front = a + (b - a) * u, back = d + (c - d) * u;
        return front + (back - front) * s;
    };
    AddFlatSurface(upper, [=](double s, double u) { return at(s, u, top); }, Rows(cuts, 4), Rows(cuts, 4), {0, 0, 1});
    AddFlatSurface(lower, [=](double s, double u) { return at(s, u, bottom); }, Rows(cuts, 3), Rows(cuts, 3), {0, 0, -1});
    P3 out = Normalised({-(145.0 - 40.0), side * (-40.0 - (-280.0)), 0}); // A to B turned outwards
    AddFlatSurface(edge, [=](double s, double u) {
        P3 hi = at(0.0, u, top), lo = at(0.0, u, bottom);
        return hi + (lo - hi) * s;
    }, 1, Rows(cuts, 8), out);
}

static std::vector<MeshPart> BuildJet(const JetCuts& cuts)
{
    const int segments = cuts.segments;
    std::vector<MeshPart> parts;
    for (const PartLayout& layout : JET_PARTS)
        parts.push_back(NewPart(layout.r, layout.g, layout.b));
    auto part = [&](int number) -> MeshPart& { return parts[number - 1]; };

    // Gear: nose wheel pair, main wheels, main legs, nose leg.
    AddWheel(part(1), cuts, {NOSE_WHEEL_X, JET_Y0 - NOSE_WHEEL_Y, WHEEL_LOW_Z + NOSE_WHEEL_R}, NOSE_WHEEL_R, NOSE_WHEEL_HALF_WIDTH);
    AddWheel(part(2), cuts, {NOSE_WHEEL_X, JET_Y0 + NOSE_WHEEL_Y, WHEEL_LOW_Z + NOSE_WHEEL_R}, NOSE_WHEEL_R, NOSE_WHEEL_HALF_WIDTH);
    AddWheel(part(3), cuts, {MAIN_WHEEL_X, JET_Y0 - MAIN_WHEEL_Y, WHEEL_LOW_Z + MAIN_WHEEL_R}, MAIN_WHEEL_R, MAIN_WHEEL_HALF_WIDTH);
    AddWheel(part(4), cuts, {MAIN_WHEEL_X, JET_Y0 + MAIN_WHEEL_Y, WHEEL_LOW_Z + MAIN_WHEEL_R}, MAIN_WHEEL_R, MAIN_WHEEL_HALF_WIDTH);
    for (double side : {1.0, -1.0}) {
        MeshPart& leg = part(side > 0 ? 5 : 6);
        double axleZ = WHEEL_LOW_Z + MAIN_WHEEL_R;
        double legY = JET_Y0 + side * NACELLE_Y;
        AddStrut(leg, {MAIN_WHEEL_X, legY, NACELLE_Z - NACELLE_RADIUS + 6.0}, {MAIN_WHEEL_X, legY, axleZ}, 6.0, Rows(cuts, 4), segments * 3 / 4);
        AddStrut(leg, {MAIN_WHEEL_X, legY, axleZ}, {MAIN_WHEEL_X, JET_Y0 + side * MAIN_WHEEL_Y, axleZ}, 3.0, 1, segments * 3 / 8);
    }
    double noseAxleZ = WHEEL_LOW_Z + NOSE_WHEEL_R;
    AddStrut(part(7), {NOSE_WHEEL_X, JET_Y0, FuselageBottomZ(NOSE_WHEEL_X) + 6.0}, {NOSE_WHEEL_X, JET_Y0, noseAxleZ}, 5.0, Rows(cuts, 4), segments * 3 / 4);
    AddStrut(part(7), {NOSE_WHEEL_X, JET_Y0 - NOSE_WHEEL_Y, noseAxleZ}, {NOSE_WHEEL_X, JET_Y0 + NOSE_WHEEL_Y, noseAxleZ}, 2.5, 1, segments * 3 / 8);

    // Seat backs inside the canopy.
    for (int k = 0; k < 2 && cuts.details; k++) {
        double x = k ? -230.0 : -310.0;
        double top = FuselageTopZ(x);
        AddBox(part(8 + k), {x - 8, JET_Y0 - 11, top - 12}, {x + 8, JET_Y0 + 11, top + 14}, false);
    }

    AddPlanform(part(10), part(11), TAILPLANE, 1.0, Rows(cuts, 4), Rows(cuts, 6));
    AddPlanform(part(12), part(13), TAILPLANE, -1.0, Rows(cuts, 4), Rows(cuts, 6));

    if (cuts.details) {
        AddRoundel(part(14), part(15), part(16), WingRoundelMap, 46.0);
        AddRoundel(part(17), part(18), part(19), NacelleRoundelMap(1.0), 24.0);
        AddRoundel(part(20), part(21), part(22), NacelleRoundelMap(-1.0), 24.0);
    }

    AddPlanform(part(23), part(24), WING, -1.0, Rows(cuts, 5), Rows(cuts, 7));
    AddPlanform(part(25), part(26), WING, 1.0, Rows(cuts, 5), Rows(cuts, 7));

    AddGlove(part(27), part(28), part(29), cuts, 1.0);
    AddGlove(part(30), part(31), part(32), cuts, -1.0);

    for (double side : {-1.0, 1.0}) {
        int first = side < 0 ? 33 : 36;
        AddFinSkins(part(first), side, 0.72, 1.0, Rows(cuts, 2), Rows(cuts, 8));   // rudder
        AddFinSkins(part(first + 1), side, 0.0, 0.72, Rows(cuts, 6), Rows(cuts, 8));
        AddFinTip(part(first + 2), cuts, side);
    }

    // Belly with its front closing plate; the beaver tail between the nozzles.
    AddSurface(part(39), [](double s, double u) { return BellyPoint(NACELLE_FRONT_X + s * (SPINE_REAR_X - NACELLE_FRONT_X), u); }, Rows(cuts, 12), Rows(cuts, 12), true);
    AddFlatSurface(part(39), [](double s, double u) {
        P3 low = BellyPoint(NACELLE_FRONT_X, u);
        P3 high = {low.x, low.y, NACELLE_Z + 10.0};
        return low + (high - low) * s;
    }, 1, 4, {-1, 0, 0});
    AddBox(part(40), {SPINE_REAR_X - 5.0, JET_Y0 - 22.0, -34.0}, {900.0, JET_Y0 + 22.0, -28.0}, true);

    AddIntake(part(41), cuts, -1.0);
    AddNacelleBody(part(42), cuts, -1.0);
    AddNozzleOuter(part(43), cuts, -1.0);
    AddNozzleInner(part(43), cuts, -1.0);
    AddIntake(part(44), cuts, 1.0);
    AddNozzleOuter(part(45), cuts, 1.0);
    AddNacelleBody(part(46), cuts, 1.0);
    AddNozzleInner(part(46), cuts, 1.0);

    // Canopy: frame rails and windscreen bow just outside the glazing.
    const double GROW = 1.5;
    AddSurface(part(47), [=](double s, double u) { return CanopyPoint(0.02 + 0.96 * s, 0.1 * u, GROW); }, Rows(cuts, 12), 1, true);
    AddSurface(part(47), [=](double s, double u) { return CanopyPoint(0.02 + 0.96 * s, 0.9 + 0.1 * u, GROW); }, Rows(cuts, 12), 1, true);
    AddSurface(part(47), [=](double s, double u) { return CanopyPoint(0.27 + 0.05 * s, u, GROW); }, 1, Rows(cuts, 10), true);
    AddSurface(part(48), [](double s, double u) { return CanopyPoint(s, u, 0.0); }, Rows(cuts, 12), Rows(cuts, 10), true);

    // Forward fuselage (closed at its hidden rear end), spine, nose cone.
    AddSurface(part(49), [](double s, double u) { return FuselagePoint(NOSE_JOIN_X + s * (FORWARD_END_X - NOSE_JOIN_X), u); }, Rows(cuts, 12), segments, true);
    P3 rear = {FORWARD_END_X, JET_Y0, FuselageCentreZ(FORWARD_END_X)};
    for (int k = 0; k < segments; k++)
        AddFlatTriangle(part(49), rear, FuselagePoint(FORWARD_END_X, (double)k / segments), FuselagePoint(FORWARD_END_X, (double)(k + 1) / segments), {1, 0, 0});
    AddSurface(part(50), [](double s, double u) { return SpinePoint(SPINE_FRONT_X + s * (SPINE_REAR_X - SPINE_FRONT_X), u); }, Rows(cuts, 8), Rows(cuts, 10), false);
    AddFlatSurface(part(50), [](double s, double u) {
        P3 top = SpinePoint(SPINE_REAR_X, u), bottom = BellyPoint(SPINE_REAR_X, u);
        return top + (bottom - top) * s;
    }, 1, 4, {1, 0, 0});
    AddSurface(part(51), NosePoint, Rows(cuts, 4), segments, true);

    for (size_t i = 0; i < parts.size() && cuts.padded; i++) {
        char label[32];
        snprintf(label, sizeof label, "jet %zu", i + 1);
        PadToCount(parts[i], JET_PARTS[i].triangles, label);
    }
    return parts;
}

std::vector<MeshPart> BuildAircraftParts()
{
    return BuildJet(FULL_CUTS);
}

std::vector<MeshPart> BuildGhostAircraftParts()
{
    return BuildJet(GHOST_CUTS);
}
