// Vertex lists and normal rules of the 23 static meshes and the terrain-cell vertex layout.
#pragma once
#include <cstdint>
#include <vector>
#include "gfx/geometry.h"

// The static meshes, in the order they are created and released.
enum StaticMesh : int32_t {
    MESH_GROUND_STRIP,
    MESH_REEL,
    MESH_REEL_BOX,
    MESH_DECAL_QUAD_UP,
    MESH_DECAL_QUAD_DOWN,
    MESH_BILLBOARD,
    MESH_TWO_SIDED_BOARD,
    MESH_WATER_SURFACE,
    MESH_WATER_SKY_REFLECTION,
    MESH_WATER_UNDER_LAYER,
    MESH_SKY_PLANE,
    MESH_SKIRT_NORTH_SOUTH,
    MESH_SKIRT_WEST_EAST,
    MESH_CUBE,
    MESH_TAPERED_COLUMN,
    MESH_AERATOR_POST,
    MESH_ROD_SECTION,
    MESH_UPRIGHT_QUAD,
    MESH_FISH_BODY,
    MESH_FISH_TAIL,
    MESH_FISH_MOUTH,
    MESH_FISH_LEFT_FIN,
    MESH_FISH_RIGHT_FIN,
    STATIC_MESH_COUNT
};

// The finished vertices of one mesh: positions, stored normals and texture coordinates.
std::vector<MeshVertex> BuildStaticMeshVertices(StaticMesh mesh);

// The four vertices of a terrain cell from its corners: normal (x, y + 1, z), texture corners
// (0, 0), (0, 1), (1, 0), (1, 1).
void BuildCellVertices(const float x[4], const float y[4], const float z[4], MeshVertex out[4]);
