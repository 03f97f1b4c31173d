// Casting and the catapult at a swim of a scripted lake: where the rigs land and at what bait
// height, the catapult's pouches and their spread, the full bait pool, and the fishing states
// reached from their keys and left by their exits.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>
#include "common/single_precision.h"
#include "fishing_session.h"

using fishsession::FishingGame;
using plat::KeyId;

namespace {

double CellMean(const ScriptedLake& lake, double x, double z) {
    float h[4];
    EXPECT_TRUE(lake.CellHeights(x, z, h));
    return MeanCornerHeight(h);
}
bool CellIsWater(const ScriptedLake& lake, double x, double z) {
    float h[4];
    return lake.CellHeights(x, z, h) && HighestCornerHeight(h) <= -0.25f;
}

// The rod was re-cast without aiming: its hook bait lies 15 out from the standing point, along the
// swim's facing turned by `angle`.
void ExpectRecastAlong(GameApp& app, int rod, double angle) {
    double x, z, facing;
    ASSERT_TRUE(app.StandingPoint(&x, &z, &facing));
    EXPECT_NEAR(app.hookBaitPos[rod][0], x + 15 * std::sin(facing + angle), 1e-3) << "rod " << rod + 1;
    EXPECT_NEAR(app.hookBaitPos[rod][1], z + 15 * std::cos(facing + angle), 1e-3) << "rod " << rod + 1;
}
// The struck rod's hook bait has left the water; the other rod's still fishes.
void ExpectStruckBaitOut(GameApp& app, int struck) {
    const BaitAttraction& out = *app.baitAttractions[app.rodBaitItem[struck]];
    EXPECT_FALSE(out.active && out.type == BAIT_HOOK) << "rod " << struck + 1;
    EXPECT_TRUE(app.baitAttractions[app.rodBaitItem[1 - struck]]->active) << "rod " << 2 - struck;
}

}  // namespace

TEST(FishingCasting, BothRodsLandInWaterWithinRangeAtTheirRigsBaitHeight) {
    struct Rig {
        int32_t method, floatDepth;
        double meanFactor;  // bait height = cell mean * factor (0: the controller's -0.25)
    } rigs[] = {{1, 3, 0.5}, {3, 3, 0.5}, {5, 1, 0.25}, {5, 2, 1 / 3.0}, {5, 4, 0.5}, {6, 3, 0}, {7, 3, 0.5}};
    for (const Rig& r : rigs) {
        SCOPED_TRACE(testing::Message() << "method " << r.method << " depth " << r.floatDepth);
        FishingGame g;
        GameApp& app = g.App();
        app.method = r.method;
        app.floatDepth = r.floatDepth;
        g.SetUpAtSwim(2);
        // Aim further out with the mouse before the first cast.
        g.backend->QueueMouseMotion(0, -3000);
        g.Frames(30);
        g.CastBoth();
        for (int rod = 0; rod < ROD_COUNT; ++rod) {
            const double x = app.hookBaitPos[rod][0], z = app.hookBaitPos[rod][1];
            const double d = Distance2D(x, z, app.eyeX, app.eyeZ);
            EXPECT_TRUE(app.rodInWater[rod]);
            EXPECT_GE(d, 15 - 1e-3);
            EXPECT_LE(d, app.maxRange + 1e-3);
            EXPECT_TRUE(CellIsWater(g.lake, x, z));
            const double mean = CellMean(g.lake, x, z);
            const double expected = r.meanFactor == 0 ? -0.25 : mean * r.meanFactor;
            EXPECT_NEAR(app.hookBaitHeight[rod], expected, 1e-5);
            const BaitAttraction& bait = *app.baitAttractions[app.rodBaitItem[rod]];
            EXPECT_TRUE(bait.active);
            EXPECT_EQ(bait.type, BAIT_HOOK);
            EXPECT_EQ(bait.method, r.method);
            EXPECT_FLOAT_EQ(bait.x, static_cast<float>(x));
        }
        EXPECT_NE(app.rodBaitItem[0], app.rodBaitItem[1]);
        EXPECT_EQ(app.biteIndicatorUpper[1], 4.5);
    }
}

// The aim follows the mouse over the whole range of the tackle, also where the range passes 200:
// pushed out it never turns back nor comes round to the near end, pulled in as far as it goes it
// stays at 15, and pushed right it turns right, however far out it is.
TEST(FishingCasting, AimFollowsTheMouseOverTheWholeRangeAndNoNearerThan15) {
    struct Tackle {
        int32_t leadOz, rodReel;
        double range;  // (lead * 500 div 20) * rod, with 10 lb line
    } tackles[] = {{2, 2, 100}, {4, 2, 200}, {3, 4, 300}, {4, 4, 400}};
    for (const Tackle& t : tackles) {
        SCOPED_TRACE(testing::Message() << "range " << t.range);
        FishingGame g;
        GameApp& app = g.App();
        app.leadOz = t.leadOz;
        app.rodReel = t.rodReel;
        app.mainlineLb = 10;
        g.SetUpAtSwim(2);
        auto reach = [&] { return Distance2D(app.aimTargetX, app.aimTargetZ, app.eyeX, app.eyeZ); };

        // Nearer than 199 the aim moves by the mouse times (200 - distance) / 50.
        const double at = std::min(190.0, t.range - 10);
        app.aimPitch = F32(5.2 + std::atan(at / 4.0));
        g.Frames(1);
        ASSERT_NEAR(reach(), at, 1e-3);
        double before = app.aimPitch;
        g.backend->QueueMouseMotion(0, -1);  // 0.002 forward
        g.Frames(1);
        EXPECT_NEAR(app.aimPitch - before, 0.002 * (200 - at) / 50, 1e-6);

        // Out to the far end with a gentle push, then a hard one.
        double farthest = 0;
        for (int i = 0; i < 310; ++i) {
            before = app.aimPitch;
            g.backend->QueueMouseMotion(0, i < 300 ? -100 : -5000);
            g.Frames(1);
            ASSERT_GE(app.aimPitch, before) << "frame " << i;
            ASSERT_LE(reach(), t.range + 1e-3) << "frame " << i;
            if (farthest > 150) {
                ASSERT_GT(reach(), 150) << "frame " << i;
            }
            farthest = std::max(farthest, reach());
        }
        EXPECT_EQ(app.maxRange, t.range);
        EXPECT_NEAR(reach(), t.range, 1);
        before = app.aimYaw;
        g.backend->QueueMouseMotion(10, 0);
        g.Frames(1);
        EXPECT_GT(app.aimYaw, before);
        EXPECT_LT(app.aimYaw, before + 0.031);

        for (int i = 0; i < 400; ++i) {
            before = app.aimPitch;
            g.backend->QueueMouseMotion(0, 100);
            g.Frames(1);
            ASSERT_LE(app.aimPitch, before) << "frame " << i;
            ASSERT_GE(reach(), 15 - 1e-3) << "frame " << i;
        }
        EXPECT_NEAR(reach(), 15, 1e-3);
    }
}

TEST(FishingCasting, FullBaitPoolLeavesTheRodsPreviousBaitItem) {
    FishingGame g;
    GameApp& app = g.App();
    g.SetUpAtSwim(2);
    // Natural feeding spots fill the pool; they last far longer than this test.
    for (int i = 0; i < BAIT_ITEM_COUNT; ++i)
        ASSERT_EQ(app.SpawnBaitAttraction(10.0f + i, 0, 20, BAIT_GROUNDBAIT, 0, 0, 0, 0, 0, 3), i);
    app.rodBaitItem[0] = 7;
    app.rodBaitItem[1] = 12;
    g.CastBoth();
    EXPECT_EQ(app.rodBaitItem[0], 7);
    EXPECT_EQ(app.rodBaitItem[1], 12);
    EXPECT_TRUE(app.rodInWater[0] && app.rodInWater[1]);
}

TEST(FishingCasting, CatapultPouchesLandAsOneBaitItemWithTheirRingsInTheSpread) {
    struct Shot {
        KeyId key;
        int32_t groundbait, hookBait;
        int32_t type, bait, rings;
        double spread;
    } shots[] = {
        {KeyId::G, 1, 1, BAIT_GROUNDBAIT, 1, 40, 0.002},
        {KeyId::G, 3, 1, BAIT_GROUNDBAIT, 3, 40, 0.02},
        {KeyId::H, 1, 5, BAIT_LOOSE_FEED, 5, 30, 0.015},
        {KeyId::H, 1, 9, BAIT_LOOSE_FEED, 9, 40, 0.02},
    };
    for (const Shot& s : shots) {
        SCOPED_TRACE(testing::Message() << "groundbait " << s.groundbait << " hook bait " << s.hookBait);
        FishingGame g;
        GameApp& app = g.App();
        app.groundbait = s.groundbait;
        app.hookBait = s.hookBait;
        g.SetUpAtSwim(2);
        g.CastBoth();
        g.Tap(s.key);
        ASSERT_EQ(app.fishingState, s.key == KeyId::G ? FISHING_CATAPULT_GROUNDBAIT : FISHING_CATAPULT_HOOKBAITS);
        g.Frames(10);  // pitch settles, the aim is placed
        for (RippleRing* r : app.rippleRings) r->active = 0;
        std::vector<bool> before;
        for (BaitAttraction* b : app.baitAttractions) before.push_back(b->active);
        g.Click();
        ASSERT_TRUE(g.FramesUntil([&] { return app.catapultPhase == 0; }, 200));
        int newItems = 0;
        for (int i = 0; i < BAIT_ITEM_COUNT; ++i) {
            if (before[i] || !app.baitAttractions[i]->active) continue;
            ++newItems;
            EXPECT_EQ(app.baitAttractions[i]->type, s.type);
            EXPECT_EQ(app.baitAttractions[i]->bait, s.bait);
            EXPECT_FLOAT_EQ(app.baitAttractions[i]->x, static_cast<float>(app.aimTargetX));
        }
        EXPECT_EQ(newItems, 1);
        const double half = app.castPower * 30 * s.spread / 2;
        // Rings round the aim point (the lake's own rings, such as the aerators' spray, are far off).
        int rings = 0;
        for (const RippleRing* r : app.rippleRings) {
            if (!r->active || Distance2D(r->x, r->z, app.aimTargetX, app.aimTargetZ) > 5) continue;
            ++rings;
            EXPECT_LE(std::fabs(r->x - app.aimTargetX), half + 1e-4);
            EXPECT_LE(std::fabs(r->z - app.aimTargetZ), half + 1e-4);
        }
        EXPECT_EQ(rings, s.rings + 1);
        EXPECT_EQ(app.fishingState, FISHING_BOTH_RODS_OUT);  // back to the rods after the shot
    }
}

// A pouch of groundbait fired from the bank (not at a swim) sends the angler back to roaming at
// the landing; lowering the catapult mid-flight still lands it as groundbait; X mid-flight lands
// nothing on the next visit.
TEST(FishingCasting, CatapultShotInFlightKeepsWhatWasFired) {
    FishingGame g;
    GameApp& app = g.App();
    g.StandAt(2);
    g.Frames(1);
    g.Tap(KeyId::G);
    ASSERT_EQ(app.fishingState, FISHING_CATAPULT_GROUNDBAIT);
    g.Frames(10);
    g.Press();
    ASSERT_GT(app.catapultPhase, 3);
    ASSERT_TRUE(g.FramesUntil([&] { return app.catapultPhase < 3; }, 100));
    EXPECT_EQ(app.fishingState, FISHING_ROAMING);

    // A long shot, lowered in flight, then hook baits raised: it still lands as groundbait. (The
    // keys come as soon as the click's lock has run out, before the pouch is down.)
    auto quickTap = [&](KeyId key) {
        app.inputLock = 0;
        g.backend->QueueKey(key, true);
        g.Frames(1);
        g.backend->QueueKey(key, false);
        g.Frames(1);
    };
    g.Tap(KeyId::G);
    g.AimOut(120);
    g.Press();
    ASSERT_GT(app.catapultPhase, 30);
    quickTap(KeyId::G);
    ASSERT_EQ(app.fishingState, FISHING_ROAMING);
    quickTap(KeyId::H);
    ASSERT_EQ(app.fishingState, FISHING_CATAPULT_HOOKBAITS);
    ASSERT_GT(app.catapultPhase, 3);
    ASSERT_TRUE(g.FramesUntil([&] { return app.catapultPhase == 0; }, 100));
    int groundbaitItems = 0, otherItems = 0;
    for (BaitAttraction* b : app.baitAttractions)
        if (b->active) ++(b->type == BAIT_GROUNDBAIT ? groundbaitItems : otherItems);
    EXPECT_EQ(groundbaitItems, 2);
    EXPECT_EQ(otherItems, 0);
    EXPECT_EQ(app.fishingState, FISHING_CATAPULT_HOOKBAITS);  // the hook-bait catapult stays up

    // X while a long shot flies: nothing is left to land on the next visit.
    g.AimOut(60);
    g.Press();
    ASSERT_GT(app.catapultPhase, 30);
    quickTap(KeyId::X);
    EXPECT_EQ(app.gameMode, MODE_MAP);
    EXPECT_EQ(app.catapultPhase, 0);
}

// Every state of the fishing screen is reached from its key or click and left by its exit. Each
// case starts from both rods out, which the set-up reaches from roaming through F (-1), the walk
// to the pod (1), the first click (2), the second (3) and rod 2's landing (4). A strike takes the
// struck rod's bait out of the water, and a rod re-cast on the spot lands along its own line.
TEST(FishingCasting, EachStateIsReachedFromItsInputAndLeftByItsExit) {
    enum Input { KEY, CLICK, NONE };
    struct Row {
        const char* what;
        std::function<void(FishingGame&)> setUp;  // from both rods out at swim 2
        Input input;
        KeyId key;
        int32_t reached;
        int32_t leftTo;  // after the walk or flight that follows (the same state when it stays)
        std::function<void(GameApp&)> check = nullptr;  // once it is left there
    };
    auto strike = [](int rod) {
        return [rod](FishingGame& g) { g.Tap(rod == 0 ? KeyId::Num1 : KeyId::Num2); };
    };
    auto state = [](int32_t s) { return [s](FishingGame& g) { g.App().fishingState = s; }; };
    auto stepAside = [](FishingGame& g) { g.App().eyeX += 4; };
    const Row rows[] = {
        {"G raises the groundbait catapult, G lowers it", nullptr, KEY, KeyId::G, FISHING_CATAPULT_GROUNDBAIT,
         FISHING_CATAPULT_GROUNDBAIT},
        {"H raises the hook-bait catapult", nullptr, KEY, KeyId::H, FISHING_CATAPULT_HOOKBAITS,
         FISHING_CATAPULT_HOOKBAITS},
        {"key 1 strikes rod 1", nullptr, KEY, KeyId::Num1, FISHING_ROD_IN_HAND, FISHING_ROD_IN_HAND,
         [](GameApp& app) { ExpectStruckBaitOut(app, 0); }},
        {"key 2 strikes rod 2", nullptr, KEY, KeyId::Num2, FISHING_ROD_IN_HAND, FISHING_ROD_IN_HAND,
         [](GameApp& app) { ExpectStruckBaitOut(app, 1); }},
        {"key 1 with the catapult raised strikes rod 1", [](FishingGame& g) { g.Tap(KeyId::G); }, KEY,
         KeyId::Num1, FISHING_ROD_IN_HAND, FISHING_ROD_IN_HAND},
        {"R with rod 1 in the hand walks back, then rod 1 is re-cast", [&](FishingGame& g) { strike(0)(g); stepAside(g); }, KEY, KeyId::R,
         FISHING_WALKING_BACK, FISHING_RECASTING_ROD1},
        {"R with rod 2 in the hand walks back, then rod 2 is re-cast", [&](FishingGame& g) { strike(1)(g); stepAside(g); }, KEY, KeyId::R,
         FISHING_WALKING_BACK, FISHING_RECASTING_ROD2},
        {"R after a snapped line walks back, then on to the re-cast walk",
         [&](FishingGame& g) { strike(0)(g); state(FISHING_LINE_SNAPPED)(g); stepAside(g); }, KEY, KeyId::R,
         FISHING_BACK_AFTER_SNAP, FISHING_RECASTING_ROD1},
        {"key 1 after a lost fish on rod 2: walk back, re-cast rod 2, strike rod 1",
         [&](FishingGame& g) { strike(1)(g); g.App().fishLost = 1; stepAside(g); }, KEY, KeyId::Num1,
         FISHING_BACK_RECAST2_STRIKE1, FISHING_ROD_IN_HAND, [](GameApp& app) { ExpectRecastAlong(app, 1, 0.4); }},
        {"key 2 after a lost fish on rod 1: walk back, re-cast rod 1, strike rod 2",
         [&](FishingGame& g) { strike(0)(g); g.App().fishLost = 1; stepAside(g); }, KEY, KeyId::Num2,
         FISHING_BACK_RECAST1_STRIKE2, FISHING_ROD_IN_HAND, [](GameApp& app) { ExpectRecastAlong(app, 0, 0.0); }},
        {"R in the sling releases the fish and walks back to re-cast",
         [&](FishingGame& g) { strike(0)(g); state(FISHING_FISH_LANDED)(g); stepAside(g); }, KEY, KeyId::R,
         FISHING_WALKING_BACK, FISHING_RECASTING_ROD1},
        {"P in the sling starts photo mode", state(FISHING_FISH_LANDED), KEY, KeyId::P, FISHING_PHOTO_MODE,
         FISHING_PHOTO_MODE},
        {"X goes back to the map", nullptr, KEY, KeyId::X, FISHING_ROAMING, FISHING_ROAMING},
        {"X in photo mode goes back to the map even with the fish still counted on",
         [&](FishingGame& g) { state(FISHING_PHOTO_MODE)(g); g.App().rodHasFish[0] = 1; g.App().photoCountdown = 3; },
         KEY, KeyId::X, FISHING_ROAMING, FISHING_ROAMING},
        {"a click re-casts rod 1 and its landing gives both rods out",
         [&](FishingGame& g) { strike(0)(g); g.Tap(KeyId::R); g.FramesUntil([&] {
             return g.App().fishingState == FISHING_RECASTING_ROD1; }); g.Frames(2); },
         CLICK, KeyId::None, FISHING_RECASTING_ROD1, FISHING_BOTH_RODS_OUT},
        {"key 1 while rod 2 waits for its re-cast re-casts it and strikes rod 1",
         [&](FishingGame& g) { strike(1)(g); g.Tap(KeyId::R); g.FramesUntil([&] {
             return g.App().fishingState == FISHING_RECASTING_ROD2; }); },
         KEY, KeyId::Num1, FISHING_ROD_IN_HAND, FISHING_ROD_IN_HAND, [](GameApp& app) {
             ExpectRecastAlong(app, 1, 0.4);
             ExpectStruckBaitOut(app, 0);
         }},
        {"key 2 while rod 1 waits for its re-cast re-casts it and strikes rod 2",
         [&](FishingGame& g) { strike(0)(g); g.Tap(KeyId::R); g.FramesUntil([&] {
             return g.App().fishingState == FISHING_RECASTING_ROD1; }); },
         KEY, KeyId::Num2, FISHING_ROD_IN_HAND, FISHING_ROD_IN_HAND, [](GameApp& app) {
             ExpectRecastAlong(app, 0, 0.2);
             ExpectStruckBaitOut(app, 1);
         }},
        {"the walk back with both rods still out ends with both rods fishing",
         [&](FishingGame& g) { state(FISHING_WALKING_BACK)(g); stepAside(g); }, NONE, KeyId::None,
         FISHING_WALKING_BACK, FISHING_BOTH_RODS_OUT},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        FishingGame g;
        GameApp& app = g.App();
        g.SetUpAtSwim(2);
        g.CastBoth();
        if (row.setUp) row.setUp(g);
        if (row.input == KEY) {
            g.backend->QueueKey(row.key, true);
            g.Frames(1);
            EXPECT_EQ(app.fishingState, row.reached);
            g.backend->QueueKey(row.key, false);
            g.Frames(1);
        } else if (row.input == CLICK) {
            g.backend->QueueMouseButton(0, true);
            g.Frames(1);
            EXPECT_EQ(app.fishingState, row.reached);
            g.backend->QueueMouseButton(0, false);
            g.Frames(1);
        } else {
            g.Frames(1);
            EXPECT_EQ(app.fishingState, row.reached);
        }
        g.UnlockInput();
        if (row.leftTo != row.reached) {
            EXPECT_TRUE(g.FramesUntil([&] { return app.fishingState == row.leftTo; }, 800))
                << "ended in " << app.fishingState;
        }
        if (row.key == KeyId::G || row.key == KeyId::H) {
            g.Tap(row.key);
            EXPECT_EQ(app.fishingState, FISHING_BOTH_RODS_OUT) << "lowering the catapult";
        }
        if (row.key == KeyId::X) {
            EXPECT_EQ(app.gameMode, MODE_MAP);
        }
        // A hook bait left in the water belongs to a rod on its rest.
        for (int i = 0; i < BAIT_ITEM_COUNT; ++i) {
            if (!app.baitAttractions[i]->active || app.baitAttractions[i]->type != BAIT_HOOK) continue;
            const bool onRest = (app.rodInWater[0] && app.rodBaitItem[0] == i) ||
                                (app.rodInWater[1] && app.rodBaitItem[1] == i);
            EXPECT_TRUE(onRest) << "hook bait " << i << " of no rod on its rest";
        }
        if (row.check) row.check(app);
    }
}

// R while a fish is on leaves the fight alone: the walk back it used to start re-cast the rod with
// the fish still hooked, or never ended when the view, held on the fish, kept the angler from
// facing the water (and X cannot leave the lake with a fish on). Once the fish is off, R walks
// back and the rod is re-cast as ever.
TEST(FishingCasting, RWithAFishOnKeepsTheFightAndRecastsOnceItIsOff) {
    FishingGame g;
    GameApp& app = g.App();
    g.SetUpAtSwim(2);
    g.CastBoth();
    g.Tap(KeyId::Num1);
    ASSERT_EQ(app.fishingState, FISHING_ROD_IN_HAND);
    Fish& f = *app.fish[7];
    f.active = 1;
    f.state = FISH_HOOKED;
    f.x = app.eyeX + 20 * std::sin(app.heading + 0.6);  // out in deep water, off the swim's facing
    f.z = app.eyeZ + 20 * std::cos(app.heading + 0.6);
    f.y = -1;
    app.rodHasFish[0] = 1;
    app.rodFish[0] = app.playedFish = 7;

    g.Tap(KeyId::R);
    EXPECT_EQ(app.fishingState, FISHING_ROD_IN_HAND);
    EXPECT_EQ(app.rodHasFish[0], 1);
    g.Tap(KeyId::X);
    EXPECT_EQ(app.gameMode, MODE_FISHING);

    // The hook pulls: R now walks back, and the walk ends in the re-cast of rod 1.
    app.rodHasFish[0] = 0;
    app.rodFish[0] = app.playedFish = NO_FISH;
    f.state = FISH_CRUISE;
    app.fishLost = 1;
    g.Tap(KeyId::R);
    EXPECT_EQ(app.fishingState, FISHING_WALKING_BACK);
    EXPECT_TRUE(g.FramesUntil([&] { return app.fishingState == FISHING_RECASTING_ROD1; }, 600));
}
