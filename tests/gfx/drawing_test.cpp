// The drawing layer's transforms, text placement and geometry helpers.
#include <gtest/gtest.h>
#include <cmath>
#include "gfx/geometry.h"
#include "platform/d3dx.h"
#include "test_support.h"

TEST(Drawing, WorldTransformScalesThenTurnsThenMoves) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    g.app->SetWorldTransform(10, 0, 20, 0, 1.571, 0, 1, 1, 1);
    const plat::Matrix& w = g.Device()->State().world;
    plat::Vector3 p = plat::TransformCoord({0, 0, 1}, w);  // model +z ...
    EXPECT_NEAR(p.x, 11.0f, 1e-3);                           // ... points along world +x
    EXPECT_NEAR(p.y, 0.0f, 1e-3);
    EXPECT_NEAR(p.z, 20.0f, 1e-3);

    g.app->SetWorldTransform(0, 0, 0, 0, 0, 0, 2, 3, 4);
    p = plat::TransformCoord({1, 1, 1}, g.Device()->State().world);
    EXPECT_FLOAT_EQ(p.x, 2.0f);
    EXPECT_FLOAT_EQ(p.y, 3.0f);
    EXPECT_FLOAT_EQ(p.z, 4.0f);

    // Pitch turns +z downwards (towards -y) for a positive angle about x.
    g.app->SetWorldTransform(0, 0, 0, 1.5707963, 0, 0, 1, 1, 1);
    p = plat::TransformCoord({0, 0, 1}, g.Device()->State().world);
    EXPECT_NEAR(p.y, -1.0f, 1e-5);
}

TEST(Drawing, ViewCameraLooksFromEyeToTarget) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    g.app->SetViewCamera(100, 10, 50, 100, 10, 60, 0, 1, 0);
    plat::Vector3 p = plat::TransformCoord({100, 10, 55}, g.Device()->State().view);
    EXPECT_NEAR(p.x, 0.0f, 1e-4);
    EXPECT_NEAR(p.y, 0.0f, 1e-4);
    EXPECT_NEAR(p.z, 5.0f, 1e-4);  // straight ahead, 5 units away
    p = plat::TransformCoord({101, 10, 50}, g.Device()->State().view);
    EXPECT_NEAR(p.x, 1.0f, 1e-4);  // left-handed: +x is to the right
}

TEST(Drawing, TextPositionsInPercentWithNarrowDesktopNudge) {
    {
        HeadlessGame wide;  // desktop 1024: no nudge
        ASSERT_TRUE(wide.Start());
        wide.Device()->ClearLog();
        wide.app->DrawTextAt(5, 0, 0xFFFFFFFF, "x", 1);
        EXPECT_EQ(wide.Device()->texts.at(0).rect.left, 40);
    }
    HeadlessGame g;
    g.backend->desktopWidth = 800;
    g.app.reset();
    g.app = std::make_unique<GameApp>();
    ASSERT_TRUE(g.Start());
    plat::HeadlessDevice* d = g.Device();
    d->ClearLog();
    g.app->DrawTextAt(5, 10, 0xFFFAFAFA, "five", 1);
    g.app->DrawTextAt(10, 50, 0xFFFAFAFA, "ten", 2);
    g.app->DrawTextAt(33.3, 99.9, 0xFF141414, "odd", 3);
    // Percentages of the window's outer size, 808 x 634; the clip edge from the 800-pixel picture.
    ASSERT_EQ(d->texts.size(), 3u);
    EXPECT_EQ(d->texts[0].rect.left, 44);  // 5.5 % of 808 = 44.4
    EXPECT_EQ(d->texts[0].rect.top, 63);   // 10 % of 634 = 63.4
    EXPECT_EQ(d->texts[0].rect.right, 780);
    EXPECT_EQ(d->texts[0].rect.bottom, 113);
    EXPECT_EQ(d->texts[0].fontHeight, 16);  // 808 / 50
    EXPECT_EQ(d->texts[1].rect.left, 80);   // 10 % is not nudged: 80.8
    EXPECT_EQ(d->texts[1].rect.top, 317);
    EXPECT_EQ(d->texts[1].fontHeight, 32);  // 808 / 25
    EXPECT_EQ(d->texts[2].rect.left, 269);  // 33.3 % of 808 = 269.06
    EXPECT_EQ(d->texts[2].rect.top, 633);   // 99.9 % of 634 = 633.4
    EXPECT_EQ(d->texts[2].fontHeight, 23);  // 808 / 35
    EXPECT_EQ(d->texts[2].colour, 0xFF141414u);

    size_t calls = d->calls.size();
    g.app->DrawTextAt(5, 5, 0xFFFFFFFF, "none", 0);
    g.app->DrawTextAt(5, 5, 0xFFFFFFFF, "none", 4);
    EXPECT_EQ(d->texts.size(), 3u);
    EXPECT_EQ(d->calls.size(), calls);
}

TEST(Geometry, HeadingAndPitchQuadrantsAndDegenerateCases) {
    HeadingPitch r;
    // Identical points are nudged apart on every axis.
    HeadingAndPitchBetween(&r, 1, 1, 1, 1, 1, 1);
    EXPECT_NEAR(r.heading, 1.571 - std::atan(1.0), 1e-6);
    EXPECT_NEAR(r.pitch, 1.5708 + std::asin(1 / std::sqrt(3.0)) + 4.7124, 1e-4);
    // Near-axis headings.
    HeadingAndPitchBetween(&r, 0, 0, 0, 0, 0, 5);  // +z
    EXPECT_GT(r.heading, 0.0);
    EXPECT_LT(r.heading, 0.01);
    HeadingAndPitchBetween(&r, 0, 0, 0, 5, 0, 0);  // +x
    EXPECT_LT(r.heading, 1.571);
    EXPECT_GT(r.heading, 1.56);
    HeadingAndPitchBetween(&r, 0, 0, 0, 0, 0, -5);  // -z
    EXPECT_LT(r.heading, 3.142);
    EXPECT_GT(r.heading, 3.13);
    HeadingAndPitchBetween(&r, 0, 0, 0, -5, 0, 0);  // -x
    EXPECT_GT(r.heading, 4.712);
    EXPECT_LT(r.heading, 4.72);
    // 3 below at a horizontal distance of 4.
    HeadingAndPitchBetween(&r, 0, 3, 0, 4, 0, 0);
    EXPECT_NEAR(r.pitch, 6.2832 - std::asin(0.6), 1e-4);
    // Straight down stays finite; far from the origin the heading is still defined.
    HeadingAndPitchBetween(&r, 0, 0, 0, 0, -3, 0);
    EXPECT_TRUE(std::isfinite(r.heading) && std::isfinite(r.pitch));
    HeadingAndPitchBetween(&r, 3000, 0, 3000, 3000, 0, 3000);
    EXPECT_TRUE(std::isfinite(r.heading));
    EXPECT_GE(r.heading, 0.0);
    EXPECT_LE(r.heading, 6.284);
}

TEST(Geometry, DistancesAndNormals) {
    EXPECT_DOUBLE_EQ(Distance3D(0, -2, 0, 0, 1.5, 0), 3.5);
    EXPECT_DOUBLE_EQ(Distance2D(0, 0, 3, 4), 5.0);
    plat::Vector3 a{0, 0, 0}, b{0, 0, 1}, c{1, 0, 0}, n;
    TriangleNormal(&n, &a, &b, &c);
    EXPECT_FLOAT_EQ(n.y, 1.0f);  // clockwise seen from above faces up
    MeshVertex q[4] = {};
    q[2].x = 1;  // a and b coincide
    q[0].nx = q[1].nx = q[2].nx = q[3].nx = 7;
    FlatShadeQuad(&q[0], &q[1], &q[2], &q[3]);
    for (const MeshVertex& v : q) {
        EXPECT_EQ(v.nx, 0.0f);
        EXPECT_EQ(v.ny, 0.0f);
        EXPECT_EQ(v.nz, 0.0f);
    }
}
