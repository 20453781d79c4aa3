// The crash explosion: its frame counter, colour and the display list of each frame.
#include "sim/flight/explosion.h"

#include <GL/freeglut.h> // GLUT_INIT_STATE

#include "sim/assets/textures.h"
#include "sim/flight/ground_contact.h"
#include "sim/shell/scene.h"

int explosionFrame = 0;
float explosionAlpha = 1.0f;
float explosionBrightness = 1.0f;
int explosionScheduled = 0;

static const double EXPLOSION_GROWTH = 0.05;         // half-size per frame, fraction of the window
static const double EXPLOSION_FADE = 0.05;           // alpha lost per frame
static const double EXPLOSION_DARKEN = 0.043478260869565216; // grey lost per frame: 1/23
static const float EXPLOSION_DEPTH = 0.2f;

bool StartExplosion()
{
    if (explosionScheduled)
        return false;
    explosionScheduled = 1;
    if (glutGet(GLUT_INIT_STATE))
        glutTimerFunc(EXPLOSION_FIRST_DELAY_MS, ExplosionTick, EXPLOSION_TIMER_VALUE);
    return true;
}

bool AdvanceExplosion(ExplosionQuad& quad)
{
    explosionFrame += 1;
    int k = explosionFrame;
    double s = EXPLOSION_GROWTH * k;
    quad.left = (float)(windowWidth * (0.5 - s));
    quad.right = (float)(windowWidth * (0.5 + s));
    quad.bottom = (float)(windowHeight * (0.5 - s));
    quad.top = (float)(windowHeight * (0.5 + s));
    quad.depth = EXPLOSION_DEPTH;
    quad.grey = explosionBrightness;
    quad.alpha = explosionAlpha;
    if (k >= EXPLOSION_RUNS) {
        explosionAlpha = 1.0f;
        explosionBrightness = 1.0f;
        explosionFrame = 0;
        explosionScheduled = 0;
        return false;
    }
    explosionAlpha = (float)(explosionAlpha - EXPLOSION_FADE);
    explosionBrightness = (float)(explosionBrightness - EXPLOSION_DARKEN);
    restartPrompt = 1;
    paused = 1;
    return true;
}

void BuildExplosionList(const ExplosionQuad& quad)
{
    glNewList(LIST_EXPLOSION, GL_COMPILE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor4f(quad.grey, quad.grey, quad.grey, quad.alpha);
    if (texturesOn)
        glBindTexture(GL_TEXTURE_2D, TEX_EXPLOSION0);
    glDisable(GL_LIGHTING);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(quad.left, quad.bottom, quad.depth);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(quad.left, quad.top, quad.depth);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(quad.right, quad.top, quad.depth);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(quad.right, quad.bottom, quad.depth);
    glEnd();
    glEnable(GL_LIGHTING);
    glEndList();
}

void ExplosionTick(int /*value*/)
{
    ExplosionQuad quad;
    bool more = AdvanceExplosion(quad);
    BuildExplosionList(quad);
    if (more)
        glutTimerFunc(EXPLOSION_FRAME_DELAY_MS, ExplosionTick, EXPLOSION_TIMER_VALUE);
    glutPostRedisplay();
}
