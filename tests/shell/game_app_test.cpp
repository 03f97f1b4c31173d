// Start-up, per-frame and shut-down sequences of the game object on the headless backend.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include "fishing_session.h"
#include "shell/entry.h"
#include "test_support.h"

TEST(GameAppLifecycle, StartsOnTheTitleWithLoadingMessageFontsAndStates) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    GameApp& app = *g.app;
    EXPECT_EQ(app.gameMode, MODE_TITLE);
    EXPECT_EQ(app.loadingMessage, 0);
    ASSERT_EQ(g.backend->paintedTexts.size(), 1u);
    EXPECT_EQ(g.backend->paintedTexts[0],
              "Loading 'QUELLAN' version 1.3 (Wendlow Lake at Harrowmere Fisheries) ... please wait");
    // The framed window's outer rectangle: the 800 x 600 picture with 4-pixel borders and a
    // 30-pixel caption.
    EXPECT_EQ(app.clientWidth, 808.0);
    EXPECT_EQ(app.clientHeight, 634.0);

    // The window exists before the device; the loading text is painted in between.
    auto& ev = g.backend->events;
    auto win = std::find(ev.begin(), ev.end(), "CreateMainWindow");
    auto dev = std::find(ev.begin(), ev.end(), "CreateDevice");
    ASSERT_NE(win, ev.end());
    ASSERT_NE(dev, ev.end());
    EXPECT_LT(win, dev);

    plat::HeadlessDevice* d = g.Device();
    ASSERT_EQ(d->fontsCreated.size(), 3u);
    EXPECT_EQ(d->fontsCreated[0].height, 16);  // 808 / 50, 808 / 25, 808 / 35
    EXPECT_EQ(d->fontsCreated[1].height, 32);
    EXPECT_EQ(d->fontsCreated[2].height, 23);
    const plat::DeviceState& s = d->State();
    EXPECT_EQ(s.renderState[plat::RS_ALPHAREF], 0xFEu);
    EXPECT_TRUE(s.lightEnabled[0]);
    EXPECT_FALSE(s.lightEnabled[1]);
    // Projection: quarter-turn field of view, aspect 800/600.
    EXPECT_NEAR(s.projection.m[1][1], 1.0f / std::tan(0.7853982f / 2), 1e-5);
    EXPECT_NEAR(s.projection.m[0][0], s.projection.m[1][1] / (800.0f / 600.0f), 1e-5);
    // Light 1, the sun of the lake screens: shining down along (0.8, -0.4, 0.4) / |(0.8, -0.4, 0.4)|.
    EXPECT_EQ(s.lights[1].type, plat::LIGHT_DIRECTIONAL);
    EXPECT_NEAR(s.lights[1].direction.x, 0.8164966f, 1e-6);
    EXPECT_NEAR(s.lights[1].direction.y, -0.4082483f, 1e-6);
    EXPECT_NEAR(s.lights[1].direction.z, 0.4082483f, 1e-6);
}

// Device creation seeds the generator with the calendar time in seconds: games started at
// different times draw different numbers.
TEST(GameAppLifecycle, DeviceCreationSeedsTheGeneratorFromTheCalendar) {
    const int64_t calendar[2] = {1700000000, 1700000077};
    int first[2];
    for (int run = 0; run < 2; ++run) {
        HeadlessGame g(100000 + 5000 * run);
        g.backend->calendarSeconds = calendar[run];
        plat::GameSrand(1);  // as in a fresh process
        ASSERT_FALSE(plat::Failed(g.app->StartUp()));
        EXPECT_EQ(plat::GameRandState(), static_cast<uint32_t>(calendar[run]));
        first[run] = plat::GameRand();
    }
    EXPECT_NE(first[0], first[1]);
}

TEST(GameAppLifecycle, FrameClearsWithTheModeColourInsideOneScene) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    g.Device()->ClearLog();
    g.Frames(1);
    ASSERT_EQ(g.Device()->clears.size(), 1u);
    EXPECT_EQ(g.Device()->clears[0].colour, 0x00000000u);
    EXPECT_EQ(g.Device()->clears[0].flags, plat::CLEAR_TARGET | plat::CLEAR_ZBUFFER);
    EXPECT_FALSE(g.Device()->inScene);
    EXPECT_EQ(g.Device()->calls.front(), "BeginScene");
    EXPECT_EQ(g.Device()->calls.back(), "EndScene");

    EXPECT_EQ(g.app->ClearColourForMode(MODE_FISHING), 0x00323232u);
    EXPECT_EQ(g.app->ClearColourForMode(MODE_CATCH_RECORDS), 0x00000000u);
}

TEST(GameAppLifecycle, CloseReleasesEverythingInOrder) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    g.Frames(2);
    g.backend->QueueClose();
    EXPECT_FALSE(g.app->RunOneFrame());
    EXPECT_TRUE(g.app->IsClosed());
    plat::HeadlessDevice* d = g.Device();
    EXPECT_EQ(d->liveFonts, 0);
    EXPECT_EQ(d->liveVertexBuffers, 0);
    EXPECT_EQ(d->liveTextures, 0);
    EXPECT_EQ(g.app->textFontSmall, nullptr);
    auto& ev = g.backend->events;
    auto dev = std::find(ev.begin(), ev.end(), "DestroyDevice");
    auto win = std::find(ev.begin(), ev.end(), "DestroyMainWindow");
    ASSERT_NE(dev, ev.end());
    ASSERT_NE(win, ev.end());
    EXPECT_LT(dev, win);
}

// A second headless game would install a backend of its own and delete the device that the first
// game's fonts and textures still point at: the test support refuses it.
TEST(GameAppLifecycleDeathTest, OnlyOneHeadlessGameLivesAtATime) {
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_DEATH(
        {
            HeadlessGame first;
            first.Start();
            HeadlessGame second;
        },
        "one HeadlessGame at a time");
    // One after the other is fine.
    { HeadlessGame first; }
    HeadlessGame second;
    EXPECT_TRUE(second.Start());
}

TEST(GameAppLifecycle, TerminationClosesInOrderWithItsCodeUnlessAFatalErrorCameFirst) {
    {
        HeadlessGame g;
        ASSERT_TRUE(g.Start());
        g.Frames(2);
        g.backend->QueueTerminate(143);
        EXPECT_EQ(g.app->RunLoop(), 143);
        EXPECT_TRUE(g.app->IsClosed());
        EXPECT_EQ(g.Device()->liveFonts, 0);
        EXPECT_EQ(g.backend->events.back(), "DestroyMainWindow");
    }
    // A signal while the box of a fatal error is shown: the error's code stands.
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    g.app->RequestClose(1, "The lake could not be loaded");
    g.backend->QueueTerminate(143);
    EXPECT_EQ(g.app->RunLoop(), 1);
    EXPECT_EQ(g.backend->errorBoxes.size(), 1u);
}

TEST(GameAppLifecycle, FullscreenToggleRemakesOneSetOfFontsAndResetsState) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    g.Device()->SetRenderState(plat::RS_FILLMODE, plat::FILL_WIREFRAME);
    g.backend->QueueToggleFullscreen();
    g.Frames(1);
    EXPECT_EQ(g.Device()->liveFonts, 3);
    EXPECT_EQ(g.Device()->fontsCreated.size(), 6u);
    EXPECT_EQ(g.Device()->fontsCreated[3].height, 16);  // sized from the width at creation
    EXPECT_EQ(g.Device()->State().renderState[plat::RS_FILLMODE], static_cast<uint32_t>(plat::FILL_SOLID));
    EXPECT_EQ(g.Device()->State().renderState[plat::RS_ALPHAREF], 0xFEu);
    EXPECT_TRUE(g.backend->IsFullscreen());
    EXPECT_FALSE(g.app->IsPaused());
}

// The reset puts the map's light on and the sun out; at the lake every lit draw after Alt+Enter
// still has the lights the screen set: the sun, or in the tour none, then the tour's own light.
TEST(GameAppLifecycle, FullscreenToggleAtTheLakeKeepsTheScreensLights) {
    const struct {
        const char* what;
        void (GameApp::*enter)();
        int frames;  // 16 ms each: a tour tick every other frame
        bool sun, tourLight;
    } cases[] = {
        {"fishing", &GameApp::EnterFishingScreen, 5, true, false},
        {"duck mode", &GameApp::EnterDuckMode, 5, true, false},
        {"tour, its first ticks: the sun out, its own light not yet in", &GameApp::EnterTour, 2, false, false},
        {"tour, its own light fading in", &GameApp::EnterTour, 30, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fishsession::FishingGame g;
        (g.App().*c.enter)();
        g.Frames(c.frames);
        g.backend->QueueToggleFullscreen();
        g.Frames(1);
        ASSERT_TRUE(g.backend->IsFullscreen());
        int lit = 0;
        for (const plat::DrawRecord& d : g.Device()->draws) {
            if (!d.lighting || lit++) continue;
            EXPECT_FALSE(d.lightEnabled[LIGHT_MAP]);
            EXPECT_EQ(d.lightEnabled[LIGHT_LAKESIDE], c.sun);
            EXPECT_EQ(d.lightEnabled[LIGHT_TOUR], c.tourLight);
        }
        EXPECT_GT(lit, 0);
    }
}

TEST(GameAppLifecycle, StartUpFailureShowsAMessageAndExitsNonZero) {
    plat::HeadlessBackend* backend = plat::InstallHeadlessBackend();
    backend->failDevice = true;
    EXPECT_EQ(GameMain(), 1);
    EXPECT_EQ(backend->errorBoxes.size(), 1u);
    plat::InstallBackend(nullptr);

    HeadlessGame g;
    g.app->Close();  // nothing started: closing is harmless
    EXPECT_TRUE(g.app->IsClosed());
}

TEST(GameAppLifecycle, FontThatCannotBeMadeFailsResetDeviceResources) {
    HeadlessGame g;
    // Start up by hand so the device exists before fonts are made.
    ASSERT_TRUE(g.Start());
    g.Device()->failFontCreation = true;
    g.app->LoseDeviceResources();
    EXPECT_TRUE(plat::Failed(g.app->ResetDeviceResources()));
    EXPECT_EQ(g.app->textFontSmall, nullptr);
}
