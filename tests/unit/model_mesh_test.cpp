// The three models as data: part tables, extents, orientation, normals and winding.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

#include "sim/assets/model_data.h"

namespace {

struct PartRow {
    int triangles;
    float r, g, b;
};

const PartRow JET_TABLE[] = {
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

const PartRow AIRFIELD_TABLE[] = {
    {98, 0.2f, 0.3f, 1}, {100, 1, 0.1f, 0.133333f}, {134, 0.5f, 0.566667f, 0.6f}, {28, 0.7f, 0.766667f, 0.733333f},
    {6, 1, 0.133333f, 0}, {32, 1, 0.333333f, 0.333333f}, {140, 0.5f, 0.5f, 0.9f}, {37, 0.3f, 0.3f, 0.3f},
    {140, 0.5f, 0.5f, 0.5f}, {546, 1, 1, 1}, {275, 0.6f, 0.6f, 0.6f}, {190, 0, 0.3f, 0.05f}, {12, 0.5f, 0.75f, 1},
};

const PartRow DELTA_TABLE[] = {{827, 0.1f, 0.05f, 0.5f}, {26, 0.1f, 0.7f, 0.333333f}};

struct Box {
    float lo[3] = {INFINITY, INFINITY, INFINITY};
    float hi[3] = {-INFINITY, -INFINITY, -INFINITY};
};

void Grow(Box& box, const MeshPart& part)
{
    for (size_t i = 0; i < part.vertices.size(); i += FLOATS_PER_VERTEX) {
        for (int k = 0; k < 3; k++) {
            box.lo[k] = std::fmin(box.lo[k], part.vertices[i + 3 + k]);
            box.hi[k] = std::fmax(box.hi[k], part.vertices[i + 3 + k]);
        }
    }
}

Box Extent(const std::vector<MeshPart>& parts, size_t first, size_t last)
{
    Box box;
    for (size_t i = first; i <= last; i++)
        Grow(box, parts[i]);
    return box;
}

Box PartBox(const MeshPart& part)
{
    Box box;
    Grow(box, part);
    return box;
}

void ExpectBox(const Box& box, const float want[6], const char* what)
{
    for (int k = 0; k < 3; k++) {
        EXPECT_NEAR(box.lo[k], want[2 * k], 0.05f) << what << " axis " << k;
        EXPECT_NEAR(box.hi[k], want[2 * k + 1], 0.05f) << what << " axis " << k;
    }
}

struct ModelCase {
    const char* name;
    const std::vector<MeshPart>& (*parts)();
    const PartRow* table;
    size_t rows;
    int total;
};

const ModelCase MODELS[] = {
    {"jet", AircraftParts, JET_TABLE, sizeof JET_TABLE / sizeof JET_TABLE[0], 5608},
    {"airfield", AirfieldParts, AIRFIELD_TABLE, sizeof AIRFIELD_TABLE / sizeof AIRFIELD_TABLE[0], 1738},
    {"delta", DeltaWingParts, DELTA_TABLE, sizeof DELTA_TABLE / sizeof DELTA_TABLE[0], 853},
};

// Does the point (x, y) lie inside a triangle of the part (in plan)?
bool CoversPoint(const MeshPart& part, double x, double y)
{
    for (size_t t = 0; t + FLOATS_PER_TRIANGLE <= part.vertices.size(); t += FLOATS_PER_TRIANGLE) {
        const float* v = &part.vertices[t];
        double ax = v[3], ay = v[4], bx = v[9], by = v[10], cx = v[15], cy = v[16];
        double d1 = (bx - ax) * (y - ay) - (by - ay) * (x - ax);
        double d2 = (cx - bx) * (y - by) - (cy - by) * (x - bx);
        double d3 = (ax - cx) * (y - cy) - (ay - cy) * (x - cx);
        if ((d1 >= 0 && d2 >= 0 && d3 >= 0) || (d1 <= 0 && d2 <= 0 && d3 <= 0))
            return true;
    }
    return false;
}

// Does the ray from `from` along `dir` cross a triangle of the parts?
bool RayHits(const std::vector<MeshPart>& parts, size_t first, size_t last, P3 from, P3 dir)
{
    for (size_t p = first; p <= last; p++) {
        const std::vector<float>& v = parts[p].vertices;
        for (size_t t = 0; t + FLOATS_PER_TRIANGLE <= v.size(); t += FLOATS_PER_TRIANGLE) {
            P3 a = {v[t + 3], v[t + 4], v[t + 5]}, b = {v[t + 9], v[t + 10], v[t + 11]},
               c = {v[t + 15], v[t + 16], v[t + 17]};
            P3 e1 = b - a, e2 = c - a, h = Cross(dir, e2);
            double det = Dot(e1, h);
            if (std::fabs(det) < 1e-12)
                continue;
            P3 q = from - a;
            double u = Dot(q, h) / det, w = Dot(dir, Cross(q, e1)) / det;
            if (u >= 0 && w >= 0 && u + w <= 1 && Dot(e2, Cross(q, e1)) / det > 0)
                return true;
        }
    }
    return false;
}

} // namespace

TEST(ModelMesh, PartsFollowTheTablesInOrderColourAndCount)
{
    for (const ModelCase& m : MODELS) {
        const std::vector<MeshPart>& parts = m.parts();
        ASSERT_EQ(parts.size(), m.rows) << m.name;
        int total = 0;
        for (size_t i = 0; i < parts.size(); i++) {
            EXPECT_EQ(TriangleCount(parts[i]), m.table[i].triangles) << m.name << " part " << i + 1;
            EXPECT_EQ(parts[i].vertices.size(), (size_t)TriangleCount(parts[i]) * FLOATS_PER_TRIANGLE) << m.name;
            EXPECT_FLOAT_EQ(parts[i].colour[0], m.table[i].r) << m.name << " part " << i + 1;
            EXPECT_FLOAT_EQ(parts[i].colour[1], m.table[i].g) << m.name << " part " << i + 1;
            EXPECT_FLOAT_EQ(parts[i].colour[2], m.table[i].b) << m.name << " part " << i + 1;
            total += TriangleCount(parts[i]);
        }
        EXPECT_EQ(total, m.total) << m.name;
    }
    int gear = 0;
    for (int i = 0; i < AIRCRAFT_GEAR_PARTS; i++)
        gear += TriangleCount(AircraftParts()[i]);
    EXPECT_EQ(gear, 1296);
}

// Unit normals; every triangle clockwise seen from the side each of its
// normals faces; no sliver triangles from the padding.
TEST(ModelMesh, NormalsAreUnitAndTrianglesClockwiseAgainstThem)
{
    const struct {
        const char* name;
        const std::vector<MeshPart>& (*parts)();
    } models[] = {{"jet", AircraftParts}, {"airfield", AirfieldParts}, {"delta", DeltaWingParts},
                  {"ghost jet", GhostAircraftParts}};
    for (const auto& m : models) {
        const std::vector<MeshPart>& parts = m.parts();
        for (size_t p = 0; p < parts.size(); p++) {
            const std::vector<float>& v = parts[p].vertices;
            int badNormals = 0, badWinding = 0, slivers = 0;
            for (size_t t = 0; t + FLOATS_PER_TRIANGLE <= v.size(); t += FLOATS_PER_TRIANGLE) {
                const float* a = &v[t];
                const float* b = a + FLOATS_PER_VERTEX;
                const float* c = b + FLOATS_PER_VERTEX;
                P3 e1 = {b[3] - a[3], b[4] - a[4], b[5] - a[5]};
                P3 e2 = {c[3] - a[3], c[4] - a[4], c[5] - a[5]};
                P3 cross = Cross(e1, e2);
                if (std::sqrt(Dot(cross, cross)) < 1e-6)
                    slivers++;
                for (const float* n : {a, b, c}) {
                    P3 normal = {n[0], n[1], n[2]};
                    if (std::fabs(std::sqrt(Dot(normal, normal)) - 1.0) > 1e-5)
                        badNormals++;
                    if (Dot(cross, normal) >= 0.0)
                        badWinding++;
                }
            }
            EXPECT_EQ(badNormals, 0) << m.name << " part " << p + 1;
            EXPECT_EQ(badWinding, 0) << m.name << " part " << p + 1;
            EXPECT_EQ(slivers, 0) << m.name << " part " << p + 1;
        }
    }
}

TEST(ModelMesh, ExtentsMatchTheModelTable)
{
    const std::vector<MeshPart>& jet = AircraftParts();
    const float jetGear[6] = {-533.9f, 917.2f, -536.9f, 549.7f, -190.9f, 199.7f};
    const float jetClean[6] = {-533.9f, 917.2f, -536.9f, 549.7f, -112.3f, 199.7f};
    const float airfield[6] = {-2173.7f, 891.8f, -1577.0f, 1335.0f, 0.0f, 33.0f};
    const float delta[6] = {-45.7f, 45.7f, -28.3f, 21.0f, -2.0f, 4.6f};
    ExpectBox(Extent(jet, 0, jet.size() - 1), jetGear, "jet with gear");
    ExpectBox(Extent(jet, AIRCRAFT_GEAR_PARTS, jet.size() - 1), jetClean, "jet without gear");
    ExpectBox(Extent(AirfieldParts(), 0, AirfieldParts().size() - 1), airfield, "airfield");
    ExpectBox(Extent(DeltaWingParts(), 0, DeltaWingParts().size() - 1), delta, "delta wing");
}

// The ghost stands in for the jet under a see-through pattern: the same
// parts in the same colours and the same outline, at a fraction of the cost.
TEST(ModelMesh, GhostJetKeepsTheJetsPartsColoursAndOutline)
{
    const std::vector<MeshPart>& ghost = GhostAircraftParts();
    const std::vector<MeshPart>& jet = AircraftParts();
    ASSERT_EQ(ghost.size(), jet.size());
    int triangles = 0;
    for (size_t i = 0; i < ghost.size(); i++) {
        for (int k = 0; k < 3; k++)
            EXPECT_FLOAT_EQ(ghost[i].colour[k], jet[i].colour[k]) << "part " << i + 1;
        triangles += TriangleCount(ghost[i]);
    }
    EXPECT_LT(triangles * 3, 5608);
    const float withGear[6] = {-533.9f, 917.2f, -536.9f, 549.7f, -190.9f, 199.7f};
    const float clean[6] = {-533.9f, 917.2f, -536.9f, 549.7f, -112.3f, 199.7f};
    ExpectBox(Extent(ghost, 0, ghost.size() - 1), withGear, "ghost with gear");
    ExpectBox(Extent(ghost, AIRCRAFT_GEAR_PARTS, ghost.size() - 1), clean, "ghost without gear");
    // Whatever is left out, the parts that make the jet's shape are there:
    // tailplanes, wings, fins, belly, nacelles and nozzles, canopy, fuselage, nose.
    for (int part : {10, 12, 23, 25, 33, 34, 36, 37, 39, 42, 43, 45, 46, 48, 49, 51})
        EXPECT_GT(TriangleCount(ghost[part - 1]), 0) << "part " << part;
}

// Where each part of the jet sits: nose at -x, z up, "side" the sign of y.
TEST(ModelMesh, JetPartsSitWhereTheTableSays)
{
    const std::vector<MeshPart>& jet = AircraftParts();
    const float centre = 0.5f * (-536.9f + 549.7f);
    auto box = [&](int part) { return PartBox(jet[part - 1]); };
    auto midY = [&](int part) { return 0.5f * (box(part).lo[1] + box(part).hi[1]) - centre; };
    // Gear below the clean aircraft; nose wheels forward and side by side.
    for (int part = 1; part <= 7; part++)
        EXPECT_LT(box(part).lo[2], -112.3f) << part;
    EXPECT_LT(box(1).hi[0], 0.0f);
    EXPECT_LT(box(2).hi[0], 0.0f);
    EXPECT_LT(midY(1) * midY(2), 0.0f);
    EXPECT_NEAR(box(1).lo[2], box(2).lo[2], 0.01f);
    EXPECT_GT(box(3).lo[0], 0.0f);
    EXPECT_LT(midY(3), 0.0f);
    EXPECT_GT(midY(4), 0.0f);
    EXPECT_GT(midY(5), 0.0f);
    EXPECT_LT(midY(6), 0.0f);
    EXPECT_LT(box(7).hi[0], 0.0f);
    // Sided pieces: (part, sign of y).
    const int sided[][2] = {{10, 1}, {11, 1}, {12, -1}, {13, -1}, {14, -1}, {15, -1}, {16, -1}, {17, 1}, {18, 1},
                            {19, 1}, {20, -1}, {21, -1}, {22, -1}, {23, -1}, {24, -1}, {25, 1}, {26, 1}, {27, 1},
                            {28, 1}, {29, 1}, {30, -1}, {31, -1}, {32, -1}, {33, -1}, {34, -1}, {35, -1}, {36, 1},
                            {37, 1}, {38, 1}, {41, -1}, {42, -1}, {43, -1}, {44, 1}, {45, 1}, {46, 1}};
    for (const auto& s : sided) {
        Box b = box(s[0]);
        if (s[1] > 0)
            EXPECT_GT(b.lo[1], centre) << "part " << s[0];
        else
            EXPECT_LT(b.hi[1], centre) << "part " << s[0];
    }
    // Wings reach the span, fins the top, the nose cone the front, the
    // canopy sits forward on top, the wing insignia on the wing's upper skin.
    EXPECT_NEAR(box(23).lo[1], -536.9f, 0.05f);
    EXPECT_NEAR(box(25).hi[1], 549.7f, 0.05f);
    EXPECT_NEAR(std::fmax(box(34).hi[2], box(37).hi[2]), 199.7f, 0.05f);
    EXPECT_NEAR(box(51).lo[0], -533.9f, 0.05f);
    EXPECT_LT(box(48).hi[0], 0.0f);
    EXPECT_GT(box(48).hi[2], box(49).hi[2]);
    EXPECT_GT(box(14).lo[2], box(24).hi[2] - 1.0f);
    // Fins stand well apart (twin fins), engines likewise.
    EXPECT_GT(midY(36) - midY(33), 150.0f);
    EXPECT_GT(midY(46) - midY(42), 150.0f);
}

TEST(ModelMesh, AirfieldGroundMarkingsAndBuildings)
{
    const std::vector<MeshPart>& field = AirfieldParts();
    for (int part : {8, 9, 11, 12}) {
        Box b = PartBox(field[part - 1]);
        EXPECT_EQ(b.lo[2], 0.0f) << part;
        EXPECT_EQ(b.hi[2], 0.0f) << part;
    }
    Box marks = PartBox(field[9]);
    EXPECT_FLOAT_EQ(marks.lo[2], 0.005f);
    EXPECT_FLOAT_EQ(marks.hi[2], 0.005f);
    // Every marking lies on a paved surface.
    const std::vector<float>& m = field[9].vertices;
    int offPaving = 0;
    for (size_t t = 0; t + FLOATS_PER_TRIANGLE <= m.size(); t += FLOATS_PER_TRIANGLE) {
        double x = (m[t + 3] + m[t + 9] + m[t + 15]) / 3.0, y = (m[t + 4] + m[t + 10] + m[t + 16]) / 3.0;
        if (!CoversPoint(field[7], x, y) && !CoversPoint(field[8], x, y) && !CoversPoint(field[10], x, y))
            offPaving++;
    }
    EXPECT_EQ(offPaving, 0);
    // The aircraft starts on the runway (world 3075, -9470 is model 307.5, 947)
    // and the parked jet stands on the apron (world 5000, 1000).
    EXPECT_TRUE(CoversPoint(field[7], 307.5, 947.0));
    EXPECT_TRUE(CoversPoint(field[10], 500.0, -100.0));

    // Buildings: (part, lowest z, highest z) and all inside the building area.
    const float heights[][3] = {{1, 0, 33}, {2, 12, 17.5f}, {3, 0, 24.5f}, {4, 11, 20}, {5, 0, 20},
                                {6, 17.5f, 24.5f}, {7, 2.6f, 9.7f}, {13, 19, 23}};
    for (const auto& h : heights) {
        Box b = PartBox(field[(int)h[0] - 1]);
        EXPECT_NEAR(b.lo[2], h[1], 0.05f) << "part " << h[0];
        EXPECT_NEAR(b.hi[2], h[2], 0.05f) << "part " << h[0];
        EXPECT_GE(b.lo[0], 554.0f) << "part " << h[0];
        EXPECT_LE(b.hi[0], 867.0f) << "part " << h[0];
        EXPECT_GE(b.lo[1], -401.0f) << "part " << h[0];
        EXPECT_LE(b.hi[1], -35.0f) << "part " << h[0];
    }
    Box tower = PartBox(field[0]), block = PartBox(field[5]), box = PartBox(field[12]);
    EXPECT_NEAR(tower.hi[0] - tower.lo[0], 24.0f, 0.05f);
    EXPECT_NEAR(tower.hi[1] - tower.lo[1], 82.0f, 0.05f);
    EXPECT_NEAR(block.hi[0] - block.lo[0], 13.0f, 0.05f);
    EXPECT_NEAR(block.hi[1] - block.lo[1], 13.0f, 0.05f);
    EXPECT_NEAR(box.hi[0] - box.lo[0], 8.0f, 0.05f);
    EXPECT_NEAR(box.hi[1] - box.lo[1], 8.0f, 0.05f);
    // Beside the raised block: touching one of its sides.
    bool touches = std::fabs(box.lo[0] - block.hi[0]) < 0.5f || std::fabs(box.hi[0] - block.lo[0]) < 0.5f ||
                   std::fabs(box.lo[1] - block.hi[1]) < 0.5f || std::fabs(box.hi[1] - block.lo[1]) < 0.5f;
    EXPECT_TRUE(touches);
}

TEST(ModelMesh, DeltaWingIsSymmetricWithItsPointAtPlusY)
{
    const std::vector<MeshPart>& delta = DeltaWingParts();
    Box body = PartBox(delta[0]), raised = PartBox(delta[1]);
    EXPECT_NEAR(body.lo[0], -body.hi[0], 0.01f);
    EXPECT_NEAR(raised.lo[0], -raised.hi[0], 0.01f);
    EXPECT_NEAR(raised.lo[1], -18.1f, 0.05f);
    EXPECT_NEAR(raised.hi[1], -6.1f, 0.05f);
    EXPECT_NEAR(raised.hi[2], 4.6f, 0.05f);
    // The point: every vertex at the front lies on the centre line, and the
    // body narrows towards it.
    for (size_t i = 0; i < delta[0].vertices.size(); i += FLOATS_PER_VERTEX) {
        float x = delta[0].vertices[i + 3], y = delta[0].vertices[i + 4];
        EXPECT_LE(std::fabs(x), 45.7f * (21.0f - y) / 49.3f + 0.01f);
    }
}

// Curved surfaces are smooth: where triangles meet at a vertex, they share
// its normal. Checked on the nose cone, the canopy glazing and a wheel.
TEST(ModelMesh, CurvedPartsShareNormalsAtSharedVertices)
{
    for (int part : {1, 48, 49, 51}) {
        const std::vector<float>& v = AircraftParts()[part - 1].vertices;
        std::map<std::tuple<float, float, float>, std::tuple<float, float, float>> seen;
        int differing = 0, shared = 0;
        for (size_t i = 0; i < v.size(); i += FLOATS_PER_VERTEX) {
            auto key = std::make_tuple(v[i + 3], v[i + 4], v[i + 5]);
            auto normal = std::make_tuple(v[i], v[i + 1], v[i + 2]);
            auto it = seen.find(key);
            if (it == seen.end()) {
                seen[key] = normal;
                continue;
            }
            shared++;
            float dx = std::get<0>(it->second) - v[i], dy = std::get<1>(it->second) - v[i + 1], dz = std::get<2>(it->second) - v[i + 2];
            if (dx * dx + dy * dy + dz * dz > 1e-6f)
                differing++;
        }
        EXPECT_GT(shared, 0) << part;
        // Only the few vertices at a pole or a closing fan may differ.
        EXPECT_LT(differing, shared / 5) << "part " << part;
    }
}

// The renderer draws each engine's glow (centre x 780, y -108 or +113.4,
// z -52; half-sizes 10, 54, 40) and nozzle plate (x 760, half-sizes 54, 36)
// at fixed places: both must sit inside their nozzle's skin, and the glow
// must be seen from behind through an open nozzle.
TEST(ModelMesh, NozzlesHoldTheGlowsAndPlatesAndShowTheGlowsFromBehind)
{
    const std::vector<MeshPart>& jet = AircraftParts();
    const double glowY[2] = {-108.0, 113.4}, glowZ = -52.0;
    for (int side = 0; side < 2; side++) {
        size_t first = side == 0 ? 40 : 43; // parts 41-43 or 44-46
        for (int k = 0; k < 16; k++) {
            double a = 2.0 * M_PI * k / 16, c = std::cos(a), s = std::sin(a);
            // Outwards from any point of the glow's rim or the plate's edge
            // the nacelle's skin lies in the way.
            P3 rim = {780.0, glowY[side] + 54.0 * c, glowZ + 40.0 * s};
            EXPECT_TRUE(RayHits(jet, first, first + 2, rim, {0, c, s})) << "glow rim shows, side " << side << " " << k;
            double reach = std::fmin(54.0 / std::fabs(c + 1e-12), 36.0 / std::fabs(s + 1e-12));
            P3 plate = {760.0, glowY[side] + reach * c, glowZ + reach * s};
            EXPECT_TRUE(RayHits(jet, first, first + 2, plate, {0, c, s})) << "plate shows, side " << side << " " << k;
            // Backwards from the glow's rear nothing of the jet is in the way.
            P3 back = {790.0, glowY[side] + 45.0 * c, glowZ + 32.0 * s};
            EXPECT_FALSE(RayHits(jet, 0, jet.size() - 1, back, {1, 0, 0})) << "glow hidden, side " << side << " " << k;
        }
        EXPECT_FALSE(RayHits(jet, 0, jet.size() - 1, {790.0, glowY[side], glowZ}, {1, 0, 0}));
    }
}

TEST(ModelMesh, BuildingIsDeterministic)
{
    std::vector<MeshPart> first = BuildAircraftParts(), second = BuildAircraftParts();
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); i++)
        EXPECT_EQ(first[i].vertices, second[i].vertices) << "part " << i + 1;
}
