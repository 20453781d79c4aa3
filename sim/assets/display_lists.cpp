// Model, scenery, ground-plane and forest display lists, compiled once at
// set-up; the frame then draws each by its fixed id.
#include "sim/assets/display_lists.h"

#include <GL/gl.h>

#include "common/random.h"
#include "sim/assets/models.h"
#include "sim/assets/textures.h"
#include "sim/landscape/terrain.h"
#include "sim/view/view_state.h"

static const GLfloat AIRCRAFT_SHININESS = 100.0f;
static const GLfloat AIRCRAFT_SPECULAR[4] = {0.6f, 0.6f, 0.6f, 1.0f};
static const GLfloat DELTA_SHININESS = 100.0f;
static const GLfloat DELTA_SPECULAR[4] = {0.3f, 0.4f, 0.7f, 1.0f};
static const GLfloat GROUND_SHININESS = 50.0f;
static const GLfloat GROUND_SPECULAR[4] = {0.2f, 0.2f, 0.2f, 1.0f};

// Model units to world units.
static const GLfloat AIRCRAFT_SCALE = 0.2f;
static const GLfloat AIRFIELD_SCALE = 10.0f;
static const GLfloat DELTA_SCALE = 2.2f;

// The ground plane: 8 x 8 quads of 50000 units over -200000..200000, the
// floor texture repeating 50 times along each quad edge.
static const int GROUND_EXTENT = 200000;
static const int GROUND_QUAD = 50000;
static const float GROUND_TEXTURE_REPEAT = 50.0f;

// One tree: two crossed quads 226 wide and 241 high, drawn twice 45 degrees apart.
static const float TREE_HALF_WIDTH = 113.0f;
static const float TREE_HEIGHT = 241.0f;
static const int FOREST_TREES = 100;
static const float RANDOM_TO_UNIT = 3.0518509e-5f; // 1 / 32767
static const double FOREST_STEP = 10000.0;         // largest step between trees, world units

// The meshes carry no texture coordinates: a texture left bound by earlier
// drawing (the sun's square leaves its own, whose corners are transparent)
// would paint a whole model with one texel and could make it vanish under
// the alpha test. Texture 0 never holds an image, so binding it leaves the
// models in their own colours.
static void UntexturedModel()
{
    glBindTexture(GL_TEXTURE_2D, 0);
}

static void SetMaterial(GLfloat shininess, const GLfloat specular[4])
{
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, shininess);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
}

void SetAircraftMaterial()
{
    SetMaterial(AIRCRAFT_SHININESS, AIRCRAFT_SPECULAR);
}

// Lists 10 and 11: nose to +z, up +y, about 290 units long.
static void BuildAircraftList(int id, int gear, bool ghost)
{
    glNewList(id, GL_COMPILE);
    UntexturedModel();
    SetMaterial(AIRCRAFT_SHININESS, AIRCRAFT_SPECULAR);
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(90.0f, -1.0f, 0.0f, 0.0f);
    glScalef(AIRCRAFT_SCALE, AIRCRAFT_SCALE, AIRCRAFT_SCALE);
    if (ghost)
        DrawGhostAircraftMesh(gear);
    else
        DrawAircraftMesh(gear);
    glEndList();
}

unsigned BuildGhostAircraftLists()
{
    GLuint first = glGenLists(2);
    BuildAircraftList((int)first, 0, true);
    BuildAircraftList((int)first + 1, 1, true);
    return first;
}

// The airfield's material is set now, outside the list, so that the list
// itself takes whatever shininess and specular are current when it is drawn.
static void BuildAirfieldList()
{
    SetMaterial(GROUND_SHININESS, GROUND_SPECULAR);
    glNewList(LIST_AIRFIELD, GL_COMPILE);
    UntexturedModel();
    glRotatef(90.0f, -1.0f, 0.0f, 0.0f);
    glScalef(AIRFIELD_SCALE, AIRFIELD_SCALE, AIRFIELD_SCALE);
    DrawAirfieldMesh();
    glEndList();
}

static void BuildDeltaWingList()
{
    glNewList(LIST_DELTA_WING, GL_COMPILE);
    UntexturedModel();
    SetMaterial(DELTA_SHININESS, DELTA_SPECULAR);
    glRotatef(-90.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(90.0f, -1.0f, 0.0f, 0.0f);
    glScalef(DELTA_SCALE, DELTA_SCALE, DELTA_SCALE);
    DrawDeltaWingMesh();
    glEndList();
}

// The texture bindings of lists 16 and 18 follow the texture switch at build
// time; switching textures later does not change them.
static void BuildGroundList()
{
    glNewList(LIST_GROUND, GL_COMPILE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glLoadIdentity();
    SetMaterial(GROUND_SHININESS, GROUND_SPECULAR);
    glColor3fv(groundColour);
    // Pushes the plane behind the airfield surfaces that lie in it.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1.0f, 1.0f);
    if (texturesOn)
        glBindTexture(GL_TEXTURE_2D, TEX_FLOOR);
    glBegin(GL_QUADS);
    glNormal3f(0.0f, -1.0f, 0.0f);
    for (int x0 = -GROUND_EXTENT; x0 < GROUND_EXTENT; x0 += GROUND_QUAD) {
        for (int z0 = -GROUND_EXTENT; z0 < GROUND_EXTENT; z0 += GROUND_QUAD) {
            float x = (float)x0, z = (float)z0, q = (float)GROUND_QUAD;
            glTexCoord2f(0.0f, 0.0f);
            glVertex3f(x, 0.0f, z);
            glTexCoord2f(0.0f, GROUND_TEXTURE_REPEAT);
            glVertex3f(x, 0.0f, z + q);
            glTexCoord2f(GROUND_TEXTURE_REPEAT, GROUND_TEXTURE_REPEAT);
            glVertex3f(x + q, 0.0f, z + q);
            glTexCoord2f(GROUND_TEXTURE_REPEAT, 0.0f);
            glVertex3f(x + q, 0.0f, z);
        }
    }
    glEnd();
    if (texturesOn)
        glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glEndList();
}

static void PlaceInScenery(float x, float y, float z, int list)
{
    glPushMatrix();
    glLoadIdentity();
    if (x != 0.0f || y != 0.0f || z != 0.0f)
        glTranslatef(x, y, z);
    glCallList(list);
    glPopMatrix();
}

// Leaves the model-view matrix as the identity (the ground list loads it).
static void BuildSceneryList()
{
    glNewList(LIST_SCENERY, GL_COMPILE);
    PlaceInScenery(0.0f, 0.0f, 0.0f, LIST_AIRFIELD);
    PlaceInScenery(5000.0f, 50.0f, 1000.0f, LIST_AIRCRAFT_GEAR);
    PlaceInScenery(5100.0f, 40.0f, 1300.0f, LIST_DELTA_WING);
    glCallList(LIST_GROUND);
    glEndList();
}

static void TreeQuads()
{
    glNormal3f(0.0f, 0.0f, 1.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-TREE_HALF_WIDTH, 0.0f, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-TREE_HALF_WIDTH, TREE_HEIGHT, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(TREE_HALF_WIDTH, TREE_HEIGHT, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(TREE_HALF_WIDTH, 0.0f, 0.0f);
    glNormal3f(-1.0f, 0.0f, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, -TREE_HALF_WIDTH);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(0.0f, TREE_HEIGHT, -TREE_HALF_WIDTH);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(0.0f, TREE_HEIGHT, TREE_HALF_WIDTH);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, TREE_HALF_WIDTH);
}

// Leaves the model-view matrix turned a further 45 degrees about +y: the
// forest relies on it to spread its trees in a turning walk.
static void BuildTreeList()
{
    glNewList(LIST_TREE, GL_COMPILE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glColor4f(0.0f, 0.5f, 0.1f, 0.0f);
    if (texturesOn)
        glBindTexture(GL_TEXTURE_2D, TEX_TREE);
    glBegin(GL_QUADS);
    TreeQuads();
    glEnd();
    glRotatef(45.0f, 0.0f, 1.0f, 0.0f);
    glBegin(GL_QUADS);
    TreeQuads();
    glEnd();
    if (texturesOn)
        glBindTexture(GL_TEXTURE_2D, 0);
    glEndList();
}

// Takes the first 200 random numbers of the run, so the layout is the same
// every time and the terrain, which draws after it, is too.
static void BuildForestList()
{
    glNewList(LIST_FOREST, GL_COMPILE);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Pulls the trees towards the viewer, in front of the ground they stand on.
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(-0.5f, -0.2f);
    for (int i = 0; i < FOREST_TREES; i++) {
        int a = NextRandom();
        int b = NextRandom();
        float dx = (float)(a * RANDOM_TO_UNIT * FOREST_STEP);
        float dz = (float)(b * RANDOM_TO_UNIT * FOREST_STEP);
        glTranslatef(dx, 0.0f, -dz);
        glCallList(LIST_TREE);
    }
    glDisable(GL_POLYGON_OFFSET_FILL);
    glEndList();
}

void SkipForestDraws()
{
    for (int i = 0; i < 2 * FOREST_TREES; i++)
        NextRandom();
}

void BuildDisplayLists()
{
    BuildAircraftList(LIST_AIRCRAFT, 0, false);
    BuildAirfieldList();
    BuildAircraftList(LIST_AIRCRAFT_GEAR, 1, false);
    BuildDeltaWingList();
    BuildGroundList();
    BuildSceneryList();
    BuildTreeList();
    BuildForestList();
}
