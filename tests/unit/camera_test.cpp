// Camera placement of the six views, the aircraft model's turns and the
// contact outline: the frame's pure parts, without a window.
#include <gtest/gtest.h>

#include <cmath>

#include "sim/flight/aircraft.h"
#include "sim/flight/ground_contact.h"
#include "sim/render/camera.h"
#include "sim/render/frame.h"
#include "sim/shell/scene.h"
#include "sim/view/view_state.h"

static void ExpectVec(const Vec3& got, const Vec3& want, float tolerance = 1e-3f)
{
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

static bool Finite(const Vec3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// An aircraft away from the reference pose: heading turned, nose raised, rolled.
static Body TurnedPlane()
{
    Body b;
    ResetPlane(b);
    b.pos = {1000.0f, 500.0f, -2000.0f};
    Vec3 up = b.up;
    RotateBody(b, 30.0f, up);
    Vec3 normal = b.normal;
    RotateBody(b, 20.0f, normal);
    Vec3 dir = b.dir;
    RotateBody(b, 15.0f, dir);
    return b;
}

TEST(CameraViews, EachViewPlacesTheCameraAsItsRowSays)
{
    plane = TurnedPlane();
    const Vec3 p = plane.pos, d = plane.dir;
    Body before;
    ResetCamera(before);
    before.pos = {10.0f, 20.0f, 30.0f};

    struct Case {
        int view;
        Vec3 pos;
        Vec3 dir;
        Vec3 up;
    } cases[] = {
        {1, p, plane.dir, plane.up},
        {2, {p.x - 500 * d.x, p.y - 500 * d.y, p.z - 500 * d.z}, plane.dir, plane.up},
        {3, before.pos, before.dir, before.up},
        {5, {p.x, p.y + 2000, p.z}, {0, -1, 0}, {0, 0, -1}},
        {6, {p.x - 500 * before.dir.x, p.y - 500 * before.dir.y, p.z - 500 * before.dir.z}, before.dir, before.up},
        {7, before.pos, before.dir, before.up},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.view);
        camera = before;
        viewMode = c.view;
        PlaceCamera();
        ExpectVec(camera.pos, c.pos);
        ExpectVec(camera.dir, c.dir);
        ExpectVec(camera.up, c.up);
    }
    // The overhead view's right is world +x, so its screen top is world -z.
    viewMode = 5;
    PlaceCamera();
    ExpectVec(camera.normal, {1, 0, 0});
}

TEST(CameraViews, FixedViewAfterChaseStaysBehindWhileTheAircraftFliesOn)
{
    plane = TurnedPlane();
    viewMode = 2;
    PlaceCamera();
    Body chase = camera;
    viewMode = 3;
    plane.pos.x += 300.0f;
    PlaceCamera();
    ExpectVec(camera.pos, chase.pos);
    ExpectVec(camera.dir, plane.dir);
}

TEST(CameraViews, TowerTurnsToTheAircraftAndKeepsUp)
{
    ResetPlane(plane);
    ResetCamera(camera);
    camera.pos = {plane.pos.x - 300.0f, plane.pos.y, plane.pos.z - 400.0f};
    viewMode = 4;
    PlaceCamera();
    ExpectVec(camera.dir, {0.6f, 0.0f, 0.8f});
    ExpectVec(camera.up, {0, 1, 0});
    ExpectVec(camera.normal, {-0.8f, 0.0f, 0.6f});
}

TEST(CameraViews, TowerAtTheAircraftKeepsTheLastDirection)
{
    ResetPlane(plane);
    ResetCamera(camera);
    camera.pos = plane.pos; // as after view 1 with the aircraft standing still
    camera.dir = {0.6f, 0.0f, 0.8f};
    UnitCross(camera.dir, camera.up, camera.normal);
    viewMode = 4;
    for (int frame = 0; frame < 3; frame++)
        PlaceCamera();
    EXPECT_TRUE(Finite(camera.dir) && Finite(camera.normal) && Finite(camera.pos));
    ExpectVec(camera.dir, {0.6f, 0.0f, 0.8f});
    // Once the aircraft moves away the camera follows it again.
    plane.pos.z += 100.0f;
    PlaceCamera();
    ExpectVec(camera.dir, {0, 0, 1});
}

// Applies the turns to the reference frame in the order the model's vertices get them.
static Body TurnReference(const ModelTurns& turns)
{
    Body b;
    ResetPlane(b);
    if (turns.first) {
        Vec3 axis = turns.axis1;
        RotateBody(b, -turns.angle1, axis);
    }
    if (turns.second) {
        Vec3 axis = turns.axis2;
        RotateBody(b, -turns.angle2, axis);
    }
    return b;
}

TEST(AircraftTurns, BringTheReferenceFrameOntoThePose)
{
    auto pose = [](Vec3 axisChoice, float angle, Vec3 secondAxis, float second) {
        Body b;
        ResetPlane(b);
        Vec3 a = axisChoice;
        if (angle != 0.0f)
            RotateBody(b, angle, a);
        Vec3 s = secondAxis;
        if (second != 0.0f)
            RotateBody(b, second, s);
        return b;
    };
    auto exact = [](Vec3 dir, Vec3 up) {
        Body b;
        ResetPlane(b);
        b.dir = dir;
        b.up = up;
        UnitCross(dir, up, b.normal);
        return b;
    };
    struct Case {
        const char* name;
        Body body;
    } cases[] = {
        {"reference", pose({0, 1, 0}, 0, {0, 0, 1}, 0)},
        {"heading east", pose({0, 1, 0}, 90, {0, 0, 1}, 0)},
        {"nose up", pose({1, 0, 0}, 35, {0, 0, 1}, 0)},
        {"rolled", pose({0, 0, 1}, 50, {0, 0, 1}, 0)},
        {"turned and rolled", TurnedPlane()},
        // Opposite the reference up to rounding.
        {"heading south", pose({0, 1, 0}, 180, {0, 0, 1}, 0)},
        {"upside down", pose({0, 0, 1}, 180, {0, 0, 1}, 0)},
        {"south upside down", pose({0, 1, 0}, 180, {0, 0, 1}, 180)},
        // Exactly opposite: the cross product with the reference is zero.
        {"exactly south", exact({0, 0, -1}, {0, 1, 0})},
        {"exactly upside down", exact({0, 0, 1}, {0, -1, 0})},
        {"exactly south upside down", exact({0, 0, -1}, {0, -1, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModelTurns turns = AircraftTurns(c.body);
        EXPECT_TRUE(Finite(turns.axis1) && Finite(turns.axis2));
        EXPECT_TRUE(std::isfinite(turns.angle1) && std::isfinite(turns.angle2));
        if (turns.first) {
            EXPECT_NEAR(Length(turns.axis1), 1.0f, 1e-4f);
        }
        if (turns.second) {
            EXPECT_NEAR(Length(turns.axis2), 1.0f, 1e-4f);
        }
        Body turned = TurnReference(turns);
        ExpectVec(turned.dir, c.body.dir);
        ExpectVec(turned.up, c.body.up);
    }
    Body reference;
    ResetPlane(reference);
    ModelTurns none = AircraftTurns(reference);
    EXPECT_FALSE(none.first || none.second);
}

TEST(ContactOutline, CornersSitAroundTheAircraftBelowItByTheGearHeight)
{
    Body b;
    ResetPlane(b); // dir +z, normal -x
    Vec3 corners[4];
    ContactOutlinePoints(b, 35.0f, corners);
    const Vec3 want[4] = {
        {3075 + 25, -5, -9370},
        {3075 - 25, -5, -9370},
        {3075 - 110, -5, -9630},
        {3075 + 110, -5, -9630},
    };
    for (int i = 0; i < 4; i++)
        ExpectVec(corners[i], want[i]);
    // Lowered along world y, not along the aircraft's up, when it is rolled.
    Vec3 dir = b.dir;
    RotateBody(b, 90.0f, dir);
    ContactOutlinePoints(b, 20.0f, corners);
    Vec3 noseMiddle = {(corners[0].x + corners[1].x) / 2, (corners[0].y + corners[1].y) / 2,
                       (corners[0].z + corners[1].z) / 2};
    ExpectVec(noseMiddle, {3075, 10, -9370});
    EXPECT_NEAR(std::fabs(corners[0].y - corners[1].y), 50.0f, 1e-3f);
}
