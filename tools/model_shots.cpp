// Renders the three models from a few angles into PPM files, for looking at
// them while their builders are changed: model-shots OUTPUT_DIR [cull].
// With "cull", faces whose normals point away from the viewer are dropped,
// so a surface built with inward normals shows as a hole. With "raw", normals
// are not renormalised after the lists' scaling, as in the game today.
#include <GL/freeglut.h>
#include <GL/glu.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/assets/models.h"
#include "sim/shell/scene.h"
#include "sim/shell/start_state.h"
#include "sim/view/view_state.h"

const int SHOT_WIDTH = 640, SHOT_HEIGHT = 480;

static void WritePpm(const std::string& path)
{
    std::vector<unsigned char> pixels((size_t)SHOT_WIDTH * SHOT_HEIGHT * 3);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, SHOT_WIDTH, SHOT_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        fprintf(stderr, "cannot write %s\n", path.c_str());
        return;
    }
    fprintf(f, "P6\n%d %d\n255\n", SHOT_WIDTH, SHOT_HEIGHT);
    for (int row = SHOT_HEIGHT - 1; row >= 0; row--)
        fwrite(&pixels[(size_t)row * SHOT_WIDTH * 3], 1, (size_t)SHOT_WIDTH * 3, f);
    fclose(f);
    printf("%s\n", path.c_str());
}

enum Model { JET, JET_NO_GEAR, AIRFIELD, DELTA, SCENERY, SCENERY_RUNWAY };

// Places the model the way its display list does (world: y up).
static void PlaceModel(Model model)
{
    glMatrixMode(GL_MODELVIEW);
    if (model == SCENERY_RUNWAY) {
        // The player's jet at its start pose on the runway.
        PlaceModel(AIRFIELD);
        glLoadIdentity();
        glTranslatef(3075, 30, -9470);
        PlaceModel(JET);
        return;
    }
    if (model == SCENERY) {
        // The airfield with the parked jet and delta wing where the scenery puts them.
        PlaceModel(AIRFIELD);
        glLoadIdentity();
        glTranslatef(5000, 50, 1000);
        PlaceModel(JET);
        glLoadIdentity();
        glTranslatef(5100, 40, 1300);
        PlaceModel(DELTA);
        return;
    }
    if (model == AIRFIELD) {
        glRotatef(90, -1, 0, 0);
        glScalef(10, 10, 10);
        DrawAirfieldMesh();
    } else if (model == DELTA) {
        glRotatef(-90, 0, 1, 0);
        glRotatef(90, -1, 0, 0);
        glScalef(2.2f, 2.2f, 2.2f);
        DrawDeltaWingMesh();
    } else {
        glRotatef(90, 0, 1, 0);
        glRotatef(90, -1, 0, 0);
        glScalef(0.2f, 0.2f, 0.2f);
        DrawAircraftMesh(model == JET);
    }
}

struct Shot {
    const char* name;
    Model model;
    float eye[3], centre[3];
    float fovy, farPlane;
};

const Shot SHOTS[] = {
    {"jet_chase", JET, {0, 90, -380}, {0, 0, 20}, 45, 5000},
    {"jet_game_chase", SCENERY_RUNWAY, {3075, 30, -9470 - 500}, {3075, 30, -9470}, 40, 100000},
    {"jet_side", JET, {420, 10, 0}, {0, 0, 0}, 45, 5000},
    {"jet_front_above", JET, {-160, 150, 200}, {0, 0, 0}, 45, 5000},
    {"jet_rear_low", JET, {140, 30, -220}, {0, 0, 0}, 45, 5000},
    {"jet_below", JET_NO_GEAR, {150, -260, 150}, {0, 0, 0}, 45, 5000},
    {"airfield_overhead", AIRFIELD, {-6000, 42000, 1000}, {-6000, 0, 999}, 45, 100000},
    {"airfield_buildings", AIRFIELD, {3000, 2500, -500}, {7000, 0, 2300}, 45, 100000},
    {"airfield_runway", AIRFIELD, {3075, 300, -12000}, {3075, 0, 0}, 45, 100000},
    {"scenery_parked", SCENERY, {4300, 350, 300}, {5050, 0, 1150}, 45, 100000},
    {"delta_above", DELTA, {-230, 220, -170}, {0, 0, 0}, 45, 5000},
    {"delta_side", DELTA, {0, 25, 260}, {0, 0, 0}, 45, 5000},
    // The desktop icon (scripts/make-icons.sh): gear up, from above and behind.
    {"jet_icon", JET_NO_GEAR, {-235, 400, -275}, {0, 0, -35}, 40, 5000},
};

int main(int argc, char** argv)
{
    ResetSimulation();
    glutInit(&argc, argv);
    std::string dir = argc > 1 ? argv[1] : ".";
    std::string mode = argc > 2 ? argv[2] : "";
    bool cull = mode == "cull";
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(SHOT_WIDTH, SHOT_HEIGHT);
    int window = glutCreateWindow("model shots");
    glutDisplayFunc([] {});
    for (int i = 0; i < 5; i++)
        glutMainLoopEvent();
    windowWidth = SHOT_WIDTH;
    windowHeight = SHOT_HEIGHT;
    SetupFixedState();
    glDisable(GL_FOG);
    glViewport(0, 0, SHOT_WIDTH, SHOT_HEIGHT);
    glReadBuffer(GL_BACK);
    float specular[4] = {0.6f, 0.6f, 0.6f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 100.0f);
    if (mode != "raw")
        glEnable(GL_NORMALIZE);
    if (cull) {
        // Outward normals make the outside a clockwise, hence back, face.
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
    }
    for (const Shot& shot : SHOTS) {
        glClearColor(0.55f, 0.7f, 0.9f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(shot.fovy, (double)SHOT_WIDTH / SHOT_HEIGHT, shot.farPlane / 5000.0, shot.farPlane);
        // Straight down, world -z (model +y) is up on the picture.
        bool overhead = shot.eye[0] == shot.centre[0] && std::fabs(shot.eye[2] - shot.centre[2]) < 10.0f;
        gluLookAt(shot.eye[0], shot.eye[1], shot.eye[2], shot.centre[0], shot.centre[1], shot.centre[2], 0,
                  overhead ? 0 : 1, overhead ? -1 : 0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        PlaceModel(shot.model);
        WritePpm(dir + "/" + shot.name + (mode.empty() ? "" : "_" + mode) + ".ppm");
    }
    glutDestroyWindow(window);
    glutExit();
    return 0;
}
