// The water's drift, its texture coordinates and the stack of layers drawn in each view.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "lake_fixture.h"
#include "platform/system.h"
#include "test_support.h"

namespace {

// A started game with stand-ins for the lake textures.
struct WaterGame : HeadlessGame {
    bool started = Start();
    lakefix::WorldStandIns standIns{*app};
};

const MeshVertex* Vertices(plat::VertexBuffer* mesh) { return reinterpret_cast<const MeshVertex*>(mesh->Data()); }

void ExpectTexCoords(plat::VertexBuffer* mesh, const std::vector<std::pair<float, float>>& uv, const char* what) {
    const MeshVertex* v = Vertices(mesh);
    for (size_t k = 0; k < uv.size(); ++k) {
        EXPECT_FLOAT_EQ(v[k].u, uv[k].first) << what << " vertex " << k;
        EXPECT_FLOAT_EQ(v[k].v, uv[k].second) << what << " vertex " << k;
    }
}

// The two-sided pattern of the surface and under layer: start s, span t.
std::vector<std::pair<float, float>> TwoSided(float s, float t) {
    return {{s, s}, {s, s + t}, {s + t, s}, {s + t, s + t}, {s + t, s}, {s + t, s + t}, {s, s}, {s, s + t}};
}

// One drawn layer: texture file, alpha reference, height, mesh and first vertex.
struct Layer {
    std::string texture;
    uint32_t alphaRef;
    float height;
    const plat::VertexBuffer* mesh;
    uint32_t start;
};

std::vector<Layer> Layers(plat::HeadlessDevice* d) {
    std::vector<Layer> out;
    for (const plat::DrawRecord& r : d->draws)
        out.push_back({r.textureFile, r.alphaRef, r.world.m[3][1], r.buffer, r.startVertex});
    return out;
}

}  // namespace

TEST(Water, DriftStepsAtMostOncePerCallAndOnlyAfterTenMs) {
    WaterGame w;
    ASSERT_TRUE(w.started);
    GameApp& app = *w.app;
    const uint32_t t0 = 500000;
    plat::SetFixedTickCount(t0);
    app.waterScrollStamp = t0;
    plat::SetFixedTickCount(t0 + 10);
    app.AnimateAndDrawWater();
    EXPECT_EQ(app.waterScroll1, 0.0);
    EXPECT_EQ(app.waterScrollStamp, t0);

    plat::SetFixedTickCount(t0 + 11);
    app.AnimateAndDrawWater();
    EXPECT_EQ(app.waterScroll1, static_cast<double>(0.00035f));
    EXPECT_EQ(app.waterScroll2, static_cast<double>(0.00015f));
    EXPECT_EQ(app.waterScroll3, static_cast<double>(0.0003f));
    EXPECT_EQ(app.waterScrollStamp, t0 + 11);

    plat::SetFixedTickCount(t0 + 511);  // a long pause is not caught up
    app.AnimateAndDrawWater();
    EXPECT_EQ(app.waterScroll1, static_cast<double>(static_cast<float>(static_cast<double>(0.00035f) + 0.00035)));

    // The tick counter wrapping round still gives the unsigned difference.
    app.waterScrollStamp = 0xFFFFFFF0u;
    plat::SetFixedTickCount(5);
    const double before = app.waterScroll1;
    app.AnimateAndDrawWater();
    EXPECT_GT(app.waterScroll1, before);
}

TEST(Water, TexCoordsFollowTheDriftAndLagOneStep) {
    WaterGame w;
    ASSERT_TRUE(w.started);
    GameApp& app = *w.app;
    plat::SetFixedTickCount(700000);
    app.waterScrollStamp = 700000;  // no step in this call
    app.waterScroll1 = 0.25;
    app.waterScroll2 = 0.0;
    app.waterScroll3 = 0.125;
    app.AnimateAndDrawWater();
    const std::vector<std::pair<float, float>> sky = {{0.125f, 0.125f}, {0.125f, 1.125f}, {1.125f, 0.125f}, {1.125f, 1.125f}};
    ExpectTexCoords(app.waterSkyReflectionMesh, sky, "sky reflection");
    ExpectTexCoords(app.skyPlaneMesh, sky, "sky");
    ExpectTexCoords(app.waterSurfaceMesh, TwoSided(0.25f, 30), "surface");
    ExpectTexCoords(app.waterUnderLayerMesh, TwoSided(0.5f, 30), "under layer");  // half a tile over

    // A value that has reached 1 is written as it is once, then wraps to 0 for the next frame.
    void* data = nullptr;
    ASSERT_FALSE(plat::Failed(app.waterSurfaceMesh->Lock(0, 0, &data, 0)));
    static_cast<MeshVertex*>(data)[3].x = 1.0f;
    static_cast<MeshVertex*>(data)[3].ny = 0.5f;
    app.waterSurfaceMesh->Unlock();
    app.waterScroll3 = 1.0;
    app.waterScroll1 = 0.99999;
    app.AnimateAndDrawWater();
    EXPECT_EQ(app.waterScroll3, 0.0);
    EXPECT_EQ(app.waterScroll1, 0.99999);
    ExpectTexCoords(app.skyPlaneMesh, {{1.0f, 1.0f}}, "sky at 1");
    app.AnimateAndDrawWater();
    ExpectTexCoords(app.skyPlaneMesh, {{0.0f, 0.0f}, {0.0f, 1.0f}}, "sky wrapped");
    // Positions and normals are left as the mesh builder made them.
    EXPECT_EQ(Vertices(app.waterSurfaceMesh)[3].x, 1.0f);
    EXPECT_EQ(Vertices(app.waterSurfaceMesh)[3].ny, 0.5f);
}

TEST(Water, StackOfLayersInEachView) {
    WaterGame w;
    ASSERT_TRUE(w.started);
    GameApp& app = *w.app;
    plat::HeadlessDevice* d = w.Device();
    const plat::VertexBuffer* surface = app.waterSurfaceMesh;
    const plat::VertexBuffer* under = app.waterUnderLayerMesh;
    auto draw = [&] {
        d->ClearLog();
        app.AnimateAndDrawWater();
        EXPECT_EQ(d->State().renderState[plat::RS_ALPHAREF], 254u);
        EXPECT_EQ(d->State().texture, nullptr);
        return Layers(d);
    };

    // From the bank: one opaque deep layer under the surface, the sky and the glints on both faces.
    app.gameMode = MODE_FISHING;
    const std::vector<Layer> bank = {
        {"textures\\water3b.bmp", 254, -0.2f, surface, 0}, {"textures\\water.tga", 0, -0.15f, surface, 0},
        {"textures\\sky2.tga", 0, -0.1f, app.waterSkyReflectionMesh, 0},
        {"textures\\water2.bmp", 254, -0.05f, surface, 0}, {"textures\\water2.bmp", 254, -0.05f, surface, 4},
        {"textures\\water2.bmp", 254, -0.05f, under, 0},   {"textures\\water2.bmp", 254, -0.05f, under, 4},
    };
    std::vector<Layer> got = draw();
    ASSERT_EQ(got.size(), bank.size());
    for (size_t i = 0; i < bank.size(); ++i) {
        EXPECT_EQ(got[i].texture, bank[i].texture) << i;
        EXPECT_EQ(got[i].alphaRef, bank[i].alphaRef) << i;
        EXPECT_EQ(got[i].height, bank[i].height) << i;
        EXPECT_EQ(got[i].mesh, bank[i].mesh) << i;
        EXPECT_EQ(got[i].start, bank[i].start) << i;
    }
    for (const plat::DrawRecord& r : d->draws) {  // every layer covers the lake: x and z 0..200
        EXPECT_EQ(r.world.m[0][0], 100.0f);
        EXPECT_EQ(r.world.m[3][2], 100.0f);
    }

    // Binoculars: eight translucent deep layers from -3 up to -0.2 (a double-precision loop would
    // make nine).
    app.binocularState = 1;
    got = draw();
    ASSERT_EQ(got.size(), 8u + 6u);
    EXPECT_EQ(got[0].texture, "textures\\water3.tga");
    EXPECT_EQ(got[0].alphaRef, 0u);
    EXPECT_EQ(got[0].height, -3.0f);
    EXPECT_EQ(got[7].height, -0.2f);
    EXPECT_EQ(got[8].texture, "textures\\water.tga");
    app.binocularState = 2;
    EXPECT_EQ(draw().size(), 14u);

    // The duck sees seven deep layers whatever the binoculars hold; diving leaves out the surface
    // and sky reflection.
    app.gameMode = MODE_DUCK;
    got = draw();
    ASSERT_EQ(got.size(), 7u + 6u);
    EXPECT_EQ(got[1].height, -2.5f);
    app.waterSurfaceVisible = 0;
    got = draw();
    ASSERT_EQ(got.size(), 7u + 4u);
    EXPECT_EQ(got[7].texture, "textures\\water2.bmp");
    app.gameMode = MODE_TOUR;
    app.binocularState = 0;
    EXPECT_EQ(draw().size(), 5u);
}
