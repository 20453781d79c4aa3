// Building blocks for the procedural model meshes.
#include "sim/assets/mesh_builder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

double Dot(P3 a, P3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

P3 Cross(P3 a, P3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

P3 Normalised(P3 a)
{
    double length = std::sqrt(Dot(a, a));
    if (length <= 0.0)
        return {0, 0, 1};
    return a * (1.0 / length);
}

int TriangleCount(const MeshPart& part)
{
    return (int)(part.vertices.size() / FLOATS_PER_TRIANGLE);
}

MeshPart NewPart(float r, float g, float b)
{
    MeshPart part;
    part.colour[0] = r;
    part.colour[1] = g;
    part.colour[2] = b;
    return part;
}

static void PushVertex(MeshPart& part, P3 p, P3 n)
{
    const float v[FLOATS_PER_VERTEX] = {(float)n.x, (float)n.y, (float)n.z, (float)p.x, (float)p.y, (float)p.z};
    part.vertices.insert(part.vertices.end(), v, v + FLOATS_PER_VERTEX);
}

// Smallest twice-area (model units squared) a triangle may have; below it the
// triangle is a sliver of a pole or a collapsed edge and is not emitted.
const double MIN_DOUBLE_AREA = 1e-6;
// A vertex normal must lean into its face at least this much (cosine).
const double MIN_NORMAL_AGREEMENT = 0.05;

void AddTriangle(MeshPart& part, P3 a, P3 na, P3 b, P3 nb, P3 c, P3 nc)
{
    P3 cross = Cross(b - a, c - a);
    double doubleArea = std::sqrt(Dot(cross, cross));
    if (doubleArea < MIN_DOUBLE_AREA)
        return;
    na = Normalised(na);
    nb = Normalised(nb);
    nc = Normalised(nc);
    // The face side is the one the vertex normals agree on.
    P3 face = cross * (1.0 / doubleArea);
    if (Dot(face, na + nb + nc) < 0.0)
        face = face * -1.0;
    P3* normals[3] = {&na, &nb, &nc};
    for (P3* n : normals)
        if (Dot(*n, face) < MIN_NORMAL_AGREEMENT)
            *n = Normalised(*n * 0.5 + face);
    // Clockwise seen from the normals' side: the cross product opposes them.
    if (Dot(cross, face) > 0.0) {
        std::swap(b, c);
        std::swap(nb, nc);
    }
    PushVertex(part, a, na);
    PushVertex(part, b, nb);
    PushVertex(part, c, nc);
}

void AddFlatTriangle(MeshPart& part, P3 a, P3 b, P3 c, P3 normal)
{
    AddTriangle(part, a, normal, b, normal, c, normal);
}

void AddFlatQuad(MeshPart& part, P3 a, P3 b, P3 c, P3 d, P3 normal)
{
    AddFlatTriangle(part, a, b, c, normal);
    AddFlatTriangle(part, a, c, d, normal);
}

// Step of the finite differences, in parameter units.
const double DIFF_STEP = 1e-5;
// How far beside a pole the normal is sampled, in parameter units.
const double POLE_STEP = 1e-3;

static P3 RawNormal(const SurfaceFn& f, double s, double u)
{
    double s0 = std::fmax(0.0, s - DIFF_STEP), s1 = std::fmin(1.0, s + DIFF_STEP);
    double u0 = std::fmax(0.0, u - DIFF_STEP), u1 = std::fmin(1.0, u + DIFF_STEP);
    P3 ds = (f(s1, u) - f(s0, u)) * (1.0 / (s1 - s0));
    P3 du = (f(s, u1) - f(s, u0)) * (1.0 / (u1 - u0));
    return Cross(ds, du);
}

static P3 SurfaceNormal(const SurfaceFn& f, double s, double u, bool flip)
{
    P3 n = RawNormal(f, s, u);
    if (Dot(n, n) < 1e-12) {
        double sIn = s < 0.5 ? s + POLE_STEP : s - POLE_STEP;
        double uIn = u < 0.5 ? u + POLE_STEP : u - POLE_STEP;
        n = RawNormal(f, sIn, u);
        if (Dot(n, n) < 1e-12)
            n = RawNormal(f, s, uIn);
    }
    n = Normalised(n);
    return flip ? n * -1.0 : n;
}

static void AddGrid(MeshPart& part, const SurfaceFn& f, int ns, int nu, const std::function<P3(double, double)>& normal)
{
    for (int i = 0; i < ns; i++) {
        for (int j = 0; j < nu; j++) {
            double s0 = (double)i / ns, s1 = (double)(i + 1) / ns;
            double u0 = (double)j / nu, u1 = (double)(j + 1) / nu;
            P3 a = f(s0, u0), b = f(s1, u0), c = f(s1, u1), d = f(s0, u1);
            P3 na = normal(s0, u0), nb = normal(s1, u0), nc = normal(s1, u1), nd = normal(s0, u1);
            AddTriangle(part, a, na, b, nb, c, nc);
            AddTriangle(part, a, na, c, nc, d, nd);
        }
    }
}

void AddSurface(MeshPart& part, const SurfaceFn& f, int ns, int nu, bool flip)
{
    AddGrid(part, f, ns, nu, [&](double s, double u) { return SurfaceNormal(f, s, u, flip); });
}

void AddFlatSurface(MeshPart& part, const SurfaceFn& f, int ns, int nu, P3 normal)
{
    AddGrid(part, f, ns, nu, [&](double, double) { return normal; });
}

void AddBox(MeshPart& part, P3 lo, P3 hi, bool bottom)
{
    P3 c[8];
    for (int i = 0; i < 8; i++)
        c[i] = {(i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z};
    AddFlatQuad(part, c[0], c[1], c[5], c[4], {0, -1, 0});
    AddFlatQuad(part, c[2], c[3], c[7], c[6], {0, 1, 0});
    AddFlatQuad(part, c[0], c[2], c[6], c[4], {-1, 0, 0});
    AddFlatQuad(part, c[1], c[3], c[7], c[5], {1, 0, 0});
    AddFlatQuad(part, c[4], c[5], c[7], c[6], {0, 0, 1});
    if (bottom)
        AddFlatQuad(part, c[0], c[1], c[3], c[2], {0, 0, -1});
}

static P3 VertexPos(const float* v)
{
    return {v[3], v[4], v[5]};
}

static P3 VertexNormal(const float* v)
{
    return {v[0], v[1], v[2]};
}

void PadToCount(MeshPart& part, int count, const char* label)
{
    if (TriangleCount(part) > count) {
        fprintf(stderr, "model part %s: %d triangles, more than its %d\n", label, TriangleCount(part), count);
        exit(1);
    }
    while (TriangleCount(part) < count) {
        int best = 0, bestEdge = 0;
        double bestLength = -1.0;
        for (int t = 0; t < TriangleCount(part); t++) {
            const float* tri = &part.vertices[(size_t)t * FLOATS_PER_TRIANGLE];
            for (int e = 0; e < 3; e++) {
                P3 d = VertexPos(tri + e * FLOATS_PER_VERTEX) - VertexPos(tri + ((e + 1) % 3) * FLOATS_PER_VERTEX);
                double length = Dot(d, d);
                if (length > bestLength) {
                    bestLength = length;
                    best = t;
                    bestEdge = e;
                }
            }
        }
        // Split edge (k, k+1) at its middle m: (k, m, k+2) and (m, k+1, k+2)
        // keep the order, hence the winding, of the original.
        float tri[FLOATS_PER_TRIANGLE];
        std::copy_n(&part.vertices[(size_t)best * FLOATS_PER_TRIANGLE], FLOATS_PER_TRIANGLE, tri);
        const float* v0 = tri + bestEdge * FLOATS_PER_VERTEX;
        const float* v1 = tri + ((bestEdge + 1) % 3) * FLOATS_PER_VERTEX;
        const float* v2 = tri + ((bestEdge + 2) % 3) * FLOATS_PER_VERTEX;
        P3 m = (VertexPos(v0) + VertexPos(v1)) * 0.5;
        P3 nm = Normalised(VertexNormal(v0) + VertexNormal(v1));
        float mid[FLOATS_PER_VERTEX] = {(float)nm.x, (float)nm.y, (float)nm.z, (float)m.x, (float)m.y, (float)m.z};
        float first[FLOATS_PER_TRIANGLE], second[FLOATS_PER_TRIANGLE];
        std::copy_n(v0, FLOATS_PER_VERTEX, first);
        std::copy_n(mid, FLOATS_PER_VERTEX, first + FLOATS_PER_VERTEX);
        std::copy_n(v2, FLOATS_PER_VERTEX, first + 2 * FLOATS_PER_VERTEX);
        std::copy_n(mid, FLOATS_PER_VERTEX, second);
        std::copy_n(v1, FLOATS_PER_VERTEX, second + FLOATS_PER_VERTEX);
        std::copy_n(v2, FLOATS_PER_VERTEX, second + 2 * FLOATS_PER_VERTEX);
        std::copy_n(first, FLOATS_PER_TRIANGLE, &part.vertices[(size_t)best * FLOATS_PER_TRIANGLE]);
        part.vertices.insert(part.vertices.end(), second, second + FLOATS_PER_TRIANGLE);
    }
}
