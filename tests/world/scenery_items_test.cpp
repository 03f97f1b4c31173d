// Scenery items: the meshes, ranges, textures and placements of each kind, and the heading kept in
// its turn.
#include <gtest/gtest.h>
#include <cmath>
#include <string>
#include <vector>
#include "map_fixture.h"

using mapfix::MapGame;

namespace {

struct Drawn {
    const plat::VertexBuffer* buffer;
    plat::PrimitiveType type;
    uint32_t start, count;
    std::string file;
    float x, y, z;
};

// Draws item 0 as given and returns what reached the device.
std::vector<Drawn> DrawItem(MapGame& g, const SceneryItem& item) {
    *g.App().sceneryItems[0] = item;
    g.Device()->ClearLog();
    g.App().DrawSceneryItem(0);
    std::vector<Drawn> out;
    for (const plat::DrawRecord& d : g.Device()->draws)
        out.push_back({d.buffer, d.type, d.startVertex, d.primitiveCount, FileOf(d), d.world.m[3][0], d.world.m[3][1],
                       d.world.m[3][2]});
    return out;
}

SceneryItem Item(int32_t type, float x, float y, float z, float size, float heading) {
    SceneryItem item;
    item.x = x;
    item.y = y;
    item.z = z;
    item.size = size;
    item.heading = heading;
    item.type = type;
    item.active = 1;
    return item;
}

}  // namespace

TEST(SceneryItems, PlatformBoardsAndDeckWhoseHeightDependsOnTheScreen) {
    MapGame g;
    GameApp& app = g.App();
    const std::vector<Drawn> map = DrawItem(g, Item(1, 50, -0.5f, 60, 1, 0));
    ASSERT_EQ(map.size(), 25u);
    for (int i = 0; i < 24; ++i) {  // four boards of six faces
        EXPECT_EQ(map[i].buffer, app.cubeMesh);
        EXPECT_EQ(map[i].start, 4u * (i % 6));
        EXPECT_FLOAT_EQ(map[i].y, -0.2f);
    }
    EXPECT_NEAR(map[0].x, 50 - 3, 1e-3);  // board 1 at heading - 1.571, 3 out
    EXPECT_NEAR(map[6].z, 60 + 3.1, 1e-3);
    EXPECT_EQ(map[24].buffer, app.decalQuadUpMesh);
    EXPECT_EQ(map[24].file, "gravel.bmp");
    EXPECT_FLOAT_EQ(map[24].y, 1.0f);
    EXPECT_EQ(g.Device()->State().texture, nullptr);

    app.gameMode = MODE_FISHING;
    const std::vector<Drawn> lake = DrawItem(g, Item(1, 50, -0.5f, 60, 1, 0));
    ASSERT_EQ(lake.size(), 25u);
    EXPECT_FLOAT_EQ(lake[24].y, 0.4f);
}

TEST(SceneryItems, PlanksSnagsAndLilyBeds) {
    MapGame g;
    GameApp& app = g.App();
    EXPECT_FLOAT_EQ(DrawItem(g, Item(2, 10, 1, 20, 2, 0)).at(5).y, 1.3f);  // an upright plank
    const std::vector<Drawn> flat = DrawItem(g, Item(3, 10, 1, 20, 2, 0));
    ASSERT_EQ(flat.size(), 6u);
    EXPECT_EQ(flat[2].file, "wood2.bmp");
    EXPECT_FLOAT_EQ(flat[0].y, 1.1f);

    // Snags: untextured column sides (16-triangle strips), some with their 8-triangle caps.
    const size_t expected[3] = {2, 7, 11};
    for (int type = 4; type <= 6; ++type) {
        const std::vector<Drawn> snag = DrawItem(g, Item(type, 10, 0, 20, 5, 1));
        ASSERT_EQ(snag.size(), expected[type - 4]) << type;
        for (const Drawn& d : snag) {
            EXPECT_EQ(d.buffer, app.taperedColumnMesh);
            EXPECT_EQ(d.file, "");
            const bool side = d.type == plat::PT_TRIANGLESTRIP && d.start == 0 && d.count == 16;
            const bool cap = d.type == plat::PT_TRIANGLEFAN && d.start == 18 && d.count == 8;
            EXPECT_TRUE(side || cap);
        }
    }

    // Lily beds lie on the water whatever their height, seen from above and from below.
    const std::vector<Drawn> lilies = DrawItem(g, Item(7, 30, -0.6f, 40, 3, 0));
    ASSERT_EQ(lilies.size(), 2u);
    EXPECT_EQ(lilies[0].buffer, app.decalQuadUpMesh);
    EXPECT_EQ(lilies[1].buffer, app.decalQuadDownMesh);
    EXPECT_FLOAT_EQ(lilies[0].y, 0.1f);
    const std::vector<Drawn> lilies2 = DrawItem(g, Item(8, 30, -0.6f, 40, 3, 0));
    ASSERT_EQ(lilies2.size(), 2u);
    EXPECT_EQ(lilies2[0].file, "lillys2.bmp");
    EXPECT_EQ(lilies2[1].file, "lillys3.bmp");

    EXPECT_TRUE(DrawItem(g, Item(9, 30, 0, 40, 3, 0)).empty());
    EXPECT_TRUE(DrawItem(g, Item(0, 30, 0, 40, 3, 0)).empty());
}

TEST(SceneryItems, HeadingIsBroughtIntoTheTurnAndKept) {
    MapGame g;
    GameApp& app = g.App();
    DrawItem(g, Item(7, 30, 0, 40, 3, 7.0f));
    EXPECT_EQ(app.sceneryItems[0]->heading, 7.0f - 6.284f);
    EXPECT_NEAR(app.sceneryItems[0]->heading, 0.716f, 1e-5);
    DrawItem(g, Item(7, 30, 0, 40, 3, -0.5f));
    EXPECT_NEAR(app.sceneryItems[0]->heading, 5.784f, 1e-5);
    // A lily bed turned by 0.716 has its model x axis turned by that much.
    DrawItem(g, Item(7, 30, 0, 40, 1, 7.0f));
    EXPECT_NEAR(g.Device()->draws[0].world.m[0][0], std::cos(0.716f), 1e-5);
}

TEST(SceneryItems, TheMapDrawsActiveItemsOnly) {
    MapGame g;
    GameApp& app = g.App();
    *app.sceneryItems[4] = Item(7, 30, 0, 40, 3, 0);
    *app.sceneryItems[9] = Item(8, 60, 0, 40, 3, 0);
    app.sceneryItems[9]->active = 0;
    g.Draw(400, 300);
    EXPECT_EQ(g.DrawsOf("lillys.bmp").size(), 2u);
    EXPECT_TRUE(g.DrawsOf("lillys2.bmp").empty());
}
