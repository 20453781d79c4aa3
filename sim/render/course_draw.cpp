// Drawing a course: hoops, ghost, clock, splits, the arrow to the next gate
// and the landing score.
#include "sim/render/course_draw.h"

#include <GL/glut.h>
#include <cmath>
#include <cstdio>

#include "sim/assets/display_lists.h"
#include "sim/flight/course_run.h"
#include "sim/render/aircraft_turns.h"
#include "sim/render/camera.h"
#include "sim/render/hud_overlay.h"
#include "sim/render/hud_text.h"
#include "sim/view/view_state.h"

std::vector<GhostPose> ghostPoses;
HudNotice splitNotice;
HudNotice touchdownNotice;

static GLuint hoopList; // a hoop of radius 1 in the x-y plane facing +z; 0 before the first frame
static GLuint ghostLists; // the ghost's jet without its gear, then with it; 0 before its first frame

const int HOOP_SEGMENTS = 48;
const float HOOP_INNER = 0.9f; // of the radius: the band's inner edge
const int COURSE_TEXT_SIZE = 18;
const int TOUCHDOWN_TEXT_SIZE = 10;
const float CLOCK_DROP = 28.0f;  // pixels from the top edge down to the clock's baseline, at the start size
const float SPLIT_DROP = 52.0f;
// In the instruments display the split goes under the instruments' line.
const float SPLIT_DROP_UNDER_INSTRUMENTS = 84.0f;
const float TOUCHDOWN_Y = 5.0f;  // under the status line's baseline, at the start size
const float ARROW_RADIUS = 90.0f; // pixels from the centre, at the start size
const float ARROW_SIZE = 14.0f;
const float GHOST_RADIUS = 400.0f; // world units: the jet with its gear, from its centre

void ResetCourseDrawState()
{
    ghostPoses.clear();
    splitNotice = HudNotice();
    touchdownNotice = HudNotice();
}

bool PointOnScreen(const Body& eye, const Vec3& point, float fovDegrees, float aspect, float& angle)
{
    double rx = point.x - eye.pos.x, ry = point.y - eye.pos.y, rz = point.z - eye.pos.z;
    double dx = eye.dir.x, dy = eye.dir.y, dz = eye.dir.z;
    // The up vector made square to the view direction, and the right from both.
    double along = eye.up.x * dx + eye.up.y * dy + eye.up.z * dz;
    double ux = eye.up.x - along * dx, uy = eye.up.y - along * dy, uz = eye.up.z - along * dz;
    double ul = std::sqrt(ux * ux + uy * uy + uz * uz);
    if (ul > 0.0) {
        ux /= ul;
        uy /= ul;
        uz /= ul;
    }
    double sx = dy * uz - dz * uy, sy = dz * ux - dx * uz, sz = dx * uy - dy * ux;
    double depth = rx * dx + ry * dy + rz * dz;
    double across = rx * sx + ry * sy + rz * sz;
    double upward = rx * ux + ry * uy + rz * uz;
    angle = (float)std::atan2(upward, across);
    if (across == 0.0 && upward == 0.0 && depth < 0.0)
        angle = (float)(-M_PI / 2.0); // straight behind: turn about, shown as down
    if (depth <= 0.0)
        return false;
    double halfHeight = std::tan(fovDegrees * 0.5 * M_PI / 180.0);
    return std::fabs(upward / depth) <= halfHeight && std::fabs(across / depth) <= halfHeight * aspect;
}

bool SphereInView(const Body& eye, const Vec3& centre, float radius, float fovDegrees, float aspect)
{
    double rx = centre.x - eye.pos.x, ry = centre.y - eye.pos.y, rz = centre.z - eye.pos.z;
    double dx = eye.dir.x, dy = eye.dir.y, dz = eye.dir.z;
    double along = eye.up.x * dx + eye.up.y * dy + eye.up.z * dz;
    double ux = eye.up.x - along * dx, uy = eye.up.y - along * dy, uz = eye.up.z - along * dz;
    double ul = std::sqrt(ux * ux + uy * uy + uz * uz);
    if (!(ul > 0.0))
        return true;
    ux /= ul, uy /= ul, uz /= ul;
    double sx = dy * uz - dz * uy, sy = dz * ux - dx * uz, sz = dx * uy - dy * ux;
    double depth = rx * dx + ry * dy + rz * dz;
    if (depth < -radius)
        return false;
    double tanV = std::tan(fovDegrees * 0.5 * M_PI / 180.0), tanH = tanV * aspect;
    // Distances from the frustum's side planes, whose normals lean by the half angles.
    double across = std::fabs(rx * sx + ry * sy + rz * sz), upward = std::fabs(rx * ux + ry * uy + rz * uz);
    return (across - depth * tanH) / std::sqrt(1.0 + tanH * tanH) <= radius &&
           (upward - depth * tanV) / std::sqrt(1.0 + tanV * tanV) <= radius;
}

bool GateColour(size_t index, size_t next, float rgba[4])
{
    if (index < next)
        return false;
    if (index == next) {
        rgba[0] = 1.0f, rgba[1] = 0.65f, rgba[2] = 0.1f, rgba[3] = 0.95f;
    } else if (index == next + 1) {
        rgba[0] = 1.0f, rgba[1] = 0.8f, rgba[2] = 0.4f, rgba[3] = 0.4f;
    } else {
        rgba[0] = 0.7f, rgba[1] = 0.7f, rgba[2] = 0.7f, rgba[3] = 0.2f;
    }
    return true;
}

static void BuildHoopList()
{
    hoopList = glGenLists(1);
    glNewList(hoopList, GL_COMPILE);
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i <= HOOP_SEGMENTS; i++) {
        double a = 2.0 * M_PI * i / HOOP_SEGMENTS;
        float c = (float)std::cos(a), s = (float)std::sin(a);
        glVertex3f(c, s, 0.0f);
        glVertex3f(HOOP_INNER * c, HOOP_INNER * s, 0.0f);
    }
    glEnd();
    glEndList();
}

static void DrawGates()
{
    const Course& course = *activeCourse;
    if (hoopList == 0)
        BuildHoopList();
    glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    // From the last to the next, so the lit hoop is blended over the rest.
    for (size_t i = course.gates.size(); i-- > 0;) {
        float rgba[4];
        if (!GateColour(i, courseRun.nextGate, rgba))
            continue;
        const CourseGate& g = course.gates[i];
        glColor4fv(rgba);
        glPushMatrix();
        glTranslated(g.x, g.y, g.z);
        // Turn +z onto the gate's facing.
        double ax = -g.ny, ay = g.nx; // (0, 0, 1) x n
        double sine = std::sqrt(ax * ax + ay * ay);
        double angle = std::atan2(sine, g.nz) * 180.0 / M_PI;
        if (sine > 1e-9)
            glRotated(angle, ax / sine, ay / sine, 0.0);
        else if (g.nz < 0.0)
            glRotated(180.0, 1.0, 0.0, 0.0);
        glScaled(g.radius, g.radius, g.radius);
        glCallList(hoopList);
        glPopMatrix();
    }
    glPopAttrib();
}

const float GHOST_OPACITY = 0.5f;

static void DrawGhost()
{
    size_t index = courseRun.started ? (size_t)courseRun.steps : 0;
    if (index >= ghostPoses.size())
        index = ghostPoses.size() - 1;
    const GhostPose& p = ghostPoses[index];
    // Even the lighter jet costs a fraction of a millisecond: none of it when out of view.
    if (!SphereInView(camera, p.pos, GHOST_RADIUS, fieldOfView, windowWidth / windowHeight))
        return;
    Body body = Body();
    body.pos = p.pos;
    body.dir = p.dir;
    body.up = p.up;
    ModelTurns turns = AircraftTurns(body);
    // Seen through by a constant opacity, whatever colours its list sets: a
    // polygon stipple cost Mesa's software renderer about 1 ms a frame more
    // (BENCHMARKS.md, Time trials).
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendColor(0.0f, 0.0f, 0.0f, GHOST_OPACITY);
    glBlendFunc(GL_CONSTANT_ALPHA, GL_ONE_MINUS_CONSTANT_ALPHA);
    glPushMatrix();
    glTranslatef(p.pos.x, p.pos.y, p.pos.z);
    if (turns.second)
        glRotatef(-turns.angle2, turns.axis2.x, turns.axis2.y, turns.axis2.z);
    if (turns.first)
        glRotatef(-turns.angle1, turns.axis1.x, turns.axis1.y, turns.axis1.z);
    // The player's own lists would cost 2 ms more a frame in Mesa's software
    // renderer; a quarter of their triangles keep the outline.
    if (ghostLists == 0)
        ghostLists = BuildGhostAircraftLists();
    glCallList(p.gearDown ? ghostLists + 1 : ghostLists);
    glPopMatrix();
    glPopAttrib();
}

void DrawCourseWorld()
{
    if (!activeCourse)
        return;
    glLoadIdentity();
    if (!ghostPoses.empty())
        DrawGhost();
    DrawGates();
}

static void FormatClock(char* out, size_t size)
{
    const Course& course = *activeCourse;
    size_t passed = courseRun.nextGate;
    if (courseRun.crashed)
        snprintf(out, size, "Gate %zu/%zu  attempt over", passed, course.gates.size());
    else
        snprintf(out, size, "Gate %zu/%zu  %.2f s", passed, course.gates.size(), courseRun.steps / 100.0);
}

static void DrawArrow(const HudLayout& l)
{
    const CourseGate& g = activeCourse->gates[courseRun.nextGate];
    Vec3 centre = {(float)g.x, (float)g.y, (float)g.z};
    float angle;
    if (PointOnScreen(camera, centre, fieldOfView, windowWidth / windowHeight, angle))
        return;
    float cx = windowWidth * 0.5f + std::cos(angle) * ARROW_RADIUS * l.textScale;
    float cy = windowHeight * 0.5f + std::sin(angle) * ARROW_RADIUS * l.textScale;
    float s = ARROW_SIZE * l.textScale;
    float ca = std::cos(angle), sa = std::sin(angle);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1.0f, 0.65f, 0.1f);
    glBegin(GL_TRIANGLES);
    glVertex2f(cx + ca * s, cy + sa * s);
    glVertex2f(cx - ca * s * 0.6f - sa * s * 0.6f, cy - sa * s * 0.6f + ca * s * 0.6f);
    glVertex2f(cx - ca * s * 0.6f + sa * s * 0.6f, cy - sa * s * 0.6f - ca * s * 0.6f);
    glEnd();
    glPopAttrib();
}

static void DrawNotice(const HudNotice& notice, float y, int size, const HudLayout& l, bool centred)
{
    if (notice.stepsLeft <= 0)
        return;
    float x = centred ? windowWidth * 0.5f - HudTextWidth(notice.text, size, l.textScale) * 0.5f : l.statusX;
    glColor3f(notice.red, notice.green, notice.blue);
    DrawHudLabel(notice.text, x, y, size, l.textScale);
}

void DrawCourseHud(const HudLayout& l)
{
    if (activeCourse) {
        char text[HUD_TEXT_SIZE];
        FormatClock(text, sizeof text);
        float width = HudTextWidth(text, COURSE_TEXT_SIZE, l.textScale);
        glColor3f(1.0f, 1.0f, 1.0f);
        DrawHudLabel(text, windowWidth * 0.5f - width * 0.5f, windowHeight - CLOCK_DROP * l.textScale,
                     COURSE_TEXT_SIZE, l.textScale);
        float splitDrop = classicDisplay ? SPLIT_DROP : SPLIT_DROP_UNDER_INSTRUMENTS;
        DrawNotice(splitNotice, windowHeight - splitDrop * l.textScale, COURSE_TEXT_SIZE, l, true);
        if (courseRun.nextGate < activeCourse->gates.size() && !courseRun.crashed)
            DrawArrow(l);
    }
    DrawNotice(touchdownNotice, TOUCHDOWN_Y * l.textScale, TOUCHDOWN_TEXT_SIZE, l, false);
    glColor3f(1.0f, 1.0f, 1.0f);
}
