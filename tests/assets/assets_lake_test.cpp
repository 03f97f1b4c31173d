// The generated lake model: file format, grid layout, heights, objects, and the water and land the
// game's fixed coordinates rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "assets_files.h"
#include "assets_rules.h"
#include "world/lake_view.h"
#include "platform/system.h"

using namespace assets;

namespace {

TEST(LakeModel, CellsFollowTheGridLayoutAndCornerOrder) {
    const Lake& l = TheLake();
    ASSERT_EQ(l.error, "");
    for (int i = 0; i < 10000; ++i) {
        int row = i / 100, col = i % 100;
        float W = 2.0f * col, E = W + 2, N = 200.0f - 2 * row, S = N - 2;
        const TerrainCell& c = l.cells[i];
        bool even = (row + col) % 2 == 0;
        float ex[4] = {W, W, E, E}, ez[4] = {S, N, S, N};
        float ox[4] = {E, W, E, W}, oz[4] = {S, S, N, N};
        for (int k = 0; k < 4; ++k) {
            ASSERT_EQ(c.x[k], even ? ex[k] : ox[k]) << "cell " << i << " corner " << k;
            ASSERT_EQ(c.z[k], even ? ez[k] : oz[k]) << "cell " << i << " corner " << k;
        }
        ASSERT_GE(c.groundTexture, 44) << "cell " << i;
        ASSERT_LE(c.groundTexture, 57) << "cell " << i;
    }
}

TEST(LakeModel, HeightsAreOneCrackFreeField) {
    const Lake& l = TheLake();
    ASSERT_EQ(l.error, "");
    std::vector<float> vertex(101 * 101, NAN);  // the grid's corners, by x / 2 and z / 2
    for (const TerrainCell& c : l.cells)
        for (int k = 0; k < 4; ++k) {
            ASSERT_GE(c.y[k], -4.2f);
            ASSERT_LE(c.y[k], 5.0f);
            float& v = vertex[static_cast<int>(c.z[k]) / 2 * 101 + static_cast<int>(c.x[k]) / 2];
            if (std::isnan(v)) v = c.y[k];
            ASSERT_EQ(v, c.y[k]) << "crack at (" << c.x[k] << ", " << c.z[k] << ")";
        }
    for (float v : vertex) ASSERT_FALSE(std::isnan(v));
}

TEST(LakeModel, BillboardsItemsAndSpawnsAreValid) {
    const Lake& l = TheLake();
    ASSERT_EQ(l.error, "");
    int active = 0;
    for (const Billboard& b : l.billboards) {
        if (!b.active) continue;  // kinds, flags and spawn types are checked by the game's reader
        ++active;
        EXPECT_GT(b.size, 0);
        EXPECT_TRUE(b.x > 1 && b.x < 199 && b.z > 1 && b.z < 199);
        int c = CellAt(b.x, b.z);
        ASSERT_GE(c, 0);
        float mn = l.cells[c].y[0];
        for (float y : l.cells[c].y) mn = std::min(mn, y);
        if (mn >= 0) {  // land sprite: foot on the ground
            EXPECT_GE(b.y, mn - 0.5f);
            EXPECT_LE(b.y, l.Max(c) + 0.1f);
        } else {
            EXPECT_LE(b.y, 0.1f);  // margin plant: foot at or under the water
        }
    }
    EXPECT_GT(active, 500);
    for (const SceneryItem& it : l.items) {
        if (!it.active) continue;
        EXPECT_GT(it.size, 0);
        EXPECT_GE(it.heading, 0);
        EXPECT_LT(it.heading, 6.284f);
        int c = CellAt(it.x, it.z);
        ASSERT_GE(c, 0);
        if (it.type >= 7) {
            EXPECT_LE(l.Max(c), -0.25f) << "lily bed on land at " << it.x << ", " << it.z;
        }
        if (it.type >= 4 && it.type <= 6) {
            EXPECT_LT(l.Max(c), 0.0f) << "snag on land";
        }
        if (it.type == 1) {
            EXPECT_GE(l.Mean(c), -0.3f) << "platform in the water";
        }
    }
    for (const LakeModel::SwarmSpawn& s : l.swarms) {
        EXPECT_GE(s.y, 0);
        EXPECT_LE(s.y, 3);
    }
    for (const LakeModel::PointSpawn& s : l.bubbleSpots) {
        int c = CellAt(s.x, s.z);
        ASSERT_GE(c, 0);
        EXPECT_LT(s.y, -0.2f) << "a bubble spot above -0.2 floods the ring pool";
        EXPECT_GE(s.y, l.Mean(c) - 0.1f);
        EXPECT_LE(l.Max(c), -0.5f);
    }
    for (const LakeModel::PointSpawn& s : l.dragonflies) {
        EXPECT_GE(s.y, 0.2f);
        EXPECT_LE(s.y, 4.0f);
    }
    EXPECT_FALSE(l.swarms.empty());
    EXPECT_FALSE(l.bubbleSpots.empty());
    EXPECT_LE(l.bubbleSpots.size(), 200u);
    EXPECT_FALSE(l.dragonflies.empty());
}

TEST(LakeModel, LandStaysLowAndWaterKeepsOffTheGridEdges) {
    const Lake& l = TheLake();
    ASSERT_EQ(l.error, "");
    for (int i = 0; i < 10000; ++i) {
        const TerrainCell& c = l.cells[i];
        float cx = (c.x[0] + c.x[1] + c.x[2] + c.x[3]) / 4, cz = (c.z[0] + c.z[1] + c.z[2] + c.z[3]) / 4;
        if (InsideBankQuad(cx, cz) && BankLineDistance(cx, cz) > 1.5) {
            EXPECT_LE(l.Mean(i), 1.0f) << "cell " << i;
        }
        bool nearEdge = cx < 6 || cz < 6 || cx > 194 || cz > 194;
        if (nearEdge) {
            EXPECT_GE(l.Max(i), 0.0f) << "water at the grid edge, cell " << i;
        }
    }
}

// Feed spots, aerators and the hut in the water, all in one body of water deeper than 0.6.
TEST(LakeModel, FixedPlacesOfTheGameAreInDeepWaterOfOneBody) {
    const Lake& l = TheLake();
    ASSERT_EQ(l.error, "");
    std::vector<char> wet(10000, 0);
    std::vector<int> stack{CellAt(105, 95)};
    while (!stack.empty()) {
        const int c = stack.back();
        stack.pop_back();
        if (c < 0 || wet[c] || l.Max(c) > -0.6f) continue;
        wet[c] = 1;
        const int row = c / 100, col = c % 100;
        stack.insert(stack.end(), {row > 0 ? c - 100 : -1, row < 99 ? c + 100 : -1, col > 0 ? c - 1 : -1, col < 99 ? c + 1 : -1});
    }
    const double feed[6][2] = {{121, 142}, {145, 125}, {105, 95}, {120, 85}, {85, 66}, {100, 46}};
    for (auto& f : feed) {
        EXPECT_LE(l.Mean(CellAt(f[0], f[1])), -1.5f) << "feed spot " << f[0] << ", " << f[1];
        EXPECT_TRUE(wet[CellAt(f[0], f[1])]) << "feed spot " << f[0] << ", " << f[1];
        for (double dx = -5; dx <= 5; dx += 1)
            for (double dz = -5; dz <= 5; dz += 1)
                if (dx * dx + dz * dz <= 25) {
                    EXPECT_LE(l.Max(CellAt(f[0] + dx, f[1] + dz)), -0.5f);
                }
    }
    const double aerators[3][2] = {{130, 136}, {114, 90}, {94, 58}}, hut[3][2] = {{25, 24}, {23, 21}, {27, 27}};
    for (auto& a : aerators) {
        EXPECT_LE(l.Max(CellAt(a[0], a[1])), -1.3f) << "aerator " << a[0] << ", " << a[1];
        EXPECT_TRUE(wet[CellAt(a[0], a[1])]) << "aerator " << a[0] << ", " << a[1];
    }
    for (double x = 22; x <= 28; x += 1)
        for (double z = 20; z <= 28; z += 1) EXPECT_LE(l.Max(CellAt(x, z)), -1.0f) << "hut at " << x << ", " << z;
    for (auto& h : hut) EXPECT_TRUE(wet[CellAt(h[0], h[1])]) << "hut at " << h[0] << ", " << h[1];
}

// Samples ±3 units either side of a path of legs every unit.
template <typename F>
void AlongLegs(const std::vector<std::pair<double, double>>& p, F f) {
    for (size_t i = 0; i + 1 < p.size(); ++i) {
        double dx = p[i + 1].first - p[i].first, dz = p[i + 1].second - p[i].second, len = std::sqrt(dx * dx + dz * dz);
        for (double t = 0; t <= len; t += 1)
            for (double o = -3; o <= 3; o += 1) f(p[i].first + dx / len * t - dz / len * o, p[i].second + dz / len * t + dx / len * o);
    }
}

TEST(LakeModel, TourLegsHaveWaterBelowAndClearAirAbove) {
    const Lake& l = TheLake();
    ASSERT_EQ(l.error, "");
    AlongLegs({{140, 170}, {100, 110}, {130, 70}, {90, 25}}, [&](double x, double z) {
        EXPECT_LE(l.Max(CellAt(x, z)), -0.6f) << "under-water leg too shallow at " << x << ", " << z;
    });
    auto above = [&](double x, double z) {
        const int c = CellAt(x, z);
        if (c >= 0) {
            EXPECT_LE(l.Max(c), 2.0f) << "tour flies into the ground at " << x << ", " << z;
        }
    };
    AlongLegs({{60, 0}, {80, 40}, {115, 100}, {160, 165}, {140, 170}}, above);
    AlongLegs({{90, 25}, {40, 20}, {80, 40}}, above);
}

TEST(LakeModel, FishPlacementFindsDeepWaterForAllFish) {
    const Lake& l = TheLake();
    ASSERT_EQ(l.error, "");
    int deep = 0, total = 0;
    for (int x = 6; x <= 196; x += 2)
        for (int z = 6; z <= 196; z += 2) {
            ++total;
            if (l.Mean((200 - z) * 50 + x / 2) < -1.5f && std::hypot(x - 25.0, z - 24.0) > 7) ++deep;
        }
    EXPECT_GE(deep * 100, total * 15);
    // The game's placement finds water for every fish, for several seeds.
    struct View : LakeView {
        const Lake& lake;
        explicit View(const Lake& l) : lake(l) {}
        bool CellHeights(double x, double z, float h[4]) const override {
            const int c = CellAt(x, z);
            if (c >= 0) std::copy(lake.cells[c].y, lake.cells[c].y + 4, h);
            return c >= 0;
        }
        bool Billboard(int32_t, double*, double*, int32_t*) const override { return false; }
    } view(l);
    for (uint32_t seed : {1u, 2u, 12345u, 987654321u}) {
        plat::GameSrand(seed);
        for (int fish = 0; fish < 75; ++fish) {
            FishPlacement p{};
            ASSERT_TRUE(PlaceFish(view, &p)) << "seed " << seed;
        }
    }
}

}  // namespace
