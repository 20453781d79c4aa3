// Friends' jets: the jet's own lists near, a list of a few faces far away,
// the explosion as a sprite that faces the camera, names in the head-up text.
#include "sim/render/remote_jets_draw.h"

#include <GL/glu.h>
#include <GL/glut.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "common/monotonic_clock.h"
#include "sim/assets/display_lists.h"
#include "sim/assets/textures.h"
#include "sim/flight/remote_jets.h"
#include "sim/render/camera.h"
#include "sim/render/hud_overlay.h"
#include "sim/render/hud_text.h"
#include "sim/render/sky.h"
#include "sim/view/view_state.h"

const int NAME_TEXT_SIZE = 10;
// Names come from the glyph atlas even in the smallest window: the toolkit's
// bitmap text costs Mesa's software renderer a millisecond a name, and 31
// names would double the frame.
const float NAME_MIN_SCALE = 1.2f;
const int LIST_TEXT_SIZE = 15;
const float NAME_LIFT = 120.0f;        // world units above the jet's centre
const float EXPLOSION_SPRITE = 400.0f; // world units across
const float LIST_X = 10.0f, LIST_DROP = 60.0f, LIST_LINE = 18.0f; // pixels at the start size
const float LIST_DROP_UNDER_INSTRUMENTS = 90.0f;
const float LIST_BOTTOM = 90.0f, LIST_COLUMN = 160.0f;

struct Label {
    bool shown;
    float x, y;
};
static Label labels[NET_MAX_PLAYERS];


// The far jet's faces in the model's frame, each with its normal.
struct FarQuad {
    Vec3 normal;
    Vec3 corners[4];
};
static std::vector<FarQuad> farModel;

static void Quad(float x0, float y0, float z0, float x1, float y1, float z1, float x2, float y2, float z2, float x3,
                 float y3, float z3)
{
    float ax = x1 - x0, ay = y1 - y0, az = z1 - z0, bx = x2 - x0, by = y2 - y0, bz = z2 - z0;
    farModel.push_back({{ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx},
                        {{x0, y0, z0}, {x1, y1, z1}, {x2, y2, z2}, {x3, y3, z3}}});
}

// The jet's outline in the model's frame (nose +z, up +y, about 290 long and
// 217 across): a fuselage box, the wing, the tailplane and two fins.
static void BuildFarModel()
{
    const float w = 16.0f, h = 14.0f, front = 150.0f, back = -140.0f;
    Quad(-w, -h, back, w, -h, back, w, -h, front, -w, -h, front);
    Quad(-w, h, front, w, h, front, w, h, back, -w, h, back);
    Quad(-w, -h, front, -w, h, front, -w, h, back, -w, -h, back);
    Quad(w, -h, back, w, h, back, w, h, front, w, -h, front);
    // Wing and tailplane, both faces.
    for (float side : {1.0f, -1.0f}) {
        Quad(0, 0, 40, side * 108, 0, -50, side * 108, 0, -80, 0, 0, -60);
        Quad(0, 0, -60, side * 108, 0, -80, side * 108, 0, -50, 0, 0, 40);
        Quad(0, 0, -95, side * 60, 0, -130, side * 60, 0, -145, 0, 0, -140);
        Quad(0, 0, -140, side * 60, 0, -145, side * 60, 0, -130, 0, 0, -95);
        Quad(side * 25, h, -70, side * 35, 70, -130, side * 35, 70, -145, side * 25, h, -140);
        Quad(side * 25, h, -140, side * 35, 70, -145, side * 35, 70, -130, side * 25, h, -70);
    }
}

// A model point (x, y, z: left wing, up, nose) turned onto the jet's frame.
static Vec3 Turn(const Body& b, const Vec3& v)
{
    return {-b.normal.x * v.x + b.up.x * v.y + b.dir.x * v.z, -b.normal.y * v.x + b.up.y * v.y + b.dir.y * v.z,
            -b.normal.z * v.x + b.up.z * v.y + b.dir.z * v.z};
}

// Every far jet in one run of quads, turned and placed here rather than by
// a matrix and a list each: the software renderer pays for every draw and
// change of matrix more than for these few faces.
static void DrawFarJets(const RemotePose* poses, const int* ids, int count)
{
    if (farModel.empty())
        BuildFarModel();
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glColor3f(0.55f, 0.57f, 0.6f);
    glBegin(GL_QUADS);
    for (int i = 0; i < count; i++) {
        const Body& b = poses[ids[i]].body;
        for (const FarQuad& q : farModel) {
            Vec3 n = Turn(b, q.normal);
            glNormal3f(n.x, n.y, n.z);
            for (const Vec3& c : q.corners) {
                Vec3 p = Turn(b, c);
                glVertex3f(b.pos.x + p.x, b.pos.y + p.y, b.pos.z + p.z);
            }
        }
    }
    glEnd();
    if (texturesOn)
        glEnable(GL_TEXTURE_2D);
}

// The model's axes (x, y, z) go to the jet's left wing, up and nose.
static void PlaceJet(const Body& b)
{
    GLfloat m[16] = {-b.normal.x, -b.normal.y, -b.normal.z, 0, b.up.x, b.up.y, b.up.z, 0,
                     b.dir.x,     b.dir.y,     b.dir.z,     0, b.pos.x, b.pos.y, b.pos.z, 1};
    glLoadIdentity();
    glMultMatrixf(m);
}

static void DrawExplosionSprite(const Body& b, int id)
{
    Vec3 right = {camera.dir.y * camera.up.z - camera.dir.z * camera.up.y,
                  camera.dir.z * camera.up.x - camera.dir.x * camera.up.z,
                  camera.dir.x * camera.up.y - camera.dir.y * camera.up.x};
    float r = EXPLOSION_SPRITE * 0.5f;
    Vec3 u = camera.up;
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDepthMask(GL_FALSE);
    if (texturesOn) {
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glBindTexture(GL_TEXTURE_2D, TEX_EXPLOSION0 + (unsigned)((int)(MonotonicSeconds() * 8.0) + id) % 4);
    }
    glColor4f(1.0f, 0.8f, 0.5f, 0.9f);
    glBegin(GL_QUADS);
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& c : corners) {
        glTexCoord2f((c[0] + 1) * 0.5f, (c[1] + 1) * 0.5f);
        glVertex3f(b.pos.x + r * (c[0] * right.x + c[1] * u.x), b.pos.y + r * (c[0] * right.y + c[1] * u.y),
                   b.pos.z + r * (c[0] * right.z + c[1] * u.z));
    }
    glEnd();
    if (texturesOn)
        glBindTexture(GL_TEXTURE_2D, 0);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
}

// Where the window shows a point of the world: the camera is in the
// projection, the model matrix is the identity.
struct Projection {
    GLdouble model[16], projection[16];
    GLint viewport[4];
};

static void Remember(const Projection& view, int id, const Body& b)
{
    const GLdouble *model = view.model, *projection = view.projection;
    const GLint* viewport = view.viewport;
    GLdouble x, y, z;
    labels[id].shown = gluProject(b.pos.x + b.up.x * NAME_LIFT, b.pos.y + b.up.y * NAME_LIFT,
                                  b.pos.z + b.up.z * NAME_LIFT, model, projection, viewport, &x, &y, &z) == GL_TRUE &&
                       z > 0.0 && z < 1.0;
    labels[id].x = (float)x;
    labels[id].y = (float)y;
}

void DrawRemoteJets()
{
    const RemoteSky& sky = ShownSky();
    double now = ShownSkyNowS(MonotonicSeconds());
    // Far jets are drawn together after the near ones, untextured in one go:
    // each change of state costs the software renderer more than their faces.
    int far[NET_MAX_PLAYERS], farCount = 0;
    static RemotePose poses[NET_MAX_PLAYERS];
    Projection view = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}, {}, {}};
    glGetDoublev(GL_PROJECTION_MATRIX, view.projection);
    glGetIntegerv(GL_VIEWPORT, view.viewport);
    for (int id = 0; id < NET_MAX_PLAYERS; id++) {
        labels[id].shown = false;
        RemotePose& pose = poses[id];
        if (!RemoteJetPose(sky.jets[id], now, pose))
            continue;
        const Body& b = pose.body;
        Remember(view, id, b);
        if (pose.exploding) {
            DrawExplosionSprite(b, id);
            continue;
        }
        float dx = b.pos.x - camera.pos.x, dy = b.pos.y - camera.pos.y, dz = b.pos.z - camera.pos.z;
        if (dx * dx + dy * dy + dz * dz > REMOTE_FAR_DISTANCE * REMOTE_FAR_DISTANCE) {
            far[farCount++] = id;
            continue;
        }
        PlaceJet(b);
        glPushMatrix();
        glCallList(pose.gearDown ? LIST_AIRCRAFT_GEAR : LIST_AIRCRAFT);
        glPopMatrix();
        glPushMatrix();
        DrawExhaustGlows(b);
        glPopMatrix();
        // The own jet's flames keep their own pace.
        int ownFlame = flameFrame;
        PlaceJet(b);
        SetAircraftMaterial();
        DrawExhaustFlames(b);
        flameFrame = ownFlame;
    }
    if (farCount > 0)
        DrawFarJets(poses, far, farCount);
    glLoadIdentity();
}

void DrawRemoteJetLabels(const HudLayout& l)
{
    const RemoteSky& sky = ShownSky();
    glColor3f(1.0f, 1.0f, 1.0f);
    HudTextAt names[NET_MAX_PLAYERS];
    int count = 0;
    float scale = l.textScale > NAME_MIN_SCALE ? l.textScale : NAME_MIN_SCALE;
    for (int id = 0; id < NET_MAX_PLAYERS; id++) {
        if (!labels[id].shown || !sky.jets[id].present)
            continue;
        const char* name = sky.jets[id].name;
        float width = HudTextWidth(name, NAME_TEXT_SIZE, scale);
        names[count++] = {name, labels[id].x - width * 0.5f, labels[id].y};
    }
    DrawHudTexts(names, count, NAME_TEXT_SIZE, scale);
    if (!playerListOn)
        return;
    char line[64];
    double now = ShownSkyNowS(MonotonicSeconds());
    snprintf(line, sizeof line, "Players: %d", RemoteJetCount(sky, now) + 1);
    // Under the instruments' line where it is shown, each name backed as
    // the display's other texts are.
    float drop = classicDisplay ? LIST_DROP : LIST_DROP_UNDER_INSTRUMENTS;
    float x = LIST_X * l.textScale, y = windowHeight - drop * l.textScale, step = LIST_LINE * l.textScale;
    DrawHudLabel(line, x, y, LIST_TEXT_SIZE, l.textScale);
    snprintf(line, sizeof line, "%s (you)", ownPlayerName);
    DrawHudLabel(line, x, y -= step, LIST_TEXT_SIZE, l.textScale);
    // A long list goes on in a further column rather than off the window.
    float top = y;
    for (const RemoteJet& jet : sky.jets) {
        if (!RemoteJetListed(jet, now))
            continue;
        if ((y -= step) < LIST_BOTTOM * l.textScale) {
            x += LIST_COLUMN * l.textScale;
            y = top - step;
        }
        DrawHudLabel(jet.name, x, y, LIST_TEXT_SIZE, l.textScale);
    }
}
