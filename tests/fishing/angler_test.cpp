// The angler at the lake on the headless backend: walking into the water or a bank line, the walks
// to the standing point (also for swims facing across 0 and for bad swim records), the tips key and
// the binoculars.
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include "fishing_session.h"

using fishsession::FishingGame;
using plat::KeyId;

namespace {

// The standing point of a swim record, as the game works it out.
void StandPointOf(const SwimRecord& s, double* x, double* z) {
    *x = static_cast<float>(s.x + std::sin(s.facing + 3.5f) * 4.0f);
    *z = static_cast<float>(s.z + std::cos(s.facing + 3.5f) * 4.0f);
}

// The ground the walk tests: the cell mean, 0 outside the band 2..198.
double Ground(const ScriptedLake& lake, double x, double z) {
    if (x < 2 || x > 198 || z < 2 || z > 198) return 0.0;
    float h[4];
    if (!lake.CellHeights(x, z, h)) return 0.0;
    return MeanCornerHeight(h);
}

}  // namespace

TEST(FishingAngler, WalkingStopsAtTheWaterAndAtTheBankLines) {
    FishingGame g;
    GameApp& app = g.App();
    struct Case {
        const char* what;
        double x, z, heading;
    } cases[] = {
        {"toward the lake from its south rim", 100, 38, 0.0},     // water (ground < -0.3) ahead
        {"south off the grid toward bank line 2", 60, -6, 3.142},  // z = -11 line; ground counts 0 here
        {"west toward bank line 1", 105, 175, 5.298},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        app.eyeX = c.x;
        app.eyeZ = c.z;
        app.heading = c.heading;
        app.moveSpeed = 0;
        g.backend->QueueMouseButton(1, true);  // the right button walks forward
        double lastX = app.eyeX, lastZ = app.eyeZ;
        int still = 0;
        for (int f = 0; f < 600 && still < 30; ++f) {
            g.Frames(1);
            EXPECT_GE(Ground(g.lake, app.eyeX, app.eyeZ), -0.3) << "frame " << f;
            still = (app.eyeX == lastX && app.eyeZ == lastZ) ? still + 1 : 0;
            lastX = app.eyeX;
            lastZ = app.eyeZ;
        }
        g.backend->QueueMouseButton(1, false);
        g.Frames(1);
        EXPECT_EQ(still, 30) << "the angler was never stopped";
    }
    // The last case ends more than 1.5 from bank line 1 ((-27, -11) to (119, 209)).
    const double dx = 119 + 27, dz = 209 + 11;
    const double d = std::fabs(dz * (app.eyeX + 27) - dx * (app.eyeZ + 11)) / std::sqrt(dx * dx + dz * dz);
    EXPECT_GT(d, 1.5);
    EXPECT_LT(d, 2.5);
}

TEST(FishingAngler, ForwardSpeedStopsJustAboveOneInSinglePrecision) {
    FishingGame g;
    GameApp& app = g.App();
    app.eyeX = 100;
    app.eyeZ = 30;  // dry land
    app.heading = 3.142;  // away from the lake, toward the south bank
    g.backend->QueueMouseButton(1, true);
    g.Frames(20);
    EXPECT_EQ(static_cast<float>(app.moveSpeed), 1.0000001f);
}

TEST(FishingAngler, FWalksToTheSwimAndArrivesFacingTheWaterWhateverTheFacing) {
    for (int swim : {1, 4, 8, 9}) {
        SCOPED_TRACE(testing::Message() << "swim " << swim);
        FishingGame g;
        GameApp& app = g.App();
        const SwimRecord& s = *app.swims[swim - 1];
        double sx, sz;
        StandPointOf(s, &sx, &sz);
        // Start 6 units off the standing point looking the other way.
        app.eyeX = sx + 6;
        app.eyeZ = sz - 3;
        app.heading = std::fmod(s.facing + 3.0, 6.283);
        app.pitch = 6.0;
        app.inputLock = 0;
        g.Frames(1);
        ASSERT_EQ(app.nearbySwim, swim);
        g.Tap(KeyId::F);
        EXPECT_TRUE(app.atSwim);
        ASSERT_TRUE(g.FramesUntil([&] { return app.fishingState == FISHING_CASTING_ROD1; }, 600));
        EXPECT_EQ(app.eyeX, sx);
        EXPECT_EQ(app.eyeZ, sz);
        EXPECT_DOUBLE_EQ(app.heading, s.facing);
        EXPECT_DOUBLE_EQ(app.podYaw, s.facing);
        EXPECT_EQ(app.rodPodX, s.x);
        EXPECT_NEAR(app.aimTargetX, sx + 10 * std::sin(s.facing), 1e-4);
        EXPECT_EQ(app.aimPitch, 6.6);
        EXPECT_EQ(app.moveSpeed, 0.0);
    }
}

// The walks back to the standing point (after R with the rod in the hand, after a snapped line)
// end for facings on either side of 0, where facing + 0.2 passes a full turn.
TEST(FishingAngler, WalksBackArriveForFacingsAcrossZero) {
    for (int swim : {8, 9, 3}) {
        for (int32_t from : {FISHING_LINE_SNAPPED, FISHING_ROD_IN_HAND}) {
            SCOPED_TRACE(testing::Message() << "swim " << swim << " from state " << from);
            FishingGame g;
            GameApp& app = g.App();
            g.SetUpAtSwim(swim);
            g.CastBoth();
            g.Tap(KeyId::Num1);  // strike rod 1: state 7, rod 1 off its rest
            ASSERT_EQ(app.fishingState, FISHING_ROD_IN_HAND);
            app.fishingState = from;
            app.eyeX += 5;
            app.heading = std::fmod(app.heading + 2.5, 6.283);
            g.Tap(KeyId::R);
            ASSERT_TRUE(g.FramesUntil([&] { return app.fishingState == FISHING_RECASTING_ROD1; }, 800))
                << "state " << app.fishingState << " heading " << app.heading;
        }
    }
}

// After a lost fish, key 1 (or 2) walks back, re-casts the other rod and strikes this one. The
// arrival puts only the eye on the standing point: heading and pitch stay as the walk turned them,
// toward facing + 0.25 in turns of 0.05 and toward level in steps of 0.04.
TEST(FishingAngler, TheWalkBackToStrikeAfterALossSetsOnlyTheEyeOnArrival) {
    for (int rod = 0; rod < 2; ++rod) {
        SCOPED_TRACE(testing::Message() << "strike rod " << rod + 1);
        FishingGame g;
        GameApp& app = g.App();
        g.SetUpAtSwim(2);
        g.CastBoth();
        g.Tap(rod == 0 ? KeyId::Num2 : KeyId::Num1);  // the other rod was struck and its fish lost
        app.fishLost = 1;
        app.eyeX += 4;
        g.Tap(rod == 0 ? KeyId::Num1 : KeyId::Num2);
        ASSERT_EQ(app.fishingState, rod == 0 ? FISHING_BACK_RECAST2_STRIKE1 : FISHING_BACK_RECAST1_STRIKE2);
        ASSERT_TRUE(g.FramesUntil([&] { return app.fishingState == FISHING_ROD_IN_HAND; }, 400));
        const SwimRecord& s = *app.swims[1];
        double x, z;
        StandPointOf(s, &x, &z);
        EXPECT_EQ(app.eyeX, x);
        EXPECT_EQ(app.eyeZ, z);
        EXPECT_NEAR(app.heading, s.facing + 0.25, 0.0501);
        EXPECT_NEAR(app.pitch, 6.284, 0.0401);
        EXPECT_EQ(app.rodStruck[rod], 1);
    }
}

TEST(FishingAngler, BadSwimRecordsStillArriveOrStop) {
    struct Case {
        const char* what;
        float x, z, facing;
        bool arrives;
    } cases[] = {
        {"facing above a full turn", 150, 150, 20.0f, true},
        {"facing below 0", 150, 150, -7.5f, true},
        {"standing point off the grid", 205, 210, 0.5f, true},
        {"facing that is no number", 150, 150, std::numeric_limits<float>::quiet_NaN(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FishingGame g;
        GameApp& app = g.App();
        *app.swims[0] = {c.x, c.z, c.facing};
        app.eyeX = c.x + 3;
        app.eyeZ = c.z + 3;
        app.heading = 1.0;
        app.inputLock = 0;
        g.Frames(1);
        ASSERT_EQ(app.nearbySwim, 1);
        g.Tap(KeyId::F);
        const bool ended = g.FramesUntil([&] { return app.fishingState != FISHING_WALKING_TO_SWIM; }, 1500);
        ASSERT_TRUE(ended) << "still walking";
        EXPECT_EQ(app.fishingState, c.arrives ? FISHING_CASTING_ROD1 : FISHING_ROAMING);
        // The heading is a number again after the frame's wrap.
        g.Frames(1);
        if (c.arrives) {
            EXPECT_TRUE(app.heading >= 0 && app.heading <= 6.2831853);
        }
    }
}

// A normal press of T lasts several frames (16 ms each here): the tips toggle once per press,
// however long it is held.
TEST(FishingAngler, EachPressOfTTogglesTheTipsOnce) {
    FishingGame g;
    GameApp& app = g.App();
    g.Frames(1);
    ASSERT_EQ(app.tipsOn, 1);
    g.Tap(KeyId::T, 9);  // about 150 ms
    EXPECT_EQ(app.tipsOn, 0);
    g.Tap(KeyId::T, 63);  // about 1 s
    EXPECT_EQ(app.tipsOn, 1);
    g.Tap(KeyId::T, 9);
    EXPECT_EQ(app.tipsOn, 0);
    g.Tap(KeyId::T, 9);
    EXPECT_EQ(app.tipsOn, 1);
}

TEST(FishingAngler, BinocularsZoomInAndPutAwayRestoresTheNormalView) {
    FishingGame g;
    GameApp& app = g.App();
    g.Frames(1);
    g.Tap(KeyId::B);
    EXPECT_EQ(app.binocularState, 1);
    g.Frames(20);
    EXPECT_EQ(app.viewZoom, 18.0);  // grows by one a frame from 10 to 18
    g.Tap(KeyId::B);
    EXPECT_EQ(app.binocularState, 0);
    EXPECT_EQ(app.viewZoom, 4.0);
    // Looking round turns at the normal rate again: 0.05 - 4 / 400 a frame per held arrow.
    const double before = app.heading;
    g.backend->QueueKey(KeyId::Right, true);
    g.Frames(1);
    g.backend->QueueKey(KeyId::Right, false);
    EXPECT_NEAR(app.heading - before, 0.04, 1e-6);
}
