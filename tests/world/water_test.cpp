// The water's drift, its texture coordinates and the stack of layers drawn in each view.
#include <gtest/gtest.h>
#include <cstdio>
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

// What each draw shows: texture file, alpha reference and height.
std::vector<std::string> Layers(plat::HeadlessDevice* d) {
    std::vector<std::string> out;
    char text[64];
    for (const plat::DrawRecord& r : d->draws) {
        std::snprintf(text, sizeof text, "%s %u %g", FileOf(r).c_str(), r.alphaRef, r.world.m[3][1]);
        out.push_back(text);
    }
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
    const MeshVertex* sky = Vertices(app.skyPlaneMesh);
    const MeshVertex* surface = Vertices(app.waterSurfaceMesh);
    EXPECT_FLOAT_EQ(sky[1].u, 0.125f);
    EXPECT_FLOAT_EQ(sky[1].v, 1.125f);
    EXPECT_FLOAT_EQ(Vertices(app.waterSkyReflectionMesh)[2].u, 1.125f);
    EXPECT_FLOAT_EQ(surface[1].v, 30.25f);  // 30 tiles across
    EXPECT_FLOAT_EQ(surface[4].u, 30.25f);  // the far face's first corner
    EXPECT_FLOAT_EQ(surface[4].v, 0.25f);
    EXPECT_FLOAT_EQ(Vertices(app.waterUnderLayerMesh)[7].v, 30.5f);  // half a tile over

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
    EXPECT_EQ(sky[0].u, 1.0f);
    app.AnimateAndDrawWater();
    EXPECT_EQ(sky[1].u, 0.0f);
    EXPECT_EQ(sky[1].v, 1.0f);
    // Positions and normals are left as the mesh builder made them.
    EXPECT_EQ(Vertices(app.waterSurfaceMesh)[3].x, 1.0f);
    EXPECT_EQ(Vertices(app.waterSurfaceMesh)[3].ny, 0.5f);
}

TEST(Water, StackOfLayersInEachView) {
    WaterGame w;
    ASSERT_TRUE(w.started);
    GameApp& app = *w.app;
    plat::HeadlessDevice* d = w.Device();
    auto draw = [&] {
        d->ClearLog();
        app.AnimateAndDrawWater();
        EXPECT_EQ(d->State().renderState[plat::RS_ALPHAREF], 254u);
        EXPECT_EQ(d->State().texture, nullptr);
        return Layers(d);
    };

    // From the bank: one opaque deep layer under the surface, the sky and the glints on both faces.
    app.gameMode = MODE_FISHING;
    const std::vector<std::string> bank = {"water3b.bmp 254 -0.2", "water.tga 0 -0.15", "sky2.tga 0 -0.1",
                                           "water2.bmp 254 -0.05", "water2.bmp 254 -0.05",
                                           "water2.bmp 254 -0.05", "water2.bmp 254 -0.05"};
    EXPECT_EQ(draw(), bank);
    EXPECT_EQ(d->draws[2].buffer, app.waterSkyReflectionMesh);
    EXPECT_EQ(d->draws[4].buffer, app.waterSurfaceMesh);
    EXPECT_EQ(d->draws[4].startVertex, 4u);
    EXPECT_EQ(d->draws[6].buffer, app.waterUnderLayerMesh);
    for (const plat::DrawRecord& r : d->draws) {  // every layer covers the lake: x and z 0..200
        EXPECT_EQ(r.world.m[0][0], 100.0f);
        EXPECT_EQ(r.world.m[3][2], 100.0f);
    }

    // Binoculars: eight translucent deep layers from -3 up to -0.2 (a double-precision loop would
    // make nine).
    app.binocularState = 1;
    std::vector<std::string> got = draw();
    ASSERT_EQ(got.size(), 8u + 6u);
    EXPECT_EQ(got[0], "water3.tga 0 -3");
    EXPECT_EQ(got[7], "water3.tga 0 -0.2");
    EXPECT_EQ(got[8], "water.tga 0 -0.15");
    app.binocularState = 2;
    EXPECT_EQ(draw().size(), 14u);

    // The duck sees seven deep layers whatever the binoculars hold; diving leaves out the surface
    // and sky reflection.
    app.gameMode = MODE_DUCK;
    got = draw();
    ASSERT_EQ(got.size(), 7u + 6u);
    EXPECT_EQ(got[1], "water3.tga 0 -2.5");
    app.waterSurfaceVisible = 0;
    got = draw();
    ASSERT_EQ(got.size(), 7u + 4u);
    EXPECT_EQ(got[7], "water2.bmp 254 -0.05");
    app.gameMode = MODE_TOUR;
    app.binocularState = 0;
    EXPECT_EQ(draw().size(), 5u);
}
