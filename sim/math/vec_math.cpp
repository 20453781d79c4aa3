// Vector and rotation operations over plain records; no state of their own.
#include "sim/math/vec_math.h"

#include <cmath>
#include <cstdio>

void AddTo(const Vec3& a, Vec3& b)
{
    b.x += a.x;
    b.y += a.y;
    b.z += a.z;
}

float Dot(const Vec3& a, const Vec3& b)
{
    return (float)((double)a.x * b.x + (double)a.y * b.y + (double)a.z * b.z);
}

float Length(const Vec3& v)
{
    double sq = (double)v.x * v.x + (double)v.y * v.y + (double)v.z * v.z;
    if (sq == 1.0)
        return 1.0f;
    return (float)std::sqrt(sq);
}

void Normalize(Vec3& v)
{
    double l = std::sqrt((double)v.x * v.x + (double)v.y * v.y + (double)v.z * v.z);
    if (l == 0.0) {
        fputs("zero length vector", stdout);
        return;
    }
    v.x = (float)(v.x / l);
    v.y = (float)(v.y / l);
    v.z = (float)(v.z / l);
}

static Vec3 Cross(const Vec3& a, const Vec3& b)
{
    Vec3 out;
    out.x = (float)((double)a.y * b.z - (double)a.z * b.y);
    out.y = (float)((double)a.z * b.x - (double)a.x * b.z);
    out.z = (float)((double)a.x * b.y - (double)a.y * b.x);
    return out;
}

void UnitCross(const Vec3& a, const Vec3& b, Vec3& out)
{
    out = Cross(a, b);
    Normalize(out);
}

double AngleBetween(const Vec3& a, const Vec3& b)
{
    float q = Dot(a, b) / (Length(a) * Length(b));
    if (q > 1.0f)
        q = 1.0f;
    if (q < -1.0f)
        q = -1.0f;
    if (std::isnan(q))
        q = -1.0f;
    return std::acos((double)q) * RAD_TO_DEG;
}

bool VecEqual(const Vec3& a, const Vec3& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

void FaceNormal(const Vec3& p0, const Vec3& p1, const Vec3& p2, Vec3& out)
{
    Vec3 u = {p0.x - p1.x, p0.y - p1.y, p0.z - p1.z};
    Vec3 v = {p1.x - p2.x, p1.y - p2.y, p1.z - p2.z};
    out = Cross(u, v);
    Normalize(out);
}

Mat3 RotationMatrix(float angle, Vec3& axis)
{
    Normalize(axis);
    float theta = angle * DEG_TO_RAD;
    double s = std::sin((double)theta);
    double c = std::cos((double)theta);
    const float u[3] = {axis.x, axis.y, axis.z};
    const double k[9] = {0, -u[2], u[1], u[2], 0, -u[0], -u[1], u[0], 0};
    Mat3 r;
    for (int row = 0; row < 3; row++) {
        for (int col = 0; col < 3; col++) {
            double m = (double)u[row] * u[col];
            double delta = row == col ? 1.0 : 0.0;
            r.m[3 * row + col] = (float)(m + s * k[3 * row + col] + c * (delta - m));
        }
    }
    return r;
}

Vec3 MatTimesVec(const Mat3& r, const Vec3& v)
{
    const float* m = r.m;
    Vec3 out;
    out.x = (float)((double)m[0] * v.x + (double)m[1] * v.y + (double)m[2] * v.z);
    out.y = (float)((double)m[3] * v.x + (double)m[4] * v.y + (double)m[5] * v.z);
    out.z = (float)((double)m[6] * v.x + (double)m[7] * v.y + (double)m[8] * v.z);
    return out;
}

void RotateBody(Body& body, float angle, Vec3& axis)
{
    Mat3 r = RotationMatrix(angle, axis);
    body.dir = MatTimesVec(r, body.dir);
    body.up = MatTimesVec(r, body.up);
    body.normal = MatTimesVec(r, body.normal);
}

void CopyPose(const Body& from, Body& to)
{
    to.pos = from.pos;
    to.dir = from.dir;
    to.up = from.up;
    to.normal = from.normal;
}
