// The map screen's drawing: panel, swim signs and their pulse, cursor cell and read-out, icons,
// texts per tackle state, the orbit view, the first frame's lake preparation and the panel's order.
#include <gtest/gtest.h>
#include <cmath>
#include <string>
#include "map_fixture.h"
#include <algorithm>
#include <vector>

using mapfix::Left;
using mapfix::MapGame;
using mapfix::Top;

namespace {

constexpr uint32_t DARK = 0xff141414u;
constexpr uint32_t LIGHT = 0xfffafafau;

bool Translated(const plat::DrawRecord& d, double x, double y, double z) {
    return std::fabs(d.world.m[3][0] - x) < 1e-3 && std::fabs(d.world.m[3][1] - y) < 1e-3 &&
           std::fabs(d.world.m[3][2] - z) < 1e-3;
}

// Checks that `text` was drawn once at (x %, y %) in this colour with font 1.
void ExpectText(MapGame& g, const std::string& text, double x, double y, uint32_t colour = DARK) {
    const plat::TextRecord* t = g.Text(text);
    ASSERT_NE(t, nullptr) << '"' << text << '"';
    EXPECT_EQ(t->rect.left, Left(x)) << text;
    EXPECT_EQ(t->rect.top, Top(y)) << text;
    EXPECT_EQ(t->colour, colour) << text;
    EXPECT_EQ(t->fontHeight, 16) << text;
}

}  // namespace

TEST(MapScreen, TextsFollowTheTackle) {
    MapGame g;
    GameApp& app = g.App();
    g.Draw(400, 300);
    ExpectText(g, "10 lb", 22.5, 87.0);
    ExpectText(g, "2 oz", 38.5, 87.0);
    ExpectText(g, "size 8", 53.8, 87.0);
    ExpectText(g, "Semi fixed", 1.1, 54.0);
    ExpectText(g, "A medium reel coupled with a medium action rod. ", 31.0, 1.0);
    ExpectText(g, "10lb mainline, a 2oz semi fixed lead ,a 10lb hooklength and a size 8 hook.", 31.0, 3.5);
    ExpectText(g, "Your hook bait is fruity boilies and your groundbait is fishmeal groundbait.", 31.0, 6.0);
    ExpectText(g, "Harrowmere's Wendlow Lake", 28.0, 15.0, LIGHT);
    EXPECT_EQ(app.dragBase, 5 + 4);

    // The chod rig lists hooklength, hook, main line and lead from left to right.
    app.method = 3;
    app.hooklengthLb = 14;
    app.mainlineLb = 13;
    app.leadOz = 3;
    app.rodReel = 4;
    app.hookBait = 6;
    app.groundbait = 3;
    g.Draw(400, 300);
    ExpectText(g, "14 lb", 22.5, 87.0);
    ExpectText(g, "size 8", 36.0, 87.0);
    ExpectText(g, "13 lb", 48.0, 87.0);
    ExpectText(g, "3 oz", 55.0, 87.0);
    ExpectText(g, "13lb mainline, a 3oz semi fixed lead ,a 14lb hooklength and a size 8 hook.", 31.0, 3.5);
    ExpectText(g, "Your hook bait is soft pellets and your groundbait is hemp seed.", 31.0, 6.0);
    EXPECT_EQ(app.dragBase, 6 + 8);
    // Soft pellets show the tigers picture.
    const auto tigers = g.DrawsOf("tigers.bmp");
    ASSERT_EQ(tigers.size(), 2u);  // the current bait and its choice button
    EXPECT_TRUE(Translated(*tigers[0], 105.0, 340.0, 95.0));

    // The waggler: shot and depth; a capital X in the sentence unless set shallow.
    app.method = 5;
    app.wagglerShot = 4;
    app.floatDepth = 4;
    app.hookSize = 6;
    g.Draw(400, 300);
    ExpectText(g, "4 x AAA", 36.5, 87.0);
    ExpectText(g, "13lb mainline, a 4 X AAA waggler set over depth and a size  6 hook.", 31.0, 3.5);
    app.floatDepth = 1;
    app.wagglerShot = 1;
    g.Draw(400, 300);
    ExpectText(g, "13lb mainline, a 1 x BB waggler set shallow and a size  6 hook.", 31.0, 3.5);

    app.method = 6;
    app.controllerOz = 1.5;
    g.Draw(400, 300);
    ExpectText(g, "1.5 oz", 37.8, 87.0);
    ExpectText(g, "13lb mainline, a 1.5oz surface controller ,a 14lb hooklength and a size 6 hook.", 31.0, 3.5);

    app.method = 7;
    g.Draw(400, 300);
    ExpectText(g, "13lb mainline and a size 6 hook.", 31.0, 3.5);
    EXPECT_EQ(g.Text("14 lb"), nullptr);  // no hooklength on a free line
}

TEST(MapScreen, PanelPicturesStayUnderTheEyeAndSignsPulse) {
    MapGame g;
    GameApp& app = g.App();
    app.currentSwim = 2;
    app.eyeY = 200;
    app.eyeX = 0;      // clamped to the grid
    app.eyeZ = 250;
    g.Draw(400, 300, 0);
    EXPECT_EQ(app.eyeX, 2);
    EXPECT_EQ(app.eyeZ, 198);
    int panel = 0, signs = 0;
    for (const plat::DrawRecord& d : g.Device()->draws) {
        if (d.buffer != app.decalQuadUpMesh) continue;
        if (std::fabs(d.world.m[3][1] - 190.0f) < 1e-4f) ++panel;
        if (std::fabs(d.world.m[3][1] - 5.0f) < 1e-4f) ++signs;
        EXPECT_TRUE(d.alphaBlend && d.alphaTest);
    }
    EXPECT_EQ(panel, 45);
    EXPECT_EQ(signs, 9);
    // After one frame the pulse is 3: the current swim's sign grows by 3 / 15 at zoom height 200.
    const auto one = g.DrawsOf("one.bmp"), two = g.DrawsOf("two.bmp");
    ASSERT_EQ(one.size(), 1u);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_TRUE(Translated(*one[0], 20, 5, 40));
    EXPECT_FLOAT_EQ(one[0]->world.m[0][0], 1.7f);
    EXPECT_FLOAT_EQ(two[0]->world.m[0][0], 1.7f + 3.0f / 15.0f);
    EXPECT_TRUE(Translated(*two[1], 2 - 5.07, 190, 198 + 0.02));  // on the panel
    EXPECT_FLOAT_EQ(two[1]->world.m[0][0], 0.1f + 3.0f / 500.0f);

    const double pulses[] = {6, 9, 12, 9, 6, 3, 0, 0, 3, 6};
    for (double p : pulses) {
        g.Draw(400, 300);
        EXPECT_EQ(app.swimMarkerPulse, p);
    }
}

// The cursor in screen pixels (one less than the pointer's position from the window's outer corner);
// the middle of the 808 x 634 window is (404, 317). At zoom height 350 a column is 1405 / 350 and a
// row 1400 / 350 = 4 pixels.
TEST(MapScreen, CursorCellReadOutAndTheGapInTheTerrain) {
    MapGame g;
    GameApp& app = g.App();
    TerrainCellTable& cells = *app.terrainCells;
    g.Draw(404, 317);  // the middle of the window at zoom height 350, centred on (100, 92)
    EXPECT_EQ(app.mapCursorColumn, 51);
    EXPECT_EQ(app.mapCursorRow, 51);
    EXPECT_EQ(app.hoveredCell, 5050);
    int cellsDrawn = 0;
    for (const plat::DrawRecord& d : g.Device()->draws) {
        if (d.buffer == app.cellVertexBuffers[5050]) ADD_FAILURE() << "the hovered cell is drawn";
        for (int i : {0, 5049, 5051}) cellsDrawn += d.buffer == app.cellVertexBuffers[i];
    }
    EXPECT_EQ(cellsDrawn, 3);
    // Not right of or below the middle: 20 right of and 20 above the cursor, at (424, 297).
    ExpectText(g, "height = 0.0", 424 / 8.08, 297 / 6.34, LIGHT);

    for (float& y : cells[5050].y) y = -1.0f;
    g.Draw(404, 317);
    ExpectText(g, "depth = 3.1", 424 / 8.08, 297 / 6.34, LIGHT);
    // The product rounded once: -3.5 x 3.1 = -10.85 reads 10.9 (the generated lake has ten such cells).
    for (float& y : cells[app.hoveredCell].y) y = -3.5f;
    g.Draw(404, 317);
    EXPECT_NE(g.Text("depth = 10.9"), nullptr);
    for (float& y : cells[app.hoveredCell].y) y = -1.0f;
    g.Draw(405, 318);  // one pixel right of and below the middle: 70 left of and 50 above the cursor
    ExpectText(g, "depth = 3.1", 335 / 8.08, 268 / 6.34, LIGHT);
    g.Draw(564, 477);  // 160 right of and below the middle: 39 columns and 40 rows on
    EXPECT_EQ(app.hoveredCell, 90 * 100 + 89);
    ExpectText(g, "height = 0.0", 494 / 8.08, 427 / 6.34, LIGHT);
    g.Draw(404, 317, 0);  // off the map rectangle: no read-out and no gap
    EXPECT_EQ(g.Text("depth = 3.1"), nullptr);

    g.Draw(203, 117);  // row 1, column 1: cell 0 has never shown a read-out
    EXPECT_EQ(app.hoveredCell, 0);
    EXPECT_EQ(g.Text("height = 0.0"), nullptr);
    g.Draw(207, 117);
    EXPECT_EQ(app.hoveredCell, 1);
    EXPECT_NE(g.Text("height = 0.0"), nullptr);
    g.Draw(10, 317);  // left of the grid
    EXPECT_EQ(app.hoveredCell, 10000);

    // Panning moves the cell under a still cursor: east by columns, north by rows counted downwards.
    app.eyeX = 110;
    g.Draw(404, 317);
    EXPECT_EQ(app.mapCursorColumn, 56);
    EXPECT_EQ(app.mapCursorRow, 51);
    app.eyeX = 100;
    app.eyeZ = 102;
    g.Draw(404, 317);
    EXPECT_EQ(app.mapCursorColumn, 51);
    EXPECT_EQ(app.mapCursorRow, 46);
    app.eyeZ = 80;
    g.Draw(404, 317);
    EXPECT_EQ(app.mapCursorRow, 57);
}

TEST(MapScreen, BillboardIconsInsideTheGridOnly) {
    MapGame g;
    GameApp& app = g.App();
    *app.billboards[1] = {50, 0.5f, 60, 2, 1, 0.0, 4};
    *app.billboards[2] = {199, 0, 60, 1, 1, 0.0, 1};   // on the edge: no icon
    *app.billboards[3] = {80, 0, 80, 1, 1, 0.0, 15};   // no such kind
    *app.billboards[4] = {70, 0, 70, 3, 0, 0.0, 11};   // inactive
    *app.billboards[5] = {90, 1, 90, 3, 1, 0.0, 12};
    g.Draw(400, 300);
    const auto decal4 = g.DrawsOf("decal4.bmp"), decal11 = g.DrawsOf("decal11.bmp");
    ASSERT_EQ(decal4.size(), 1u);
    EXPECT_TRUE(Translated(*decal4[0], 50, 2.5, 60));
    EXPECT_FLOAT_EQ(decal4[0]->world.m[0][0], 4.0f);
    ASSERT_EQ(decal11.size(), 1u);
    EXPECT_FLOAT_EQ(decal11[0]->world.m[2][2], 1.5f);
    EXPECT_TRUE(g.DrawsOf("decal1.bmp").empty());
    EXPECT_TRUE(g.DrawsOf("decal6.bmp").empty());
}

TEST(MapScreen, OrbitViewDrawsOnlyTheWireframeTerrainAndItsHelp) {
    MapGame g;
    GameApp& app = g.App();
    g.Draw(400, 300);
    const double drag = app.dragBase, pulse = app.swimMarkerPulse;
    app.orbitView = 1;
    app.orbitAngle = 0;
    app.orbitZoom = 8;
    app.mainlineLb = 16;
    for (float& y : app.terrainCells->cells[5050]->y) y = -1.0f;
    g.Draw(400, 300);
    EXPECT_EQ(app.orbitEyeX, 115);
    EXPECT_EQ(app.orbitEyeZ, 290);
    EXPECT_EQ(app.hoveredCell, 10000);
    EXPECT_EQ(app.dragBase, drag);
    EXPECT_EQ(app.swimMarkerPulse, pulse);
    int cells = 0;
    for (const plat::DrawRecord& d : g.Device()->draws) {
        EXPECT_NE(d.buffer, app.decalQuadUpMesh);
        EXPECT_EQ(d.fillMode, plat::FILL_WIREFRAME);
        ++cells;
    }
    EXPECT_EQ(cells, 10000);  // no gap under the cursor
    ASSERT_EQ(g.Device()->texts.size(), 4u);
    ExpectText(g, "Use the arrow keys to move", 38.5, 9.0, LIGHT);
    const plat::TextRecord* play = g.Text("Click here to play");
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->fontHeight, 32);
    // Field of view pi / 8: the projection's y scale is 1 / tan(pi / 16).
    EXPECT_NEAR(g.Device()->State().projection.m[1][1], 1.0 / std::tan(3.1415927 / 16), 1e-4);
    EXPECT_FALSE(g.Device()->State().renderState[plat::RS_ALPHABLENDENABLE]);
}

TEST(MapScreen, FirstFrameThatCannotPrepareTheLakeDrawsNothing) {
    MapGame g;  // its folder holds no lake model
    GameApp& app = g.App();
    app.lakeInitialised = 0;
    g.Draw(400, 300);
    EXPECT_TRUE(app.IsCloseRequested());
    EXPECT_TRUE(g.Device()->draws.empty());
    EXPECT_TRUE(g.Device()->texts.empty());
}

// ---- the panel's drawing order ----

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
