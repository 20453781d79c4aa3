// Building blocks for the procedural model meshes: triangles that orient
// themselves against their normals, parametric surfaces, boxes, and padding
// of a part to an exact triangle count.
#pragma once

#include <functional>
#include <vector>

// One part of a model: one colour and a triangle list, 6 floats per vertex
// (nx ny nz x y z), 3 vertices per triangle, no indices.
struct MeshPart {
    float colour[3];
    std::vector<float> vertices;
};

const int FLOATS_PER_VERTEX = 6;
const int FLOATS_PER_TRIANGLE = 3 * FLOATS_PER_VERTEX;

// Builder-side point or direction, in double so that construction rounds once.
struct P3 {
    double x, y, z;
};

inline P3 operator+(P3 a, P3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline P3 operator-(P3 a, P3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline P3 operator*(P3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double Dot(P3 a, P3 b);
P3 Cross(P3 a, P3 b);
P3 Normalised(P3 a);

// A surface point as a function of two parameters, each run over [0, 1].
using SurfaceFn = std::function<P3(double s, double u)>;

int TriangleCount(const MeshPart& part);
MeshPart NewPart(float r, float g, float b);

// Appends a triangle, listed clockwise as seen from the side its normals face
// (the vertex order is swapped when needed). A vertex normal that leans more
// than about 90 degrees off the face is pulled towards the face normal, so a
// coarse curved surface never gives a vertex facing away from its triangle.
// Triangles of (near) zero area are dropped; padding restores the count.
void AddTriangle(MeshPart& part, P3 a, P3 na, P3 b, P3 nb, P3 c, P3 nc);
void AddFlatTriangle(MeshPart& part, P3 a, P3 b, P3 c, P3 normal);
// Quad a-b-c-d (in order round its edge) as triangles a-b-c and a-c-d.
void AddFlatQuad(MeshPart& part, P3 a, P3 b, P3 c, P3 d, P3 normal);

// Samples f on an ns x nu grid of cells, two triangles per cell, with smooth
// normals from the surface's partial derivatives. The normal is
// d f/ds x d f/du, negated when flip is set; at a pole (where that vanishes)
// it is taken from a point just beside it.
void AddSurface(MeshPart& part, const SurfaceFn& f, int ns, int nu, bool flip);
// Flat surface of the same grid: every vertex takes the given normal.
void AddFlatSurface(MeshPart& part, const SurfaceFn& f, int ns, int nu, P3 normal);
// Axis-aligned box with outward normals; the bottom face only when asked.
void AddBox(MeshPart& part, P3 lo, P3 hi, bool bottom);

// Splits the triangle with the longest edge at that edge's midpoint until the
// part holds exactly `count` triangles. Stops the program when the part
// already holds more: that is a builder fault, not a run-time condition.
void PadToCount(MeshPart& part, int count, const char* label);
