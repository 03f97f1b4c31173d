// Vertex lists of the static meshes: positions, texture coordinates, normal rules and flat-shading groups.
#include "gfx/mesh_data.h"
#include <cstddef>

namespace {

struct MeshPoint {
    float x, y, z;
    float u, v;
};

// How a mesh's stored normals follow from its positions.
enum class NormalRule {
    Position,      // the position itself
    RaisedHeight,  // (x, y + 1, z)
    UnitHeight,    // (x, 1, z)
    BackZ,         // (x, y, -1)
    Flat,          // flat-shading groups of four vertices
};

// ---- literal vertex lists (x, y, z, u, v); water and sky coordinates are rewritten each frame ----

const MeshPoint GROUND_STRIP[4] = {
    {-1.0f, 0.0f, 0.0f, 0.0f, 1.0f},  // 0
    {-1.0f, 0.0f, 2.0f, 0.0f, 0.0f},  // 1
    {1.0f, 0.0f, 0.0f, 1.0f, 1.0f},  // 2
    {1.0f, 0.0f, 2.0f, 1.0f, 0.0f},  // 3
};

const MeshPoint REEL[104] = {
    {-0.02f, 0.1f, 0.0f, 0.0f, 1.0f},  // 0
    {-0.02f, 0.1f, 0.2f, 0.0f, 0.0f},  // 1
    {0.02f, 0.1f, 0.0f, 0.0588f, 1.0f},  // 2
    {0.02f, 0.1f, 0.2f, 0.0588f, 0.0f},  // 3
    {0.05f, 0.085f, 0.0f, 0.1176f, 1.0f},  // 4
    {0.05f, 0.085f, 0.2f, 0.1176f, 0.0f},  // 5
    {0.085f, 0.05f, 0.0f, 0.1764f, 1.0f},  // 6
    {0.085f, 0.05f, 0.2f, 0.1764f, 0.0f},  // 7
    {0.1f, 0.02f, 0.0f, 0.2352f, 1.0f},  // 8
    {0.1f, 0.02f, 0.2f, 0.2352f, 0.0f},  // 9
    {0.1f, -0.02f, 0.0f, 0.294f, 1.0f},  // 10
    {0.1f, -0.02f, 0.2f, 0.294f, 0.0f},  // 11
    {0.085f, -0.05f, 0.0f, 0.3528f, 1.0f},  // 12
    {0.085f, -0.05f, 0.2f, 0.3528f, 0.0f},  // 13
    {0.05f, -0.085f, 0.0f, 0.4116f, 1.0f},  // 14
    {0.05f, -0.085f, 0.2f, 0.4116f, 0.0f},  // 15
    {0.02f, -0.1f, 0.0f, 0.4704f, 1.0f},  // 16
    {0.02f, -0.1f, 0.2f, 0.4704f, 0.0f},  // 17
    {-0.02f, -0.1f, 0.0f, 0.5292f, 1.0f},  // 18
    {-0.02f, -0.1f, 0.2f, 0.5292f, 0.0f},  // 19
    {-0.05f, -0.085f, 0.0f, 0.588f, 1.0f},  // 20
    {-0.05f, -0.085f, 0.2f, 0.588f, 0.0f},  // 21
    {-0.085f, -0.05f, 0.0f, 0.6468f, 1.0f},  // 22
    {-0.085f, -0.05f, 0.2f, 0.6468f, 0.0f},  // 23
    {-0.1f, -0.02f, 0.0f, 0.7056f, 1.0f},  // 24
    {-0.1f, -0.02f, 0.2f, 0.7056f, 0.0f},  // 25
    {-0.1f, 0.02f, 0.0f, 0.7644f, 1.0f},  // 26
    {-0.1f, 0.02f, 0.2f, 0.7644f, 0.0f},  // 27
    {-0.085f, 0.05f, 0.0f, 0.8232f, 1.0f},  // 28
    {-0.085f, 0.05f, 0.2f, 0.8232f, 0.0f},  // 29
    {-0.05f, 0.085f, 0.0f, 0.882f, 1.0f},  // 30
    {-0.05f, 0.085f, 0.2f, 0.882f, 0.0f},  // 31
    {-0.02f, 0.1f, 0.0f, 0.9408f, 1.0f},  // 32
    {-0.02f, 0.1f, 0.2f, 0.9408f, 0.0f},  // 33
    {0.02f, 0.1f, 0.0f, 1.0f, 1.0f},  // 34
    {0.02f, 0.1f, 0.2f, 1.0f, 0.0f},  // 35
    {0.0f, 0.0f, 0.0f, 0.5f, 0.5f},  // 36
    {-0.02f, 0.1f, 0.0f, 0.4f, 1.0f},  // 37
    {0.02f, 0.1f, 0.0f, 0.6f, 1.0f},  // 38
    {0.05f, 0.085f, 0.0f, 0.75f, 0.9f},  // 39
    {0.085f, 0.05f, 0.0f, 0.9f, 0.75f},  // 40
    {0.1f, 0.02f, 0.0f, 1.0f, 0.6f},  // 41
    {0.1f, -0.02f, 0.0f, 1.0f, 0.4f},  // 42
    {0.085f, -0.05f, 0.0f, 0.9f, 0.25f},  // 43
    {0.05f, -0.085f, 0.0f, 0.75f, 0.1f},  // 44
    {0.02f, -0.1f, 0.0f, 0.6f, 0.0f},  // 45
    {-0.02f, -0.1f, 0.0f, 0.4f, 0.0f},  // 46
    {-0.05f, -0.085f, 0.0f, 0.25f, 0.1f},  // 47
    {-0.085f, -0.05f, 0.0f, 0.1f, 0.25f},  // 48
    {-0.1f, -0.02f, 0.0f, 0.0f, 0.4f},  // 49
    {-0.1f, 0.02f, 0.0f, 0.0f, 0.6f},  // 50
    {-0.085f, 0.05f, 0.0f, 0.1f, 0.75f},  // 51
    {-0.05f, 0.085f, 0.0f, 0.25f, 0.9f},  // 52
    {-0.02f, 0.1f, 0.0f, 0.4f, 1.0f},  // 53
    {0.0f, 0.0f, 0.25f, 0.5f, 0.5f},  // 54
    {0.02f, 0.1f, 0.2f, 0.4f, 1.0f},  // 55
    {-0.02f, 0.1f, 0.2f, 0.6f, 1.0f},  // 56
    {-0.05f, 0.085f, 0.2f, 0.75f, 0.9f},  // 57
    {-0.085f, 0.05f, 0.2f, 0.9f, 0.75f},  // 58
    {-0.1f, 0.02f, 0.2f, 1.0f, 0.6f},  // 59
    {-0.1f, -0.02f, 0.2f, 1.0f, 0.4f},  // 60
    {-0.085f, -0.05f, 0.2f, 0.9f, 0.25f},  // 61
    {-0.05f, -0.085f, 0.2f, 0.75f, 0.1f},  // 62
    {-0.02f, -0.1f, 0.2f, 0.6f, 0.0f},  // 63
    {0.02f, -0.1f, 0.2f, 0.4f, 0.0f},  // 64
    {0.05f, -0.085f, 0.2f, 0.25f, 0.1f},  // 65
    {0.085f, -0.05f, 0.2f, 0.1f, 0.25f},  // 66
    {0.1f, -0.02f, 0.2f, 0.0f, 0.4f},  // 67
    {0.1f, 0.02f, 0.2f, 0.0f, 0.6f},  // 68
    {0.085f, 0.05f, 0.2f, 0.1f, 0.75f},  // 69
    {0.05f, 0.085f, 0.2f, 0.25f, 0.9f},  // 70
    {0.02f, 0.1f, 0.2f, 0.4f, 1.0f},  // 71
    {-0.05f, 0.075f, -0.15f, 0.0f, 0.0f},  // 72
    {-0.05f, 0.075f, 0.0f, 0.0f, 1.0f},  // 73
    {0.05f, 0.075f, -0.15f, 1.0f, 0.0f},  // 74
    {0.05f, 0.075f, 0.0f, 1.0f, 1.0f},  // 75
    {-0.05f, 0.025f, -0.3f, 0.0f, 0.0f},  // 76
    {-0.05f, 0.075f, -0.15f, 0.0f, 1.0f},  // 77
    {0.05f, 0.025f, -0.3f, 1.0f, 0.0f},  // 78
    {0.05f, 0.075f, -0.15f, 1.0f, 1.0f},  // 79
    {-0.05f, -0.05f, 0.0f, 0.0f, 0.0f},  // 80
    {-0.05f, 0.075f, 0.0f, 0.0f, 1.0f},  // 81
    {-0.05f, -0.05f, -0.15f, 0.5f, 0.0f},  // 82
    {-0.05f, 0.075f, -0.15f, 0.5f, 1.0f},  // 83
    {-0.05f, -0.05f, -0.15f, 0.5f, 0.0f},  // 84
    {-0.05f, 0.075f, -0.15f, 0.5f, 1.0f},  // 85
    {-0.05f, -0.05f, -0.3f, 1.0f, 0.0f},  // 86
    {-0.05f, 0.025f, -0.3f, 1.0f, 1.0f},  // 87
    {0.05f, -0.05f, -0.15f, 0.5f, 0.0f},  // 88
    {0.05f, 0.075f, -0.15f, 0.5f, 1.0f},  // 89
    {0.05f, -0.05f, 0.0f, 1.0f, 0.0f},  // 90
    {0.05f, 0.075f, 0.0f, 1.0f, 1.0f},  // 91
    {0.05f, -0.05f, -0.3f, 0.0f, 0.0f},  // 92
    {0.05f, 0.025f, -0.3f, 0.0f, 1.0f},  // 93
    {0.05f, -0.05f, -0.15f, 0.5f, 0.0f},  // 94
    {0.05f, 0.075f, -0.15f, 0.5f, 1.0f},  // 95
    {-0.05f, -0.05f, 0.0f, 0.0f, 0.0f},  // 96
    {-0.05f, -0.05f, -0.3f, 0.0f, 1.0f},  // 97
    {0.05f, -0.05f, 0.0f, 1.0f, 0.0f},  // 98
    {0.05f, -0.05f, -0.3f, 1.0f, 1.0f},  // 99
    {-0.05f, -0.05f, -0.3f, 0.0f, 0.0f},  // 100
    {-0.05f, 0.025f, -0.3f, 0.0f, 1.0f},  // 101
    {0.05f, -0.05f, -0.3f, 1.0f, 0.0f},  // 102
    {0.05f, 0.025f, -0.3f, 1.0f, 1.0f},  // 103
};

const MeshPoint DECAL_QUAD_UP[4] = {
    {-1.0f, 0.0f, -1.0f, 0.0f, 1.0f},  // 0
    {-1.0f, 0.0f, 1.0f, 0.0f, 0.0f},  // 1
    {1.0f, 0.0f, -1.0f, 1.0f, 1.0f},  // 2
    {1.0f, 0.0f, 1.0f, 1.0f, 0.0f},  // 3
};

const MeshPoint DECAL_QUAD_DOWN[4] = {
    {-1.0f, 0.0f, 1.0f, 0.0f, 0.0f},  // 0
    {-1.0f, 0.0f, -1.0f, 0.0f, 1.0f},  // 1
    {1.0f, 0.0f, 1.0f, 1.0f, 0.0f},  // 2
    {1.0f, 0.0f, -1.0f, 1.0f, 1.0f},  // 3
};

const MeshPoint BILLBOARD[4] = {
    {-1.0f, 0.0f, 0.0f, 0.0f, 1.0f},  // 0
    {-1.0f, 2.0f, 0.0f, 0.0f, 0.0f},  // 1
    {1.0f, 0.0f, 0.0f, 1.0f, 1.0f},  // 2
    {1.0f, 2.0f, 0.0f, 1.0f, 0.0f},  // 3
};

const MeshPoint TWO_SIDED_BOARD[8] = {
    {-1.0f, 0.0f, 0.0f, 0.0f, 1.0f},  // 0
    {-1.0f, 2.0f, 0.0f, 0.0f, 0.0f},  // 1
    {1.0f, 0.0f, 0.0f, 1.0f, 1.0f},  // 2
    {1.0f, 2.0f, 0.0f, 1.0f, 0.0f},  // 3
    {1.0f, 0.0f, 0.0f, 1.0f, 1.0f},  // 4
    {1.0f, 2.0f, 0.0f, 1.0f, 0.0f},  // 5
    {-1.0f, 0.0f, 0.0f, 0.0f, 1.0f},  // 6
    {-1.0f, 2.0f, 0.0f, 0.0f, 0.0f},  // 7
};

const MeshPoint WATER_SURFACE[8] = {
    {-1.0f, 0.0f, -1.0f, 0.0f, 0.0f},  // 0
    {-1.0f, 0.0f, 1.0f, 0.0f, 0.0f},  // 1
    {1.0f, 0.0f, -1.0f, 0.0f, 0.0f},  // 2
    {1.0f, 0.0f, 1.0f, 0.0f, 0.0f},  // 3
    {1.0f, 0.0f, -1.0f, 0.0f, 0.0f},  // 4
    {1.0f, 0.0f, 1.0f, 0.0f, 0.0f},  // 5
    {-1.0f, 0.0f, -1.0f, 0.0f, 0.0f},  // 6
    {-1.0f, 0.0f, 1.0f, 0.0f, 0.0f},  // 7
};

const MeshPoint WATER_SKY_REFLECTION[4] = {
    {-1.0f, 0.0f, -1.0f, 0.0f, 0.0f},  // 0
    {-1.0f, 0.0f, 1.0f, 0.0f, 0.0f},  // 1
    {1.0f, 0.0f, -1.0f, 0.0f, 0.0f},  // 2
    {1.0f, 0.0f, 1.0f, 0.0f, 0.0f},  // 3
};

const MeshPoint WATER_UNDER_LAYER[8] = {
    {-1.0f, -0.0001f, -1.0f, 0.0f, 0.0f},  // 0
    {-1.0f, -0.0001f, 1.0f, 0.0f, 0.0f},  // 1
    {1.0f, -0.0001f, -1.0f, 0.0f, 0.0f},  // 2
    {1.0f, -0.0001f, 1.0f, 0.0f, 0.0f},  // 3
    {1.0f, -0.0001f, -1.0f, 0.0f, 0.0f},  // 4
    {1.0f, -0.0001f, 1.0f, 0.0f, 0.0f},  // 5
    {-1.0f, -0.0001f, -1.0f, 0.0f, 0.0f},  // 6
    {-1.0f, -0.0001f, 1.0f, 0.0f, 0.0f},  // 7
};

const MeshPoint SKY_PLANE[4] = {
    {-1.0f, 0.0f, -1.0f, 0.0f, 0.0f},  // 0
    {-1.0f, 0.0f, 1.0f, 0.0f, 0.0f},  // 1
    {1.0f, 0.0f, -1.0f, 0.0f, 0.0f},  // 2
    {1.0f, 0.0f, 1.0f, 0.0f, 0.0f},  // 3
};

const MeshPoint SKIRT_NORTH_SOUTH[4] = {
    {-1.0f, 0.0f, -1.0f, 0.0f, 14.0f},  // 0
    {-1.0f, 0.0f, 1.0f, 0.0f, 0.0f},  // 1
    {1.0f, 0.0f, -1.0f, 40.0f, 14.0f},  // 2
    {1.0f, 0.0f, 1.0f, 40.0f, 0.0f},  // 3
};

const MeshPoint SKIRT_WEST_EAST[4] = {
    {-1.0f, 0.0f, -1.0f, 0.0f, 60.0f},  // 0
    {-1.0f, 0.0f, 1.0f, 0.0f, 0.0f},  // 1
    {1.0f, 0.0f, -1.0f, 20.0f, 60.0f},  // 2
    {1.0f, 0.0f, 1.0f, 20.0f, 0.0f},  // 3
};

const MeshPoint CUBE[24] = {
    {-1.0f, 1.0f, -1.0f, 0.0f, 1.0f},  // 0
    {-1.0f, 1.0f, 1.0f, 0.0f, 0.0f},  // 1
    {1.0f, 1.0f, -1.0f, 1.0f, 1.0f},  // 2
    {1.0f, 1.0f, 1.0f, 1.0f, 0.0f},  // 3
    {1.0f, -1.0f, -1.0f, 0.0f, 0.0f},  // 4
    {1.0f, -1.0f, 1.0f, 0.0f, 1.0f},  // 5
    {-1.0f, -1.0f, -1.0f, 1.0f, 0.0f},  // 6
    {-1.0f, -1.0f, 1.0f, 1.0f, 1.0f},  // 7
    {1.0f, -1.0f, -1.0f, 0.0f, 0.0f},  // 8
    {1.0f, 1.0f, -1.0f, 0.0f, 1.0f},  // 9
    {1.0f, -1.0f, 1.0f, 1.0f, 0.0f},  // 10
    {1.0f, 1.0f, 1.0f, 1.0f, 1.0f},  // 11
    {-1.0f, -1.0f, 1.0f, 0.0f, 0.0f},  // 12
    {-1.0f, 1.0f, 1.0f, 0.0f, 1.0f},  // 13
    {-1.0f, -1.0f, -1.0f, 1.0f, 0.0f},  // 14
    {-1.0f, 1.0f, -1.0f, 1.0f, 1.0f},  // 15
    {-1.0f, -1.0f, -1.0f, 0.0f, 0.0f},  // 16
    {-1.0f, 1.0f, -1.0f, 0.0f, 1.0f},  // 17
    {1.0f, -1.0f, -1.0f, 1.0f, 0.0f},  // 18
    {1.0f, 1.0f, -1.0f, 1.0f, 1.0f},  // 19
    {1.0f, -1.0f, 1.0f, 0.0f, 0.0f},  // 20
    {1.0f, 1.0f, 1.0f, 0.0f, 1.0f},  // 21
    {-1.0f, -1.0f, 1.0f, 1.0f, 0.0f},  // 22
    {-1.0f, 1.0f, 1.0f, 1.0f, 1.0f},  // 23
};

const MeshPoint TAPERED_COLUMN_CAP[10] = {
    {0.0f, 15.0f, 0.0f, 0.5f, 0.5f},  // 18
    {-2.0f, 15.0f, 1.0f, 0.0f, 0.75f},  // 19
    {-1.0f, 15.0f, 2.0f, 0.25f, 1.0f},  // 20
    {1.0f, 15.0f, 2.0f, 0.75f, 1.0f},  // 21
    {2.0f, 15.0f, 1.0f, 1.0f, 0.75f},  // 22
    {2.0f, 15.0f, -1.0f, 1.0f, 0.25f},  // 23
    {1.0f, 15.0f, -2.0f, 0.75f, 0.0f},  // 24
    {-1.0f, 15.0f, -2.0f, 0.25f, 0.0f},  // 25
    {-2.0f, 15.0f, -1.0f, 0.0f, 0.25f},  // 26
    {-2.0f, 15.0f, 1.0f, 0.0f, 0.75f},  // 27
};

const MeshPoint AERATOR_POST_CAP[10] = {
    {0.0f, 1.5f, 0.0f, 0.5f, 0.5f},  // 18
    {-0.15f, 1.5f, -0.35f, 0.0f, 0.75f},  // 19
    {-0.33f, 1.5f, -0.17f, 0.25f, 1.0f},  // 20
    {-0.35f, 1.5f, 0.17f, 0.75f, 1.0f},  // 21
    {-0.15f, 1.5f, 0.33f, 1.0f, 0.75f},  // 22
    {0.15f, 1.5f, 0.35f, 1.0f, 0.25f},  // 23
    {0.33f, 1.5f, 0.15f, 0.75f, 0.0f},  // 24
    {0.35f, 1.5f, -0.12f, 0.25f, 0.0f},  // 25
    {0.15f, 1.5f, -0.35f, 0.0f, 0.25f},  // 26
    {-0.15f, 1.5f, -0.35f, 0.0f, 0.75f},  // 27
};

const MeshPoint ROD_SECTION_TOP[22] = {
    {-5.0f, 10.0f, 12.0f, 0.0f, 0.0f},  // 18
    {-5.0f, 10.0f, 1.3f, 0.0f, 1.0f},  // 19
    {5.0f, 10.0f, 12.0f, 1.0f, 0.0f},  // 20
    {5.0f, 10.0f, 1.3f, 1.0f, 1.0f},  // 21
    {0.0f, 0.0f, 7.0f, 0.0f, 0.0f},  // 22
    {0.0f, 10.0f, 6.0f, 0.0f, 1.0f},  // 23
    {0.0f, 0.0f, 6.0f, 1.0f, 0.0f},  // 24
    {0.0f, 10.0f, 5.0f, 1.0f, 1.0f},  // 25
    {0.0f, 0.0f, 6.0f, 0.0f, 0.0f},  // 26
    {0.0f, 10.0f, 5.0f, 0.0f, 1.0f},  // 27
    {0.0f, 0.0f, 7.0f, 1.0f, 0.0f},  // 28
    {0.0f, 10.0f, 6.0f, 1.0f, 1.0f},  // 29
    {0.0f, 0.0f, 0.0f, 1.0f, 1.0f},  // 30
    {0.0f, 0.0f, -2.0f, 1.0f, 1.0f},  // 31
    {1.3f, 0.0f, -1.3f, 1.0f, 1.0f},  // 32
    {2.0f, 0.0f, 0.0f, 1.0f, 1.0f},  // 33
    {1.3f, 0.0f, 1.3f, 1.0f, 1.0f},  // 34
    {0.0f, 0.0f, 2.0f, 1.0f, 1.0f},  // 35
    {-1.3f, 0.0f, 1.3f, 1.0f, 1.0f},  // 36
    {-2.0f, 0.0f, 0.0f, 1.0f, 1.0f},  // 37
    {-1.3f, 0.0f, -1.3f, 1.0f, 1.0f},  // 38
    {0.0f, 0.0f, -2.0f, 1.0f, 1.0f},  // 39
};

const MeshPoint UPRIGHT_QUAD[4] = {
    {-1.0f, -1.0f, 0.0f, 0.0f, 0.0f},  // 0
    {-1.0f, 1.0f, 0.0f, 0.0f, 1.0f},  // 1
    {1.0f, -1.0f, 0.0f, 1.0f, 0.0f},  // 2
    {1.0f, 1.0f, 0.0f, 1.0f, 1.0f},  // 3
};

const MeshPoint FISH_BODY[96] = {
    {-0.1f, 0.0f, 1.3f, 0.05f, 0.5f},  // 0
    {0.0f, 0.05f, 1.3f, 0.045f, 0.505f},  // 1
    {-0.2f, 0.1f, 0.9f, 0.15f, 0.535f},  // 2
    {0.0f, 0.3f, 1.0f, 0.1f, 0.555f},  // 3
    {-0.15f, 0.4f, 0.6f, 0.25f, 0.61f},  // 4
    {0.0f, 0.5f, 0.7f, 0.22f, 0.63f},  // 5
    {-0.17f, 0.5f, 0.0f, 0.44f, 0.62f},  // 6
    {0.0f, 0.65f, 0.0f, 0.44f, 0.65f},  // 7
    {-0.11f, 0.2f, -1.3f, 0.75f, 0.54f},  // 8
    {0.0f, 0.3f, -1.3f, 0.75f, 0.58f},  // 9
    {0.0f, 0.2f, -1.4f, 0.77f, 0.54f},  // 10
    {0.0f, 0.3f, -1.4f, 0.77f, 0.59f},  // 11
    {-0.12f, -0.1f, 1.2f, 0.08f, 0.495f},  // 12
    {-0.1f, 0.0f, 1.3f, 0.05f, 0.5f},  // 13
    {-0.2f, 0.0f, 0.9f, 0.15f, 0.5f},  // 14
    {-0.2f, 0.1f, 0.9f, 0.15f, 0.535f},  // 15
    {-0.3f, 0.1f, 0.5f, 0.3f, 0.55f},  // 16
    {-0.15f, 0.4f, 0.6f, 0.25f, 0.61f},  // 17
    {-0.3f, 0.1f, 0.0f, 0.44f, 0.55f},  // 18
    {-0.17f, 0.5f, 0.0f, 0.44f, 0.62f},  // 19
    {-0.1f, 0.05f, -1.3f, 0.75f, 0.52f},  // 20
    {-0.11f, 0.2f, -1.3f, 0.75f, 0.54f},  // 21
    {0.0f, 0.05f, -1.4f, 0.77f, 0.52f},  // 22
    {0.0f, 0.2f, -1.4f, 0.77f, 0.54f},  // 23
    {0.0f, -0.15f, 1.0f, 0.09f, 0.494f},  // 24
    {-0.12f, -0.1f, 1.2f, 0.08f, 0.495f},  // 25
    {0.0f, -0.17f, 0.9f, 0.1f, 0.49f},  // 26
    {-0.2f, 0.0f, 0.9f, 0.15f, 0.5f},  // 27
    {0.0f, -0.3f, 0.5f, 0.3f, 0.43f},  // 28
    {-0.3f, 0.1f, 0.5f, 0.3f, 0.55f},  // 29
    {0.0f, -0.35f, 0.0f, 0.44f, 0.45f},  // 30
    {-0.3f, 0.1f, 0.0f, 0.44f, 0.55f},  // 31
    {0.0f, -0.05f, -1.3f, 0.75f, 0.49f},  // 32
    {-0.1f, 0.05f, -1.3f, 0.75f, 0.52f},  // 33
    {0.0f, -0.045f, -1.4f, 0.77f, 0.49f},  // 34
    {0.0f, 0.05f, -1.4f, 0.77f, 0.52f},  // 35
    {0.0f, 0.2f, -1.4f, 0.77f, 0.54f},  // 36
    {0.0f, 0.3f, -1.4f, 0.77f, 0.59f},  // 37
    {0.11f, 0.2f, -1.3f, 0.75f, 0.54f},  // 38
    {0.0f, 0.3f, -1.3f, 0.75f, 0.58f},  // 39
    {0.17f, 0.5f, 0.0f, 0.44f, 0.62f},  // 40
    {0.0f, 0.65f, 0.0f, 0.44f, 0.65f},  // 41
    {0.15f, 0.4f, 0.6f, 0.25f, 0.61f},  // 42
    {0.0f, 0.5f, 0.7f, 0.22f, 0.63f},  // 43
    {0.2f, 0.1f, 0.9f, 0.15f, 0.535f},  // 44
    {0.0f, 0.3f, 1.0f, 0.1f, 0.555f},  // 45
    {0.1f, 0.0f, 1.3f, 0.05f, 0.5f},  // 46
    {0.0f, 0.05f, 1.3f, 0.045f, 0.505f},  // 47
    {0.0f, 0.05f, -1.4f, 0.77f, 0.52f},  // 48
    {0.0f, 0.2f, -1.4f, 0.77f, 0.54f},  // 49
    {0.1f, 0.05f, -1.3f, 0.75f, 0.52f},  // 50
    {0.11f, 0.2f, -1.3f, 0.75f, 0.54f},  // 51
    {0.3f, 0.1f, 0.0f, 0.44f, 0.55f},  // 52
    {0.17f, 0.5f, 0.0f, 0.44f, 0.62f},  // 53
    {0.3f, 0.1f, 0.5f, 0.3f, 0.55f},  // 54
    {0.15f, 0.4f, 0.6f, 0.25f, 0.61f},  // 55
    {0.2f, 0.0f, 0.9f, 0.15f, 0.5f},  // 56
    {0.2f, 0.1f, 0.9f, 0.15f, 0.535f},  // 57
    {0.12f, -0.1f, 1.2f, 0.08f, 0.495f},  // 58
    {0.1f, 0.0f, 1.3f, 0.05f, 0.5f},  // 59
    {0.0f, -0.045f, -1.4f, 0.77f, 0.49f},  // 60
    {0.0f, 0.05f, -1.4f, 0.77f, 0.52f},  // 61
    {0.0f, -0.05f, -1.3f, 0.75f, 0.49f},  // 62
    {0.1f, 0.05f, -1.3f, 0.75f, 0.52f},  // 63
    {0.0f, -0.35f, 0.0f, 0.44f, 0.45f},  // 64
    {0.3f, 0.1f, 0.0f, 0.44f, 0.55f},  // 65
    {0.0f, -0.3f, 0.5f, 0.3f, 0.43f},  // 66
    {0.3f, 0.1f, 0.5f, 0.3f, 0.55f},  // 67
    {0.0f, -0.17f, 0.9f, 0.1f, 0.49f},  // 68
    {0.2f, 0.0f, 0.9f, 0.15f, 0.5f},  // 69
    {0.0f, -0.15f, 1.0f, 0.09f, 0.494f},  // 70
    {0.12f, -0.1f, 1.2f, 0.08f, 0.495f},  // 71
    {0.0f, 0.65f, 0.0f, 0.35f, 0.66f},  // 72
    {0.0f, 0.82f, -0.1f, 0.37f, 0.79f},  // 73
    {0.0f, 0.32f, -1.2f, 0.75f, 0.6f},  // 74
    {0.0f, 0.43f, -1.3f, 0.78f, 0.65f},  // 75
    {0.0f, 0.32f, -1.2f, 0.75f, 0.6f},  // 76
    {0.0f, 0.43f, -1.3f, 0.78f, 0.65f},  // 77
    {0.0f, 0.65f, 0.0f, 0.35f, 0.66f},  // 78
    {0.0f, 0.82f, -0.1f, 0.37f, 0.79f},  // 79
    {0.0f, -0.17f, -0.95f, 0.63f, 0.4f},  // 80
    {0.0f, -0.12f, -0.95f, 0.63f, 0.48f},  // 81
    {0.0f, -0.35f, -1.3f, 0.73f, 0.38f},  // 82
    {0.0f, -0.08f, -1.3f, 0.73f, 0.48f},  // 83
    {0.0f, -0.35f, -1.3f, 0.73f, 0.38f},  // 84
    {0.0f, -0.08f, -1.3f, 0.73f, 0.48f},  // 85
    {0.0f, -0.17f, -0.95f, 0.63f, 0.4f},  // 86
    {0.0f, -0.12f, -0.95f, 0.63f, 0.48f},  // 87
    {-0.15f, -0.55f, 0.0f, 0.42f, 0.35f},  // 88
    {-0.08f, -0.22f, 0.0f, 0.42f, 0.44f},  // 89
    {-0.15f, -0.55f, -0.5f, 0.55f, 0.35f},  // 90
    {-0.08f, -0.22f, -0.5f, 0.55f, 0.44f},  // 91
    {0.15f, -0.55f, -0.5f, 0.55f, 0.35f},  // 92
    {0.08f, -0.22f, -0.5f, 0.55f, 0.44f},  // 93
    {0.15f, -0.55f, 0.0f, 0.42f, 0.35f},  // 94
    {0.08f, -0.22f, 0.0f, 0.42f, 0.44f},  // 95
};

const MeshPoint FISH_TAIL[8] = {
    {0.0f, -0.5f, 0.0f, 0.0f, 0.0f},  // 0
    {0.0f, 0.5f, 0.0f, 0.0f, 1.0f},  // 1
    {0.0f, -0.5f, -1.0f, 1.0f, 0.0f},  // 2
    {0.0f, 0.5f, -1.0f, 1.0f, 1.0f},  // 3
    {0.0f, -0.5f, -1.0f, 1.0f, 0.0f},  // 4
    {0.0f, 0.5f, -1.0f, 1.0f, 1.0f},  // 5
    {0.0f, -0.5f, 0.0f, 0.0f, 0.0f},  // 6
    {0.0f, 0.5f, 0.0f, 0.0f, 1.0f},  // 7
};

const MeshPoint FISH_MOUTH[8] = {
    {0.0f, -0.05f, 1.25f, 0.5f, 0.5f},  // 0
    {0.0f, 0.05f, 1.3f, 0.5f, 1.0f},  // 1
    {-0.1f, 0.0f, 1.3f, 1.0f, 0.75f},  // 2
    {-0.12f, -0.1f, 1.2f, 1.0f, 0.25f},  // 3
    {0.0f, -0.15f, 1.0f, 0.5f, 0.0f},  // 4
    {0.12f, -0.1f, 1.2f, 0.0f, 0.25f},  // 5
    {0.1f, 0.0f, 1.3f, 0.0f, 0.75f},  // 6
    {0.0f, 0.05f, 1.3f, 0.5f, 1.0f},  // 7
};

const MeshPoint FISH_LEFT_FIN[4] = {
    {-0.45f, 0.0f, 0.2f, 1.0f, 0.0f},  // 0
    {0.0f, 0.0f, 0.2f, 1.0f, 1.0f},  // 1
    {-0.45f, -0.1f, -0.2f, 0.0f, 0.0f},  // 2
    {0.0f, 0.0f, -0.2f, 0.0f, 1.0f},  // 3
};

const MeshPoint FISH_RIGHT_FIN[4] = {
    {0.45f, -0.1f, -0.2f, 0.0f, 0.0f},  // 0
    {0.0f, 0.0f, -0.2f, 0.0f, 1.0f},  // 1
    {0.45f, 0.0f, 0.2f, 1.0f, 0.0f},  // 2
    {0.0f, 0.0f, 0.2f, 1.0f, 1.0f},  // 3
};

// ---- octagonal columns: foot and head octagons as (x, z) in strip order ----

struct Octagon {
    float y;
    float xz[8][2];
};

const Octagon TAPERED_COLUMN_FOOT = {0.0f, {{-1.5f, -3.5f}, {1.5f, -3.5f}, {3.5f, -1.2f}, {3.3f, 1.5f},
                                           {1.5f, 3.5f}, {-1.5f, 3.3f}, {-3.5f, 1.7f}, {-3.3f, -1.7f}}};
const Octagon TAPERED_COLUMN_HEAD = {15.0f, {{-1.0f, -2.0f}, {1.0f, -2.0f}, {2.0f, -1.0f}, {2.0f, 1.0f},
                                            {1.0f, 2.0f}, {-1.0f, 2.0f}, {-2.0f, 1.0f}, {-2.0f, -1.0f}}};
const Octagon AERATOR_POST_FOOT = {0.0f, {{-0.15f, -0.35f}, {0.15f, -0.35f}, {0.35f, -0.12f}, {0.33f, 0.15f},
                                         {0.15f, 0.35f}, {-0.15f, 0.33f}, {-0.35f, 0.17f}, {-0.33f, -0.17f}}};
const Octagon AERATOR_POST_HEAD = {1.5f, {{-0.15f, -0.35f}, {0.15f, -0.35f}, {0.35f, -0.12f}, {0.33f, 0.15f},
                                         {0.15f, 0.35f}, {-0.15f, 0.33f}, {-0.35f, 0.17f}, {-0.33f, -0.17f}}};
const Octagon ROD_SECTION_FOOT = {0.0f, {{0.0f, -2.0f}, {1.3f, -1.3f}, {2.0f, 0.0f}, {1.3f, 1.3f},
                                        {0.0f, 2.0f}, {-1.3f, 1.3f}, {-2.0f, 0.0f}, {-1.3f, -1.3f}}};
const Octagon ROD_SECTION_HEAD = {10.0f, {{0.0f, -1.8f}, {1.1f, -1.1f}, {1.8f, 0.0f}, {1.1f, 1.1f},
                                         {0.0f, 1.8f}, {-1.1f, 1.1f}, {-1.8f, 0.0f}, {-1.1f, -1.1f}}};

// ---- flat-shading groups, applied in order (a vertex in two groups keeps the later normal) ----

using Group = int[4];

const Group REEL_GROUPS[] = {
    {0, 1, 2, 3},     {4, 5, 6, 7},     {8, 9, 10, 11},   {12, 13, 14, 15}, {16, 17, 18, 19},
    {20, 21, 22, 23}, {24, 25, 26, 27}, {28, 29, 30, 31}, {32, 33, 34, 35}, {36, 37, 38, 39},
    {40, 41, 42, 43}, {44, 45, 46, 47}, {48, 49, 50, 51}, {36, 51, 52, 53}, {54, 55, 56, 57},
    {58, 59, 60, 61}, {62, 63, 64, 65}, {66, 67, 68, 69}, {54, 69, 70, 71}, {72, 73, 74, 75},
    {76, 77, 78, 79}, {80, 81, 82, 83}, {84, 85, 86, 87}, {88, 89, 90, 91}, {92, 93, 94, 95},
    {96, 97, 98, 99}, {100, 101, 102, 103},
};
const Group CUBE_GROUPS[] = {
    {0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}, {12, 13, 14, 15}, {16, 17, 18, 19}, {20, 21, 22, 23},
};
const Group AERATOR_POST_GROUPS[] = {
    {0, 1, 2, 3},     {4, 5, 6, 7},     {8, 9, 10, 11}, {12, 13, 14, 15},
    {16, 17, 18, 19}, {20, 21, 22, 23}, {24, 25, 26, 27},
};
// (28, 29, 28, 29) and 24-27 span no area and leave zero normals.
const Group ROD_SECTION_GROUPS[] = {
    {0, 1, 2, 3},     {4, 5, 6, 7},     {8, 9, 10, 11},   {12, 13, 14, 15}, {16, 17, 18, 19},
    {20, 21, 22, 23}, {24, 25, 26, 27}, {28, 29, 28, 29}, {30, 31, 32, 33}, {34, 35, 36, 37},
    {36, 37, 38, 39},
};

// 0-3, 4-7 and so on up to 92-95.
const Group FISH_BODY_GROUPS[] = {
    {0, 1, 2, 3},     {4, 5, 6, 7},     {8, 9, 10, 11},   {12, 13, 14, 15}, {16, 17, 18, 19},
    {20, 21, 22, 23}, {24, 25, 26, 27}, {28, 29, 30, 31}, {32, 33, 34, 35}, {36, 37, 38, 39},
    {40, 41, 42, 43}, {44, 45, 46, 47}, {48, 49, 50, 51}, {52, 53, 54, 55}, {56, 57, 58, 59},
    {60, 61, 62, 63}, {64, 65, 66, 67}, {68, 69, 70, 71}, {72, 73, 74, 75}, {76, 77, 78, 79},
    {80, 81, 82, 83}, {84, 85, 86, 87}, {88, 89, 90, 91}, {92, 93, 94, 95},
};

template <size_t N>
void AppendPoints(std::vector<MeshPoint>& out, const MeshPoint (&points)[N]) {
    out.insert(out.end(), points, points + N);
}

// Vertices 0-17: vertex 2k the foot and 2k + 1 the head of side k, side 8 repeating side 0.
void AppendColumnStrip(std::vector<MeshPoint>& out, const Octagon& foot, const Octagon& head) {
    for (int k = 0; k <= 8; ++k) {
        int s = k % 8;
        float u = 0.125f * static_cast<float>(k);
        out.push_back({foot.xz[s][0], foot.y, foot.xz[s][1], u, 0.0f});
        out.push_back({head.xz[s][0], head.y, head.xz[s][1], u, 1.0f});
    }
}

struct MeshRecipe {
    std::vector<MeshPoint> points;
    NormalRule normals = NormalRule::Position;
    const Group* groups = nullptr;
    size_t groupCount = 0;
};

template <size_t N>
void SetGroups(MeshRecipe& r, const Group (&groups)[N]) {
    r.normals = NormalRule::Flat;
    r.groups = groups;
    r.groupCount = N;
}

MeshRecipe Recipe(StaticMesh mesh) {
    MeshRecipe r;
    switch (mesh) {
        case MESH_GROUND_STRIP:
            AppendPoints(r.points, GROUND_STRIP);
            r.normals = NormalRule::RaisedHeight;
            break;
        case MESH_REEL:
            AppendPoints(r.points, REEL);
            SetGroups(r, REEL_GROUPS);
            break;
        case MESH_REEL_BOX:
            for (const MeshPoint& p : CUBE) r.points.push_back({p.x * 0.1f, p.y * 0.1f, p.z * 0.1f, p.u, p.v});
            SetGroups(r, CUBE_GROUPS);
            break;
        case MESH_DECAL_QUAD_UP:
            AppendPoints(r.points, DECAL_QUAD_UP);
            r.normals = NormalRule::RaisedHeight;
            break;
        case MESH_DECAL_QUAD_DOWN:
            AppendPoints(r.points, DECAL_QUAD_DOWN);
            r.normals = NormalRule::RaisedHeight;
            break;
        case MESH_BILLBOARD:
            AppendPoints(r.points, BILLBOARD);
            break;
        case MESH_TWO_SIDED_BOARD:
            AppendPoints(r.points, TWO_SIDED_BOARD);
            r.normals = NormalRule::BackZ;
            break;
        case MESH_WATER_SURFACE:
            AppendPoints(r.points, WATER_SURFACE);
            break;
        case MESH_WATER_SKY_REFLECTION:
            AppendPoints(r.points, WATER_SKY_REFLECTION);
            break;
        case MESH_WATER_UNDER_LAYER:
            AppendPoints(r.points, WATER_UNDER_LAYER);
            r.normals = NormalRule::UnitHeight;
            break;
        case MESH_SKY_PLANE:
            AppendPoints(r.points, SKY_PLANE);
            break;
        case MESH_SKIRT_NORTH_SOUTH:
            AppendPoints(r.points, SKIRT_NORTH_SOUTH);
            r.normals = NormalRule::RaisedHeight;
            break;
        case MESH_SKIRT_WEST_EAST:
            AppendPoints(r.points, SKIRT_WEST_EAST);
            r.normals = NormalRule::RaisedHeight;
            break;
        case MESH_CUBE:
            AppendPoints(r.points, CUBE);
            SetGroups(r, CUBE_GROUPS);
            break;
        case MESH_TAPERED_COLUMN:
            AppendColumnStrip(r.points, TAPERED_COLUMN_FOOT, TAPERED_COLUMN_HEAD);
            AppendPoints(r.points, TAPERED_COLUMN_CAP);
            break;
        case MESH_AERATOR_POST:
            AppendColumnStrip(r.points, AERATOR_POST_FOOT, AERATOR_POST_HEAD);
            AppendPoints(r.points, AERATOR_POST_CAP);
            SetGroups(r, AERATOR_POST_GROUPS);
            break;
        case MESH_ROD_SECTION:
            AppendColumnStrip(r.points, ROD_SECTION_FOOT, ROD_SECTION_HEAD);
            AppendPoints(r.points, ROD_SECTION_TOP);
            SetGroups(r, ROD_SECTION_GROUPS);
            break;
        case MESH_UPRIGHT_QUAD:
            AppendPoints(r.points, UPRIGHT_QUAD);
            break;
        case MESH_FISH_BODY:
            AppendPoints(r.points, FISH_BODY);
            SetGroups(r, FISH_BODY_GROUPS);
            break;
        case MESH_FISH_TAIL:
            AppendPoints(r.points, FISH_TAIL);
            break;
        case MESH_FISH_MOUTH:
            AppendPoints(r.points, FISH_MOUTH);
            break;
        case MESH_FISH_LEFT_FIN:
            AppendPoints(r.points, FISH_LEFT_FIN);
            break;
        case MESH_FISH_RIGHT_FIN:
            AppendPoints(r.points, FISH_RIGHT_FIN);
            break;
        default:
            break;
    }
    return r;
}

}  // namespace

std::vector<MeshVertex> BuildStaticMeshVertices(StaticMesh mesh) {
    MeshRecipe r = Recipe(mesh);
    std::vector<MeshVertex> out;
    out.reserve(r.points.size());
    for (const MeshPoint& p : r.points) {
        MeshVertex v{p.x, p.y, p.z, p.x, p.y, p.z, p.u, p.v};
        switch (r.normals) {
            case NormalRule::RaisedHeight: v.ny = p.y + 1.0f; break;
            case NormalRule::UnitHeight: v.ny = 1.0f; break;
            case NormalRule::BackZ: v.nz = -1.0f; break;
            default: break;
        }
        out.push_back(v);
    }
    for (size_t g = 0; g < r.groupCount; ++g) {
        const Group& q = r.groups[g];
        FlatShadeQuad(&out[q[0]], &out[q[1]], &out[q[2]], &out[q[3]]);
    }
    return out;
}

void BuildCellVertices(const float x[4], const float y[4], const float z[4], MeshVertex out[4]) {
    static const float CORNER_U[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    static const float CORNER_V[4] = {0.0f, 1.0f, 0.0f, 1.0f};
    for (int k = 0; k < 4; ++k) out[k] = {x[k], y[k], z[k], x[k], y[k] + 1.0f, z[k], CORNER_U[k], CORNER_V[k]};
}
