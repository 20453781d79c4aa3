// The camera: its start pose and its placement by the six views.
#include "sim/render/camera.h"

#include <cmath>

#include "sim/flight/aircraft.h"
#include "sim/view/view_state.h"

Body camera;

void ResetCamera(Body& body)
{
    body.pos = {0.0f, 0.0f, 1200.0f};
    body.dir = {0.0f, 0.0f, -1.0f};
    body.up = {0.0f, 1.0f, 0.0f};
    UnitCross(body.dir, body.up, body.normal);
    body.speed = 0.0f;
    body.thrust = 0.0f;
}

void ResetCameraState()
{
    camera = Body();
    ResetCamera(camera);
}

// a + scale b, rounded once per component.
static Vec3 Plus(Vec3 a, Vec3 b, float scale)
{
    return {(float)(a.x + (double)b.x * scale), (float)(a.y + (double)b.y * scale),
            (float)(a.z + (double)b.z * scale)};
}

void PlaceCamera()
{
    switch (viewMode) {
    case VIEW_COCKPIT:
        CopyPose(plane, camera);
        break;
    case VIEW_CHASE:
        CopyPose(plane, camera);
        camera.pos = Plus(plane.pos, plane.dir, -chaseDistance);
        break;
    case VIEW_TOWER: {
        Vec3 toPlane = Plus(plane.pos, camera.pos, -1.0f);
        float distance = Length(toPlane);
        // A camera at the aircraft has no direction to it; keeping the last
        // one avoids a 0/0 that would poison the camera for good.
        if (!(distance > 0.0f) || !std::isfinite(distance))
            break;
        camera.dir = {toPlane.x / distance, toPlane.y / distance, toPlane.z / distance};
        UnitCross(camera.dir, camera.up, camera.normal);
        break;
    }
    case VIEW_OVERHEAD:
        camera.pos = {plane.pos.x, plane.pos.y + overheadHeight, plane.pos.z};
        camera.dir = {0.0f, -1.0f, 0.0f};
        camera.up = {0.0f, 0.0f, -1.0f};
        UnitCross(camera.dir, camera.up, camera.normal);
        break;
    case VIEW_ORBIT:
        camera.pos = Plus(plane.pos, camera.dir, -chaseDistance);
        break;
    default: // view 3 and anything else: the camera stays
        break;
    }
}

