// The static meshes and terrain-cell buffers: sizes, exact vertices, normals, lifetime and the quads.
#include <gtest/gtest.h>
#include <cstdio>
#include <vector>
#include "game_on_device.h"
#include "test_support.h"

namespace {

using Member = plat::VertexBuffer* GameApp::*;

const MeshVertex& VertexOf(const plat::VertexBuffer* b, uint32_t i) {
    return reinterpret_cast<const MeshVertex*>(b->Data())[i];
}

// Every vertex of every mesh, bit for bit: positions, stored normals and texture coordinates as
// little-endian floats in vertex order, hashed (for the four water and sky meshes, whose coordinates
// the water rewrites each frame, position and normal only). The hashes were not taken from this
// code: a separate script read the vertex lists, octagons and flat-shading groups from the meshes'
// written description, built the normals by its rules (the position, (x, y + 1, z), (x, 1, z),
// (x, y, -1); flat groups as the normalised cross product of the first three positions in single
// precision, applied in order so that the later group wins and an arealess one gives zero) and
// hashed the result; all 428 vertices agreed with the buffers made here. Change a mesh only
// together with its description, and rebuild its hash the same way.
struct MeshSize {
    const char* name;
    Member member;
    uint32_t vertices;
    uint32_t hashedBytes;  // of each 32-byte vertex
    uint64_t hash;
};

const MeshSize MESHES[] = {
    {"groundStrip", &GameApp::groundStripMesh, 4, 32, 0x34997f96e3a938e5ull},
    {"reel", &GameApp::reelMesh, 104, 32, 0x7db115e05459d0fcull},
    {"reelBox", &GameApp::reelBoxMesh, 24, 32, 0x2d68203d9a248e75ull},
    {"decalQuadUp", &GameApp::decalQuadUpMesh, 4, 32, 0x1d13bb45fbb9b285ull},
    {"decalQuadDown", &GameApp::decalQuadDownMesh, 4, 32, 0xf475e3d181d93125ull},
    {"billboard", &GameApp::billboardMesh, 4, 32, 0xd4ac7f3d8a424625ull},
    {"twoSidedBoard", &GameApp::twoSidedBoardMesh, 8, 32, 0x6e37f3c27ab8eba5ull},
    {"waterSurface", &GameApp::waterSurfaceMesh, 8, 24, 0x020851786ba55825ull},
    {"waterSkyReflection", &GameApp::waterSkyReflectionMesh, 4, 24, 0x3e608c0db9096da5ull},
    {"waterUnderLayer", &GameApp::waterUnderLayerMesh, 8, 24, 0x7f17cefc0fc3a025ull},
    {"skyPlane", &GameApp::skyPlaneMesh, 4, 24, 0x3e608c0db9096da5ull},
    {"skirtNorthSouth", &GameApp::skirtNorthSouthMesh, 4, 32, 0xd60228258f5d8325ull},
    {"skirtWestEast", &GameApp::skirtWestEastMesh, 4, 32, 0xb5d68c9c053184e5ull},
    {"cube", &GameApp::cubeMesh, 24, 32, 0x38d02f97cb3c7745ull},
    {"taperedColumn", &GameApp::taperedColumnMesh, 28, 32, 0x3346a1678221a85dull},
    {"aeratorPost", &GameApp::aeratorPostMesh, 28, 32, 0xce301aa60bd5b669ull},
    {"rodSection", &GameApp::rodSectionMesh, 40, 32, 0x55dc7727f2c806a0ull},
    {"uprightQuad", &GameApp::uprightQuadMesh, 4, 32, 0x1ab2b537e2fb2865ull},
    {"fishBody", &GameApp::fishBodyMesh, 96, 32, 0x5df2e228829fd75dull},
    {"fishTail", &GameApp::fishTailMesh, 8, 32, 0x6c08459874bceb25ull},
    {"fishMouth", &GameApp::fishMouthMesh, 8, 32, 0xc0322be6a28905b4ull},
    {"fishLeftFin", &GameApp::fishLeftFinMesh, 4, 32, 0xed08127a6f69cb89ull},
    {"fishRightFin", &GameApp::fishRightFinMesh, 4, 32, 0xa2814bac3d9af9e9ull},
};

// FNV-1a (64 bits) of each vertex's first `bytesPerVertex` bytes.
uint64_t HashVertices(const plat::VertexBuffer* b, uint32_t bytesPerVertex) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (uint32_t i = 0; i < b->Length(); ++i)
        if (i % 32 < bytesPerVertex) h = (h ^ b->Data()[i]) * 0x100000001b3ull;
    return h;
}

}  // namespace

TEST(StaticMeshes, EveryMeshHoldsItsListedVerticesBitForBit) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    for (const MeshSize& m : MESHES) {
        const plat::VertexBuffer* b = g.app.get()->*m.member;
        ASSERT_NE(b, nullptr) << m.name;
        EXPECT_EQ(b->Length(), 32 * m.vertices) << m.name;
        if (HashVertices(b, m.hashedBytes) == m.hash) continue;
        ADD_FAILURE() << m.name << " differs from its listed vertices; it holds (x y z, normal, u v):";
        for (uint32_t i = 0; i < b->Length() / 32; ++i) {
            const MeshVertex& v = VertexOf(b, i);
            std::printf("  %u: %g %g %g, %g %g %g, %g %g\n", i, v.x, v.y, v.z, v.nx, v.ny, v.nz, v.u, v.v);
        }
    }
    EXPECT_EQ(g.Device()->liveVertexBuffers, 23 + 10000);
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
