// Wildlife: step timing, the gulls' flight and homing, swarms, bubble spots, dragonflies and the
// spawners' pools.
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include "gfx/geometry.h"
#include "rand_script.h"
#include "test_support.h"
#include "common/angles.h"
#include "common/step_gate.h"

namespace {

// Moves the fixed clock past one step of `ms` and runs `update`.
template <class T> void Step(T& o, uint32_t ms = 101) {
    plat::AdvanceTickCount(ms);
    o.Update();
}

}  // namespace

TEST(Wildlife, EachKindStepsOnlyAfterItsTimeAndNeverCatchesUp) {
    plat::SetFixedTickCount(5000);
    BubbleSpot spot;
    spot.Start(10, -3, 10);
    spot.wait = 80;
    plat::AdvanceTickCount(50);
    spot.Update();
    EXPECT_EQ(spot.wait, 80);  // 50 ms is not more than the step
    Step(spot, 1);
    EXPECT_EQ(spot.wait, 79);
    spot.Update();
    EXPECT_EQ(spot.wait, 79);
    Step(spot, 600000);  // a long pause gives one step
    EXPECT_EQ(spot.wait, 78);

    Dragonfly fly;
    fly.Start(20, 1, 20);
    fly.vx = 0.05;
    Step(fly, 100);
    EXPECT_EQ(fly.x, 20);
    Step(fly, 1);
    EXPECT_FLOAT_EQ(fly.x, 20.05f);

    // The clock wrapping round 2^32 still counts as time passing.
    plat::SetFixedTickCount(0xFFFFFFF0u);
    Dragonfly late;
    late.Start(20, 1, 20);
    late.vx = 0.05;
    Step(late, 120);
    EXPECT_FLOAT_EQ(late.x, 20.05f);
}

TEST(Gulls, StartAtTheirPointsWithHeadingsFromTheFirstDraws) {
    plat::GameSrand(1);
    HeadlessGame g;
    const int first[GULL_COUNT] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    for (int i = 0; i < GULL_COUNT; ++i) {
        const Gull& gull = *g.app->gulls[i];
        EXPECT_EQ(gull.heading, first[i] / 5214.35391470401) << i;
        EXPECT_EQ(gull.x, GULL_START_POINTS[i][0]);
        EXPECT_EQ(gull.altitude, GULL_START_POINTS[i][1]);  // 49 until its first climb step
        EXPECT_EQ(gull.turnState, 0);
    }
}

TEST(Gulls, AStrayGullTurnsTheShortWayHomeAndSkipsItsTurnDraws) {
    plat::SetFixedTickCount(1000);
    // Draws 1, 2 and 5 hit the 5000 chance: the turn and climb chances of either gull.
    randscript::UseStateWhere(5, [](int i, int v) { return (i != 0 && i != 1 && i != 4) || v < 5000; });
    const uint32_t before = plat::GameRandState();
    Gull stray(250.5, 40, 100);  // 150.5 east of the centre
    stray.heading = 2.0;         // the centre lies at about 4.71: up is shorter
    stray.turnState = 2;
    plat::SetGameRandState(before);
    Step(stray);
    EXPECT_EQ(stray.homing, 1);
    EXPECT_EQ(stray.turnState, 0);
    EXPECT_GT(stray.stepsDown, stray.stepsUp);
    EXPECT_FLOAT_EQ(stray.heading, 2.1f);
    EXPECT_EQ(randscript::DrawsSince(before), 5);  // turn chance, climb chance and its three draws

    Gull near(100, 40, 100);
    plat::SetGameRandState(before);
    Step(near);
    EXPECT_EQ(near.homing, 0);
    EXPECT_EQ(randscript::DrawsSince(before), 8);

    // A heading that is no finite angle ends its search instead of hanging.
    Gull lost(300, 40, 300);
    lost.heading = std::numeric_limits<double>::infinity();
    Step(lost);
    EXPECT_EQ(lost.stepsUp, MAX_TURN_STEPS);
}

TEST(Gulls, LongFlightsStayOverTheLakeWithinTheirHeights) {
    plat::SetFixedTickCount(1000);
    plat::GameSrand(7);
    Gull gull(40, 48, 40);
    double maxDistance = 0;
    for (int i = 0; i < 20000; ++i) {
        Step(gull, 51);
        ASSERT_GE(gull.altitude, 30);
        ASSERT_LE(gull.altitude, 48);
        ASSERT_GE(gull.heading, 0);
        ASSERT_LE(gull.heading, 6.284);
        maxDistance = std::max(maxDistance, Distance2D(gull.x, gull.z, 100, 100));
    }
    EXPECT_LT(maxDistance, 170);  // it turns back after straying past 150
}

TEST(InsectSwarms, MembersFollowAndAreKeptInsideTheirSpace) {
    plat::SetFixedTickCount(1000);
    plat::GameSrand(3);
    InsectSwarm s;
    s.Start(50, 1, 60, 1);

    // Led by member 1, the leader holds still while the others move.
    randscript::UseStateWhere(2, [](int, int v) { return v >= 5000; });
    const double lx = s.x[1], ly = s.y[1], lz = s.z[1], other = s.x[3] + s.z[3];
    Step(s);
    EXPECT_EQ(s.x[1], lx);
    EXPECT_EQ(s.y[1], ly);
    EXPECT_EQ(s.z[1], lz);
    EXPECT_NE(s.x[3] + s.z[3], other);

    // A leader in the air takes its goal heading at once; one below -0.5 turns toward it by ten
    // times member 1's step.
    s.leader = 2;
    for (double y : {1.0, -1.0}) {
        s.y[2] = y;
        s.heading[2] = 1.0;
        s.targetHeading = 2.0;
        randscript::UseStateWhere(2, [](int, int v) { return v >= 5000; });
        Step(s);
        EXPECT_NEAR(s.heading[2], y > 0 ? 2.0 : 1.0 + 10 * s.speed[1], 1e-5) << y;
    }

    // Too high: pushed down, the swarm aims lower; too low: lifted, it aims higher.
    s.y[3] = 1 + 3 * 1 + 0.5;
    randscript::UseStateWhere(2, [](int, int v) { return v >= 5000; });
    Step(s);
    EXPECT_EQ(s.targetPitch, 6.4);
    EXPECT_LT(s.y[3], 4.5);
    s.y[2] = -3;
    randscript::UseStateWhere(2, [](int, int v) { return v >= 5000; });
    Step(s);
    EXPECT_EQ(s.targetPitch, 6.0);
    EXPECT_FLOAT_EQ(s.y[2], static_cast<float>(-0.2 + s.speed[2]));

    // A long run of a wide swarm: never outside its square, never no number.
    InsectSwarm wide;
    wide.Start(120, 0.3f, 80, 2);
    for (int i = 0; i < 5000; ++i) {
        Step(wide);
        for (int q = 0; q < SWARM_MEMBERS; ++q) {
            ASSERT_TRUE(std::isfinite(wide.y[q]) && std::isfinite(wide.heading[q]));
            ASSERT_LE(std::fabs(wide.x[q] - 120), 2);
            ASSERT_LE(std::fabs(wide.z[q] - 80), 2);
            ASSERT_GE(wide.y[q], -0.2001);
        }
        ASSERT_GE(wide.leader, 0);
        ASSERT_LT(wide.leader, SWARM_MEMBERS);
    }
}

TEST(BubbleSpots, RiseAfterTheirWaitAndReturnOnSurfacing) {
    plat::SetFixedTickCount(1000);
    BubbleSpot spot;
    spot.Start(30, -2, 40);
    EXPECT_GE(spot.wait, 50);
    EXPECT_LE(spot.wait, 100);
    spot.wait = 50;
    spot.riseSpeed = 0.25;
    for (int i = 1; i <= 50; ++i) Step(spot);
    EXPECT_EQ(spot.y, -2);
    Step(spot);  // step 51
    EXPECT_EQ(spot.y, -1.875);
    for (int i = 52; i < 65; ++i) {
        Step(spot);
        ASSERT_EQ(spot.surfaced, 0) << i;
    }
    Step(spot);  // step 65 would take it to -0.125
    EXPECT_EQ(spot.surfaced, 1);
    EXPECT_EQ(spot.y, -2);
    EXPECT_GE(spot.wait, 50);
    Step(spot);
    EXPECT_EQ(spot.surfaced, 0);
    EXPECT_EQ(spot.active, 1);
}

TEST(Dragonflies, StayAboutTheirHome) {
    plat::SetFixedTickCount(1000);
    plat::GameSrand(11);
    Dragonfly fly;
    fly.Start(70, 1, 30);
    for (int i = 0; i < 10000; ++i) {
        Step(fly);
        ASSERT_LE(std::fabs(fly.x - 70), 3);
        ASSERT_LE(std::fabs(fly.z - 30), 3);
        ASSERT_GE(fly.y, 0.2);
        ASSERT_LE(fly.y, 4);
    }
}

TEST(WildlifeSpawns, TakeTheFirstFreeObjectAndIgnoreAFullPool) {
    HeadlessGame g;
    GameApp& app = *g.app;
    for (int i = 0; i < DRAGONFLY_COUNT; ++i) app.SpawnDragonfly(float(i), 1, 5);
    app.SpawnDragonfly(99, 1, 99);
    EXPECT_EQ(app.dragonflies[DRAGONFLY_COUNT - 1]->homeX, DRAGONFLY_COUNT - 1);
    app.dragonflies[4]->active = 0;
    app.SpawnDragonfly(99, 1, 99);
    EXPECT_EQ(app.dragonflies[4]->homeX, 99);
    EXPECT_EQ(app.dragonflies[4]->range, 3);

    for (int i = 0; i < BUBBLE_SPOT_COUNT; ++i) app.SpawnBubbleSpot(float(i), -2, 5);
    app.SpawnBubbleSpot(-7, -2, 5);
    EXPECT_EQ(app.bubbleSpots[BUBBLE_SPOT_COUNT - 1]->x, BUBBLE_SPOT_COUNT - 1);
    EXPECT_EQ(app.bubbleSpots[0]->startY, -2);

    // Only swarm kinds 1 and 2 take a slot.
    app.SpawnInsectSwarm(5, 1, 5, 3);
    app.SpawnInsectSwarm(5, 1, 5, 0);
    EXPECT_EQ(app.insectSwarms[0]->active, 0);
    for (int i = 0; i < INSECT_SWARM_COUNT; ++i) app.SpawnInsectSwarm(float(i), 1, 5, 1 + i % 2);
    app.SpawnInsectSwarm(-7, 1, 5, 1);
    EXPECT_EQ(app.insectSwarms[INSECT_SWARM_COUNT - 1]->centreX, INSECT_SWARM_COUNT - 1);
    EXPECT_EQ(app.insectSwarms[1]->spread, 2.0f);
}
