// Vector and rotation operations.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/math/vec_math.h"

namespace {

void ExpectVec(const Vec3& v, float x, float y, float z, float tol = 1e-6f)
{
    EXPECT_NEAR(v.x, x, tol);
    EXPECT_NEAR(v.y, y, tol);
    EXPECT_NEAR(v.z, z, tol);
}

Body UprightBody()
{
    Body b{};
    b.dir = {0, 0, 1};
    b.up = {0, 1, 0};
    b.normal = {-1, 0, 0};
    return b;
}

} // namespace

TEST(Normalize, ZeroVectorIsReportedWithoutLineEndAndLeftAlone)
{
    Vec3 v = {0, 0, 0};
    testing::internal::CaptureStdout();
    Normalize(v);
    Normalize(v);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "zero length vectorzero length vector");
    ExpectVec(v, 0, 0, 0, 0);
}

TEST(Normalize, ScalesToUnitLength)
{
    Vec3 v = {3, 0, 4};
    Normalize(v);
    ExpectVec(v, 0.6f, 0, 0.8f);
}

TEST(UnitCross, ParallelVectorsLeaveZeroAndReport)
{
    Vec3 a = {0, 1, 0}, out = {9, 9, 9};
    testing::internal::CaptureStdout();
    UnitCross(a, a, out);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "zero length vector");
    ExpectVec(out, 0, 0, 0, 0);
}

TEST(UnitCross, ForwardCrossUpPointsToTheRightWing)
{
    Vec3 out;
    UnitCross({0, 0, 1}, {0, 1, 0}, out);
    ExpectVec(out, -1, 0, 0, 0);
}

TEST(AngleBetween, ClampsRatioAboveOneAndTreatsNanAsOpposite)
{
    // 0.1 in float squares to a ratio a hair above 1.
    Vec3 a = {0.1f, 0.1f, 0.1f};
    EXPECT_EQ(AngleBetween(a, a), 0.0);
    EXPECT_EQ(AngleBetween({1, 0, 0}, {1, 0, 0}), 0.0);
    double opposite = std::acos(-1.0) * 57.29577791868205;
    EXPECT_DOUBLE_EQ(AngleBetween({1, 0, 0}, {-1, 0, 0}), opposite);
    EXPECT_DOUBLE_EQ(AngleBetween({0, 0, 0}, {1, 0, 0}), opposite);
    EXPECT_LT(opposite, 180.0);
    EXPECT_NEAR(AngleBetween({1, 0, 0}, {0, 0, 2}), 90.0, 1e-4);
}

TEST(Length, ExactUnitSkipsTheRoot)
{
    EXPECT_EQ(Length({0, 1, 0}), 1.0f);
    EXPECT_FLOAT_EQ(Length({3, 4, 12}), 13.0f);
}

TEST(FaceNormal, FollowsTheOrderOfTheCorners)
{
    Vec3 out;
    FaceNormal({0, 0, 0}, {1, 0, 0}, {1, 0, 1}, out);
    // u = p0 - p1 = (-1,0,0), v = p1 - p2 = (0,0,-1): u x v = (0,-1,0)
    ExpectVec(out, 0, -1, 0);
}

TEST(RotationMatrix, ZeroAngleIsIdentityAndAxisIsNormalizedInPlace)
{
    Vec3 axis = {0, 0, 5};
    Mat3 r = RotationMatrix(0, axis);
    for (int i = 0; i < 9; i++)
        EXPECT_FLOAT_EQ(r.m[i], (i % 4 == 0) ? 1.0f : 0.0f);
    ExpectVec(axis, 0, 0, 1, 0);
}

TEST(RotationMatrix, QuarterTurnAboutZFollowsTheRightHandRule)
{
    Vec3 axis = {0, 0, 5};
    Mat3 r = RotationMatrix(90, axis);
    ExpectVec(MatTimesVec(r, {1, 0, 0}), 0, 1, 0);
}

TEST(RotateBody, DirectionsOfTheThreeAxes)
{
    Body b = UprightBody();
    RotateBody(b, 10, b.dir); // roll: up tilts towards the right wing (-x)
    EXPECT_LT(b.up.x, 0);

    b = UprightBody();
    RotateBody(b, 10, b.normal); // pitch: nose up
    EXPECT_GT(b.dir.y, 0);

    b = UprightBody();
    Vec3 worldUp = {0, 1, 0};
    RotateBody(b, 10, worldUp); // yaw: nose from +z towards +x
    EXPECT_GT(b.dir.x, 0);
}

TEST(RotateBody, FullCircleInDegreeStepsKeepsTheFrame)
{
    Body b = UprightBody();
    b.pos = {1, 2, 3};
    Vec3 axis = {1, 2, 3};
    for (int i = 0; i < 360; i++)
        RotateBody(b, 1, axis);
    ExpectVec(b.dir, 0, 0, 1, 1e-4f);
    ExpectVec(b.up, 0, 1, 0, 1e-4f);
    Vec3 cross;
    UnitCross(b.dir, b.up, cross);
    ExpectVec(b.normal, cross.x, cross.y, cross.z, 1e-4f);
    ExpectVec(b.pos, 1, 2, 3, 0);
}

TEST(CopyPose, KeepsTheFlightValuesOfTheTarget)
{
    Body from = UprightBody();
    from.pos = {1, 2, 3};
    from.speed = 99;
    Body to{};
    to.speed = 5;
    to.thrust = 6;
    to.velocity = {7, 8, 9};
    to.airspeed = 10;
    CopyPose(from, to);
    ExpectVec(to.pos, 1, 2, 3, 0);
    ExpectVec(to.normal, -1, 0, 0, 0);
    EXPECT_EQ(to.speed, 5);
    EXPECT_EQ(to.thrust, 6);
    ExpectVec(to.velocity, 7, 8, 9, 0);
    EXPECT_EQ(to.airspeed, 10);
}

TEST(BodyRecord, IsEighteenFloatsInOrder)
{
    EXPECT_EQ(sizeof(Body), 18 * sizeof(float));
    EXPECT_EQ(offsetof(Body, speed), 12 * sizeof(float));
    EXPECT_EQ(offsetof(Body, airspeed), 17 * sizeof(float));
}
