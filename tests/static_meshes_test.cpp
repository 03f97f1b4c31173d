// The static meshes and terrain-cell buffers: sizes, exact vertices, normals, lifetime and the quads.
#include <gtest/gtest.h>
#include <cmath>
#include "test_support.h"

namespace {

const MeshVertex* Vertices(const plat::VertexBuffer* buffer) {
    return reinterpret_cast<const MeshVertex*>(buffer->Data());
}

uint32_t VertexCount(const plat::VertexBuffer* buffer) { return buffer->Length() / 32; }

void ExpectVertex(const plat::VertexBuffer* buffer, uint32_t i, float x, float y, float z, float u, float v) {
    ASSERT_LT(i, VertexCount(buffer));
    const MeshVertex& m = Vertices(buffer)[i];
    EXPECT_FLOAT_EQ(m.x, x) << "vertex " << i;
    EXPECT_FLOAT_EQ(m.y, y) << "vertex " << i;
    EXPECT_FLOAT_EQ(m.z, z) << "vertex " << i;
    EXPECT_FLOAT_EQ(m.u, u) << "vertex " << i;
    EXPECT_FLOAT_EQ(m.v, v) << "vertex " << i;
}

void ExpectNormal(const plat::VertexBuffer* buffer, uint32_t i, float nx, float ny, float nz, float tol = 0) {
    ASSERT_LT(i, VertexCount(buffer));
    const MeshVertex& m = Vertices(buffer)[i];
    if (tol == 0) {
        EXPECT_FLOAT_EQ(m.nx, nx) << "vertex " << i;
        EXPECT_FLOAT_EQ(m.ny, ny) << "vertex " << i;
        EXPECT_FLOAT_EQ(m.nz, nz) << "vertex " << i;
    } else {
        EXPECT_NEAR(m.nx, nx, tol) << "vertex " << i;
        EXPECT_NEAR(m.ny, ny, tol) << "vertex " << i;
        EXPECT_NEAR(m.nz, nz, tol) << "vertex " << i;
    }
}

struct MeshRanges {
    const char* name;
    plat::VertexBuffer* GameApp::*member;
    uint32_t vertices;
    // Draw ranges as (start, triangles); the last vertex used is start + triangles + 1.
    std::vector<std::pair<uint32_t, uint32_t>> ranges;
};

std::vector<MeshRanges> AllMeshes() {
    using P = std::pair<uint32_t, uint32_t>;
    return {
        {"groundStrip", &GameApp::groundStripMesh, 4, {P{0, 2}}},
        {"reel", &GameApp::reelMesh, 104,
         {P{0, 34}, P{36, 16}, P{54, 16}, P{72, 2}, P{76, 2}, P{80, 2}, P{84, 2}, P{88, 2}, P{92, 2}, P{96, 2},
          P{100, 2}}},
        {"reelBox", &GameApp::reelBoxMesh, 24, {P{0, 2}, P{4, 2}, P{8, 2}, P{12, 2}, P{16, 2}, P{20, 2}}},
        {"decalQuadUp", &GameApp::decalQuadUpMesh, 4, {P{0, 2}}},
        {"decalQuadDown", &GameApp::decalQuadDownMesh, 4, {P{0, 2}}},
        {"billboard", &GameApp::billboardMesh, 4, {P{0, 2}}},
        {"twoSidedBoard", &GameApp::twoSidedBoardMesh, 8, {P{0, 2}, P{4, 2}}},
        {"waterSurface", &GameApp::waterSurfaceMesh, 8, {P{0, 2}, P{4, 2}}},
        {"waterSkyReflection", &GameApp::waterSkyReflectionMesh, 4, {P{0, 2}}},
        {"waterUnderLayer", &GameApp::waterUnderLayerMesh, 8, {P{0, 2}, P{4, 2}}},
        {"skyPlane", &GameApp::skyPlaneMesh, 4, {P{0, 2}}},
        {"skirtNorthSouth", &GameApp::skirtNorthSouthMesh, 4, {P{0, 2}}},
        {"skirtWestEast", &GameApp::skirtWestEastMesh, 4, {P{0, 2}}},
        {"cube", &GameApp::cubeMesh, 24, {P{0, 2}, P{4, 2}, P{8, 2}, P{12, 2}, P{16, 2}, P{20, 2}}},
        {"taperedColumn", &GameApp::taperedColumnMesh, 28, {P{0, 16}, P{18, 8}}},
        {"aeratorPost", &GameApp::aeratorPostMesh, 28, {P{0, 16}, P{18, 8}}},
        {"rodSection", &GameApp::rodSectionMesh, 40, {P{0, 16}, P{18, 2}, P{22, 2}, P{26, 2}, P{30, 8}}},
        {"uprightQuad", &GameApp::uprightQuadMesh, 4, {P{0, 2}}},
        {"fishBody", &GameApp::fishBodyMesh, 96,
         {P{0, 10}, P{12, 10}, P{24, 10}, P{36, 10}, P{48, 10}, P{60, 10}, P{72, 2}, P{76, 2}, P{80, 2}, P{84, 2},
          P{88, 2}, P{92, 2}}},
        {"fishTail", &GameApp::fishTailMesh, 8, {P{0, 2}, P{4, 2}}},
        {"fishMouth", &GameApp::fishMouthMesh, 8, {P{0, 6}}},
        {"fishLeftFin", &GameApp::fishLeftFinMesh, 4, {P{0, 2}}},
        {"fishRightFin", &GameApp::fishRightFinMesh, 4, {P{0, 2}}},
    };
}

}  // namespace

TEST(StaticMeshes, EveryMeshHasItsVertexCountAndItsRangesStayInside) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    std::vector<MeshRanges> meshes = AllMeshes();
    ASSERT_EQ(meshes.size(), 23u);
    for (const MeshRanges& m : meshes) {
        const plat::VertexBuffer* b = g.app.get()->*m.member;
        ASSERT_NE(b, nullptr) << m.name;
        EXPECT_EQ(b->Length(), 32 * m.vertices) << m.name;
        uint32_t highest = 0;
        for (auto r : m.ranges) highest = std::max(highest, r.first + r.second + 1);
        EXPECT_EQ(highest, m.vertices - 1) << m.name << ": the ranges use every vertex and no more";
        // No stray NaN anywhere (degenerate flat groups give zero normals).
        for (uint32_t i = 0; i < m.vertices; ++i) {
            const MeshVertex& v = Vertices(b)[i];
            EXPECT_TRUE(std::isfinite(v.nx) && std::isfinite(v.ny) && std::isfinite(v.nz)) << m.name << " " << i;
        }
    }
    EXPECT_EQ(g.Device()->liveVertexBuffers, 23 + 10000);
}

TEST(StaticMeshes, QuadsAndSmallMeshesHoldTheirListedVerticesAndNormals) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    GameApp& a = *g.app;

    ExpectVertex(a.groundStripMesh, 1, -1, 0, 2, 0, 0);
    ExpectNormal(a.groundStripMesh, 1, -1, 1, 2);  // height raised by 1
    ExpectVertex(a.decalQuadUpMesh, 2, 1, 0, -1, 1, 1);
    ExpectNormal(a.decalQuadUpMesh, 2, 1, 1, -1);
    ExpectVertex(a.billboardMesh, 3, 1, 2, 0, 1, 0);
    ExpectNormal(a.billboardMesh, 3, 1, 2, 0);  // the position
    ExpectVertex(a.twoSidedBoardMesh, 4, 1, 0, 0, 1, 1);
    ExpectVertex(a.twoSidedBoardMesh, 7, -1, 2, 0, 0, 0);
    ExpectNormal(a.twoSidedBoardMesh, 7, -1, 2, -1);  // z replaced by -1
    ExpectVertex(a.waterSurfaceMesh, 6, -1, 0, -1, 0, 0);
    ExpectNormal(a.waterSurfaceMesh, 5, 1, 0, 1);
    ExpectNormal(a.waterSkyReflectionMesh, 0, -1, 0, -1);
    ExpectVertex(a.waterUnderLayerMesh, 7, -1, -0.0001f, 1, 0, 0);
    ExpectNormal(a.waterUnderLayerMesh, 7, -1, 1, 1);  // height replaced by 1
    ExpectNormal(a.skyPlaneMesh, 3, 1, 0, 1);
    ExpectVertex(a.skirtNorthSouthMesh, 2, 1, 0, -1, 40, 14);
    ExpectNormal(a.skirtNorthSouthMesh, 2, 1, 1, -1);
    ExpectVertex(a.skirtWestEastMesh, 0, -1, 0, -1, 0, 60);
    ExpectVertex(a.skirtWestEastMesh, 3, 1, 0, 1, 20, 0);
    ExpectVertex(a.uprightQuadMesh, 1, -1, 1, 0, 0, 1);
    ExpectNormal(a.uprightQuadMesh, 2, 1, -1, 0);
    ExpectVertex(a.fishTailMesh, 2, 0, -0.5f, -1, 1, 0);
    ExpectNormal(a.fishTailMesh, 2, 0, -0.5f, -1);
    ExpectVertex(a.fishMouthMesh, 3, -0.12f, -0.1f, 1.2f, 1, 0.25f);
    ExpectNormal(a.fishMouthMesh, 7, 0, 0.05f, 1.3f);
    ExpectVertex(a.fishLeftFinMesh, 2, -0.45f, -0.1f, -0.2f, 0, 0);
    ExpectVertex(a.fishRightFinMesh, 0, 0.45f, -0.1f, -0.2f, 0, 0);
    ExpectNormal(a.fishRightFinMesh, 3, 0, 0, 0.2f);

    // The downward decal lists the same corners with the same texture coordinates, wound the other way.
    const MeshVertex* up = Vertices(a.decalQuadUpMesh);
    const MeshVertex* down = Vertices(a.decalQuadDownMesh);
    for (int i = 0; i < 4; ++i) {
        int match = 0;
        for (int j = 0; j < 4; ++j)
            if (up[j].x == down[i].x && up[j].z == down[i].z && up[j].u == down[i].u && up[j].v == down[i].v)
                ++match;
        EXPECT_EQ(match, 1) << "down vertex " << i;
    }
    auto facing = [](const MeshVertex* q) {  // y of cross(b - a, c - a)
        return (q[1].z - q[0].z) * (q[2].x - q[0].x) - (q[1].x - q[0].x) * (q[2].z - q[0].z);
    };
    EXPECT_GT(facing(up), 0.0f);
    EXPECT_LT(facing(down), 0.0f);
}

TEST(StaticMeshes, CubeAndReelBoxFacesCarryTheAxisNormalsAndWholeTexture) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    GameApp& a = *g.app;
    const float axis[6][3] = {{0, 1, 0}, {0, -1, 0}, {1, 0, 0}, {-1, 0, 0}, {0, 0, -1}, {0, 0, 1}};
    for (plat::VertexBuffer* b : {a.cubeMesh, a.reelBoxMesh}) {
        for (int f = 0; f < 6; ++f)
            for (int k = 0; k < 4; ++k) ExpectNormal(b, 4 * f + k, axis[f][0], axis[f][1], axis[f][2], 1e-6f);
    }
    ExpectVertex(a.cubeMesh, 0, -1, 1, -1, 0, 1);
    ExpectVertex(a.cubeMesh, 5, 1, -1, 1, 0, 1);
    ExpectVertex(a.cubeMesh, 23, -1, 1, 1, 1, 1);
    ExpectVertex(a.reelBoxMesh, 0, -0.1f, 0.1f, -0.1f, 0, 1);
    ExpectVertex(a.reelBoxMesh, 14, -0.1f, -0.1f, -0.1f, 1, 0);
}

TEST(StaticMeshes, ColumnsFollowTheirOctagonsAndKeepPositionNormals) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    GameApp& a = *g.app;

    // Tapered column: foot and head of each side, u in eighths, side 8 repeating side 0.
    ExpectVertex(a.taperedColumnMesh, 0, -1.5f, 0, -3.5f, 0, 0);
    ExpectVertex(a.taperedColumnMesh, 3, 1, 15, -2, 0.125f, 1);
    ExpectNormal(a.taperedColumnMesh, 3, 1, 15, -2);  // not normalised
    ExpectVertex(a.taperedColumnMesh, 14, -3.3f, 0, -1.7f, 0.875f, 0);
    ExpectVertex(a.taperedColumnMesh, 16, -1.5f, 0, -3.5f, 1, 0);
    ExpectVertex(a.taperedColumnMesh, 17, -1, 15, -2, 1, 1);
    ExpectVertex(a.taperedColumnMesh, 18, 0, 15, 0, 0.5f, 0.5f);
    ExpectVertex(a.taperedColumnMesh, 27, -2, 15, 1, 0, 0.75f);

    // Aerator post: flat sides, cap fan from 18.
    ExpectVertex(a.aeratorPostMesh, 5, 0.35f, 1.5f, -0.12f, 0.25f, 1);
    ExpectNormal(a.aeratorPostMesh, 4, 0.997268f, 0, 0.073872f, 1e-5f);
    ExpectVertex(a.aeratorPostMesh, 19, -0.15f, 1.5f, -0.35f, 0, 0.75f);
    ExpectVertex(a.aeratorPostMesh, 26, 0.15f, 1.5f, -0.35f, 0, 0.25f);

    // Rod section: column, ring quad, two-sided line quad, butt cap with texture (1, 1).
    ExpectVertex(a.rodSectionMesh, 1, 0, 10, -1.8f, 0, 1);
    ExpectVertex(a.rodSectionMesh, 18, -5, 10, 12, 0, 0);
    ExpectVertex(a.rodSectionMesh, 22, 0, 0, 7, 0, 0);
    ExpectVertex(a.rodSectionMesh, 29, 0, 10, 6, 1, 1);
    ExpectVertex(a.rodSectionMesh, 31, 0, 0, -2, 1, 1);
    ExpectVertex(a.rodSectionMesh, 39, 0, 0, -2, 1, 1);
    // Degenerate groups 24-27 and (28, 29, 28, 29) give exact zero normals.
    for (uint32_t i = 24; i <= 29; ++i) ExpectNormal(a.rodSectionMesh, i, 0, 0, 0);
    // Group 20-23 spans the ring quad and the line quad, all four with its one normal.
    for (uint32_t i = 20; i <= 23; ++i) ExpectNormal(a.rodSectionMesh, i, -0.894427f, 0.447214f, 0, 1e-5f);
    // The butt cap faces down.
    for (uint32_t i = 30; i <= 39; ++i) ExpectNormal(a.rodSectionMesh, i, 0, -1, 0, 1e-6f);
}

TEST(StaticMeshes, ReelAndFishBodyListsAndFlatShading) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    GameApp& a = *g.app;

    // Tube u in steps of 0.0588, ending at exactly 1 on the last pair.
    ExpectVertex(a.reelMesh, 2, 0.02f, 0.1f, 0, 0.0588f, 1);
    ExpectVertex(a.reelMesh, 33, -0.02f, 0.1f, 0.2f, 0.9408f, 0);
    ExpectVertex(a.reelMesh, 34, 0.02f, 0.1f, 0, 1, 1);
    ExpectVertex(a.reelMesh, 35, 0.02f, 0.1f, 0.2f, 1, 0);
    ExpectVertex(a.reelMesh, 36, 0, 0, 0, 0.5f, 0.5f);
    ExpectVertex(a.reelMesh, 53, -0.02f, 0.1f, 0, 0.4f, 1);
    ExpectVertex(a.reelMesh, 54, 0, 0, 0.25f, 0.5f, 0.5f);
    ExpectVertex(a.reelMesh, 71, 0.02f, 0.1f, 0.2f, 0.4f, 1);
    ExpectVertex(a.reelMesh, 77, -0.05f, 0.075f, -0.15f, 0, 1);
    ExpectVertex(a.reelMesh, 88, 0.05f, -0.05f, -0.15f, 0.5f, 0);
    ExpectVertex(a.reelMesh, 103, 0.05f, 0.025f, -0.3f, 1, 1);
    // The back disc faces -z; on the cone the later group (54, 69, 70, 71) wins for the tip.
    ExpectNormal(a.reelMesh, 36, 0, 0, -1, 1e-6f);
    ExpectNormal(a.reelMesh, 54, 0.328089f, 0.328089f, 0.885841f, 1e-5f);
    ExpectNormal(a.reelMesh, 55, 0, 0.447214f, 0.894427f, 1e-5f);

    ExpectVertex(a.fishBodyMesh, 0, -0.1f, 0, 1.3f, 0.05f, 0.5f);
    ExpectVertex(a.fishBodyMesh, 41, 0, 0.65f, 0, 0.44f, 0.65f);
    ExpectVertex(a.fishBodyMesh, 73, 0, 0.82f, -0.1f, 0.37f, 0.79f);
    ExpectVertex(a.fishBodyMesh, 95, 0.08f, -0.22f, 0, 0.42f, 0.44f);
    // Every flat-shaded normal is unit length or zero.
    for (plat::VertexBuffer* b : {a.fishBodyMesh, a.reelMesh, a.aeratorPostMesh, a.rodSectionMesh}) {
        for (uint32_t i = 0; i < VertexCount(b); ++i) {
            const MeshVertex& v = Vertices(b)[i];
            float len = std::sqrt(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz);
            EXPECT_TRUE(std::fabs(len - 1.0f) < 1e-5f || len == 0.0f) << i << " length " << len;
        }
    }
}

TEST(StaticMeshes, TerrainCellBuffersHoldTheFlatGrid) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    GameApp& a = *g.app;
    for (const plat::VertexBuffer* b : a.cellVertexBuffers) {
        ASSERT_NE(b, nullptr);
        ASSERT_EQ(b->Length(), 128u);
    }
    const float uv[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
    struct Cell {
        int index;
        float xz[4][2];
    };
    const Cell cells[] = {
        {0, {{0, 198}, {0, 200}, {2, 198}, {2, 200}}},
        {1, {{4, 198}, {2, 198}, {4, 200}, {2, 200}}},
        {100, {{2, 196}, {0, 196}, {2, 198}, {0, 198}}},
        {9999, {{198, 0}, {198, 2}, {200, 0}, {200, 2}}},
    };
    for (const Cell& c : cells) {
        for (int k = 0; k < 4; ++k) {
            ExpectVertex(a.cellVertexBuffers[c.index], k, c.xz[k][0], 0, c.xz[k][1], uv[k][0], uv[k][1]);
            ExpectNormal(a.cellVertexBuffers[c.index], k, c.xz[k][0], 1, c.xz[k][1]);
        }
    }
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
    for (const MeshRanges& m : AllMeshes()) EXPECT_EQ(a.*m.member, nullptr) << m.name;
    for (const plat::VertexBuffer* b : a.cellVertexBuffers) ASSERT_EQ(b, nullptr);
    // Releasing again finds every member empty.
    a.ReleaseStaticMeshes();
    a.ReleaseTerrainCellBuffers();
}

namespace {

// A device whose vertex buffers cannot be made from the n-th on.
class StingyDevice : public plat::HeadlessDevice {
public:
    int allowed = 0;
    plat::HResult CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, plat::Pool pool,
                                     plat::VertexBuffer** out) override {
        if (allowed-- <= 0) {
            *out = nullptr;
            return plat::FAIL;
        }
        return HeadlessDevice::CreateVertexBuffer(length, usage, fvf, pool, out);
    }
};

struct GameOnDevice : GameApp {
    void Use(plat::Device* d) { device = d; }
};

}  // namespace

TEST(StaticMeshes, MeshesThatCannotBeMadeStayEmptyAndAreNotDrawn) {
    plat::InstallHeadlessBackend();
    {
        StingyDevice d;
        d.allowed = 3;  // ground strip, reel, reel box
        GameOnDevice game;
        game.Use(&d);
        game.CreateStaticMeshes();
        EXPECT_NE(game.reelBoxMesh, nullptr);
        EXPECT_EQ(game.decalQuadUpMesh, nullptr);
        EXPECT_EQ(game.fishRightFinMesh, nullptr);
        EXPECT_EQ(game.cellVertexBuffers[0], nullptr);
        EXPECT_EQ(d.liveVertexBuffers, 3);
        d.ClearLog();
        game.DrawFlatQuad(44);
        game.DrawTwoSidedQuad(44);
        EXPECT_TRUE(d.draws.empty());
        EXPECT_EQ(d.State().texture, nullptr);
        game.ReleaseStaticMeshes();
        game.ReleaseTerrainCellBuffers();
        EXPECT_EQ(d.liveVertexBuffers, 0);
        game.Use(nullptr);
    }
    plat::InstallBackend(nullptr);
}

TEST(StaticMeshes, TheThreeQuadsDrawTheirMeshesWithTheTextureAndUnbindIt) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    GameApp& a = *g.app;
    plat::HeadlessDevice* d = g.Device();
    // A texture in the slot of id 44 (grass 1), made without a file.
    if (!a.textures[TEX_GRASS1]) {
        plat::TextureImage image;
        image.width = image.height = 1;
        image.argb = {0xFF00FF00};
        ASSERT_FALSE(plat::Failed(d->CreateTextureFromImage(image, "grass", &a.textures[TEX_GRASS1])));
    }
    plat::Texture* grass = a.textures[TEX_GRASS1];

    struct Case {
        void (GameApp::*draw)(int32_t);
        plat::VertexBuffer* mesh;
        uint32_t strips;
    };
    const Case cases[] = {
        {&GameApp::DrawFlatQuad, a.decalQuadUpMesh, 1},
        {&GameApp::DrawUprightQuad, a.billboardMesh, 1},
        {&GameApp::DrawTwoSidedQuad, a.twoSidedBoardMesh, 2},
    };
    for (const Case& c : cases) {
        d->ClearLog();
        (a.*c.draw)(44);
        ASSERT_EQ(d->draws.size(), c.strips);
        for (uint32_t s = 0; s < c.strips; ++s) {
            const plat::DrawRecord& r = d->draws[s];
            EXPECT_EQ(r.type, plat::PT_TRIANGLESTRIP);
            EXPECT_EQ(r.startVertex, 4 * s);
            EXPECT_EQ(r.primitiveCount, 2u);
            EXPECT_EQ(r.buffer, c.mesh);
            EXPECT_EQ(r.texture, grass);
            EXPECT_EQ(r.fvf, plat::FVF_MESH);
        }
        EXPECT_EQ(d->State().texture, nullptr);
    }
}
