// The three polygon models: emits the procedurally built parts in immediate mode.
#include "sim/assets/models.h"

#include <GL/gl.h>

#include "sim/assets/model_data.h"

const std::vector<MeshPart>& AircraftParts()
{
    static const std::vector<MeshPart> parts = BuildAircraftParts();
    return parts;
}

const std::vector<MeshPart>& GhostAircraftParts()
{
    static const std::vector<MeshPart> parts = BuildGhostAircraftParts();
    return parts;
}

const std::vector<MeshPart>& AirfieldParts()
{
    static const std::vector<MeshPart> parts = BuildAirfieldParts();
    return parts;
}

const std::vector<MeshPart>& DeltaWingParts()
{
    static const std::vector<MeshPart> parts = BuildDeltaWingParts();
    return parts;
}

static void DrawPart(const MeshPart& part)
{
    glColor3fv(part.colour);
    glBegin(GL_TRIANGLES);
    for (size_t i = 0; i + FLOATS_PER_VERTEX <= part.vertices.size(); i += FLOATS_PER_VERTEX) {
        const float* v = &part.vertices[i];
        glNormal3f(v[0], v[1], v[2]);
        glVertex3f(v[3], v[4], v[5]);
    }
    glEnd();
}

void DrawAircraftMesh(int gear)
{
    const std::vector<MeshPart>& parts = AircraftParts();
    for (size_t i = gear ? 0 : AIRCRAFT_GEAR_PARTS; i < parts.size(); i++)
        DrawPart(parts[i]);
}

// One run of triangles with the colour changed between parts: a colour set
// outside a run becomes the lit material, and each change would cost Mesa's
// software renderer a draw of its own.
void DrawGhostAircraftMesh(int gear)
{
    const std::vector<MeshPart>& parts = GhostAircraftParts();
    glBegin(GL_TRIANGLES);
    for (size_t i = gear ? 0 : AIRCRAFT_GEAR_PARTS; i < parts.size(); i++) {
        const MeshPart& part = parts[i];
        glColor3fv(part.colour);
        for (size_t k = 0; k + FLOATS_PER_VERTEX <= part.vertices.size(); k += FLOATS_PER_VERTEX) {
            const float* v = &part.vertices[k];
            glNormal3f(v[0], v[1], v[2]);
            glVertex3f(v[3], v[4], v[5]);
        }
    }
    glEnd();
}

void DrawAirfieldMesh()
{
    for (const MeshPart& part : AirfieldParts())
        DrawPart(part);
}

void DrawDeltaWingMesh()
{
    for (const MeshPart& part : DeltaWingParts())
        DrawPart(part);
}
