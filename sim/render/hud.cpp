// Head-up display: the status line, the cockpit panel with its pillars,
// instrument texts, attitude ball and gear lamp.
#include "sim/render/hud.h"

#include <GL/glut.h>
#include <cstdio>

#include "sim/assets/textures.h"
#include "sim/flight/aircraft.h"
#include "sim/flight/ground_contact.h"
#include "sim/render/hud_layout.h"
#include "sim/render/hud_overlay.h"
#include "sim/render/hud_text.h"
#include "sim/view/view_state.h"

const int STATUS_TEXT_SIZE = 24;
const int INSTRUMENT_TEXT_SIZE = 18;
const int GEAR_LABEL_SIZE = 15;
const int SPHERE_SLICES = 20;
const int SPHERE_STACKS = 20;
// Flattens the HUD spheres onto the screen plane.
const float FLATTEN_Z = 0.00001f;
// The window pillars and the panel meet where the panel's top edge ends;
// W / 1.333 (not 0.75 W) is where that is.
const double PANEL_RIGHT_DIVISOR = 1.333;
const double PANEL_SIDE_HEIGHT = 0.1; // of the window height, at the outer edges

void FormatStatusLine(const Body& body, char* out, size_t size)
{
    snprintf(out, size, "Thrust: %.2f  Speed: %.2f   Altitude: %.2f", body.thrust, body.airspeed, body.pos.y);
}

void FormatInstruments(const Body& body, char* thrustText, char* speedText, char* altitudeText, size_t size)
{
    snprintf(thrustText, size, "Thrust: %.2f", body.thrust);
    snprintf(speedText, size, "Speed: %.2f", body.airspeed);
    snprintf(altitudeText, size, "Altitude: %.2f", body.pos.y);
}

void DrawStatusLine()
{
    char text[HUD_TEXT_SIZE];
    HudLayout l = CurrentHudLayout();
    glColor3f(1.0f, 1.0f, 1.0f);
    FormatStatusLine(plane, text, sizeof text);
    DrawHudLabel(text, l.statusX, l.statusY, STATUS_TEXT_SIZE, l.textScale);
}

// One panel or pillar vertex: texture coordinate, then position in pixels.
static void PanelVertex(float s, float t, float x, float y)
{
    glTexCoord2f(s, t);
    glVertex3f(x, y, 0.0f);
}

static void DrawPanel(float w, float h)
{
    float right = (float)(w / PANEL_RIGHT_DIVISOR);
    float side = (float)(PANEL_SIDE_HEIGHT * h);
    if (texturesOn)
        glBindTexture(GL_TEXTURE_2D, TEX_METAL1);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.371f, 0.928f);
    PanelVertex(0, 0, w / 3, 0);
    PanelVertex(0, 1, w / 4, h / 4);
    PanelVertex(1, 1, right, h / 4);
    PanelVertex(1, 0, 2 * w / 3, 0);
    glNormal3f(0.3f, 0.3f, 0.91f);
    PanelVertex(0, 0.6f, 0, 0);
    PanelVertex(0, 1, 0, side);
    PanelVertex(1, 1, w / 4, h / 4);
    PanelVertex(1, 0, w / 3, 0);
    glNormal3f(-0.3f, 0.3f, 0.91f);
    PanelVertex(0, 0, 2 * w / 3, 0);
    PanelVertex(0, 1, right, h / 4);
    PanelVertex(1, 1, w, side);
    PanelVertex(1, 0.6f, w, 0);
    glEnd();

    if (texturesOn)
        glBindTexture(GL_TEXTURE_2D, TEX_METAL2);
    glBegin(GL_QUADS);
    glNormal3f(0.3f, -0.3f, 0.91f);
    PanelVertex(0, 0, w / 4, h / 4);
    PanelVertex(0, 10, 0, h);
    PanelVertex(0.2f, 10, w / 30, h);
    PanelVertex(0.2f, 0, w / 4 + w / 30, h / 4);
    glNormal3f(0.3f, 0.3f, 0.91f);
    PanelVertex(0, 0, right - w / 30, h / 4);
    PanelVertex(0, 10, w - w / 30, h);
    PanelVertex(0.2f, 10, w, h);
    PanelVertex(0.2f, 0, right, h / 4);
    glEnd();
    if (texturesOn)
        glBindTexture(GL_TEXTURE_2D, 0);
}

void DrawCockpit()
{
    HudLayout l = CurrentHudLayout();
    // Lighting stays on: the panel is shaded by the scene's lights.
    glColor3f(0.8f, 0.8f, 0.82f);
    DrawPanel(windowWidth, windowHeight);

    char thrustText[HUD_TEXT_SIZE], speedText[HUD_TEXT_SIZE], altitudeText[HUD_TEXT_SIZE];
    FormatInstruments(plane, thrustText, speedText, altitudeText, HUD_TEXT_SIZE);
    glColor3f(1.0f, 1.0f, 1.0f);
    DrawHudLabel(thrustText, l.thrustX, l.thrustY, INSTRUMENT_TEXT_SIZE, l.textScale);
    DrawHudLabel(speedText, l.speedX, l.speedY, INSTRUMENT_TEXT_SIZE, l.textScale);
    DrawHudLabel(altitudeText, l.altitudeX, l.altitudeY, INSTRUMENT_TEXT_SIZE, l.textScale);
    DrawAttitudeBall();
    glColor3f(1.0f, 1.0f, 1.0f);
    DrawHudLabel("Gear", l.gearLabelX, l.gearLabelY, GEAR_LABEL_SIZE, l.textScale);
    DrawGearLamp();
}

// Flat spheres drawn over the panel: unlit, pulled towards the viewer so the
// panel they lie on does not hide them.
static void BeginFlatSphere()
{
    glDisable(GL_LIGHTING);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-1.0f, -1.0f);
    glScalef(1.0f, 1.0f, FLATTEN_Z);
}

static void EndFlatSphere()
{
    glDisable(GL_POLYGON_OFFSET_FILL);
    glEnable(GL_LIGHTING);
}

void DrawGearLamp()
{
    HudLayout l = CurrentHudLayout();
    glPushMatrix();
    glLoadIdentity();
    BeginFlatSphere();
    // Right of the "Gear" label's start and below its baseline.
    glTranslatef(l.gearLampX, l.gearLampY, 0);
    if (gearDown)
        glColor3f(1.0f, 0.2f, 0.2f);
    else
        glColor3f(0.5f, 0.05f, 0.05f);
    glutSolidSphere(l.gearLampRadius, SPHERE_SLICES, SPHERE_STACKS);
    EndFlatSphere();
    glPopMatrix();
}

void DrawAttitudeBall()
{
    HudLayout l = CurrentHudLayout();
    Body reference;
    ResetPlane(reference);
    const Vec3 worldUp = {0.0f, 1.0f, 0.0f};
    glPushMatrix();
    glLoadIdentity();
    // Both 90 degrees in level flight.
    float pitch = (float)AngleBetween(plane.dir, worldUp);
    float roll = (float)AngleBetween(plane.normal, worldUp);
    BeginFlatSphere();
    glTranslatef(l.ballX, l.ballY, 0);
    const Vec3& pitchAxis = reference.normal;
    const Vec3& rollAxis = reference.dir;
    if (plane.up.y > 0.0f) {
        glRotatef(90.0f - pitch, pitchAxis.x, pitchAxis.y, pitchAxis.z);
        glRotatef(roll - 90.0f, rollAxis.x, rollAxis.y, rollAxis.z);
    } else {
        glRotatef(pitch - 90.0f, pitchAxis.x, pitchAxis.y, pitchAxis.z);
        glRotatef(-90.0f - roll, rollAxis.x, rollAxis.y, rollAxis.z);
    }
    glTranslatef(0.0f, l.ballLift, 0.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glutSolidSphere(l.ballRadius, SPHERE_SLICES, SPHERE_STACKS);
    glTranslatef(0.0f, -l.ballDrop, 0.0f);
    glColor3f(0.0f, 0.0f, 0.0f);
    glutSolidSphere(l.ballRadius, SPHERE_SLICES, SPHERE_STACKS);
    EndFlatSphere();
    glPopMatrix();
}
