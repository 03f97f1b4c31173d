// Bait items: the pool, start terms by rig, bait and type, cover, and fading.
#include <gtest/gtest.h>
#include "fishing/school/bait_attraction.h"
#include "common/single_precision.h"
#include "platform/system.h"
#include "scripted_lake.h"
#include "test_support.h"

namespace {
BaitAttraction Started(int32_t type, int32_t method, int32_t lineLb, double weight, int32_t linkLb,
                       int32_t hookSize, int32_t bait) {
    plat::SetFixedTickCount(20000);
    BaitAttraction b;
    b.Start(50, 0, 60, type, method, lineLb, weight, linkLb, hookSize, bait);
    return b;
}
}  // namespace

TEST(BaitPool, FullPoolReturns50AndOverwritesNothing) {
    HeadlessGame g;
    GameApp& app = *g.app;
    for (int32_t i = 0; i < BAIT_ITEM_COUNT; ++i) {
        ASSERT_EQ(app.SpawnBaitAttraction(10.0f + i, 0, 20, BAIT_GROUNDBAIT, 0, 0, 0, 0, 0, 3), i);
    }
    EXPECT_EQ(app.SpawnBaitAttraction(99, 0, 99, BAIT_HOOK, 1, 10, 2, 8, 6, 1), 50);
    for (int32_t i = 0; i < BAIT_ITEM_COUNT; ++i) EXPECT_EQ(app.baitAttractions[i]->x, 10.0f + i);
    // A spent item's slot is the next one used.
    app.baitAttractions[3]->active = 0;
    EXPECT_EQ(app.SpawnBaitAttraction(99, 0, 99, BAIT_HOOK, 1, 10, 2, 8, 6, 1), 3);
    EXPECT_EQ(app.baitAttractions[3]->type, BAIT_HOOK);
}

TEST(BaitPool, HookBaitsNearReedsGetCoverFromTheLastBillboardInRecordOrder) {
    HeadlessGame g;
    GameApp& app = *g.app;
    ScriptedLake lake;
    lake.boards = {{53, 60, 7, true},    // 3 away
                   {50, 64, 9, false},   // inactive
                   {51, 60, 5, true},    // type 5: not cover
                   {55, 60, 8, true},    // 5 away: decides
                   {80, 60, 8, true}};   // too far
    app.lakeView = &lake;
    const int32_t a = app.SpawnBaitAttraction(50, 0, 60, BAIT_HOOK, 1, 10, 2, 8, 6, 1);
    EXPECT_DOUBLE_EQ(app.baitAttractions[a]->coverBonus, 1.0);
    const int32_t b = app.SpawnBaitAttraction(50, 0, 60, BAIT_HOOK, 3, 10, 2, 8, 6, 1);
    EXPECT_DOUBLE_EQ(app.baitAttractions[b]->coverBonus, F32(1.0 / 5));
    const int32_t c = app.SpawnBaitAttraction(50, 0, 60, BAIT_LOOSE_FEED, 0, 0, 0, 0, 0, 1);
    EXPECT_EQ(app.baitAttractions[c]->coverBonus, 0);
    app.lakeView = &app.gameLakeView;
}

TEST(BaitStart, TackleScareByRig) {
    BaitAttraction b = Started(BAIT_HOOK, 7, 10, 0, 0, 10, 1);
    EXPECT_EQ(b.scare, 5);
    EXPECT_EQ(b.tackleScare, 5);
    EXPECT_EQ(b.scareRadius, 0.5);
    EXPECT_EQ(b.scareDecay, 20);
    EXPECT_EQ(b.method, 7);

    b = Started(BAIT_HOOK, 1, 4, 1.25, 6, 20, 1);  // 4 + 12 - 20 + 12 = 8
    EXPECT_EQ(b.scare, 8);
    EXPECT_EQ(b.scareRadius, 4);
    b = Started(BAIT_HOOK, 2, 2, 0.5, 2, 12, 1);  // 2 + 4 - 12 + 2 = -4 -> 1
    EXPECT_EQ(b.scare, 1);
    b = Started(BAIT_HOOK, 5, 6, 2.9, 0, 10, 1);  // 12 - 10 + 2 x trunc(2.9)
    EXPECT_EQ(b.scare, 6);
}

TEST(BaitStart, TakeEaseAndPullRiskFromTheHooklengthAndHook) {
    BaitAttraction b = Started(BAIT_HOOK, 1, 10, 2.0, 8, 6, 12);
    EXPECT_EQ(b.takeEase, 60 - (8 - 6 + 12 + 10));
    EXPECT_EQ(b.pullRisk, (6 + (20 - 8)) / 2.0);
    EXPECT_EQ(b.attractRadius, F32(0.4 * 2));
    b = Started(BAIT_HOOK, 2, 10, 2.0, 8, 7, 1);  // rig 2 adds no lead term
    EXPECT_EQ(b.takeEase, 60 - (8 - 7 + 12));
    EXPECT_EQ(b.pullRisk, 9.5);
}

TEST(BaitStart, PouchesAndFeedSpotsByType) {
    BaitAttraction spot = Started(BAIT_GROUNDBAIT, 5, 10, 3, 8, 6, 3);
    EXPECT_EQ(spot.strength, 120);
    EXPECT_EQ(spot.scare, 20);
    EXPECT_EQ(spot.scareRadius, 2);
    EXPECT_EQ(spot.attractRadius, 10);
    EXPECT_EQ(spot.method, 0);  // only hook baits take a rig
    EXPECT_EQ(spot.takeEase, 0);
    EXPECT_EQ(spot.tackleScare, 0);
    BaitAttraction loose = Started(BAIT_LOOSE_FEED, 0, 0, 0, 0, 0, 12);
    EXPECT_EQ(loose.scare, 125);
    EXPECT_EQ(loose.attractRadius, 8);
}

TEST(BaitStart, ABaitWithoutARowGetsNoStrengthEvenInAReusedSlot) {
    plat::SetFixedTickCount(20000);
    BaitAttraction b;
    b.Start(50, 0, 60, BAIT_LOOSE_FEED, 0, 0, 0, 0, 0, 12);
    b.active = 0;
    b.Start(50, 0, 60, BAIT_HOOK, 1, 10, 2, 8, 6, 7);  // hook bait 7 has no row
    EXPECT_EQ(b.strength, 0);
    EXPECT_EQ(b.attractRadius, 0);
    plat::AdvanceTickCount(51);
    b.Update();
    EXPECT_EQ(b.active, 0);
}

TEST(BaitUpdate, FadesAtMostEvery50ms) {
    BaitAttraction b = Started(BAIT_GROUNDBAIT, 0, 0, 0, 0, 0, 1);
    plat::AdvanceTickCount(50);
    b.Update();
    EXPECT_EQ(b.scare, 100);
    plat::AdvanceTickCount(1);
    b.Update();
    EXPECT_EQ(b.scare, 0);  // 100 - 200, held at 0
    EXPECT_EQ(b.strength, F32(80 - F32(0.05 / 10)));
    plat::AdvanceTickCount(40);
    b.Update();
    EXPECT_EQ(b.strength, F32(80 - F32(0.05 / 10)));

    // At 5 and below the whole decay goes each time, and the item ends at 0.
    b.strength = 0.09;
    plat::AdvanceTickCount(51);
    b.Update();
    EXPECT_EQ(b.strength, F32(0.09 - 0.05));
    EXPECT_EQ(b.active, 1);
    plat::AdvanceTickCount(51);
    b.Update();
    EXPECT_EQ(b.active, 0);
}
