// Scene set-up: fixed GL state, the four lights, fog and the start poses.
#include "sim/shell/scene.h"

#include <GL/glut.h>
#include <cstdio>

#include "common/landscape_reader.h"
#include "sim/assets/display_lists.h"
#include "sim/assets/textures.h"
#include "sim/flight/aircraft.h"
#include "sim/landscape/terrain.h"
#include "sim/render/camera.h"
#include "sim/render/frame.h"
#include "sim/render/sky.h"
#include "sim/render/terrain_lists.h"
#include "sim/shell/net_client.h"
#include "sim/view/view_state.h"

float fogDensity;
float fogColour[4];

void ResetSceneState()
{
    fogDensity = 4.0e-6f;
    const float colour[4] = {0.6f, 0.7f, 0.8f, 1.0f};
    for (int i = 0; i < 4; i++)
        fogColour[i] = colour[i];
}

// The light table: sun, moon, overlay light at the aircraft, spot on the aircraft.
static const GLfloat LIGHT0_AMBIENT[4] = {0.1f, 0.1f, 0.1f, 1.0f};
static const GLfloat LIGHT0_DIFFUSE[4] = {0.9f, 0.9f, 0.85f, 1.0f};
static const GLfloat LIGHT0_SPECULAR[4] = {1.0f, 1.0f, 1.0f, 1.0f};
static const GLfloat LIGHT0_POSITION[4] = {0.0f, -100000.0f, 0.0f, 0.0f};
static const GLfloat LIGHT1_AMBIENT[4] = {0.0f, 0.0f, 0.0f, 1.0f};
static const GLfloat LIGHT1_DIFFUSE[4] = {0.2f, 0.3f, 0.55f, 1.0f};
static const GLfloat LIGHT1_SPECULAR[4] = {1.0f, 1.0f, 1.0f, 1.0f};
static const GLfloat LIGHT1_POSITION[4] = {0.0f, 100000.0f, 0.0f, 0.0f};
static const GLfloat LIGHT2_AMBIENT[4] = {0.0f, 0.0f, 0.0f, 1.0f};
static const GLfloat LIGHT2_DIFFUSE[4] = {0.6f, 0.4f, 0.4f, 1.0f};
static const GLfloat LIGHT2_SPECULAR[4] = {1.0f, 1.0f, 1.0f, 1.0f};
static const GLfloat LIGHT3_AMBIENT[4] = {0.0f, 0.0f, 0.0f, 1.0f};
static const GLfloat LIGHT3_DIFFUSE[4] = {1.0f, 1.0f, 1.0f, 1.0f};
static const GLfloat LIGHT3_SPECULAR[4] = {1.0f, 1.0f, 1.0f, 1.0f};

void SetupLights()
{
    glLightfv(GL_LIGHT0, GL_AMBIENT, LIGHT0_AMBIENT);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, LIGHT0_DIFFUSE);
    glLightfv(GL_LIGHT0, GL_SPECULAR, LIGHT0_SPECULAR);
    glLightfv(GL_LIGHT0, GL_POSITION, LIGHT0_POSITION);
    glLightfv(GL_LIGHT1, GL_AMBIENT, LIGHT1_AMBIENT);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, LIGHT1_DIFFUSE);
    glLightfv(GL_LIGHT1, GL_SPECULAR, LIGHT1_SPECULAR);
    glLightfv(GL_LIGHT1, GL_POSITION, LIGHT1_POSITION);
    glLightfv(GL_LIGHT2, GL_AMBIENT, LIGHT2_AMBIENT);
    glLightfv(GL_LIGHT2, GL_DIFFUSE, LIGHT2_DIFFUSE);
    glLightfv(GL_LIGHT2, GL_SPECULAR, LIGHT2_SPECULAR);
    glLightfv(GL_LIGHT3, GL_AMBIENT, LIGHT3_AMBIENT);
    glLightfv(GL_LIGHT3, GL_DIFFUSE, LIGHT3_DIFFUSE);
    glLightfv(GL_LIGHT3, GL_SPECULAR, LIGHT3_SPECULAR);
    glLightf(GL_LIGHT3, GL_SPOT_EXPONENT, 0.2f);
    glLightf(GL_LIGHT3, GL_SPOT_CUTOFF, 45.0f);
    glLightf(GL_LIGHT3, GL_CONSTANT_ATTENUATION, 1.0f);
    glLightf(GL_LIGHT3, GL_LINEAR_ATTENUATION, 1.0f);
    glLightf(GL_LIGHT3, GL_QUADRATIC_ATTENUATION, 0.2f);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
}

void SetupFog()
{
    // Fog stays disabled until the pilot's fog key switches it on.
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogf(GL_FOG_DENSITY, fogDensity);
    glFogfv(GL_FOG_COLOR, fogColour);
}

// exp(-density d) falls to 1/256 at d = ln 256 / density.
static const double LN_256 = 5.545177444479562;

double LinearFogEnd(double density)
{
    // No density, or none that means anything: the fog as far as the view.
    if (!(density > 0.0))
        return 300000.0;
    return LN_256 / density;
}

void SetLinearFogRange()
{
    glFogf(GL_FOG_START, 0.0f);
    glFogf(GL_FOG_END, (float)LinearFogEnd(fogDensity));
}

void SetupFixedState()
{
    glClearColor(skyColour[0], skyColour[1], skyColour[2], skyColour[3]);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glClearDepth(1.0);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glFrontFace(GL_CCW);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    SetupLights();
    SetupFog();
    // The vertex, normal and colour client arrays stay disabled: nothing
    // draws from them, and freeglut's spheres would otherwise read colours
    // from a null colour array (black spheres on Mesa, a crash elsewhere).
}

// A joined game flies over the server's landscape, held in memory: a file of
// the player's is neither read nor written.
static void LoadServedLandscape(const std::vector<char>& bytes)
{
    GenerateTerrainTiles();
    LandscapeGrid grid;
    if (!bytes.empty() && DecodeLandscape(bytes.data(), bytes.size(), "the server's landscape", grid))
        InstallLandscapeGrid(grid);
}

void LoadLandscape()
{
    if (netSession.playing)
        LoadServedLandscape(netSession.landscape);
    else
        LoadTerrainTiles(LANDSCAPE_FILE);
    BuildTerrainLists();
    if (!quietConsole)
        printf("Finished Reading Landscape!\n");
    fflush(stdout);
}

void SetupScene()
{
    SetupFixedState();
    if (texturesOn)
        LoadTextureSet();
    BuildDisplayLists();
    LoadLandscape();
    ResetPlane(plane);
    PlaceOwnJet();
    ResetCamera(camera);
    CheckGLError("SetupScene");
    glutPostRedisplay();
}

void Reshape(int width, int height)
{
    if (height == 0)
        height = 1;
    if (width == 0)
        width = 1;
    glViewport(0, 0, width, height);
    windowHeight = (float)height;
    windowWidth = (float)width;
    glutPostRedisplay();
}

void PassiveMotion(int /*x*/, int /*y*/)
{
}
