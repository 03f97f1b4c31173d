// Landing, weighing and photographing on constructed fish: the net, the sling, best weights,
// photo records, the release, and what reaches the save file.
#include <gtest/gtest.h>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "common/single_precision.h"
#include "fishing/fishing_table.h"
#include "fishing_session.h"
#include "scratch_dir.h"

namespace {
// The angler at swim 1 (50, 44 facing north), eye at its standing point (50, 40), a fish on rod 1.
void FishOnAtSwim(FishingTable& t, Fish& f) {
    GameApp& app = t.app;
    *app.swims[0] = SwimRecord{50, 44, 0};
    app.currentSwim = 1;
    app.fishingState = FISHING_ROD_IN_HAND;
    app.eyeX = 50;
    app.eyeY = 2;
    app.eyeZ = 40;
    app.heading = 0;
    app.rodStruck[0] = 1;
    app.rodFish[0] = app.playedFish = t.Index(f);
    app.rodHasFish[0] = 1;
    f.state = FISH_HOOKED;
}

// The landed fish in the sling (what the net leaves), its start point at (70, -1.5, 80).
Fish& LandedFish(FishingTable& t, float weight, int32_t kind = 28) {
    Fish& f = t.AddFish(52, -1, 45);
    f.weight = weight;
    f.kind = kind;
    FishOnAtSwim(t, f);
    *t.app.fishPlacements[t.Index(f)] = FishPlacement{70, -1.5, 80, 0, f.size, weight, kind, 30};
    t.app.fishingState = FISHING_FISH_LANDED;
    t.app.rodHasFish[0] = 0;
    f.state = FISH_NETTED;
    return f;
}

// Photo mode as P opens it, then the second P: the frames until the fish is back.
void TakePhoto(FishingTable& t) {
    GameApp& app = t.app;
    app.fishingState = FISHING_PHOTO_MODE;
    app.photoCountdown = 3;
    app.photoShotPending = 1;
    for (int frame = 0; frame < 10 && app.fishingState == FISHING_PHOTO_MODE; ++frame) {
        app.UpdatePhotoMode();
        app.DrawFishOnMat();
    }
}

// Fish `i` in the weigh sling at swim 2 of a fishing session, landed on rod 1.
void LandInSession(fishsession::FishingGame& g, int32_t i, float weight) {
    GameApp& app = g.App();
    g.StandAt(2);
    Fish& f = *app.fish[i];
    f.active = 1;
    f.state = FISH_NETTED;
    f.weight = weight;
    f.size = 20;
    f.kind = 28;
    f.shapeFactor = 30;
    app.playedFish = app.rodFish[0] = i;
    app.rodStruck[0] = 1;
    app.fishingState = FISHING_FISH_LANDED;
}

bool Shows(FishingTable& t, const std::string& text) {
    for (const auto& r : t.Device()->texts)
        if (r.text == text) return true;
    return false;
}
}  // namespace

TEST(LandingNet, TenFramesOverTheLoweredNetLandTheFishNineDoNot) {
    FishingTable t;
    t.lake.height = [](double, double) { return -3.0f; };
    Fish& f = t.AddFish(50 + 6.5 * std::sin(-0.3), -1, 40 + 6.5 * std::cos(-0.3));
    FishOnAtSwim(t, f);
    GameApp& app = t.app;
    // The net is lowered to exactly its lowered height and turned to the fish.
    int frames = 0;
    while (app.landingFrames < 9 && frames < 200) {
        app.UpdateLandingNet();
        ++frames;
    }
    ASSERT_EQ(app.landingFrames, 9);
    EXPECT_EQ(app.netHeight, GameApp::LOWERED_NET_HEIGHT);
    EXPECT_EQ(app.netWasOverWater, 1);
    // The fish swims off: the count starts again.
    f.x += 10;
    app.UpdateLandingNet();
    EXPECT_EQ(app.landingFrames, 0);
    EXPECT_EQ(app.fishingState, FISHING_ROD_IN_HAND);
    f.x -= 10;
    for (int k = 0; k < 9; ++k) app.UpdateLandingNet();
    EXPECT_EQ(app.fishingState, FISHING_ROD_IN_HAND);
    app.UpdateLandingNet();
    EXPECT_EQ(app.fishingState, FISHING_FISH_LANDED);
    EXPECT_EQ(f.state, FISH_NETTED);
    EXPECT_EQ(app.rodHasFish[0], 0);
    EXPECT_EQ(app.landingFrames, 0);
}

TEST(LandingNet, OnLandTheNetStaysRaisedAndTheHintShows) {
    FishingTable t;
    t.lake.height = [](double, double z) { return z < 46 ? 0.5f : -3.0f; };  // dry 5 ahead
    Fish& f = t.AddFish(50, -1, 45);
    FishOnAtSwim(t, f);
    GameApp& app = t.app;
    app.lineLength = 10;
    for (int k = 0; k < 60; ++k) app.UpdateLandingNet();
    EXPECT_EQ(app.netHeight, GameApp::RAISED_NET_HEIGHT);
    EXPECT_EQ(app.landingFrames, 0);
    EXPECT_EQ(app.fishingState, FISHING_ROD_IN_HAND);
    t.Device()->ClearLog();
    app.DrawFishingTexts();
    EXPECT_TRUE(Shows(t, "Move near the water to use the landing net."));
    EXPECT_TRUE(Shows(t, "Hint!"));
    app.lineLength = 15;
    t.Device()->ClearLog();
    app.DrawFishingTexts();
    EXPECT_FALSE(Shows(t, "Hint!"));
}

TEST(Weighing, TheSlingShowsTheCatchAndItsWeight) {
    FishingTable t;
    Fish& named = LandedFish(t, 12.9f, 5);
    std::snprintf(t.app.stockRecords[t.Index(named)]->name, STOCK_NAME_LENGTH, "Scarface");
    std::snprintf(t.app.stockRecords[t.Index(named)]->tagNumber, STOCK_TAG_LENGTH, "No.5");
    t.app.DrawFishOnMat();
    EXPECT_EQ(named.state, FISH_LANDED);
    EXPECT_EQ(t.app.pendingBestWeight, 12.9f);
    t.Device()->ClearLog();
    t.app.DrawFishingTexts();
    EXPECT_TRUE(Shows(t, "Congratulations!"));
    EXPECT_TRUE(Shows(t, "You have caught Scarface  No.5"));
    EXPECT_TRUE(Shows(t, "12 lb's  14 ounces"));
    EXPECT_TRUE(Shows(t, "Press P to take a photo"));
    // The camera looks at the sling from behind the swim.
    EXPECT_DOUBLE_EQ(t.app.eyeX, F32(50 + F32(6.0 * F32(std::sin(3.5)))));
    EXPECT_EQ(t.app.heading, 0);

    named.kind = 29;
    t.Device()->ClearLog();
    t.app.DrawFishingTexts();
    EXPECT_FALSE(Shows(t, "Congratulations!"));
    EXPECT_TRUE(Shows(t, "You have caught an unnamed Mirror"));
}

TEST(Photo, ThePhotoRecordAndTheBestWeightReachTheSaveFileAndLoadBack) {
    ScratchDir dir;
    std::filesystem::create_directories("photos");
    int32_t index = -1;
    {
        FishingTable t;
        t.app.method = 5;
        t.app.rodInWater[1] = 1;
        t.app.waterScroll2 = 0.25;
        Fish& f = LandedFish(t, 12.9f, 7);
        index = t.Index(f);
        t.app.bestWeight[index] = 10.0f;
        t.app.DrawFishOnMat();
        t.app.rodInWater[0] = 1;  // still marked in the water: being the struck rod keeps it off its rest
        TakePhoto(t);
        GameApp& app = t.app;
        EXPECT_EQ(app.fishingState, FISHING_WALKING_BACK);
        EXPECT_EQ(app.playedFish, NO_FISH);
        EXPECT_EQ(app.rodFish[0], NO_FISH);
        EXPECT_EQ(app.rodStruck[0], 0);
        EXPECT_EQ(app.photoCountdown, 0);
        EXPECT_EQ(app.pendingBestWeight, NO_PENDING_WEIGHT);
        EXPECT_EQ(app.bestWeight[index], 12.9f);
        // Back in the water at its start point, calmed.
        EXPECT_EQ(f.state, FISH_CRUISE);
        EXPECT_EQ(f.x, 70);
        EXPECT_EQ(f.z, 80);
        EXPECT_EQ(f.fear, 100);
        const PhotoRecord& p = *app.photos[0];
        EXPECT_EQ(p.inUse, 1);
        EXPECT_EQ(p.swim, 1);
        EXPECT_EQ(p.fishKind, 7);
        EXPECT_EQ(p.fishWeight, 12.9f);
        EXPECT_EQ(p.rod1Shown, 0);  // the struck rod
        EXPECT_EQ(p.rod2Shown, 1);
        EXPECT_EQ(p.alarmRig, 0);   // a waggler
        EXPECT_EQ(p.waterScroll[1], 0.25f);
        // The camera where the sling put it, 6 units from the swim at its facing + 3.5.
        EXPECT_FLOAT_EQ(p.eyeX, static_cast<float>(50 + 6 * std::sin(3.5)));
        EXPECT_EQ(p.eyeY, 2.0f);
        EXPECT_FLOAT_EQ(p.eyeZ, static_cast<float>(44 + 6 * std::cos(3.5)));
        EXPECT_EQ(app.photos[1]->inUse, 0);
        // A second catch on free line, which is fished on the bite alarms too: the next slot, alarms shown.
        app.method = 7;
        LandedFish(t, 8.5f);
        t.app.DrawFishOnMat();
        TakePhoto(t);
        EXPECT_EQ(app.photos[1]->fishWeight, 8.5f);
        EXPECT_EQ(app.photos[1]->alarmRig, 1);
    }  // the game closes and writes its save file
    HeadlessGame again;
    EXPECT_EQ(again.app->bestWeight[index], 12.9f);
    EXPECT_EQ(again.app->photos[0]->inUse, 1);
    EXPECT_EQ(again.app->photos[0]->fishKind, 7);
    EXPECT_EQ(again.app->photos[0]->fishWeight, 12.9f);
}

// X during a photo's count-down leaves nothing waiting: the next fish is photographed only after
// its own second P, a second after its photo mode began.
TEST(Photo, XDuringTheCountdownLeavesNoShotForTheNextFish) {
    fishsession::FishingGame g;
    GameApp& app = g.App();
    LandInSession(g, 3, 9.0f);
    g.Frames(1);
    app.fishingState = FISHING_PHOTO_MODE;
    app.photoCountdown = 2;
    app.photoShotPending = 1;
    g.Tap(plat::KeyId::X);
    ASSERT_EQ(app.gameMode, MODE_MAP);
    ASSERT_EQ(app.photos[0]->inUse, 0);

    app.gameMode = MODE_FISHING;
    app.eyeY = 2.0;
    LandInSession(g, 4, 11.0f);
    g.Frames(1);
    g.Tap(plat::KeyId::P);
    ASSERT_EQ(app.fishingState, FISHING_PHOTO_MODE);
    g.Frames(10);
    EXPECT_EQ(app.fishingState, FISHING_PHOTO_MODE);
    EXPECT_EQ(app.photos[0]->inUse, 0);
    g.Frames(60);
    g.Tap(plat::KeyId::P);
    ASSERT_TRUE(g.FramesUntil([&] { return app.fishingState != FISHING_PHOTO_MODE; }, 20));
    EXPECT_EQ(app.photos[0]->inUse, 1);
    EXPECT_EQ(app.photos[0]->fishWeight, 11.0f);
    EXPECT_EQ(app.photos[1]->inUse, 0);
}

TEST(Photo, WithEveryPhotoSlotInUseNothingIsStoredAndTheFishIsStillReleased) {
    FishingTable t;
    for (int s = 0; s < PHOTO_SLOT_COUNT; ++s) *t.app.photos[s] = PhotoRecord{0, 0, 1, 1, 3, 10, 11, 4, 30, {}, 1, 2, 3, 0, 6};
    Fish& f = LandedFish(t, 20.0f);
    t.app.DrawFishOnMat();
    TakePhoto(t);
    for (int s = 0; s < PHOTO_SLOT_COUNT; ++s) EXPECT_EQ(t.app.photos[s]->fishKind, 4) << s;
    EXPECT_EQ(t.app.fishingState, FISHING_WALKING_BACK);
    EXPECT_EQ(f.state, FISH_CRUISE);
    EXPECT_EQ(f.x, 70);
    EXPECT_EQ(t.app.bestWeight[t.Index(f)], 20.0f);
}

TEST(BestWeight, APendingBestIsKeptForTheFishItWasWeighedForAndNoOther) {
    FishingTable t;
    GameApp& app = t.app;
    // Fish A beats its best and is put back without a photo (R from the sling).
    Fish& a = LandedFish(t, 20.0f);
    const int32_t ia = t.Index(a);
    app.DrawFishOnMat();
    ASSERT_EQ(app.pendingBestWeight, 20.0f);
    app.ReleaseLandedFish();
    app.DrawFishOnMat();  // the next frame
    EXPECT_EQ(app.bestWeight[ia], 20.0f);
    EXPECT_EQ(app.pendingBestWeight, NO_PENDING_WEIGHT);
    // Fish B does not beat its own best: photographing it records nothing for anyone.
    Fish& b = LandedFish(t, 5.0f);
    const int32_t ib = t.Index(b);
    app.bestWeight[ib] = 8.0f;
    app.DrawFishOnMat();
    TakePhoto(t);
    EXPECT_EQ(app.bestWeight[ib], 8.0f);
    EXPECT_EQ(app.bestWeight[ia], 20.0f);
    // A best weight that is no number is beaten by the fish's own weight, and only for it.
    Fish& c = LandedFish(t, 6.5f);
    const int32_t ic = t.Index(c);
    app.bestWeight[ic] = std::nanf("");
    app.DrawFishOnMat();
    TakePhoto(t);
    EXPECT_EQ(app.bestWeight[ic], 6.5f);
    EXPECT_EQ(app.bestWeight[ia], 20.0f);
    EXPECT_EQ(app.bestWeight[ib], 8.0f);
    // P in the sling records a best still waiting for A for A, not for the fish in the sling.
    Fish& d = LandedFish(t, 4.0f);
    const int32_t id = t.Index(d);
    app.bestWeight[id] = 9.0f;
    app.pendingBestWeight = 21.0f;
    app.pendingBestFish = ia;
    InputDeviceState keys{};
    keys.keyP = 1;
    app.UpdateFishingScreen(&keys);
    EXPECT_EQ(app.fishingState, FISHING_PHOTO_MODE);
    EXPECT_EQ(app.bestWeight[id], 9.0f);
    EXPECT_EQ(app.bestWeight[ia], 21.0f);
}

// Quitting the game from the weigh sling (Escape, as any close) keeps the landed fish's new best:
// the save file written at exit holds it for that fish and for no other.
TEST(BestWeight, ANewBestReachesTheSaveFileWhenTheGameIsQuitFromTheSling) {
    fishsession::FishingGame g;
    GameApp& app = g.App();
    LandInSession(g, 5, 14.5f);
    app.bestWeight[5] = 10.0f;
    app.bestWeight[6] = 3.0f;
    g.Frames(2);
    ASSERT_EQ(app.fishingState, FISHING_FISH_LANDED);
    ASSERT_EQ(app.pendingBestWeight, 14.5f);
    g.backend->QueueClose();
    EXPECT_FALSE(app.RunOneFrame());
    g.app.reset();  // the entry function's end: the save file is written

    std::ifstream file("photos/photos.qd");
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 925u);
    for (int i = 0; i < FISH_COUNT; ++i) {
        const char* expected = i == 5 ? "1.450000e+01" : i == 6 ? "3.000000e+00" : "0.000000e+00";
        EXPECT_EQ(lines[PHOTO_SLOT_COUNT * 17 + i], expected) << "fish " << i;
    }
}

TEST(BestWeight, ASaveFileWithOutOfRangePhotosAndABadWeightNeitherCrashesNorLendsWeights) {
    ScratchDir dir;
    std::ostringstream text;
    // Two photos with a fish kind, swim and shape no screen knows, then best weights that stop
    // being numbers at fish 1.
    for (int s = 0; s < PHOTO_SLOT_COUNT; ++s) {
        const bool used = s < 2;
        text << "1\n0\n1\n" << used << "\n" << "3.0e+01\n1.2e+01\n" << (used ? -7 : 0) << "\n" << (used ? 99 : 0)
             << "\n" << (used ? "-5.0e+02" : "0") << "\n0\n0\n0\n50\n2\n40\n0\n6.4\n";
    }
    text << "1.250000e+01\nnan\n";
    for (int i = 2; i < FISH_COUNT; ++i) text << "3.000000e+00\n";
    ScratchDir::WriteText("photos/photos.qd", text.str());
    {
        FishingTable t;
        GameApp& app = t.app;
        EXPECT_EQ(app.bestWeight[0], 12.5f);
        EXPECT_EQ(app.bestWeight[1], 0.0f);
        EXPECT_EQ(app.photos[1]->fishKind, 99);
        t.AddFish(90, -2, 90);
        t.AddFish(91, -2, 90);
        Fish& caught = LandedFish(t, 9.0f, 32);
        ASSERT_EQ(t.Index(caught), 2);
        app.DrawFishOnMat();
        for (int frame = 0; frame < 5; ++frame) app.DrawFishingScreen();
        TakePhoto(t);
        EXPECT_EQ(app.photos[2]->inUse, 1);
        EXPECT_EQ(app.photos[2]->fishKind, 32);
        EXPECT_EQ(app.bestWeight[2], 9.0f);
        EXPECT_EQ(app.bestWeight[0], 12.5f);
        EXPECT_EQ(app.bestWeight[1], 0.0f);
    }
    HeadlessGame again;
    EXPECT_EQ(again.app->bestWeight[0], 12.5f);
    EXPECT_EQ(again.app->bestWeight[1], 0.0f);
    EXPECT_EQ(again.app->bestWeight[2], 9.0f);
    EXPECT_EQ(again.app->photos[2]->fishKind, 32);
}
