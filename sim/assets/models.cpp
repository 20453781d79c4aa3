// Model meshes.
#include "sim/assets/models.h"

void DrawAircraftMesh(int /*gear*/)
{
}

void DrawAirfieldMesh()
{
}

void DrawDeltaWingMesh()
{
}
