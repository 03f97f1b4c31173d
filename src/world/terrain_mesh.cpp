// The terrain mesh: per-cell vertex buffers with smoothed normals, and the cells' drawing.
#include <cstring>
#include <vector>
#include "gfx/mesh_data.h"
#include "shell/game_app.h"

namespace {

struct FaceNormals {
    plat::Vector3 first;   // triangle (0, 1, 2)
    plat::Vector3 second;  // triangle (1, 3, 2), taken as (3, 2, 1)
};

plat::Vector3 Corner(const TerrainCell& c, int k) { return {c.x[k], c.y[k], c.z[k]}; }

FaceNormals CellFaceNormals(const TerrainCell& c) {
    const plat::Vector3 p0 = Corner(c, 0), p1 = Corner(c, 1), p2 = Corner(c, 2), p3 = Corner(c, 3);
    FaceNormals n;
    TriangleNormal(&n.first, &p0, &p1, &p2);
    TriangleNormal(&n.second, &p3, &p2, &p1);
    return n;
}

void Accumulate(plat::Vector3* sum, const plat::Vector3& v) {
    sum->x += v.x;
    sum->y += v.y;
    sum->z += v.z;
}

void SetNormal(MeshVertex* v, const plat::Vector3& n) {
    v->nx = n.x;
    v->ny = n.y;
    v->nz = n.z;
}

}  // namespace

void GameApp::BuildTerrainMesh() {
    const TerrainCellTable& grid = *terrainCells;
    // Face pass: positions, fixed texture corners and the two face normals of every cell.
    std::vector<MeshVertex> vertices(static_cast<size_t>(TERRAIN_GRID_CELLS) * 4);
    std::vector<FaceNormals> faces(TERRAIN_GRID_CELLS);
    for (int32_t i = 0; i < TERRAIN_GRID_CELLS; ++i) {
        const TerrainCell& c = grid[i];
        faces[i] = CellFaceNormals(c);
        MeshVertex* cell = &vertices[static_cast<size_t>(i) * 4];
        BuildCellVertices(c.x, c.y, c.z, cell);
        for (int k = 0; k < 4; ++k) SetNormal(&cell[k], k == 3 ? faces[i].second : faces[i].first);
    }

    // Corner pass: the mean face normal at each inner grid corner K = (2c, 200 - 2r), for rows
    // 1..98 and columns 1..99 (the line z = 2 keeps its face normals). All means are taken from
    // the face normals before any is written back, and are not normalised again.
    struct Smoothed {
        int32_t cell;  // s: K is its north-west corner
        plat::Vector3 mean;
    };
    std::vector<Smoothed> means;
    means.reserve(98 * 99);
    for (int32_t r = 1; r <= 98; ++r) {
        for (int32_t c = 1; c <= 99; ++c) {
            const int32_t s = r * TERRAIN_GRID_SIZE + c;
            const int32_t around[4] = {s, s - 1, s - 100, s - 101};
            plat::Vector3 sum{0, 0, 0};
            plat::Vector3 mean;
            if (IsEvenCell(s)) {
                // K lies on the shared edge of all four cells.
                for (int32_t j : around) {
                    Accumulate(&sum, faces[j].first);
                    Accumulate(&sum, faces[j].second);
                }
                mean = {sum.x / 8.0f, sum.y / 8.0f, sum.z / 8.0f};
            } else {
                // K touches one triangle of each cell.
                Accumulate(&sum, faces[s].second);
                Accumulate(&sum, faces[s - 1].second);
                Accumulate(&sum, faces[s - 100].first);
                Accumulate(&sum, faces[s - 101].first);
                mean = {sum.x / 4.0f, sum.y / 4.0f, sum.z / 4.0f};
            }
            means.push_back({s, mean});
        }
    }

    // Write pass: K's vertex in each of the four cells takes the mean.
    for (const Smoothed& m : means) {
        const int32_t s = m.cell;
        const int32_t even[4][2] = {{s, 1}, {s - 1, 2}, {s - 100, 1}, {s - 101, 2}};
        const int32_t odd[4][2] = {{s, 3}, {s - 1, 3}, {s - 100, 0}, {s - 101, 0}};
        const int32_t(*targets)[2] = IsEvenCell(s) ? even : odd;
        for (int j = 0; j < 4; ++j)
            SetNormal(&vertices[static_cast<size_t>(targets[j][0]) * 4 + targets[j][1]], m.mean);
    }

    for (int32_t i = 0; i < TERRAIN_GRID_CELLS; ++i) {
        plat::VertexBuffer* buffer = cellVertexBuffers[i];
        if (!buffer || buffer->Length() < 4 * sizeof(MeshVertex)) continue;
        void* data = nullptr;
        if (plat::Failed(buffer->Lock(0, 0, &data, 0)) || !data) continue;
        std::memcpy(data, &vertices[static_cast<size_t>(i) * 4], 4 * sizeof(MeshVertex));
        buffer->Unlock();
    }
}

void GameApp::DrawTerrain(int32_t fillMode) {
    if (fillMode == TERRAIN_FILL_WIREFRAME) device->SetRenderState(plat::RS_FILLMODE, plat::FILL_WIREFRAME);
    if (fillMode == TERRAIN_FILL_SOLID) device->SetRenderState(plat::RS_FILLMODE, plat::FILL_SOLID);
    SetWorldTransform(0, 0, 0, 0, 0, 0, 1, 1, 1);
    device->SetFVF(plat::FVF_MESH);

    // On the map the cell under the mouse is left out: the gap shows where the cursor is.
    const int32_t skipped = (gameMode == MODE_MAP && cursorOverMap) ? hoveredCell : CELL_NONE;
    const TerrainCellTable& grid = *terrainCells;
    for (int32_t i = 0; i < TERRAIN_GRID_CELLS; ++i) {
        if (i == skipped || !cellVertexBuffers[i]) continue;
        // Ground texture ids 44..57 are the slots TEX_GRASS1..TEX_BLANK in order.
        const int32_t id = grid[i].groundTexture;
        if (id >= TERRAIN_FIRST_GROUND_TEXTURE && id <= TERRAIN_LAST_GROUND_TEXTURE)
            device->SetTexture(0, textures[TEX_GRASS1 + (id - TERRAIN_FIRST_GROUND_TEXTURE)]);
        device->SetStreamSource(0, cellVertexBuffers[i], 0, sizeof(MeshVertex));
        device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 0, 2);
        device->SetTexture(0, nullptr);
    }

    if (gameMode == MODE_FISHING || gameMode == MODE_PHOTO_ALBUM || gameMode == MODE_TOUR || gameMode == MODE_DUCK)
        DrawBackdrop();
}
