// The water's drift, its texture coordinates and the stack of layers drawn in each view.
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "lake_fixture.h"
#include "platform/system.h"
#include "test_support.h"

namespace {

struct WaterGame {
    HeadlessGame g;
    std::unique_ptr<lakefix::WorldStandIns> standIns;
    WaterGame() {
        EXPECT_TRUE(g.Start());
        standIns = std::make_unique<lakefix::WorldStandIns>(*g.app);
    }
    GameApp& app() { return *g.app; }
    plat::HeadlessDevice* device() { return g.Device(); }
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
    GameApp& app = w.app();
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
    GameApp& app = w.app();
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
    GameApp& app = w.app();
    plat::HeadlessDevice* d = w.device();
    const plat::VertexBuffer* surface = app.waterSurfaceMesh;
    const plat::VertexBuffer* reflection = app.waterSkyReflectionMesh;
    const plat::VertexBuffer* under = app.waterUnderLayerMesh;
    const std::vector<Layer> top = {
        {"textures\\water.tga", 0, -0.15f, surface, 0},     {"textures\\sky2.tga", 0, -0.1f, reflection, 0},
        {"textures\\water2.bmp", 254, -0.05f, surface, 0},  {"textures\\water2.bmp", 254, -0.05f, surface, 4},
        {"textures\\water2.bmp", 254, -0.05f, under, 0},    {"textures\\water2.bmp", 254, -0.05f, under, 4},
    };
    auto expectStack = [&](const std::vector<Layer>& want, const char* view) {
        std::vector<Layer> got = Layers(d);
        ASSERT_EQ(got.size(), want.size()) << view;
        for (size_t i = 0; i < want.size(); ++i) {
            EXPECT_EQ(got[i].texture, want[i].texture) << view << " layer " << i;
            EXPECT_EQ(got[i].alphaRef, want[i].alphaRef) << view << " layer " << i;
            EXPECT_EQ(got[i].height, want[i].height) << view << " layer " << i;
            EXPECT_EQ(got[i].mesh, want[i].mesh) << view << " layer " << i;
            EXPECT_EQ(got[i].start, want[i].start) << view << " layer " << i;
        }
        // Every layer covers the lake: x and z 0..200.
        for (const plat::DrawRecord& r : d->draws) {
            EXPECT_EQ(r.world.m[0][0], 100.0f);
            EXPECT_EQ(r.world.m[2][2], 100.0f);
            EXPECT_EQ(r.world.m[3][0], 100.0f);
            EXPECT_EQ(r.world.m[3][2], 100.0f);
            EXPECT_EQ(r.primitiveCount, 2u);
        }
        EXPECT_EQ(d->State().renderState[plat::RS_ALPHAREF], 254u) << view;
        EXPECT_EQ(d->State().texture, nullptr) << view;
    };
    auto deep = [](const char* texture, uint32_t ref, std::vector<float> heights, const plat::VertexBuffer* mesh) {
        std::vector<Layer> layers;
        for (float h : heights) layers.push_back({texture, ref, h, mesh, 0});
        return layers;
    };
    auto plus = [](std::vector<Layer> a, const std::vector<Layer>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };

    app.gameMode = MODE_FISHING;
    d->ClearLog();
    app.AnimateAndDrawWater();
    expectStack(plus(deep("textures\\water3b.bmp", 254, {-0.2f}, surface), top), "from the bank");

    // Binoculars: eight translucent deep layers (a double-precision loop would make nine).
    app.binocularState = 1;
    d->ClearLog();
    app.AnimateAndDrawWater();
    expectStack(plus(deep("textures\\water3.tga", 0, {-3.0f, -2.6f, -2.2f, -1.8f, -1.4f, -1.0f, -0.6f, -0.2f}, surface),
                     top),
                "binoculars");
    app.binocularState = 2;
    d->ClearLog();
    app.AnimateAndDrawWater();
    EXPECT_EQ(d->draws.size(), 14u);

    // The duck sees seven deep layers whatever the binoculars hold.
    app.gameMode = MODE_DUCK;
    const std::vector<Layer> duckDeep =
        deep("textures\\water3.tga", 0, {-3.0f, -2.5f, -2.0f, -1.5f, -1.0f, -0.5f, -0.2f}, surface);
    d->ClearLog();
    app.AnimateAndDrawWater();
    expectStack(plus(duckDeep, top), "duck");

    // Diving: the surface and sky-reflection layers are left out, the rest stays.
    app.waterSurfaceVisible = 0;
    d->ClearLog();
    app.AnimateAndDrawWater();
    expectStack(plus(duckDeep, std::vector<Layer>(top.begin() + 2, top.end())), "diving");
    app.gameMode = MODE_TOUR;
    app.binocularState = 0;
    d->ClearLog();
    app.AnimateAndDrawWater();
    EXPECT_EQ(d->draws.size(), 5u);
}
