// Frame rendering: the order of one frame, the six camera views, the
// aircraft's placement with the spot light it carries, and the contact outline.
#include "sim/render/frame.h"

#include <GL/glut.h>
#include <cmath>

#include "sim/assets/display_lists.h"
#include "sim/flight/aircraft.h"
#include "sim/flight/explosion.h"
#include "sim/flight/ground_contact.h"
#include "sim/flight/life.h"
#include "sim/render/camera.h"
#include "sim/render/course_draw.h"
#include "sim/render/explosion_list.h"
#include "sim/render/hud.h"
#include "sim/render/hud_layout.h"
#include "sim/render/hud_overlay.h"
#include "sim/render/hud_text.h"
#include "sim/render/life_board.h"
#include "sim/render/remote_jets_draw.h"
#include "sim/render/sky.h"
#include "sim/render/terrain_lists.h"
#include "sim/view/replay_view.h"
#include "sim/view/view_state.h"

const double NEAR_PLANE = 1.0;
const double FAR_PLANE = 300000.0;
// Light 3 sits below and ahead of the aircraft's centre, in the model's frame.
static const GLfloat SPOT_POSITION[4] = {0.0f, -50.0f, 50.0f, 1.0f};
const float OVERLAY_LIGHT_OFFSET_Z = 20.0f; // world units along +z from the aircraft
const int PAUSE_TEXT_SIZE = 24;
const float REPLAY_BANNER_X = 10.0f;     // pixels from the left edge, at the start size
const float REPLAY_BANNER_DROP = 28.0f;  // pixels from the top edge down to its baseline
const int REPLAY_BANNER_SIZE = 18;

void ContactOutlinePoints(const Body& body, float drop, Vec3 corners[4])
{
    const Vec3 &p = body.pos, &d = body.dir, &n = body.normal;
    for (int i = 0; i < CONTACT_POINT_COUNT; i++) {
        double a = CONTACT_POINT_FORWARD[i], b = CONTACT_POINT_RIGHT[i];
        corners[i] = {(float)(p.x + a * d.x + b * n.x), (float)(p.y + a * d.y + b * n.y - drop),
                      (float)(p.z + a * d.z + b * n.z)};
    }
}

void DrawContactOutline(Body body)
{
    Vec3 corners[4];
    ContactOutlinePoints(body, gearHeight, corners);
    glDisable(GL_LIGHTING);
    glColor3f(1.0f, 1.0f, 0.1f);
    glBegin(GL_LINE_LOOP);
    for (const Vec3& c : corners)
        glVertex3f(c.x, c.y, c.z);
    glEnd();
    glEnable(GL_LIGHTING);
}

void LoadViewProjection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fieldOfView, windowWidth / windowHeight, NEAR_PLANE, FAR_PLANE);
    PlaceCamera();
    gluLookAt(camera.pos.x, camera.pos.y, camera.pos.z,
              camera.pos.x + camera.dir.x, camera.pos.y + camera.dir.y, camera.pos.z + camera.dir.z,
              camera.up.x, camera.up.y, camera.up.z);
}

// Multiplies the aircraft's placement onto the modelview matrix: a model
// vertex is turned by the first rotation, then the second, then moved.
static void ApplyAircraftPlacement(const ModelTurns& turns)
{
    glTranslatef(plane.pos.x, plane.pos.y, plane.pos.z);
    if (turns.second)
        glRotatef(-turns.angle2, turns.axis2.x, turns.axis2.y, turns.axis2.z);
    if (turns.first)
        glRotatef(-turns.angle1, turns.axis1.x, turns.axis1.y, turns.axis1.z);
}

// The aircraft model with the spot light it carries (views 2 to 6); the
// modelview matrix holds the aircraft's placement afterwards.
static void DrawAircraft(const ModelTurns& turns)
{
    ApplyAircraftPlacement(turns);
    // Given in the aircraft's own frame, so OpenGL turns the spot direction
    // once more by the aircraft's rotation.
    glLightfv(GL_LIGHT3, GL_POSITION, SPOT_POSITION);
    GLfloat spotDirection[3] = {plane.dir.x, plane.dir.y, plane.dir.z};
    glLightfv(GL_LIGHT3, GL_SPOT_DIRECTION, spotDirection);
    glPushMatrix();
    glCallList(gearDown ? LIST_AIRCRAFT_GEAR : LIST_AIRCRAFT);
    glPopMatrix();
    glPushMatrix();
    DrawExhaustGlows(plane);
    glPopMatrix();
}

// The translucent flames blend with what lies behind them, so they come
// after the scenery, terrain and forest; otherwise they are drawn as the
// aircraft's own drawing would draw them: with the same placement, its
// material and the frame's culling, which DrawTerrain has switched off.
// The material the scenery left is put back for what follows.
static void DrawAircraftFlames(const ModelTurns& turns)
{
    GLfloat shininess, specular[4];
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glLoadIdentity();
    ApplyAircraftPlacement(turns);
    SetAircraftMaterial();
    if (cullFaces)
        glEnable(GL_CULL_FACE);
    DrawExhaustFlames(plane);
    glDisable(GL_CULL_FACE);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
}

// The line under the restart question that says why the aircraft crashed,
// centred under the window's middle; nothing when the question follows R.
static void DrawCrashCause(const HudLayout& l)
{
    if (lastCrash.cause == CRASH_NONE)
        return;
    char text[HUD_TEXT_SIZE];
    FormatCrashCause(lastCrash, text, sizeof text);
    float width = HudTextWidth(text, PAUSE_TEXT_SIZE, l.textScale);
    DrawHudText(text, windowWidth * 0.5f - width * 0.5f, l.pauseY - l.crashCauseDrop, PAUSE_TEXT_SIZE, l.textScale);
}

// The instruments display's pause text or restart question with the
// crash's cause, centred on one backing.
static void DrawBackedPauseText()
{
    char cause[HUD_TEXT_SIZE] = "";
    if (restartPrompt == 1 && lastCrash.cause != CRASH_NONE)
        FormatCrashCause(lastCrash, cause, sizeof cause);
    DrawBackedPauseTexts(restartPrompt == 1 ? "Restart game? (Y/N)" : "Paused", cause);
}

// What the instruments display adds: the instruments and the hint to the
// key list.
static void DrawInstrumentsDisplay()
{
    DrawInstruments();
    DrawKeysHint();
    glColor3f(1.0f, 1.0f, 1.0f);
}

void DrawFrame()
{
    CheckGLError("RenderScene 1");
    UpdateSkyColour();
    glClearColor(skyColour[0], skyColour[1], skyColour[2], skyColour[3]);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (cullFaces)
        glEnable(GL_CULL_FACE);
    else
        glDisable(GL_CULL_FACE);
    glEnable(GL_NORMALIZE);

    // The viewing transform lives on the projection matrix, so eye space
    // (lighting, fog) is world space and the modelview places things only.
    LoadViewProjection();
    glMatrixMode(GL_MODELVIEW);
    DrawSun();
    DrawMoon();
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, blackColour);
    glLoadIdentity();
    CheckGLError("RenderScene A");
    // Worked out once: a pose with no defined turn reports it once a frame.
    ModelTurns turns = {};
    if (viewMode != 1) {
        turns = AircraftTurns(plane);
        DrawAircraft(turns);
    }
    glLoadIdentity();
    if (contactOutlineOn)
        DrawContactOutline(plane);
    CheckGLError("RenderScene B");
    glCallList(LIST_SCENERY);
    DrawTerrain();
    CheckGLError("RenderScene C");
    glCallList(LIST_FOREST);
    CheckGLError("RenderScene D");
    DrawCourseWorld();
    if (viewMode != 1)
        DrawAircraftFlames(turns);
    DrawRemoteJets();
    glLoadIdentity();
    if (lifeOn)
        DrawLifeBoard();
    if (overlayLightOn) {
        GLfloat overlayPosition[4] = {plane.pos.x, plane.pos.y, plane.pos.z + OVERLAY_LIGHT_OFFSET_Z, 1.0f};
        glLightfv(GL_LIGHT2, GL_POSITION, overlayPosition);
        glEnable(GL_LIGHT2);
    }

    // 2-D pass: one unit is one pixel, origin at the lower left.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, windowWidth, 0, windowHeight);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (viewMode == 1)
        DrawCockpit();
    else
        DrawStatusLine();
    glLoadIdentity();
    glColor3f(1.0f, 1.0f, 1.0f);
    // Offsets from the centre, not measured texts; they grow with the text.
    HudLayout l = LayOutHud(windowWidth, windowHeight);
    if (paused && classicDisplay) {
        if (restartPrompt == 1) {
            DrawHudText("Restart game? (Y/N)", l.questionX, l.pauseY, PAUSE_TEXT_SIZE, l.textScale);
            DrawCrashCause(l);
        } else
            DrawHudText("Paused", l.pausedX, l.pauseY, PAUSE_TEXT_SIZE, l.textScale);
    }
    // Before the explosion, as the classic texts are: Mesa's software
    // rasteriser has crashed on blended backings drawn over its textured quad.
    if (!classicDisplay) {
        if (paused)
            DrawBackedPauseText();
        DrawInstrumentsDisplay();
    }
    DrawCourseHud(l);
    // The key list in both displays: it shows only when asked for.
    DrawHelp();
    if (const char* banner = ReplayBannerText(replayBanner)) {
        float s = CurrentHudLayout().textScale;
        DrawHudLabel(banner, REPLAY_BANNER_X * s, windowHeight - REPLAY_BANNER_DROP * s, REPLAY_BANNER_SIZE, s);
    }
    DrawRemoteJetLabels(l);
    if (explosionFrame != 0)
        glCallList(LIST_EXPLOSION);
    glDisable(GL_LIGHT2);
    CheckGLError("RenderScene 2");
    glFlush();
}

void CheckGLError(const char* /*label*/)
{
    glGetError();
}

void RenderScene()
{
    DrawFrame();
    glutSwapBuffers();
}
