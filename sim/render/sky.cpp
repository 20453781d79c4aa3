// Sky colour, sun, moon and engine exhaust: the time of day and the engines'
// glow, drawn from the clock's angles and the aircraft's thrust.
#include "sim/render/sky.h"

#include <GL/glut.h>
#include <algorithm>

#include "sim/assets/textures.h"
#include "sim/flight/clock.h"
#include "sim/view/view_state.h"

// The day sky: the colour at the start, and the brightest dawn brings back.
static const float DAY_SKY[3] = {0.53f, 0.81f, 0.92f};
float skyColour[4];
const float sunColour[4] = {0.9f, 0.9f, 0.85f, 1.0f};
const float blackColour[4] = {0.0f, 0.0f, 0.0f, 1.0f};
int flameFrame;

void ResetSkyState()
{
    for (int c = 0; c < 3; c++)
        skyColour[c] = DAY_SKY[c];
    skyColour[3] = 1.0f;
    flameFrame = 0;
}

// Angles in degrees.
const float DUSK_START = 77.0f, DUSK_END = 105.0f;
const float DAWN_START = 255.0f, DAWN_END = 283.0f;
const double SKY_DRIFT_PER_FRAME = 0.01;

// World units: both spheres circle the origin well inside the far plane.
const float SUN_DISTANCE = 270000.0f;
const float SUN_RADIUS = 3000.0f;
const float HALO_LIFT = 200.0f;
const float HALO_HALF_SIZE = 10000.0f;
const float MOON_RADIUS = 2000.0f;
const float LIGHT_DISTANCE = 100000.0f;
const int SPHERE_DIVISIONS = 10;

const int FLAME_FRAMES = 4;

// Dusk and dawn last a fixed time but change the colour per frame, so the two
// rarely see the same number of frames: the colour is held between black and
// the day sky, or a fast dusk and a slow dawn would leave noon white.
void UpdateSkyColour()
{
    bool dusk = sunAngle > DUSK_START && sunAngle < DUSK_END;
    bool dawn = !dusk && sunAngle > DAWN_START && sunAngle < DAWN_END;
    for (int c = 0; c < 3; c++) {
        if (dusk && skyColour[c] > 0.0f)
            skyColour[c] = std::max(0.0f, (float)(skyColour[c] - SKY_DRIFT_PER_FRAME));
        else if (dawn && skyColour[c] < DAY_SKY[c])
            skyColour[c] = std::min(DAY_SKY[c], (float)(skyColour[c] + SKY_DRIFT_PER_FRAME));
    }
}

// glutSolidSphere gives no texture coordinates, so a texture left bound by
// earlier drawing would tint the sphere with one arbitrary texel; spheres are
// drawn untextured and keep the colour and emission they are given.
static void SolidSphere(double radius)
{
    GLboolean textured = glIsEnabled(GL_TEXTURE_2D);
    if (textured)
        glDisable(GL_TEXTURE_2D);
    glutSolidSphere(radius, SPHERE_DIVISIONS, SPHERE_DIVISIONS);
    if (textured)
        glEnable(GL_TEXTURE_2D);
}

// The square faces down towards the world; its texture (when texturing is
// on) is modulated by the sky colour so the halo fades with the day.
static void DrawSunHalo()
{
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, TEX_SUN);
    glColor4fv(skyColour);
    glPushMatrix();
    glTranslatef(0.0f, HALO_LIFT, 0.0f);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, -1.0f, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-HALO_HALF_SIZE, 0.0f, -HALO_HALF_SIZE);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-HALO_HALF_SIZE, 0.0f, HALO_HALF_SIZE);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(HALO_HALF_SIZE, 0.0f, HALO_HALF_SIZE);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(HALO_HALF_SIZE, 0.0f, -HALO_HALF_SIZE);
    glEnd();
    glPopMatrix();
}

// The light's position vector points away from the sphere: that is the
// direction the scene's materials have always been lit from. The emission
// set here stays until the frame resets it after the moon.
void DrawSun()
{
    static const GLfloat LIGHT0_POSITION[4] = {0.0f, -LIGHT_DISTANCE, 0.0f, 0.0f};
    glPushMatrix();
    glRotatef(sunAngle, -1.0f, 0.0f, -1.0f);
    glLightfv(GL_LIGHT0, GL_POSITION, LIGHT0_POSITION);
    if (SunBelowHorizon(sunAngle)) {
        glDisable(GL_LIGHT0);
    } else {
        glEnable(GL_LIGHT0);
        glTranslatef(0.0f, SUN_DISTANCE, 0.0f);
        glColor4fv(sunColour);
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, sunColour);
        SolidSphere(SUN_RADIUS);
        if (sunHaloOn)
            DrawSunHalo();
    }
    glPopMatrix();
}

// Black material with the sun's emission: the moon shows one flat colour
// whatever the lights do. Its black specular stays in force afterwards.
void DrawMoon()
{
    static const GLfloat LIGHT1_POSITION[4] = {0.0f, LIGHT_DISTANCE, 0.0f, 0.0f};
    glPushMatrix();
    glRotatef(moonAngle, 0.0f, 0.0f, 1.0f);
    glLightfv(GL_LIGHT1, GL_POSITION, LIGHT1_POSITION);
    if (MoonAboveHorizon(moonAngle)) {
        glEnable(GL_LIGHT1);
        glTranslatef(0.0f, -SUN_DISTANCE, 0.0f);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, blackColour);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, blackColour);
        glColor4fv(blackColour);
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, sunColour);
        SolidSphere(MOON_RADIUS);
    } else {
        glDisable(GL_LIGHT1);
    }
    glPopMatrix();
}

// One nozzle plate or flame quad in the x-y plane, texture s running from
// +x to -x; halfWidth and halfHeight in the scaled exhaust frame.
static void ExhaustQuad(float halfWidth, float halfHeight, float normalZ)
{
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, normalZ);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(halfWidth, -halfHeight, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(halfWidth, halfHeight, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(-halfWidth, halfHeight, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(-halfWidth, -halfHeight, 0.0f);
    glEnd();
}

// The glow colour for thrust t (0 to 100 from the controls): dark grey at
// rest, reddening to yellow above 0.
static void ExhaustGlowColour(float t, GLfloat glow[4])
{
    glow[0] = 0.2f;
    glow[1] = 0.2f;
    glow[2] = 0.2f;
    glow[3] = 1.0f;
    if (t > 0.0f) {
        glow[0] = (float)(0.6 + 0.004 * t);
        glow[1] = (float)(0.009 * t);
    }
}

// The flattened frame of the exhaust, at the second glow: every offset of
// the plates and flames is in it, and the flames follow the second glow.
static void EnterExhaustFrame()
{
    glScalef(1.08f, 0.8f, 0.2f);
    glTranslatef(20.0f, -13.0f, -780.0f);
    glTranslatef(-41.0f, 0.0f, 0.0f);
}

void DrawExhaustGlows(Body body)
{
    GLfloat glow[4];
    ExhaustGlowColour(body.thrust, glow);
    glPushMatrix();
    glColor4fv(glow);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, glow);
    glScalef(1.08f, 0.8f, 0.2f);
    glTranslatef(20.0f, -13.0f, -780.0f);
    SolidSphere(10.0);
    glTranslatef(-41.0f, 0.0f, 0.0f);
    SolidSphere(10.0);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, blackColour);

    // Plain grey plates, whatever texture the aircraft left bound.
    GLboolean textured = glIsEnabled(GL_TEXTURE_2D);
    if (textured)
        glDisable(GL_TEXTURE_2D);
    glPushMatrix();
    glColor3f(0.4f, 0.4f, 0.4f);
    glTranslatef(0.0f, 0.0f, 20.0f);
    ExhaustQuad(10.0f, 9.0f, 1.0f);
    glTranslatef(41.0f, 0.0f, 0.0f);
    ExhaustQuad(10.0f, 9.0f, 1.0f);
    glPopMatrix();
    if (textured)
        glEnable(GL_TEXTURE_2D);
    glPopMatrix();
}

void DrawExhaustFlames(Body body)
{
    float t = body.thrust;
    if (!(t > 0.0f))
        return;
    GLfloat glow[4];
    ExhaustGlowColour(t, glow);
    glPushMatrix();
    EnterExhaustFrame();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, TEX_EXPLOSION0 + flameFrame);
    glow[3] = (float)(0.75 - 0.005 * t);
    glColor4fv(glow);
    glPushMatrix();
    glTranslatef(20.0f, -11.0f, -160.0f);
    ExhaustQuad(10.0f, 8.5f, -1.0f);
    glTranslatef(-41.0f, 0.0f, 0.0f);
    ExhaustQuad(10.0f, 8.5f, -1.0f);
    glPopMatrix();
    glBindTexture(GL_TEXTURE_2D, 0);
    flameFrame = (flameFrame + 1) % FLAME_FRAMES;
    glPopMatrix();
}

void DrawExhaust(Body body)
{
    DrawExhaustGlows(body);
    DrawExhaustFlames(body);
}
