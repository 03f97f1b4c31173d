// The fish school pass on constructed fish: spooking, the grid edge, bait choice and fright,
// takes and their bite signals, hook pulls.
#include <gtest/gtest.h>
#include <cmath>
#include "fishing/school/bait_attraction.h"
#include "common/single_precision.h"
#include "platform/system.h"
#include "fishing/fishing_table.h"
#include "rand_script.h"

TEST(SchoolPass, TheAnglerSpooksCruisingFishWithinFiveOrTenWhilePlaying) {
    FishingTable s;
    Fish& near = s.AddFish(20, 2, 24);   // 4 from the eye
    Fish& far = s.AddFish(26, 2, 20);    // 6 from the eye
    Fish& landed = s.AddFish(21, 2, 20);
    landed.state = FISH_LANDED;
    landed.takeValue[0] = 7;
    const double landedX = landed.x;
    s.Pass();
    EXPECT_EQ(near.state, FISH_FLEE);
    EXPECT_EQ(near.fear, 800);
    EXPECT_EQ(near.speed, 0.3);
    EXPECT_EQ(far.state, FISH_CRUISE);
    // A landed fish is neither moved nor tested nor reset.
    EXPECT_EQ(landed.state, FISH_LANDED);
    EXPECT_EQ(landed.takeValue[0], 7);
    EXPECT_EQ(landed.x, landedX);

    s.app.playedFish = s.Index(landed);
    s.Pass();
    EXPECT_EQ(far.state, FISH_FLEE);
    EXPECT_DOUBLE_EQ(far.fear, 1200);
    // Outside the fishing screen nobody is there to spook them.
    Fish& tourFish = s.AddFish(20, 2, 21);
    s.app.gameMode = MODE_TOUR;
    s.Pass();
    EXPECT_EQ(tourFish.state, FISH_CRUISE);
}

TEST(SchoolPass, TheGroundAheadIsReadInsideTheGridAtEveryEdge) {
    FishingTable s;
    s.lake.height = [](double x, double z) { return static_cast<float>(-1.0 - x / 100.0 - z / 1000.0); };
    s.app.eyeX = 100;
    s.app.eyeZ = 100;
    Fish& east = s.AddFish(200, -2, 100, 1.571);  // steps to x 200.3
    Fish& south = s.AddFish(100, -2, 1, 3.142);   // steps to z 0.7
    Fish& corner = s.AddFish(199.5, -2, 1.2, 2.4);
    // Out in the lake the step ahead is worked out in single precision, each product and sum
    // rounded to float (in double precision x would be 145.95409071175621).
    Fish& open = s.AddFish(146, -2, 100, 0x1.d228cep+1);
    open.speed = 0x1.88078cp-4;
    s.Pass();
    EXPECT_EQ(open.nextX, 0x1.23e87ep+7);  // 145.954086
    EXPECT_EQ(open.nextZ, 0x1.8faap+6);    // 99.9160156
    // Column 99 (x 198..200) and row 99 (z 0..2) are the last of the grid.
    EXPECT_FLOAT_EQ(east.bottomY, -1.0f - 1.98f - 0.098f);
    EXPECT_FLOAT_EQ(south.bottomY, -1.0f - 1.0f - 0.0f);
    EXPECT_FLOAT_EQ(corner.bottomY, -1.0f - 1.98f - 0.0f);
    for (const auto& [x, z] : s.lake.asked) {
        EXPECT_LT(x, 199);
        EXPECT_GE(z, 1);
    }
}

TEST(SchoolPass, FishChooseTheBestItemAndAFreshPouchFrightensOnlyFreeFish) {
    FishingTable s;
    // Two equal groundbait pouches 3 from the fish, one each side: the lower index wins.
    const int32_t a = s.app.SpawnBaitAttraction(60, 0, 63, BAIT_GROUNDBAIT, 0, 0, 0, 0, 0, 1);
    const int32_t b = s.app.SpawnBaitAttraction(60, 0, 57, BAIT_GROUNDBAIT, 0, 0, 0, 0, 0, 1);
    Fish& free = s.AddFish(60, -2, 60);
    Fish& taking = s.AddFish(60.5, -2, 60);
    taking.state = FISH_HOOKED;  // hooked by its own take, before its first fighting tick
    s.app.rodFish[0] = s.Index(taking);
    s.Pass();
    EXPECT_EQ(free.targetItem, a);
    EXPECT_NE(b, a);
    // The fresh pouches (scare 100 against strength 80) put the free fish to flight ...
    EXPECT_EQ(free.state, FISH_FLEE);
    EXPECT_GT(free.fear, 0);
    // ... but never the fish on the line.
    EXPECT_EQ(taking.state, FISH_HOOKED);
    EXPECT_EQ(taking.fear, 0);
}

TEST(SchoolPass, WithNoItemInReachAFishHasNoTargetAndNoBubbles) {
    FishingTable s;
    Fish& alone = s.AddFish(60, -2, 60);
    alone.appetite = 100;
    s.app.SpawnBaitAttraction(90, 0, 90, BAIT_GROUNDBAIT, 0, 0, 0, 0, 0, 1);
    for (int frame = 0; frame < 20; ++frame) s.Pass();
    EXPECT_EQ(alone.targetItem, NO_ITEM);
    for (const FeedingBubble* bubble : s.app.feedingBubbles) EXPECT_FALSE(bubble->active);
}

TEST(SchoolPass, AFishStandingOnAnItemStaysFinite) {
    FishingTable s;
    const int32_t item = s.app.SpawnBaitAttraction(70, 0, 70, BAIT_LOOSE_FEED, 0, 0, 0, 0, 0, 12);
    Fish& f = s.AddFish(70, -2, 70);
    f.appetite = 20;
    for (int frame = 0; frame < 30; ++frame) {
        s.Pass();
        plat::AdvanceTickCount(16);
    }
    const BaitAttraction& bait = *s.app.baitAttractions[item];
    EXPECT_TRUE(std::isfinite(bait.strength));
    EXPECT_TRUE(std::isfinite(f.fear));
    EXPECT_TRUE(std::isfinite(f.confidence));
    EXPECT_TRUE(std::isfinite(f.appetite));
    EXPECT_TRUE(std::isfinite(f.heading));
}

TEST(SchoolPass, ATakeSignalsBetweenTheThresholdsAndHooksAboveThem) {
    FishingTable s;
    // Rig 4, 10 lb line and link, a size 8 hook, 2 oz and bait 1: strength 12, tackle scare 38,
    // take ease 36, no cover. A fish of size 20 half a unit off and one below the bait scores
    // (10 - 1.5) * 5 + appetite/10 + 12/2 + r/6553.4 - 38/5 = 40.9 + appetite/10 + r/6553.4, and
    // signals above T(40, 50) = 40 + 20/5 - (50 - 36)/10 = 42.6, hooks above T(48, 50) = 50.6.
    BaitAttraction& bait = s.CastRod(0, 40, 40, -3);
    s.CastRod(1, 40, 40, -3);
    ASSERT_EQ(bait.strength, 12);
    ASSERT_EQ(bait.tackleScare, 38);
    ASSERT_EQ(bait.takeEase, 36);
    for (BaitAttraction* b : s.app.baitAttractions) b->scare = 0;  // settled: no fright left
    Fish& f = s.AddFish(40, -2, 40.5);
    f.size = 20;
    f.confidence = 100;
    f.feedPause = 50;  // between feeding bouts: it does not choose the bait, so its appetite holds
    // One pass whose take draws on both rods lie at the foot of the chance (r below 64, adding
    // less than 0.01) or at its top (r from 32704, adding 4.99 to 5).
    auto pass = [&](double appetite, bool top) {
        f.appetite = appetite;
        randscript::UseStateWhere(9, [top](int i, int v) {
            if (i < 6) return v >= 10;  // no natural feed spot
            if (i == 6) return true;    // the feeding-bubble chance
            return top ? v >= 32704 : v < 64;
        }, plat::GameRandState() + 1);
        s.app.UpdateFishSchool();
    };
    pass(16.8, false);  // 42.58
    EXPECT_EQ(s.app.biteSignal[0], 0);
    EXPECT_EQ(f.takeValue[0], 0);
    pass(17.2, false);  // 42.62
    EXPECT_NEAR(f.takeValue[0], 42.62, 0.011);
    EXPECT_NEAR(f.takeValue[1], 42.62, 0.011);
    EXPECT_EQ(s.app.biteSignal[0], 1);
    EXPECT_EQ(s.app.biteSignal[1], 1);
    EXPECT_EQ(s.app.biteCountdown[0], 49);  // 50, then the pass's own count-down
    pass(11, true);  // 42 + 5
    EXPECT_NEAR(f.takeValue[0], 47.0, 0.011);
    pass(96.8, false);  // 50.58: still only a bite
    EXPECT_EQ(f.state, FISH_CRUISE);
    EXPECT_EQ(s.app.rodFish[0], NO_FISH);

    // The signal fades: the count-down stops at 0.
    f.appetite = 0;
    for (int frame = 0; frame < 60; ++frame) s.Pass();
    EXPECT_EQ(s.app.biteCountdown[0], 0);
    EXPECT_EQ(s.app.biteSignal[0], 0);

    // 50.62 hooks on rod 1 and, tested once as a cruising fish, on rod 2 in the same pass.
    pass(97.2, false);
    EXPECT_EQ(f.state, FISH_HOOKED);
    EXPECT_EQ(s.app.rodFish[0], s.Index(f));
    EXPECT_EQ(s.app.rodFish[1], s.Index(f));
    // Nobody struck: the rods keep signalling.
    s.Pass();
    EXPECT_EQ(s.app.biteSignal[0], 1);
    EXPECT_EQ(s.app.biteSignal[1], 1);
}

// The hook of a played fish pulls out by wear (chance hookWear/4 in 32,768) or by the line's
// tension (pullRisk/4 × tension × 5); both in one pass count as the tension's. The fish flees and
// the hook bait is left where the fish was.
TEST(SchoolPass, AHookPullFreesThePlayedFishAndLeavesTheBaitWhereItCameOff) {
    struct Case {
        double wear, tension;
        int32_t reason;  // 0: still on
    } cases[] = {{0, 0.05, 0}, {131072, 0, 1}, {0, 3000, 2}, {131072, 3000, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "wear " << c.wear << " tension " << c.tension);
        FishingTable t;
        GameApp& app = t.app;
        BaitAttraction& bait = t.CastRod(0, 40, 40, -3);  // pull risk (8 + 20 - 10) / 2 = 9
        Fish& f = t.AddFish(46, -2, 44);
        f.state = FISH_HOOKED;
        f.hasBeenHooked = 1;
        app.rodFish[0] = app.playedFish = t.Index(f);
        app.rodHasFish[0] = app.rodStruck[0] = 1;
        app.fishingState = FISHING_ROD_IN_HAND;
        bait.hookWear = c.wear;
        app.lineTension = c.tension;
        t.Pass();
        if (c.reason == 0) {
            EXPECT_EQ(app.rodHasFish[0], 1);
            EXPECT_EQ(f.state, FISH_HOOKED);
            // A slack line wears the hook little: r/3276700 × tension/5 for the one fish.
            EXPECT_GT(bait.hookWear, 0);
            EXPECT_LE(bait.hookWear, 0.01 * 0.05 / 5);
            continue;
        }
        EXPECT_EQ(app.lossReason, c.reason);
        EXPECT_EQ(app.fishLost, 1);
        EXPECT_EQ(app.rodHasFish[0], 0);
        EXPECT_EQ(app.rodStruck[0], 0);
        EXPECT_EQ(app.rodFish[0], NO_FISH);
        EXPECT_EQ(f.state, FISH_FLEE);
        EXPECT_EQ(f.fear, 1000);
        EXPECT_EQ(f.speed, 0.3);
        EXPECT_EQ(f.calmSpeed, 0.1);
        EXPECT_EQ(f.confidence, 1);
        EXPECT_EQ(bait.x, 46.0f);
        EXPECT_EQ(bait.z, 44.0f);
    }
}

TEST(SchoolPass, ATakeDroppedOnOneRodLeavesTheFishPlayedOnTheOther) {
    FishingTable s;
    s.CastRod(0, 40, 40, -3);
    BaitAttraction& idle = s.CastRod(1, 40, 40, -3);
    idle.takeEase = 4000;  // rod 2's take is dropped at the first chance
    Fish& f = s.AddFish(40, -3, 40.5);
    f.state = FISH_HOOKED;
    const int32_t i = s.Index(f);
    s.app.rodFish[0] = s.app.rodFish[1] = i;  // it took both baits
    s.app.rodHasFish[0] = 1;                  // and rod 1 was struck
    s.app.playedFish = i;
    s.app.fishingState = FISHING_ROD_IN_HAND;
    s.Pass();
    EXPECT_EQ(s.app.rodFish[1], NO_FISH);
    EXPECT_EQ(s.app.rodFish[0], i);
    EXPECT_EQ(f.state, FISH_HOOKED);
    EXPECT_EQ(f.fear, 0);
}

// A fish that lets go of the hook flees, and no rod holds it any more: not when it drops an untended
// take (on its only rod, or on one of the two it took with neither struck), nor when the hook of
// the rod it is played on pulls out while it still holds the other rod's take.
TEST(SchoolPass, AFishThatLetsGoFleesAndNoRodHoldsIt) {
    {
        FishingTable t;
        BaitAttraction& bait = t.CastRod(0, 40, 40, -3);
        bait.takeEase = 4000;  // dropped at the first chance
        Fish& g = t.AddFish(40, -3, 40.5);
        g.state = FISH_HOOKED;
        t.app.rodFish[0] = t.Index(g);
        t.Pass();
        EXPECT_EQ(t.app.rodFish[0], NO_FISH);
        EXPECT_EQ(g.state, FISH_FLEE);
        EXPECT_EQ(g.fear, 1000);
    }
    {
        FishingTable t;
        t.CastRod(0, 40, 40, -3).takeEase = 4000;  // rod 1's take is dropped
        t.CastRod(1, 40, 40, -3).takeEase = 0;     // rod 2's never
        Fish& g = t.AddFish(40, -3, 40.5);
        g.state = FISH_HOOKED;
        t.app.rodFish[0] = t.app.rodFish[1] = t.Index(g);
        t.Pass();
        EXPECT_EQ(g.state, FISH_FLEE);
        EXPECT_EQ(t.app.rodFish[0], NO_FISH);
        EXPECT_EQ(t.app.rodFish[1], NO_FISH);
        EXPECT_EQ(t.app.biteSignal[1], 0);
    }
    {
        FishingTable t;
        t.CastRod(0, 40, 40, -3).hookWear = 1e6;  // rod 1's hook pulls out at once
        t.CastRod(1, 40, 40, -3).takeEase = 0;
        Fish& g = t.AddFish(40, -3, 40.5);
        g.state = FISH_HOOKED;
        const int32_t i = t.Index(g);
        t.app.rodFish[0] = t.app.rodFish[1] = t.app.playedFish = i;
        t.app.rodHasFish[0] = t.app.rodStruck[0] = 1;
        t.app.fishingState = FISHING_ROD_IN_HAND;
        t.Pass();
        EXPECT_EQ(t.app.fishLost, 1);
        EXPECT_EQ(t.app.lossReason, 1);
        EXPECT_EQ(g.state, FISH_FLEE);
        EXPECT_EQ(t.app.rodFish[0], NO_FISH);
        EXPECT_EQ(t.app.rodFish[1], NO_FISH);
    }
}

TEST(FishDrawing, FishNearTheSurfaceAreDrawnWholeAndAShapelessFishStaysFinite) {
    FishingTable s;
    Fish& shallow = s.AddFish(60, -0.5, 60);
    shallow.shapeFactor = 0;
    s.AddFish(70, -3, 70);  // too deep to be seen without binoculars
    s.Device()->ClearLog();
    s.Pass();
    int bodies = 0, parts = 0;
    auto finite = [](const plat::Matrix& m) {
        for (const auto& row : m.m)
            for (float v : row)
                if (!std::isfinite(v)) return false;
        return true;
    };
    for (const plat::DrawRecord& d : s.Device()->draws) {
        if (d.buffer == s.app.fishBodyMesh) ++bodies;
        if (d.buffer == s.app.fishLeftFinMesh || d.buffer == s.app.fishRightFinMesh || d.buffer == s.app.fishMouthMesh ||
            d.buffer == s.app.fishTailMesh)
            ++parts;
        EXPECT_TRUE(finite(d.world));
    }
    EXPECT_EQ(bodies, 12);  // one fish: twelve strips of its body
    EXPECT_EQ(parts, 1 + 1 + 1 + 2);
    // Binoculars raised: the deep fish shows too.
    s.app.viewZoom = 10;
    s.Device()->ClearLog();
    s.Pass();
    bodies = 0;
    for (const plat::DrawRecord& d : s.Device()->draws) bodies += d.buffer == s.app.fishBodyMesh;
    EXPECT_EQ(bodies, 24);
    // The turning model of the records screen, even for a fish without size or shape.
    s.Device()->ClearLog();
    s.app.DrawRecordsFishModel(3, 0, 0);
    s.app.DrawRecordsFishModel(3, 30, 25);
    for (const plat::DrawRecord& d : s.Device()->draws) EXPECT_TRUE(finite(d.world));
    EXPECT_DOUBLE_EQ(s.app.recordsModelAngle, F32(F32(1.0 + 0.01) + 0.01));
}
