// Terrain rendering: compiles each tile into a display list of lit, textured
// triangle strips and draws the tiles that lie towards the camera.
#include "sim/render/terrain_lists.h"

#include <GL/gl.h>
#include <cstdio>

#include "sim/assets/textures.h"
#include "sim/landscape/terrain.h"
#include "sim/math/vec_math.h"
#include "sim/render/camera.h"
#include "sim/view/view_state.h"

// The box TileVisible tests reaches from the ground to the highest mountain.
static const float TILE_BOX_TOP = 8000.0f;
static const double VISIBLE_ANGLE = 45.0; // degrees off the viewing direction

static void EmitColour(const TerrainTile& t, int row, int col)
{
    int k = row * t.depth + col;
    glColor3f(t.red[k], t.green[k], t.blue[k]);
}

// The stored normals point up; the terrain is lit with them turned down.
static void EmitNegatedNormal(const TerrainTile& t, int row, int col, int second)
{
    const float* n = t.normals + (row * t.depth + col) * 6 + (second ? 3 : 0);
    glNormal3f(-n[0], -n[1], -n[2]);
}

void DrawTerrainPatch(int tile, int firstColumn, int endColumn, int firstRow, int endRow)
{
    if (tile < 0 || tile >= TERRAIN_TILE_COUNT)
        return;
    const TerrainTile& t = terrainTiles[tile];
    if (t.width < 2 || t.depth < 2 || !t.heights || !t.red || !t.green || !t.blue || !t.normals)
        return;
    // A hand-made file may leave a last patch that runs past the grid.
    if (endColumn > t.width - 1)
        endColumn = t.width - 1;
    if (endRow > t.depth - 1)
        endRow = t.depth - 1;
    if (firstColumn < 0)
        firstColumn = 0;
    if (firstRow < 0)
        firstRow = 0;
    if (firstColumn >= endColumn || firstRow >= endRow)
        return;

    // Positions come from the terrain's own rule, which the height query
    // shares, so the ground the aircraft touches is the ground drawn here.
    const float cell = t.cellSize;
    const float z0 = TerrainCellZ(t, firstRow);
    for (int i = firstColumn; i < endColumn; i++) {
        const float x = TerrainCellX(t, i);
        glBindTexture(GL_TEXTURE_2D, TEX_FLOOR);
        glBegin(GL_TRIANGLE_STRIP);
        EmitColour(t, firstRow, i + 1);
        glTexCoord2f(0.0f, 0.0f);
        EmitNegatedNormal(t, firstRow, i, 0);
        glVertex3f(x + cell, t.heights[firstRow * t.depth + i + 1], z0);
        EmitColour(t, firstRow, i);
        glTexCoord2f(0.0f, 1.0f);
        glVertex3f(x, t.heights[firstRow * t.depth + i], z0);

        float s = 0.0f, tc = 1.0f;
        for (int j = firstRow + 1; j <= endRow; j++) {
            const float z = TerrainCellZ(t, j - 1) + cell;
            float right = t.heights[j * t.depth + i + 1];
            float left = t.heights[j * t.depth + i];
            if (right <= 0.0f)
                printf("ERROR!\n");
            if (left <= 0.0f)
                printf("ERROR! %d %d %d\n", tile, i, j);
            EmitColour(t, j, i + 1);
            s = 1.0f - s;
            glTexCoord2f(s, tc);
            glVertex3f(x + cell, right, z);
            EmitNegatedNormal(t, j - 1, i, 1);
            EmitColour(t, j, i);
            tc = 1.0f - tc;
            glTexCoord2f(s, tc);
            glVertex3f(x, left, z);
            EmitNegatedNormal(t, j - 1, i, 0);
        }
        glEnd();
    }
}

void BuildTerrainLists()
{
    const int patch = terrainPatchSize > 0 ? terrainPatchSize : 20;
    for (int k = 0; k < TERRAIN_TILE_COUNT; k++) {
        const TerrainTile& t = terrainTiles[k];
        glNewList(TERRAIN_LIST_BASE + k, GL_COMPILE);
        glLoadIdentity();
        for (int col = 0; col < t.width - 1; col += patch)
            for (int row = 0; row < t.depth - 1; row += patch)
                DrawTerrainPatch(k, col, col + patch, row, row + patch);
        glEndList();
    }
}

double CornerViewAngle(float x, float y, float z)
{
    Vec3 toCamera = {camera.pos.x - x, camera.pos.y - y, camera.pos.z - z};
    return 180.0 - AngleBetween(toCamera, camera.dir);
}

bool TileVisible(int tile)
{
    if (tile < 0 || tile >= TERRAIN_TILE_COUNT)
        return false;
    const TerrainTile& t = terrainTiles[tile];
    // Tiles are square: the width spans both axes.
    float size = (float)t.width * t.cellSize;
    float xMin = t.translateX - size / 2, xMax = t.translateX + size / 2;
    float zMin = t.translateZ - size / 2, zMax = t.translateZ + size / 2;
    const float corners[8][3] = {
        {xMin, 0.0f, zMin}, {xMin, 0.0f, zMax}, {xMax, 0.0f, zMin}, {xMax, 0.0f, zMax},
        {xMin, TILE_BOX_TOP, zMin}, {xMin, TILE_BOX_TOP, zMax},
        {xMax, TILE_BOX_TOP, zMin}, {xMax, TILE_BOX_TOP, zMax},
    };
    for (const auto& c : corners)
        if (CornerViewAngle(c[0], c[1], c[2]) <= VISIBLE_ANGLE)
            return true;
    return false;
}

void DrawTerrain()
{
    // The camera lives in the projection matrix, so the tiles are placed in
    // world coordinates under an identity model-view.
    glPushMatrix();
    glLoadIdentity();
    if (texturesOn) {
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    glEnable(GL_CULL_FACE);
    for (int k = 0; k < TERRAIN_TILE_COUNT; k++)
        if (TileVisible(k))
            glCallList(TERRAIN_LIST_BASE + k);
    glDisable(GL_CULL_FACE);
    glPopMatrix();
}
