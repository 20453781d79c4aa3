// Vectors, rotation matrices and the Body record: the shared math of the
// simulator's flight, camera, terrain and head-up display.
#pragma once

struct Vec3 {
    float x, y, z;
};

// 3 x 3 rotation matrix, row-major: element [r][c] at m[3 * r + c].
struct Mat3 {
    float m[9];
};

// A position with an orthonormal frame: the aircraft and the camera.
// Eighteen floats in this order; routines that only read a Body take a copy.
struct Body {
    Vec3 pos;
    Vec3 dir;      // unit forward
    Vec3 up;       // unit up
    Vec3 normal;   // unit dir x up: the right wing for the aircraft
    float speed;   // world units per simulation tick
    float thrust;  // throttle, 0..100
    Vec3 velocity; // world units per tick (force flight model only)
    float airspeed; // speed actually flown in the last tick
};

// Degrees to radians (single precision), radians to degrees (double).
const float DEG_TO_RAD = 0.017453292f;
const double RAD_TO_DEG = 57.29577791868205;

void AddTo(const Vec3& a, Vec3& b);
float Dot(const Vec3& a, const Vec3& b);
// Skips the square root when the squared length is exactly 1.
float Length(const Vec3& v);
// A zero vector is left as it is, with "zero length vector" (no line end) on stdout.
void Normalize(Vec3& v);
// out = unit(a x b); out must be a vector of its own.
void UnitCross(const Vec3& a, const Vec3& b, Vec3& out);
// Degrees in [0, 180]; a zero vector (0/0) counts as opposite: acos(-1).
double AngleBetween(const Vec3& a, const Vec3& b);
bool VecEqual(const Vec3& a, const Vec3& b);
// out = unit((p0 - p1) x (p1 - p2)).
void FaceNormal(const Vec3& p0, const Vec3& p1, const Vec3& p2, Vec3& out);
// Turns by angle degrees about axis, right-hand rule. Normalizes axis in place.
Mat3 RotationMatrix(float angle, Vec3& axis);
// Turns dir, up and normal by one matrix; axis may be one of the body's own vectors.
void RotateBody(Body& body, float angle, Vec3& axis);
// Copies pos, dir, up and normal; the flight values of `to` stay.
void CopyPose(const Body& from, Body& to);
// v' = R v.
Vec3 MatTimesVec(const Mat3& r, const Vec3& v);
