// The static meshes and terrain-cell buffers: sizes, exact vertices, normals, lifetime and the quads.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include "game_on_device.h"
#include "test_support.h"

namespace {

using Member = plat::VertexBuffer* GameApp::*;

const MeshVertex& VertexOf(const plat::VertexBuffer* b, uint32_t i) {
    return reinterpret_cast<const MeshVertex*>(b->Data())[i];
}

struct MeshSize {
    const char* name;
    Member member;
    uint32_t vertices;
};

const MeshSize MESHES[] = {
    {"groundStrip", &GameApp::groundStripMesh, 4},      {"reel", &GameApp::reelMesh, 104},
    {"reelBox", &GameApp::reelBoxMesh, 24},             {"decalQuadUp", &GameApp::decalQuadUpMesh, 4},
    {"decalQuadDown", &GameApp::decalQuadDownMesh, 4},  {"billboard", &GameApp::billboardMesh, 4},
    {"twoSidedBoard", &GameApp::twoSidedBoardMesh, 8},  {"waterSurface", &GameApp::waterSurfaceMesh, 8},
    {"waterSkyReflection", &GameApp::waterSkyReflectionMesh, 4},
    {"waterUnderLayer", &GameApp::waterUnderLayerMesh, 8}, {"skyPlane", &GameApp::skyPlaneMesh, 4},
    {"skirtNorthSouth", &GameApp::skirtNorthSouthMesh, 4}, {"skirtWestEast", &GameApp::skirtWestEastMesh, 4},
    {"cube", &GameApp::cubeMesh, 24},                   {"taperedColumn", &GameApp::taperedColumnMesh, 28},
    {"aeratorPost", &GameApp::aeratorPostMesh, 28},     {"rodSection", &GameApp::rodSectionMesh, 40},
    {"uprightQuad", &GameApp::uprightQuadMesh, 4},      {"fishBody", &GameApp::fishBodyMesh, 96},
    {"fishTail", &GameApp::fishTailMesh, 8},            {"fishMouth", &GameApp::fishMouthMesh, 8},
    {"fishLeftFin", &GameApp::fishLeftFinMesh, 4},      {"fishRightFin", &GameApp::fishRightFinMesh, 4},
};

// One vertex as listed: position, texture coordinates and the stored normal.
struct Expected {
    Member member;
    uint32_t index;
    float x, y, z, u, v, nx, ny, nz;
};

void Check(const GameApp& a, const Expected& e) {
    const MeshVertex& m = VertexOf(a.*e.member, e.index);
    const float got[8] = {m.x, m.y, m.z, m.u, m.v, m.nx, m.ny, m.nz};
    const float want[8] = {e.x, e.y, e.z, e.u, e.v, e.nx, e.ny, e.nz};
    for (int k = 0; k < 8; ++k) EXPECT_NEAR(got[k], want[k], 1e-5f) << "vertex " << e.index << " field " << k;
}

}  // namespace

TEST(StaticMeshes, EveryMeshHasItsVertexCountAndFiniteNormals) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    for (const MeshSize& m : MESHES) {
        const plat::VertexBuffer* b = g.app.get()->*m.member;
        ASSERT_NE(b, nullptr) << m.name;
        EXPECT_EQ(b->Length(), 32 * m.vertices) << m.name;
        for (uint32_t i = 0; i < m.vertices; ++i) {
            const MeshVertex& v = VertexOf(b, i);
            EXPECT_TRUE(std::isfinite(v.nx) && std::isfinite(v.ny) && std::isfinite(v.nz)) << m.name << " " << i;
        }
    }
    EXPECT_EQ(g.Device()->liveVertexBuffers, 23 + 10000);
}

TEST(StaticMeshes, MeshesHoldTheirListedVerticesAndStoredNormals) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    const float twoOverRoot5 = 0.894427f, oneOverRoot5 = 0.447214f;  // 2 and 1 over the square root of 5
    const Expected rows[] = {
        // Normals (x, y + 1, z), the position, (x, y, -1) and (x, 1, z), kept at their lengths.
        {&GameApp::groundStripMesh, 1, -1, 0, 2, 0, 0, -1, 1, 2},
        {&GameApp::twoSidedBoardMesh, 7, -1, 2, 0, 0, 0, -1, 2, -1},
        {&GameApp::waterUnderLayerMesh, 7, -1, -0.0001f, 1, 0, 0, -1, 1, 1},
        {&GameApp::skirtNorthSouthMesh, 2, 1, 0, -1, 40, 14, 1, 1, -1},
        {&GameApp::fishMouthMesh, 3, -0.12f, -0.1f, 1.2f, 1, 0.25f, -0.12f, -0.1f, 1.2f},
        {&GameApp::taperedColumnMesh, 16, -1.5f, 0, -3.5f, 1, 0, -1.5f, 0, -3.5f},  // side 8 repeats side 0
        // Flat-shaded meshes: the cube's axis normals, the reel box at a tenth of the size.
        {&GameApp::cubeMesh, 5, 1, -1, 1, 0, 1, 0, -1, 0},
        {&GameApp::reelBoxMesh, 14, -0.1f, -0.1f, -0.1f, 1, 0, -1, 0, 0},
        {&GameApp::aeratorPostMesh, 5, 0.35f, 1.5f, -0.12f, 0.25f, 1, 0.997268f, 0, 0.073872f},
        {&GameApp::rodSectionMesh, 21, 5, 10, 1.3f, 1, 1, -twoOverRoot5, oneOverRoot5, 0},  // group 20-23 spans two quads
        {&GameApp::rodSectionMesh, 26, 0, 0, 6, 0, 0, 0, 0, 0},        // 24-27 spans no area
        // Reel: u exactly 1 on the tube's last pair; the later group (54, 69, 70, 71) gives the
        // cone's tip its normal.
        {&GameApp::reelMesh, 35, 0.02f, 0.1f, 0.2f, 1, 0, 0, 1, 0},
        {&GameApp::reelMesh, 54, 0, 0, 0.25f, 0.5f, 0.5f, 0.328089f, 0.328089f, 0.885841f},
        {&GameApp::fishBodyMesh, 95, 0.08f, -0.22f, 0, 0.42f, 0.44f, 0.978234f, 0.207504f, 0},
    };
    for (const Expected& e : rows) Check(*g.app, e);

    // The downward decal has the upward one's corners and texture corners, wound the other way.
    const MeshVertex* up = &VertexOf(g.app->decalQuadUpMesh, 0);
    const MeshVertex* down = &VertexOf(g.app->decalQuadDownMesh, 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::count_if(up, up + 4, [&](const MeshVertex& v) {
                      return v.x == down[i].x && v.z == down[i].z && v.u == down[i].u && v.v == down[i].v;
                  }),
                  1);
    auto facing = [](const MeshVertex* q) {  // y of cross(b - a, c - a)
        return (q[1].z - q[0].z) * (q[2].x - q[0].x) - (q[1].x - q[0].x) * (q[2].z - q[0].z);
    };
    EXPECT_GT(facing(up), 0.0f);
    EXPECT_LT(facing(down), 0.0f);

    // Every flat-shaded normal is unit length or zero.
    for (Member m : {&GameApp::fishBodyMesh, &GameApp::reelMesh, &GameApp::aeratorPostMesh,
                     &GameApp::rodSectionMesh, &GameApp::cubeMesh}) {
        const plat::VertexBuffer* b = g.app.get()->*m;
        for (uint32_t i = 0; i < b->Length() / 32; ++i) {
            const MeshVertex& v = VertexOf(b, i);
            float len = std::sqrt(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz);
            EXPECT_TRUE(std::fabs(len - 1.0f) < 1e-5f || len == 0.0f) << i << " length " << len;
        }
    }
}

TEST(StaticMeshes, TerrainCellBuffersHoldTheGridAsItStandsAtDeviceCreation) {
    HeadlessGame g;
    // A corner already raised in the grid when the device is made is taken as it is.
    (*g.app->terrainCells)[4321].y[2] = -3.5f;
    ASSERT_TRUE(g.Start());
    const MeshVertex& raised = VertexOf(g.app->cellVertexBuffers[4321], 2);
    EXPECT_EQ(raised.y, -3.5f);
    EXPECT_EQ(raised.ny, -2.5f);
    EXPECT_EQ(raised.x, (*g.app->terrainCells)[4321].x[2]);
    for (const plat::VertexBuffer* b : g.app->cellVertexBuffers) {
        ASSERT_NE(b, nullptr);
        ASSERT_EQ(b->Length(), 128u);
    }
    // Corner 1 of the odd cell 1 lies at (2, 198): the normal repeats x and z, (u, v) is (0, 1).
    const MeshVertex& c = VertexOf(g.app->cellVertexBuffers[1], 1);
    const float got[8] = {c.x, c.y, c.z, c.nx, c.ny, c.nz, c.u, c.v}, want[8] = {2, 0, 198, 2, 1, 198, 0, 1};
    for (int f = 0; f < 8; ++f) EXPECT_EQ(got[f], want[f]) << f;
}

TEST(StaticMeshes, BuffersSurviveAFullScreenToggleAndAreAllReleasedAtClose) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    GameApp& a = *g.app;
    plat::VertexBuffer* fish = a.fishBodyMesh;
    plat::VertexBuffer* cell = a.cellVertexBuffers[4321];
    std::vector<uint8_t> fishBytes(fish->Data(), fish->Data() + fish->Length());
    g.backend->QueueToggleFullscreen();
    g.Frames(2);
    ASSERT_TRUE(g.backend->IsFullscreen());
    EXPECT_EQ(a.fishBodyMesh, fish);
    EXPECT_EQ(a.cellVertexBuffers[4321], cell);
    EXPECT_EQ(std::vector<uint8_t>(fish->Data(), fish->Data() + fish->Length()), fishBytes);
    EXPECT_EQ(g.Device()->liveVertexBuffers, 10023);

    a.Close();
    EXPECT_EQ(g.Device()->liveVertexBuffers, 0);
    for (const MeshSize& m : MESHES) EXPECT_EQ(a.*m.member, nullptr) << m.name;
    for (const plat::VertexBuffer* b : a.cellVertexBuffers) ASSERT_EQ(b, nullptr);
    a.ReleaseStaticMeshes();  // releasing again finds every member empty
    a.ReleaseTerrainCellBuffers();
}

namespace {

// A device that makes only the first `allowed` vertex buffers.
class StingyDevice : public plat::HeadlessDevice {
public:
    int allowed = 0;
    plat::HResult CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, plat::Pool pool,
                                     plat::VertexBuffer** out) override {
        if (allowed-- > 0) return HeadlessDevice::CreateVertexBuffer(length, usage, fvf, pool, out);
        *out = nullptr;
        return plat::FAIL;
    }
};

}  // namespace

TEST(StaticMeshes, MeshesThatCannotBeMadeStayEmptyAndAreNotDrawn) {
    GameOnDevice<StingyDevice> fixture;
    StingyDevice& d = fixture.device;
    GameApp& game = fixture.game;
    d.allowed = 3;  // ground strip, reel, reel box
    game.CreateStaticMeshes();
    EXPECT_NE(game.reelBoxMesh, nullptr);
    EXPECT_EQ(game.decalQuadUpMesh, nullptr);
    EXPECT_EQ(game.cellVertexBuffers[0], nullptr);
    d.ClearLog();
    game.DrawFlatQuad(TextureId(44));
    game.DrawTwoSidedQuad(TextureId(44));
    EXPECT_TRUE(d.draws.empty());
    game.ReleaseStaticMeshes();
    game.ReleaseTerrainCellBuffers();
    EXPECT_EQ(d.liveVertexBuffers, 0);
}

TEST(StaticMeshes, TheThreeQuadsDrawTheirMeshesWithTheTextureAndUnbindIt) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    GameApp& a = *g.app;
    plat::HeadlessDevice* d = g.Device();
    if (!a.textures[TEX_GRASS1]) a.textures[TEX_GRASS1] = StandInTexture(d, "grass");  // id 44
    const struct {
        void (GameApp::*draw)(TextureId);
        plat::VertexBuffer* mesh;
        uint32_t strips;
    } cases[] = {
        {&GameApp::DrawFlatQuad, a.decalQuadUpMesh, 1},
        {&GameApp::DrawUprightQuad, a.billboardMesh, 1},
        {&GameApp::DrawTwoSidedQuad, a.twoSidedBoardMesh, 2},
    };
    for (const auto& c : cases) {
        d->ClearLog();
        (a.*c.draw)(TextureId(44));
        ASSERT_EQ(d->draws.size(), c.strips);
        for (uint32_t s = 0; s < c.strips; ++s) {
            const plat::DrawRecord& r = d->draws[s];
            EXPECT_EQ(r.type, plat::PT_TRIANGLESTRIP);
            EXPECT_EQ(r.startVertex, 4 * s);
            EXPECT_EQ(r.primitiveCount, 2u);
            EXPECT_EQ(r.buffer, c.mesh);
            EXPECT_EQ(r.texture, a.textures[TEX_GRASS1]);
            EXPECT_EQ(r.fvf, plat::FVF_MESH);
        }
        EXPECT_EQ(d->State().texture, nullptr);
    }
}
