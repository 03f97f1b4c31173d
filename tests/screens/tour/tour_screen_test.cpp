// The lake tour on the headless backend: the flight round the waypoints on 20-ms ticks, the light
// fade, the water sheet, the captions, and the way back to the map with its lights.
#include <gtest/gtest.h>
#include <cmath>
#include <string>
#include <vector>
#include "map_fixture.h"

using mapfix::MapGame;

namespace {

// The tour entered from the map by its button, at map zoom 120, and the click's lock run out.
struct TourGame : MapGame {
    TourGame() {
        app->eyeY = 120.0;
        Device()->recordCallLines = false;
        Click(20, 2.57f);
        EXPECT_EQ(app->gameMode, MODE_TOUR);
        app->inputLock = 0;
    }
    const plat::DeviceState& State() { return Device()->State(); }
    // Frames drawn `ms` apart on the injected clock (21: every frame has a 20-ms tick).
    void TourFrames(int n, uint32_t ms = 21) {
        backend->msPerFrame = 0;
        for (int i = 0; i < n; ++i) {
            plat::AdvanceTickCount(ms);
            Device()->ClearLog();
            app->RunOneFrame();
        }
    }
    bool SheetDrawn() {
        for (const plat::DrawRecord& d : Device()->draws)
            if (FileOf(d) == "water3.tga" && d.alphaRef == 0) return true;
        return false;
    }
};

}  // namespace

TEST(TourScreen, FliesRoundAllEightWaypointsMovingOnlyOnTicks) {
    TourGame g;
    GameApp& app = g.App();
    app.textures[TEX_WATER3] = StandInTexture(g.Device(), "water3.tga");
    std::vector<int32_t> reached;
    int sheetFrames = 0;
    double lastX = app.eyeX, lastZ = app.eyeZ;
    for (int tick = 1; tick <= 6000 && reached.size() < 9; ++tick) {
        const int32_t before = app.tourWaypoint;
        g.TourFrames(1);
        ASSERT_EQ(app.tourTicks, tick);
        const double step = std::hypot(app.eyeX - lastX, app.eyeZ - lastZ);
        ASSERT_LE(step, 0.7 + 1e-6) << "tick " << tick;
        ASSERT_GE(step, 0.6) << "tick " << tick;
        lastX = app.eyeX;
        lastZ = app.eyeZ;
        if (app.tourWaypoint != before) {
            reached.push_back(before);
            // Reached within 10 on x and on z, whatever the height.
            EXPECT_LT(std::fabs(app.eyeX - app.tourWaypointX[before]), 10);
            EXPECT_LT(std::fabs(app.eyeZ - app.tourWaypointZ[before]), 10);
        }
        // Under the surface the sheet of water hangs in front of the eye, and only there: on the
        // legs to waypoints 3 to 6 and while rising toward 7.
        ASSERT_EQ(g.SheetDrawn(), app.eyeY < 0.1) << "tick " << tick;
        if (app.eyeY < 0.1) {
            ++sheetFrames;
            EXPECT_TRUE(app.tourWaypoint >= 3 && app.tourWaypoint <= 7) << "waypoint " << app.tourWaypoint;
        }
        ASSERT_GE(app.heading, 0.0);
        ASSERT_LE(app.heading, 6.284);
    }
    EXPECT_EQ(reached, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 0}));
    EXPECT_GT(sheetFrames, 100);

    // Frames without a tick neither move the eye nor count toward the captions.
    const double x = app.eyeX, z = app.eyeZ;
    const int32_t ticks = app.tourTicks;
    g.TourFrames(3, 5);
    EXPECT_EQ(app.eyeX, x);
    EXPECT_EQ(app.eyeZ, z);
    EXPECT_EQ(app.tourTicks, ticks);

    // A glide speed of 0 leaves the turn search no tolerance: each count stops at its cap, the
    // counts tie and the heading stays.
    app.moveSpeed = 0.0;
    const double heading = app.heading;
    g.TourFrames(1);
    EXPECT_EQ(app.heading, heading);
}

TEST(TourScreen, TheSunFadesOutAndTheToursLightInFromTheSixthTickToTheThirtyFifth) {
    TourGame g;
    GameApp& app = g.App();
    EXPECT_TRUE(g.State().lightEnabled[LIGHT_LAKESIDE]);
    for (int tick = 1; tick <= 40; ++tick) {
        SCOPED_TRACE(testing::Message() << "tick " << tick);
        g.TourFrames(1);
        const plat::DeviceState& s = g.State();
        EXPECT_FALSE(s.lightEnabled[LIGHT_LAKESIDE]);
        EXPECT_FALSE(s.lightEnabled[LIGHT_MAP]);
        // Five steps of 0.1 from -0.5 end just below 0 in single precision: dark until tick 6.
        EXPECT_EQ(s.lightEnabled[LIGHT_TOUR], tick >= 6);
        if (tick < 6) continue;
        const plat::Light& light = s.lights[LIGHT_TOUR];
        EXPECT_EQ(light.type, plat::LIGHT_DIRECTIONAL);
        if (tick < 35) {
            const float level = 0.1f + 0.025f * (tick - 6);
            EXPECT_NEAR(light.diffuse.r, level, 1e-5);
            EXPECT_NEAR(light.ambient.g, level - 0.2f, 1e-5);
        } else {
            EXPECT_FLOAT_EQ(light.diffuse.b, 0.85f);
            EXPECT_FLOAT_EQ(light.ambient.r, 0.65f);
            EXPECT_EQ(app.tourFade, 999.0f);
        }
    }
}

TEST(TourScreen, CaptionsRunOnceThenOnlyTheExitPromptStays) {
    TourGame g;
    GameApp& app = g.App();
    auto texts = [&](int32_t ticks) {
        app.tourTicks = ticks - 1;  // the frame's tick brings it to `ticks`
        g.TourFrames(1);
        return g.Device()->texts.size();
    };
    // Caption lines beside "Press X to exit."; nothing between the captions and the prompt.
    EXPECT_EQ(texts(49), 2u);
    EXPECT_EQ(texts(50), 3u);
    EXPECT_EQ(texts(369), 3u);
    EXPECT_EQ(texts(400), 1u);
    EXPECT_EQ(texts(401), 2u);
    EXPECT_EQ(texts(5000), 2u);
}

TEST(TourScreen, XGoesBackToTheMapAtItsZoomWithOnlyTheMapLight) {
    // After the fade, and right after entering (before the first tick has put the sun out).
    for (int frames : {40, 0}) {
        SCOPED_TRACE(testing::Message() << frames << " frames");
        TourGame g;
        GameApp& app = g.App();
        g.TourFrames(frames);
        InputDeviceState keys{};
        keys.keyX = 1;
        app.inputLock = 0;
        app.DispatchScreenInput(keys);
        EXPECT_EQ(app.gameMode, MODE_MAP);
        EXPECT_EQ(app.inputLock, 9);
        EXPECT_EQ(app.eyeY, 120.0);
        EXPECT_EQ(app.moveSpeed, 0.0);
        const plat::DeviceState& s = g.State();
        EXPECT_TRUE(s.lightEnabled[LIGHT_MAP]);
        EXPECT_FALSE(s.lightEnabled[LIGHT_LAKESIDE]);
        EXPECT_FALSE(s.lightEnabled[LIGHT_TOUR]);
    }
}
