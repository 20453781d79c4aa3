// The model drawing functions as GL sees them: triangles and colours emitted.
#include <vector>

#include "sim/assets/model_data.h"
#include "sim/assets/models.h"
#include "tests/gl/gl_fixture.h"

namespace {

struct Emitted {
    int triangles = 0;
    int other = 0;
    std::vector<float> firstColour; // RGBA of the first vertex
};

// Draws with lighting off in a box that holds the whole model, so nothing is
// clipped, and reads back what reached the rasteriser.
Emitted Capture(void (*draw)(), float half)
{
    std::vector<GLfloat> buffer(400000);
    glDisable(GL_LIGHTING);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-half, half, -half, half, -half, half);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glFeedbackBuffer((GLsizei)buffer.size(), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    GLint used = glRenderMode(GL_RENDER);
    Emitted e;
    // GL_3D_COLOR in RGBA mode: x, y, z, then r, g, b, a per vertex.
    const int perVertex = 7;
    for (GLint i = 0; i < used;) {
        GLint token = (GLint)buffer[i++];
        if (token == GL_POLYGON_TOKEN) {
            GLint n = (GLint)buffer[i++];
            if (e.triangles == 0 && e.other == 0)
                e.firstColour.assign(buffer.begin() + i + 3, buffer.begin() + i + 7);
            if (n == 3)
                e.triangles++;
            else
                e.other++;
            i += n * perVertex;
        } else {
            e.other++;
            break;
        }
    }
    return e;
}

} // namespace

TEST_F(GlTest, ModelsEmitTheirTrianglesInPartOrder)
{
    struct Case {
        const char* name;
        void (*draw)();
        float half;
        int triangles;
        const MeshPart& first;
    };
    const Case cases[] = {
        {"jet with gear", [] { DrawAircraftMesh(1); }, 1500, 5608, AircraftParts()[0]},
        {"jet without gear", [] { DrawAircraftMesh(0); }, 1500, 5608 - 1296, AircraftParts()[AIRCRAFT_GEAR_PARTS]},
        {"ghost jet with gear", [] { DrawGhostAircraftMesh(1); }, 1500, 1352, GhostAircraftParts()[0]},
        {"airfield", DrawAirfieldMesh, 3000, 1738, AirfieldParts()[0]},
        {"delta wing", DrawDeltaWingMesh, 100, 853, DeltaWingParts()[0]},
    };
    for (const Case& c : cases) {
        Emitted e = Capture(c.draw, c.half);
        EXPECT_EQ(e.triangles, c.triangles) << c.name;
        EXPECT_EQ(e.other, 0) << c.name;
        ASSERT_EQ(e.firstColour.size(), 4u) << c.name;
        for (int k = 0; k < 3; k++)
            EXPECT_NEAR(e.firstColour[k], c.first.colour[k], 1.0f / 255) << c.name;
    }
}
