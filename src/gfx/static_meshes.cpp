// Creates and releases the static meshes and the per-cell terrain vertex buffers.
#include <cstdio>
#include <cstring>
#include "gfx/mesh_data.h"
#include "shell/game_app.h"

namespace {

// The mesh members in StaticMesh order.
plat::VertexBuffer* GameApp::* const MESH_MEMBERS[STATIC_MESH_COUNT] = {
    &GameApp::groundStripMesh,
    &GameApp::reelMesh,
    &GameApp::reelBoxMesh,
    &GameApp::decalQuadUpMesh,
    &GameApp::decalQuadDownMesh,
    &GameApp::billboardMesh,
    &GameApp::twoSidedBoardMesh,
    &GameApp::waterSurfaceMesh,
    &GameApp::waterSkyReflectionMesh,
    &GameApp::waterUnderLayerMesh,
    &GameApp::skyPlaneMesh,
    &GameApp::skirtNorthSouthMesh,
    &GameApp::skirtWestEastMesh,
    &GameApp::cubeMesh,
    &GameApp::taperedColumnMesh,
    &GameApp::aeratorPostMesh,
    &GameApp::rodSectionMesh,
    &GameApp::uprightQuadMesh,
    &GameApp::fishBodyMesh,
    &GameApp::fishTailMesh,
    &GameApp::fishMouthMesh,
    &GameApp::fishLeftFinMesh,
    &GameApp::fishRightFinMesh,
};

void ReleaseBuffer(plat::VertexBuffer*& buffer) {
    if (buffer) {
        buffer->Release();
        buffer = nullptr;
    }
}

// A managed buffer holding the given vertices, or null when it cannot be created or filled
// (drawing code skips a missing mesh).
plat::VertexBuffer* MakeBuffer(plat::Device* device, const MeshVertex* vertices, size_t count) {
    const uint32_t length = static_cast<uint32_t>(sizeof(MeshVertex) * count);
    plat::VertexBuffer* buffer = nullptr;
    if (plat::Failed(device->CreateVertexBuffer(length, 0, plat::FVF_MESH, plat::POOL_MANAGED, &buffer)))
        return nullptr;
    if (!buffer) return nullptr;
    void* data = nullptr;
    if (plat::Failed(buffer->Lock(0, 0, &data, 0)) || !data) {
        buffer->Release();
        return nullptr;
    }
    std::memcpy(data, vertices, length);
    buffer->Unlock();
    return buffer;
}

}  // namespace

void GameApp::CreateStaticMeshes() {
    int failed = 0;
    for (int m = 0; m < STATIC_MESH_COUNT; ++m) {
        plat::VertexBuffer*& member = this->*MESH_MEMBERS[m];
        ReleaseBuffer(member);
        std::vector<MeshVertex> vertices = BuildStaticMeshVertices(static_cast<StaticMesh>(m));
        member = MakeBuffer(device, vertices.data(), vertices.size());
        if (!member) ++failed;
    }
    // Each cell buffer starts from the grid's corners as they stand now (flat until the lake
    // model loads on the map screen's first frame and refills these buffers).
    for (int i = 0; i < TERRAIN_GRID_CELLS; ++i) {
        const TerrainCell& cell = (*terrainCells)[i];
        MeshVertex vertices[4];
        BuildCellVertices(cell.x, cell.y, cell.z, vertices);
        ReleaseBuffer(cellVertexBuffers[i]);
        cellVertexBuffers[i] = MakeBuffer(device, vertices, 4);
        if (!cellVertexBuffers[i]) ++failed;
    }
    if (failed) std::fprintf(stderr, "lakeside: %d vertex buffers could not be made\n", failed);
}

void GameApp::ReleaseStaticMeshes() {
    for (plat::VertexBuffer* GameApp::*member : MESH_MEMBERS) ReleaseBuffer(this->*member);
}

void GameApp::ReleaseTerrainCellBuffers() {
    for (plat::VertexBuffer*& buffer : cellVertexBuffers) ReleaseBuffer(buffer);
}
