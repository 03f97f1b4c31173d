// A whole fishing session on the generated lake, headless and unpaced with a fixed seed: walk to a
// swim, cast both rods, catapult groundbait over the baits, wait for a bite, strike, play, net,
// weigh, photograph and release the fish, then close and read the save file. The run is checked
// as a tape of the fishing states and the played fish's states.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>
#include "fishing/weight.h"
#include "platform/headless/headless_backend.h"
#include "platform/system.h"
#include "world/lake_view.h"
#include "generated_lake.h"
#include "test_support.h"

namespace {

// The scripted angler: key taps and clicks of whole frames on the headless backend.
struct Angler {
    HeadlessGame& g;
    GameApp& app;
    std::vector<std::pair<int32_t, int32_t>> tape;  // (fishingState, played fish's state) on each change
    int frames = 0;

    explicit Angler(HeadlessGame& game) : g(game), app(*game.app) {}

    void Frame() {
        g.Device()->ClearLog();
        app.RunOneFrame();
        ++frames;
        const int32_t fishState = app.playedFish < FISH_COUNT ? app.fish[app.playedFish]->state : -1;
        if (tape.empty() || tape.back() != std::pair{app.fishingState, fishState})
            tape.emplace_back(app.fishingState, fishState);
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
    template <class Done>
    bool Until(Done done, int limit) {
        for (int i = 0; i < limit && !done(); ++i) Frame();
        return done();
    }
    void Unlock() { Until([&] { return app.inputLock == 0; }, 200); }
    void Tap(plat::KeyId key) {
        g.backend->QueueKey(key, true);
        Frames(2);
        g.backend->QueueKey(key, false);
        Frame();
        Unlock();
    }
    void Hold(plat::KeyId key, bool down) { g.backend->QueueKey(key, down); }
    void Click() {
        g.backend->QueueMouseButton(0, true);
        Frames(2);
        g.backend->QueueMouseButton(0, false);
        Frame();
        Unlock();
    }
    bool Shows(const char* text) const {
        for (const auto& t : g.Device()->texts)
            if (t.text == text) return true;
        return false;
    }
};

}  // namespace

// The ordered states a tape must pass through (other entries may come between).
bool PassesThrough(const std::vector<std::pair<int32_t, int32_t>>& tape,
                   const std::vector<std::pair<int32_t, int32_t>>& steps) {
    size_t next = 0;
    for (const auto& entry : tape)
        if (next < steps.size() && entry == steps[next]) ++next;
    return next == steps.size();
}

TEST(FishingSession, ACatchFromTheWalkToTheSaveFile) {
    GeneratedLakeFolder folder;
    if (!folder.ok) GTEST_SKIP() << "no generated lake";
    int32_t caught = NO_FISH;
    float weight = 0;
    int32_t kind = 0;
    {
        HeadlessGame g;
        ASSERT_TRUE(g.Start());
        GameApp& app = *g.app;
        g.Device()->recordCallLines = false;
        g.backend->msPerFrame = 16;
        plat::GameSrand(2024);
        app.gameMode = MODE_MAP;
        app.InitialiseLake();
        ASSERT_TRUE(app.lakeInitialised && !app.IsCloseRequested());

        // The map's tackle but the strongest rod and reel and main line (a firm drag tires the
        // fish sooner, so that the hook has less time to work loose).
        const int swim = 5;
        app.currentSwim = swim;
        app.rodReel = 4;
        app.mainlineLb = 16;
        app.dragBase = app.mainlineLb / 2 + app.rodReel * 2;
        plat::GameSrand(1);  // a seed whose scripted fight ends in the net (most do)
        // Into the fishing screen as the map's button goes there.
        app.arrivalCountdown = 20;
        app.LoadTextureSet(TEXTURE_SET_LAKE);
        app.gameMode = MODE_FISHING;
        app.savedMapHeight = app.eyeY;
        app.eyeY = 2.0;
        const SwimRecord& s = *app.swims[swim - 1];
        app.eyeX = static_cast<float>(s.x + std::sin(s.facing + 3.5f) * 4.0f);
        app.eyeZ = static_cast<float>(s.z + std::cos(s.facing + 3.5f) * 4.0f);
        app.heading = s.facing;
        app.pitch = 6.4;

        Angler a(g);
        a.Frames(25);
        EXPECT_TRUE(a.Shows("Press F to start fishing here."));
        a.Tap(plat::KeyId::F);
        ASSERT_TRUE(a.Until([&] { return app.fishingState == FISHING_CASTING_ROD1; }, 2000));
        a.Frames(2);
        a.Click();
        ASSERT_TRUE(a.Until([&] { return app.castFlight[0] == 0; }, 2000));
        a.Click();
        ASSERT_TRUE(a.Until([&] { return app.fishingState == FISHING_BOTH_RODS_OUT; }, 2000));
        // Three pouches of hemp over the baits.
        for (int shot = 0; shot < 3; ++shot) {
            a.Tap(plat::KeyId::G);
            ASSERT_EQ(app.fishingState, FISHING_CATAPULT_GROUNDBAIT);
            a.Frames(2);
            a.Click();
            ASSERT_TRUE(a.Until([&] { return app.fishingState == FISHING_BOTH_RODS_OUT; }, 2000));
        }

        // Wait for the alarm and the strike hint, then strike that rod.
        ASSERT_TRUE(a.Until([&] { return app.alarmFrames[0] >= 4 || app.alarmFrames[1] >= 4; }, 20000));
        const int rod = app.alarmFrames[0] >= 4 ? 0 : 1;
        EXPECT_TRUE(a.Shows(rod == 0 ? "Press 1 to strike rod 1 !" : "Press 2 to strike rod 2 !"));
        a.Tap(rod == 0 ? plat::KeyId::Num1 : plat::KeyId::Num2);
        ASSERT_EQ(app.fishingState, FISHING_ROD_IN_HAND);
        ASSERT_EQ(app.rodHasFish[rod], 1);
        caught = app.playedFish;
        ASSERT_LT(caught, FISH_COUNT);

        // Play: clutch screwed up (right button), the rod swung against the fish, and a step
        // toward the water whenever the net would be on land.
        g.backend->QueueMouseButton(1, true);
        bool stepping = false;
        for (int k = 0; k < 20000 && app.fishingState == FISHING_ROD_IN_HAND && app.rodHasFish[rod]; ++k) {
            const bool dry = app.NetWaterProbe() == GameApp::NET_PROBE_DRY;
            if (dry != stepping) {
                g.backend->QueueKey(plat::KeyId::Up, dry);
                stepping = dry;
            }
            if (k % 40 == 0) g.backend->QueueMouseMotion(app.fishBearing > app.rodYaw ? -20 : 20, 0);
            a.Frame();
            ASSERT_GE(app.clutch, -100);
            ASSERT_LE(app.clutch, 400);
        }
        g.backend->QueueMouseButton(1, false);
        if (stepping) g.backend->QueueKey(plat::KeyId::Up, false);
        ASSERT_EQ(app.fishingState, FISHING_FISH_LANDED) << "lost: " << int(app.fishLost) << " snapped "
                                                         << int(app.lineSnapped) << " reason " << app.lossReason;
        a.Frames(2);
        weight = static_cast<float>(app.fish[caught]->weight);
        kind = app.fish[caught]->kind;
        EXPECT_TRUE(a.Shows(CatchWeightText(weight).c_str()));
        EXPECT_EQ(app.pendingBestWeight, weight);

        // The photo: P, then P again after a second; the fish goes back.
        a.Tap(plat::KeyId::P);
        ASSERT_EQ(app.fishingState, FISHING_PHOTO_MODE);
        // The mat lies on the bank, not under it: every corner of it above the ground there.
        const plat::DrawRecord* mat = nullptr;
        for (const auto& d : g.Device()->draws)
            if (FileOf(d) == "mat.bmp") mat = &d;
        ASSERT_NE(mat, nullptr);
        for (const float u : {-1.0f, 1.0f})
            for (const float v : {-1.0f, 1.0f}) {
                const float (&w)[4][4] = mat->world.m;
                const float x = u * w[0][0] + v * w[2][0] + w[3][0];
                const float y = u * w[0][1] + v * w[2][1] + w[3][1];
                const float z = u * w[0][2] + v * w[2][2] + w[3][2];
                EXPECT_GT(y, HighestCornerUnder(*app.lakeView, x, z)) << "mat corner at " << x << ", " << z;
            }
        a.Frames(70);
        a.Tap(plat::KeyId::P);
        ASSERT_TRUE(a.Until([&] { return app.fishingState != FISHING_PHOTO_MODE; }, 100));
        EXPECT_EQ(app.fishingState, FISHING_WALKING_BACK);
        EXPECT_EQ(app.fish[caught]->state, FISH_CRUISE);
        EXPECT_EQ(app.bestWeight[caught], weight);

        const std::vector<std::pair<int32_t, int32_t>> route = {
            {FISHING_ROAMING, -1},          {FISHING_CASTING_ROD1, -1},        {FISHING_ROD1_IN_FLIGHT, -1},
            {FISHING_ROD2_IN_FLIGHT, -1},   {FISHING_BOTH_RODS_OUT, -1},       {FISHING_CATAPULT_GROUNDBAIT, -1},
            {FISHING_BOTH_RODS_OUT, -1},    {FISHING_ROD_IN_HAND, FISH_HOOKED}, {FISHING_FISH_LANDED, FISH_LANDED},
            {FISHING_PHOTO_MODE, FISH_LANDED}, {FISHING_WALKING_BACK, -1}};
        EXPECT_TRUE(PassesThrough(a.tape, route));
        // Once struck, the fish stays hooked until the net: no loss, no other state between.
        for (const auto& [state, fishState] : a.tape) {
            if (state == FISHING_ROD_IN_HAND) {
                EXPECT_EQ(fishState, FISH_HOOKED);
            }
        }
        EXPECT_LT(a.frames, 40000);
    }  // the game closes: the save file is written

    std::ifstream file("photos/photos.qd");
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 925u);
    EXPECT_EQ(lines[3], "1");             // photo 0 in use
    EXPECT_EQ(lines[7], std::to_string(kind));
    EXPECT_EQ(lines[17 + 3], "0");        // photo 1 free
    // Read back as the file holds it: "%e" keeps seven digits.
    char written[32];
    std::snprintf(written, sizeof written, "%e", static_cast<double>(weight));
    const float stored = std::strtof(written, nullptr);
    EXPECT_EQ(lines[5], written);
    HeadlessGame again;
    EXPECT_EQ(again.app->bestWeight[caught], stored);
    EXPECT_EQ(again.app->photos[0]->fishWeight, stored);
    EXPECT_EQ(again.app->photos[0]->fishKind, kind);
    EXPECT_EQ(again.app->photos[0]->swim, 5);
}
