// The explosion's display list: the quad of one frame, drawn in the frame's
// 2-D pass while an explosion shows.
#include "sim/render/explosion_list.h"

#include <GL/gl.h>

#include "sim/assets/textures.h"
#include "sim/view/view_state.h"

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
