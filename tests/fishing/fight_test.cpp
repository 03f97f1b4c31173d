// The fight on constructed fish: the strike's pick and threshold, the line's snags and the
// snap, and the held rod's clutch, drag, tension and surges.
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include "fishing/fight_rules.h"
#include "common/single_precision.h"
#include "fishing/fishing_table.h"

namespace {
// Rod 1 struck with `f` on it, the angler on the bank at (50, 2, 50) looking north.
void PlayOnRod1(FishingTable& t, Fish& f) {
    t.app.fishingState = FISHING_ROD_IN_HAND;
    t.app.eyeX = 50;
    t.app.eyeY = 2;
    t.app.eyeZ = 50;
    t.app.heading = 0;
    t.app.rodStruck[0] = 1;
    t.app.rodFish[0] = t.Index(f);
    t.app.rodHasFish[0] = 1;
    f.state = FISH_HOOKED;
    t.app.rodPitch = 0.6;
    t.app.rodYaw = 0;
}

// Over deep water, a fish on rod 1 at (50, -3, z).
Fish& PlayingOverDeepWater(FishingTable& t, double z) {
    t.lake.height = [](double, double) { return -6.0f; };
    Fish& f = t.AddFish(50, -3, z);
    PlayOnRod1(t, f);
    return f;
}
}  // namespace

TEST(Strike, PicksTheBestTakerLowestIndexFirstAndHooksOnlyAboveTheThreshold) {
    FishingTable t;
    BaitAttraction& bait = t.CastRod(0, 40, 40, -3);
    Fish& a = t.AddFish(40, -3, 41);
    Fish& b = t.AddFish(41, -3, 40);
    Fish& fleeing = t.AddFish(39, -3, 40);
    const double threshold = StrikeThreshold(a, bait);
    a.takeValue[0] = b.takeValue[0] = threshold;
    fleeing.takeValue[0] = threshold + 10;
    fleeing.state = FISH_FLEE;
    EXPECT_EQ(PickStrikeFish(t.app.fish, FISH_COUNT, 0), t.Index(a));
    EXPECT_EQ(PickStrikeFish(t.app.fish, FISH_COUNT, 1), NO_FISH);  // nothing above 0 on rod 2

    t.app.rodStruck[0] = 1;
    t.app.ResolveStrikes();  // a measure equal to the threshold does not hook
    EXPECT_EQ(t.app.rodFish[0], NO_FISH);
    EXPECT_EQ(t.app.rodHasFish[0], 0);
    EXPECT_EQ(a.state, FISH_CRUISE);

    a.takeValue[0] = 0;
    b.takeValue[0] = std::nextafter(StrikeThreshold(b, bait), 100.0);
    bait.taken = 1;  // a bait already taken hooks nothing by search
    t.app.ResolveStrikes();
    EXPECT_EQ(t.app.rodFish[0], NO_FISH);
    bait.taken = 0;
    t.app.ResolveStrikes();
    EXPECT_EQ(t.app.rodFish[0], t.Index(b));
    EXPECT_EQ(t.app.rodHasFish[0], 1);
    EXPECT_EQ(b.state, FISH_HOOKED);

    // A fish that took the bait before the strike is on as soon as the rod is struck.
    t.app.rodStruck[1] = 1;
    t.app.rodFish[1] = t.Index(a);
    t.app.rodBaitItem[1] = 49;
    t.app.ResolveStrikes();
    EXPECT_EQ(t.app.rodHasFish[1], 1);
}

TEST(Line, PointsSnagOnTheBedReedsHutAndItemsAndOffTheGridOnlyBelowTheSurface) {
    FishingTable t;
    t.lake.height = [](double x, double) { return x < 60 ? -1.0f : -6.0f; };
    GameApp& app = t.app;
    // The bed: exactly 0.5 below its mean does not snag, lower does.
    EXPECT_FALSE(app.LinePointSnags(40, -1.5, 40));
    EXPECT_TRUE(app.LinePointSnags(40, -1.51, 40));
    // Off the grid the ground counts as the surface (the angler may walk there while playing).
    for (const auto& [x, z] : {std::pair{-5.0, 199.5}, {150.0, 0.5}, {100.0, 205.0}}) {
        EXPECT_FALSE(app.LinePointSnags(x, -0.4, z)) << x << "," << z;
        EXPECT_TRUE(app.LinePointSnags(x, -0.6, z)) << x << "," << z;
    }
    // A small reed billboard counts with a radius of 1 round a centre 1 above its foot.
    Billboard& reed = *app.billboards[5];
    reed = Billboard{80, 0, 80, 0.4f, 1, 0.0, 1};
    Billboard& lily = *app.billboards[6];
    lily = Billboard{90, 0, 90, 3.0f, 1, 0.0, 7};
    EXPECT_TRUE(app.LinePointSnags(80.95, 1, 80));
    EXPECT_FALSE(app.LinePointSnags(81.05, 1, 80));
    EXPECT_FALSE(app.LinePointSnags(90, 1, 90));
    // The hut's footings, over deep water.
    t.lake.height = [](double, double) { return -6.0f; };
    EXPECT_TRUE(app.LinePointSnags(24.9, -1.7, 25.9));
    EXPECT_FALSE(app.LinePointSnags(24.9, -1.7, 26.1));
    // A snag item of size 8: within 2 across and below its base + 8.
    SceneryItem& snag = *app.sceneryItems[3];
    snag = SceneryItem{120, -1, 120, 8, 1, 0, 4};
    EXPECT_TRUE(app.LinePointSnags(121.9, 6.9, 120));
    EXPECT_FALSE(app.LinePointSnags(122.1, 0, 120));
    EXPECT_FALSE(app.LinePointSnags(121, 7.1, 120));
}

TEST(Line, ALineIntoTheBedSnapsItAndThePlayedFishSwimsOff) {
    FishingTable t;
    t.lake.height = [](double, double z) { return z < 53 ? -6.0f : -1.0f; };
    BaitAttraction& bait = t.CastRod(0, 50, 60, -3);
    Fish& f = t.AddFish(50, -3, 58);
    PlayOnRod1(t, f);
    GameApp& app = t.app;
    app.rodFish[1] = t.Index(f);  // it had also taken rod 2's bait, not struck
    app.UpdateAndDrawPlayingRod();
    ASSERT_EQ(app.playedFish, t.Index(f));
    app.UpdateLineEndAndReelSounds();
    EXPECT_GT(app.lineLength, 3);
    t.Device()->ClearLog();
    app.DrawLineAndTestSnags();
    EXPECT_GT(t.Device()->draws.size(), 0u);  // the line was drawn up to the snag and beyond
    EXPECT_EQ(app.fishingState, FISHING_LINE_SNAPPED);
    EXPECT_EQ(app.lineSnapped, 1);
    EXPECT_EQ(app.fishLost, 1);
    EXPECT_EQ(app.playedFish, NO_FISH);
    EXPECT_EQ(app.rodFish[0], NO_FISH);
    EXPECT_EQ(app.rodFish[1], NO_FISH);
    EXPECT_EQ(app.rodHasFish[0], 0);
    EXPECT_EQ(app.rodStruck[0], 0);
    EXPECT_EQ(f.state, FISH_FLEE);
    EXPECT_EQ(f.fear, 100);
    EXPECT_EQ(f.speed, 0.3);
    EXPECT_EQ(f.calmSpeed, 0.1);
    EXPECT_EQ(bait.x, 50.0f);
    EXPECT_EQ(bait.z, 58.0f);
}

TEST(Line, TheSameLineOverDeepWaterHolds) {
    FishingTable deep;
    deep.CastRod(0, 50, 60, -3);
    Fish& g = PlayingOverDeepWater(deep, 58);
    deep.app.UpdateAndDrawPlayingRod();
    deep.app.UpdateLineEndAndReelSounds();
    deep.app.DrawLineAndTestSnags();
    EXPECT_EQ(deep.app.fishingState, FISHING_ROD_IN_HAND);
    EXPECT_EQ(deep.app.playedFish, deep.Index(g));
}

TEST(Line, AnyLineLengthDrawsAtMostTwoThousandPoints) {
    FishingTable t;
    Fish& f = PlayingOverDeepWater(t, 58);
    GameApp& app = t.app;
    app.UpdateAndDrawPlayingRod();
    app.UpdateLineEndAndReelSounds();
    for (double length : {1e9, std::numeric_limits<double>::infinity(), std::nan("")}) {
        app.fishingState = FISHING_ROD_IN_HAND;
        app.rodHasFish[0] = 1;
        app.rodFish[0] = app.playedFish = t.Index(f);
        app.lineLength = length;
        t.Device()->ClearLog();
        app.DrawLineAndTestSnags();
        size_t lineDraws = 0;
        for (const plat::DrawRecord& d : t.Device()->draws) lineDraws += d.buffer == app.twoSidedBoardMesh;
        EXPECT_LE(lineDraws, 2u * 2000u) << length;
    }
}

TEST(HeldRod, ClutchDragAndTensionFollowTheButtonsThroughAFight) {
    FishingTable t;
    Fish& f = PlayingOverDeepWater(t, 70);
    GameApp& app = t.app;
    app.dragBase = 11;  // 10 lb line, rod and reel 3
    app.rodReel = 3;
    // Script: left held (clutch down) 40 frames, right held 120 frames, both 10, none 30, while
    // the fish fights and the rod is raised and swung.
    struct Frame { int left, right; };
    std::vector<Frame> script;
    script.insert(script.end(), 40, {1, 0});
    script.insert(script.end(), 120, {0, 1});
    script.insert(script.end(), 10, {1, 1});
    script.insert(script.end(), 30, {0, 0});
    double lowest = 1e9, highest = -1e9;
    for (size_t k = 0; k < script.size(); ++k) {
        app.leftButtonDown = script[k].left;
        app.rightButtonDown = script[k].right;
        app.rodPitch = 0.4 + 0.6 * (k % 50) / 50.0;
        app.rodYaw = std::sin(k * 0.05);
        const double before = app.clutch;
        app.UpdateFishSchool();
        app.UpdateAndDrawPlayingRod();
        plat::AdvanceTickCount(16);
        ASSERT_EQ(app.playedFish, t.Index(f));
        lowest = std::min(lowest, app.clutch);
        highest = std::max(highest, app.clutch);
        if (script[k].left && script[k].right) {
            EXPECT_NEAR(app.clutch, before, 1e-4) << k;  // lowered and raised by the same step
        }
        // The drag counts the clutch only up to 200.
        EXPECT_DOUBLE_EQ(app.dragEffective, F32(F32(std::min(app.clutch, 200.0) / 10.0) + F32(11 / 10.0)));
        EXPECT_TRUE(std::isfinite(app.lineTension) && app.lineTension > 0) << k;
        EXPECT_TRUE(std::isfinite(app.rodTipX) && std::isfinite(app.rodTipY) && std::isfinite(app.rodTipZ)) << k;
    }
    // Left held takes the clutch to 0 (one step past at most), right held up to 300.
    EXPECT_LE(lowest, 0);
    EXPECT_GT(lowest, -20);
    EXPECT_GE(highest, 300);
    EXPECT_LT(highest, 320);
    EXPECT_EQ(app.dragEffective, F32(F32(20.0) + F32(1.1)));

    // Tension rises as the rod points away from the fish and falls as it is raised.
    app.leftButtonDown = app.rightButtonDown = 0;
    auto tension = [&](double pitch, double yaw) {
        app.rodPitch = pitch;
        app.rodYaw = yaw;
        app.UpdateAndDrawPlayingRod();
        return app.lineTension;
    };
    const double bearing = app.fishBearing;
    EXPECT_LT(tension(0.5, bearing), tension(0.5, bearing + 1));
    EXPECT_GT(tension(0.4, bearing), tension(1.0, bearing));
}

TEST(HeldRod, RodTwoWinsAndAMissedStrikeShowsTheRodStraight) {
    FishingTable t;
    t.lake.height = [](double, double) { return -6.0f; };
    Fish& one = t.AddFish(45, -3, 70);
    Fish& two = t.AddFish(60, -3, 70);
    PlayOnRod1(t, one);
    GameApp& app = t.app;
    app.rodFish[1] = t.Index(two);
    app.rodHasFish[1] = 1;
    two.state = FISH_HOOKED;
    app.UpdateAndDrawPlayingRod();
    EXPECT_EQ(app.playedFish, t.Index(two));
    app.UpdateTensionDialAndViewLock();
    EXPECT_DOUBLE_EQ(app.heading, app.HeadingAndPitchTo(50, 0, 50, 60, 0, 70).heading);

    // Missed: no fish on either rod, the rod still in hand.
    app.rodHasFish[0] = app.rodHasFish[1] = 0;
    app.rodFish[0] = app.rodFish[1] = NO_FISH;
    app.rodPitch = 0.9;
    app.rodYaw = 0.3;
    app.UpdateAndDrawPlayingRod();
    EXPECT_EQ(app.playedFish, NO_FISH);
    EXPECT_EQ(app.rodPitch, 0.4);
    EXPECT_EQ(app.fishBearing, 0.3);
    EXPECT_TRUE(std::isfinite(app.rodTipX) && std::isfinite(app.rodTipZ));
    // Straight along the yaw: the tip lies on the butt's bearing heading + 0.3 from the butt.
    const double buttX = F32(50 + F32(2.0 * F32(std::sin(app.heading + 0.2))));
    const double buttZ = F32(50 + F32(2.0 * F32(std::cos(app.heading + 0.2))));
    EXPECT_NEAR(std::atan2(app.rodTipX - buttX, app.rodTipZ - buttZ), app.heading + 0.3 - 6.284 * (app.heading + 0.3 > 3.142), 1e-3);
}

TEST(HeldRod, SurgesWithTheRodSwungFullyAsideStayFinite) {
    FishingTable t;
    Fish& f = PlayingOverDeepWater(t, 56);
    GameApp& app = t.app;
    f.thrashing = 1;
    bool surged = false;
    for (int k = 0; k < 400; ++k) {
        app.rodYaw = k % 2 ? 1.3 : -1.3;
        app.rodPitch = 0.4;
        app.UpdateAndDrawPlayingRod();
        surged = surged || app.surgeTarget > 0;
        ASSERT_TRUE(std::isfinite(app.rodTipX) && std::isfinite(app.rodTipY) && std::isfinite(app.rodTipZ)) << k;
        plat::AdvanceTickCount(34);
    }
    EXPECT_TRUE(surged);
}
