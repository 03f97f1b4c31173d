// Map screen details found in review: the panel's drawing order.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "map_fixture.h"

using mapfix::MapGame;

// The hook-bait choices go down the left column (1..6) and then down the right one (8..13).
TEST(MapRules, HookBaitChoicesDrawLeftColumnThenRightColumn) {
    MapGame g;
    GameApp& app = g.App();
    app.hookBait = 13;  // the current bait's picture is bread, drawn before the choices
    g.Draw(400, 300, 0);
    const std::vector<std::string> baits = {"boilie1.bmp", "boilie2.bmp", "popup1.bmp", "popup2.bmp",
                                            "pellets.bmp", "tigers.bmp",  "meat.bmp",   "corn.bmp",
                                            "maggot.bmp",  "casters.bmp", "worms.bmp",  "bread.bmp"};
    std::vector<std::string> order;
    std::vector<float> columns;
    for (const plat::DrawRecord& d : g.Device()->draws) {
        const std::string file = FileOf(d);
        if (std::find(baits.begin(), baits.end(), file) == baits.end()) continue;
        if (d.world.m[0][0] > 0.2f) continue;  // the current bait's picture
        order.push_back(file);
        columns.push_back(d.world.m[3][0] - 100.0f);
    }
    EXPECT_EQ(order, baits);
    ASSERT_EQ(columns.size(), 12u);
    for (size_t i = 0; i < 12; ++i) EXPECT_NEAR(columns[i], i < 6 ? 4.8f : 5.2f, 1e-4f) << order[i];
}
