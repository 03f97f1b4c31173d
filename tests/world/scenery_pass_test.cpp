// The scenery-and-wildlife pass on the headless backend: the order of its phases, the billboards'
// detail by distance in both programs, the binocular rules, the frozen photo album, sprites
// facing the eye, the aerators' spray, the lake world's order per screen and bad model values.
#include <gtest/gtest.h>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include "common/single_precision.h"
#include "lake_fixture.h"
#include "rand_script.h"

namespace {

// A started game with every texture slot filled by a stand-in named after its file, every pool
// idle, no item or billboard in use and the eye at (100, 2, 100).
class PassGame {
public:
    PassGame() {
        EXPECT_TRUE(game.Start());
        standIns = std::make_unique<lakefix::WorldStandIns>(App());
        standIns->FillEverySlot();
        GameApp& a = App();
        for (Billboard* b : a.billboards) *b = Billboard{};
        for (SceneryItem* s : a.sceneryItems) *s = SceneryItem{};
        for (InsectSwarm* s : a.insectSwarms) s->active = 0;
        for (BubbleSpot* s : a.bubbleSpots) s->active = 0;
        for (Dragonfly* d : a.dragonflies) d->active = 0;
        for (RippleRing* r : a.rippleRings) r->active = 0;
        for (Wake* w : a.wakes) w->active = 0;
        for (FeedingBubble* f : a.feedingBubbles) f->active = 0;
        a.gameMode = MODE_FISHING;
        a.eyeX = 100;
        a.eyeY = 2;
        a.eyeZ = 100;
    }
    GameApp& App() { return *game.app; }

    // Runs the pass once and returns the texture files of its draws, in order.
    std::vector<std::string> Pass() {
        game.Device()->ClearLog();
        App().DrawSceneryAndWildlife();
        std::vector<std::string> files;
        for (const plat::DrawRecord& d : game.Device()->draws) files.push_back(FileOf(d));
        return files;
    }
    // Draws per texture file of one pass.
    std::map<std::string, int> Count() {
        std::map<std::string, int> n;
        for (const std::string& f : Pass()) ++n[f];
        return n;
    }
    // Billboard n, active, of `type` at horizontal distance `d` east of the eye.
    Billboard& PutBillboard(int n, int32_t type, double d, float size = 2) {
        Billboard& b = *App().billboards[n];
        b = Billboard{};
        b.active = 1;
        b.type = type;
        b.x = static_cast<float>(App().eyeX + d);
        b.z = static_cast<float>(App().eyeZ);
        b.size = size;
        return b;
    }
    const std::vector<plat::DrawRecord>& Draws() { return game.Device()->draws; }
    // The gulls make no step (and no random draw) until the clock moves on.
    void HoldGulls() {
        for (Gull* gull : App().gulls) gull->lastTick = plat::GetTickCount();
    }

    HeadlessGame game;
    std::unique_ptr<lakefix::WorldStandIns> standIns;  // goes before the game
};

// The facing the pass gives a sprite at (x, z) towards the eye.
double FacingTo(double x, double z, const GameApp& app) {
    HeadingPitch h;
    HeadingAndPitchBetween(&h, x, 0, z, app.eyeX, app.eyeY, app.eyeZ);
    return F32(h.heading + 3.142);
}

int CountOf(const std::vector<std::string>& files, const std::string& file) {
    int n = 0;
    for (const std::string& f : files) n += f == file;
    return n;
}

size_t FirstOf(const std::vector<std::string>& files, const std::string& file) {
    for (size_t i = 0; i < files.size(); ++i)
        if (files[i] == file) return i;
    return files.size();
}

}  // namespace

TEST(SceneryPass, PhasesRunInOrderAndTheLiteProgramSkipsItsFourKinds) {
    PassGame g;
    GameApp& app = g.App();
    app.insectSwarms[0]->Start(102, 2, 100, 1);
    app.feedingBubbles[0]->Start(101, -3, 101, 0.2);
    app.rippleRings[0]->Start(103, 0, 100, 1);
    app.wakes[0]->Start(104, 0, 100, 1, 0.5);
    app.bubbleSpots[0]->Start(99, -3, 99);
    app.bubbleSpots[0]->wait = -1;  // rising
    app.bubbleSpots[1]->Start(98, -3, 98);  // still waiting on the bed: not drawn
    app.dragonflies[0]->Start(100, 1, 103);
    SceneryItem& lily = *app.sceneryItems[3];
    lily.active = 1;
    lily.type = 7;
    lily.x = 105;
    lily.z = 105;
    lily.size = 2;
    g.PutBillboard(1, 1, 20);

    const std::vector<std::string> full = g.Pass();
    const std::vector<std::string> expected = {
        "gull.bmp",   "gull.bmp",    "gull.bmp",    "gull.bmp",    "gull.bmp",   "gull.bmp",    "gull.bmp",
        "gull.bmp",   "gull.bmp",    "gull.bmp",    "swarm1.bmp",  "swarm1.bmp", "swarm1.bmp",  "swarm1.bmp",
        "swarm1.bmp", "swarm1.bmp",  "swarm1.bmp",  "swarm1.bmp",  "swarm1.bmp", "swarm1.bmp",  // both faces
        "bubble.bmp",  "ripple1.bmp", "ripple1.bmp", "vrip1.bmp",  "vrip1.bmp",   "bubble.bmp",
        "dragon.bmp", "lillys.bmp",  "lillys.bmp",  "decal1.bmp"};
    EXPECT_EQ(full, expected);
    // The wake is drawn at three times its size: 0.1 at the start of a size-1 wake.
    EXPECT_NEAR(g.Draws()[FirstOf(full, "vrip1.bmp")].world.m[1][1], 0.3, 1e-6);

    app.highDetailScenery = 0;
    const std::vector<std::string> lite = g.Pass();
    EXPECT_EQ(CountOf(lite, "swarm1.bmp") + CountOf(lite, "bubble.bmp") + CountOf(lite, "dragon.bmp"), 0);
    EXPECT_EQ(CountOf(lite, "gull.bmp"), 10);
    EXPECT_EQ(CountOf(lite, "ripple1.bmp"), 2);
    EXPECT_EQ(CountOf(lite, "decal1.bmp"), 1);

    // The lite program does not step the swarms, spots and dragonflies either.
    const double flyX = app.dragonflies[0]->x, spotY = app.bubbleSpots[0]->y;
    plat::AdvanceTickCount(500);
    g.Pass();
    EXPECT_EQ(app.dragonflies[0]->x, flyX);
    EXPECT_EQ(app.bubbleSpots[0]->y, spotY);
}

TEST(SceneryPass, ClumpDetailFollowsTheDistanceRuleInBothPrograms) {
    PassGame g;
    GameApp& app = g.App();
    // Quads drawn for a reed clump at each distance: lakeside, lakeside-lite. At exactly 45 the
    // rule (three quads nearer than 50) holds, and so at 60 (two quads nearer than 100).
    struct Case {
        double d;
        int full, lite;
    };
    const Case cases[] = {{30, 3, 2}, {45, 3, 1}, {49.9, 3, 1}, {50, 2, 1}, {60, 2, 1}, {99.9, 2, 1}, {100, 1, 1}, {150, 1, 1}};
    for (const Case& c : cases) {
        g.PutBillboard(7, 7, c.d);
        app.highDetailScenery = 1;
        EXPECT_EQ(static_cast<int>(g.Pass().size()) - GULL_COUNT, c.full) << c.d;
        app.highDetailScenery = 0;
        EXPECT_EQ(static_cast<int>(g.Pass().size()) - GULL_COUNT, c.lite) << c.d;
        // With the binoculars up every clump draws all three.
        app.binocularState = 1;
        EXPECT_EQ(static_cast<int>(g.Pass().size()) - GULL_COUNT, 3) << c.d;
        app.binocularState = 0;
    }

    // A bush beyond 120 shows only through the binoculars.
    app.billboards[7]->active = 0;
    g.PutBillboard(8, 13, 130);
    EXPECT_EQ(g.Count()["decal12.bmp"], 0);
    app.binocularState = 2;
    EXPECT_EQ(g.Count()["decal12.bmp"], 1);
}

TEST(SceneryPass, ClumpLayoutsAndTheWideReedsNarrowQuad) {
    PassGame g;
    GameApp& app = g.App();
    // Layout A at x 112.5: quad 1 north, quads 2 and 3 south; B at 112.4 mirrored.
    Billboard& b = g.PutBillboard(1, 9, 12.5, 2);
    g.Pass();
    ASSERT_EQ(g.Draws().size(), GULL_COUNT + 3u);
    const plat::DrawRecord* q = &g.Draws()[GULL_COUNT];
    EXPECT_NEAR(q[0].world.m[3][2], 100.6, 1e-4);
    EXPECT_NEAR(q[1].world.m[3][0], 112.5 - 0.6, 1e-4);
    EXPECT_NEAR(q[1].world.m[3][2], 100 - 0.6, 1e-4);
    EXPECT_NEAR(q[2].world.m[3][0], 112.5 + 0.6, 1e-4);
    EXPECT_EQ(FileOf(q[0]), "decal10.bmp");
    EXPECT_EQ(FileOf(q[2]), "decal9.bmp");
    // The wide reed's third quad is narrower in layout A: s / 1.55 across, 1.5 s high.
    auto width = [](const plat::DrawRecord& d) { return std::hypot(d.world.m[0][0], d.world.m[0][2]); };
    EXPECT_NEAR(width(q[2]), 2 / 1.55, 1e-5);
    EXPECT_NEAR(q[2].world.m[1][1], 3.0, 1e-5);
    EXPECT_NEAR(width(q[0]), 2 / 1.25, 1e-5);

    b.x = 112.4f;
    g.Pass();
    q = &g.Draws()[GULL_COUNT];
    EXPECT_NEAR(q[0].world.m[3][2], 99.4, 1e-4);
    EXPECT_NEAR(q[2].world.m[3][2], 100.6, 1e-4);
    EXPECT_NEAR(width(q[2]), 2 / 1.25, 1e-5);

    app.billboards[1]->active = 0;
    // Kinds outside 1..14 draw nothing.
    g.PutBillboard(2, 15, 20);
    g.PutBillboard(3, 0, 20);
    EXPECT_EQ(g.Pass().size(), static_cast<size_t>(GULL_COUNT));
}

TEST(SceneryPass, BillboardsTurnToFaceTheEyeBeyondFour) {
    PassGame g;
    GameApp& app = g.App();
    Billboard& far = g.PutBillboard(1, 1, 4.1, 1);
    Billboard& near = g.PutBillboard(2, 1, 3.9, 1);
    near.yaw = 1.0;
    g.Pass();
    EXPECT_EQ(near.yaw, 1.0);
    // The sprite's back (its model +z) points away from the eye, which lies west of it.
    EXPECT_NEAR(far.yaw, FacingTo(far.x, far.z, app), 1e-9);
    const plat::Matrix& w = g.Draws()[GULL_COUNT].world;
    EXPECT_NEAR(w.m[2][0], 1.0, 1e-3);
    EXPECT_NEAR(w.m[2][2], 0.0, 1e-3);

    // The eye walks round to the north: the sprite follows, and keeps that facing once the eye
    // stands within 4 of it.
    app.eyeX = far.x;
    app.eyeZ = far.z + 30;
    g.Pass();
    const plat::Matrix& w2 = g.Draws()[GULL_COUNT].world;
    EXPECT_NEAR(w2.m[2][0], 0.0, 1e-3);
    EXPECT_NEAR(w2.m[2][2], -1.0, 1e-3);
    const double facing = far.yaw;
    app.eyeZ = far.z - 3;
    g.Pass();
    EXPECT_EQ(far.yaw, facing);
}

TEST(SceneryPass, BinocularsHideWhatIsTooNearAndRangesCutTheSprites) {
    PassGame g;
    GameApp& app = g.App();
    // Dragonflies at 1.5, 60 and 75 from the eye.
    app.dragonflies[0]->Start(101.5, 2, 100);
    app.dragonflies[1]->Start(160, 2, 100);
    app.dragonflies[2]->Start(175, 2, 100);
    for (int i = 0; i < 3; ++i) app.dragonflies[i]->vx = app.dragonflies[i]->vy = app.dragonflies[i]->vz = 0;
    EXPECT_EQ(g.Count()["dragon.bmp"], 2);
    app.binocularState = 1;
    const std::vector<std::string> raised = g.Pass();
    EXPECT_EQ(CountOf(raised, "dragon.bmp"), 1);
    EXPECT_NEAR(g.Draws()[FirstOf(raised, "dragon.bmp")].world.m[3][0], 160, 1e-4);
}

TEST(SceneryPass, ThePhotoAlbumDrawsOnlyItemsAndBillboardsAndNothingMoves) {
    PassGame g;
    GameApp& app = g.App();
    app.insectSwarms[0]->Start(102, 2, 100, 2);
    app.rippleRings[0]->Start(103, 0, 100, 1);
    app.dragonflies[0]->Start(100, 1, 103);
    app.soundSlots[0]->busy = 1;
    app.soundSlots[0]->framesLeft = 1;
    SceneryItem& plank = *app.sceneryItems[0];
    plank.active = 1;
    plank.type = 3;
    plank.size = 1;
    Billboard& tree = g.PutBillboard(1, 14, 10);
    app.gameMode = MODE_PHOTO_ALBUM;
    const double gullX = app.gulls[0]->x, ring = app.rippleRings[0]->radius;
    plat::AdvanceTickCount(1000);
    const std::vector<std::string> album = g.Pass();
    ASSERT_EQ(album.size(), 7u);  // the plank's six faces and the tree
    EXPECT_EQ(album.back(), "decal13.bmp");
    EXPECT_EQ(app.gulls[0]->x, gullX);
    EXPECT_EQ(app.rippleRings[0]->radius, ring);
    EXPECT_EQ(app.soundSlots[0]->busy, 0);  // the splash slots still count down
    // Billboards still turn to the eye.
    app.eyeZ = 150;
    g.Pass();
    EXPECT_NEAR(tree.yaw, FacingTo(tree.x, tree.z, app), 1e-9);

    app.gameMode = MODE_FISHING;
    g.Pass();
    EXPECT_NE(app.gulls[0]->x, gullX);
    EXPECT_GT(app.rippleRings[0]->radius, ring);
}

TEST(SceneryPass, SurfacingBubblesLeaveRingsAlsoInTheLiteProgram) {
    PassGame g;
    GameApp& app = g.App();
    app.highDetailScenery = 0;
    app.feedingBubbles[0]->Start(90, -1.3, 95, 0.4);
    plat::AdvanceTickCount(51);
    g.HoldGulls();
    // Draws: ring 1 (two), the chance of a second (met), ring 2 (two), of a third (met), ring 3.
    randscript::UseStateWhere(8, [](int i, int v) { return (i != 2 && i != 5) || v < 15000; });
    const std::vector<std::string> files = g.Pass();
    EXPECT_EQ(CountOf(files, "bubble.bmp"), 0);
    EXPECT_EQ(app.feedingBubbles[0]->active, 0);
    int rings = 0;
    for (RippleRing* r : app.rippleRings)
        if (r->active) {
            ++rings;
            EXPECT_FLOAT_EQ(static_cast<float>(r->x), 90);
            EXPECT_NEAR(r->maxRadius, 2.0, 1e-6);
        }
    EXPECT_EQ(rings, 3);
    g.Pass();  // gone: no more rings
    rings = 0;
    for (RippleRing* r : app.rippleRings) rings += r->active;
    EXPECT_EQ(rings, 3);

    // A bubble spot that surfaced starts rings on every frame until its next step.
    app.highDetailScenery = 1;
    BubbleSpot& spot = *app.bubbleSpots[0];
    spot.Start(80, -0.25, 80);
    spot.wait = -1;
    spot.riseSpeed = 0.2;
    plat::AdvanceTickCount(51);
    g.HoldGulls();
    // The spot's new wait, then on each of three passes a ring and two chances, all missed.
    randscript::UseStateWhere(13, [](int i, int v) { return i == 0 || (i - 1) % 4 < 2 || v >= 15000; });
    g.Pass();
    EXPECT_EQ(spot.surfaced, 1);
    g.Pass();
    g.Pass();
    rings = 0;
    for (RippleRing* r : app.rippleRings) rings += r->active && r->x == 80;
    EXPECT_EQ(rings, 3);
}

TEST(AeratorsAndHut, PostsHutAndThreeToSixSprayRingsACall) {
    PassGame g;
    GameApp& app = g.App();
    // Per post: the ring's size, its two draws, and the chance of a second ring (missed).
    randscript::UseStateWhere(12, [](int i, int v) { return i % 4 != 3 || v >= 10000; });
    g.game.Device()->ClearLog();
    app.DrawAeratorsAndHut();
    const auto& draws = g.Draws();
    // Three posts of side and cap, three walls of five faces, the front's three, two posts' three.
    ASSERT_EQ(draws.size(), 6u + 15u + 3u + 6u);
    EXPECT_EQ(draws[0].buffer, app.aeratorPostMesh);
    EXPECT_EQ(FileOf(draws[0]), "metal.bmp");
    EXPECT_NEAR(draws[2].world.m[3][0], 114, 1e-4);
    EXPECT_NEAR(draws[2].world.m[3][1], -1.3, 1e-4);
    EXPECT_EQ(FileOf(draws[6]), "bricks3.bmp");
    EXPECT_EQ(draws[7].startVertex, 8u);  // face 2 is left out
    EXPECT_EQ(FileOf(draws[21]), "wood.bmp");
    EXPECT_EQ(draws[22].startVertex, 20u);  // face 6 before face 5
    EXPECT_EQ(FileOf(draws[22]), "woodb.bmp");
    EXPECT_NEAR(draws[24].world.m[3][2], 23.1, 1e-4);

    auto activeRings = [&] {
        int n = 0;
        for (RippleRing* r : app.rippleRings) n += r->active;
        return n;
    };
    EXPECT_EQ(activeRings(), 3);
    EXPECT_EQ(app.rippleRings[0]->x, 130);
    EXPECT_EQ(app.rippleRings[2]->z, 58);
    for (int i = 0; i < 3; ++i) EXPECT_GE(app.rippleRings[i]->maxRadius, 0.75 - 1e-6);

    // Now every chance met: size, two draws, chance, size, two draws per post.
    randscript::UseStateWhere(21, [](int i, int v) { return i % 7 != 3 || v < 10000; });
    app.DrawAeratorsAndHut();
    EXPECT_EQ(activeRings(), 9);

    // Frame by frame at 60 a second the spray keeps a steady patch of rings, well inside the pool.
    plat::GameSrand(7);
    std::vector<int> tape;
    for (int frame = 0; frame < 120; ++frame) {
        plat::AdvanceTickCount(17);
        app.DrawAeratorsAndHut();
        app.DrawSceneryAndWildlife();
        if (frame % 30 == 29) tape.push_back(activeRings());
    }
    for (int n : tape) {
        EXPECT_GT(n, 40);
        EXPECT_LT(n, 180);
    }
}

TEST(LakeWorld, EachScreenDrawsItsWorldInItsOwnOrder) {
    PassGame g;
    GameApp& app = g.App();
    lakefix::ScratchFolder folder;
    folder.WriteModel(lakefix::ModelText(lakefix::SyntheticLakeValues()));
    ASSERT_TRUE(app.LoadLakeModel(LAKE_MODEL_NUMBER).ok);
    const std::set<const plat::VertexBuffer*> cells(std::begin(app.cellVertexBuffers), std::end(app.cellVertexBuffers));
    // First draw of each part of the world: terrain cells, gulls (the pass), the aerator posts
    // and the water.
    auto order = [&](GameApp::LakeWorldOrder which, int32_t mode) {
        app.gameMode = mode;
        g.game.Device()->ClearLog();
        app.DrawLakeWorld(which);
        std::string seen;
        for (const plat::DrawRecord& d : g.Draws()) {
            char part = 0;
            if (cells.count(d.buffer)) part = 'T';
            else if (FileOf(d) == "gull.bmp" || FileOf(d).rfind("decal", 0) == 0) part = 'S';
            else if (d.buffer == app.aeratorPostMesh) part = 'A';
            else if (d.buffer == app.waterSurfaceMesh) part = 'W';
            if (part && seen.find(part) == std::string::npos) seen += part;
        }
        return seen;
    };
    EXPECT_EQ(order(GameApp::LAKE_WORLD_FISHING, MODE_FISHING), "TSAW");
    EXPECT_EQ(order(GameApp::LAKE_WORLD_TOUR, MODE_TOUR), "TSAW");
    EXPECT_EQ(order(GameApp::LAKE_WORLD_DUCK, MODE_DUCK), "STAW");
    EXPECT_EQ(order(GameApp::LAKE_WORLD_ALBUM, MODE_PHOTO_ALBUM), "WTS");

    // After a while at the lake, the lite program draws fewer quads: its clumps thin out sooner
    // and it has no insects, bubbles or dragonflies.
    app.gameMode = MODE_FISHING;
    g.game.Device()->recordCallLines = false;
    for (int frame = 0; frame < 300; ++frame) {
        plat::AdvanceTickCount(16);
        g.game.Device()->ClearLog();
        app.DrawSceneryAndWildlife();
        app.DrawAeratorsAndHut();
    }
    auto quads = [&](uint8_t detail) {
        app.highDetailScenery = detail;
        g.game.Device()->ClearLog();
        app.DrawLakeWorld(GameApp::LAKE_WORLD_FISHING);
        std::map<std::string, int> n;
        for (const plat::DrawRecord& d : g.Draws())
            if (d.buffer == app.uprightQuadMesh || d.buffer == app.twoSidedBoardMesh || d.buffer == app.billboardMesh)
                ++n[FileOf(d).substr(0, 5)];
        return n;
    };
    std::map<std::string, int> full = quads(1), lite = quads(0);
    EXPECT_GT(full["decal"], lite["decal"] + 20);
    EXPECT_GT(full["swarm"], 0);
    EXPECT_EQ(lite["swarm"] + lite["drago"], 0);
}

TEST(SceneryPass, OutlandishSizesAndPlacesDrawWithoutNaN) {
    PassGame g;
    GameApp& app = g.App();
    const float values[] = {0.0f, -2.0f, 3e38f, -3e38f, 3e20f, -500.0f, 1e-30f};
    int n = 1;
    for (float size : values)
        for (float place : values)
            for (int32_t type : {1, 7, 9, 12, 13}) {
                Billboard& b = *app.billboards[n++];
                b.active = 1;
                b.type = type;
                b.x = place;
                b.y = place;
                b.z = -place;
                b.size = size;
            }
    int k = 0;
    for (float size : values)
        for (int32_t type = 1; type <= 8 && k < SCENERY_ITEM_COUNT; ++type) {
            SceneryItem& s = *app.sceneryItems[k++];
            s.active = 1;
            s.type = type;
            s.x = values[k % 7];
            s.y = 0;
            s.z = values[(k + 3) % 7];
            s.size = size;
            s.heading = values[(k + 1) % 7];
        }
    for (int frame = 0; frame < 3; ++frame) {
        plat::AdvanceTickCount(60);
        g.Pass();
        ASSERT_FALSE(g.Draws().empty());
        for (const plat::DrawRecord& d : g.Draws())
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 4; ++c) ASSERT_TRUE(std::isfinite(d.world.m[r][c])) << r << c;
    }
    for (int i = 1; i < n; ++i) EXPECT_TRUE(std::isfinite(app.billboards[i]->yaw));
}
