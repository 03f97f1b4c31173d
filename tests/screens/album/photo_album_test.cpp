// The photo album on the headless backend: browsing, deleting the first, a middle and the last
// photo and the save file written after, and staging from the 50th frame.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "platform/system.h"
#include "scratch_dir.h"
#include "test_support.h"

namespace {

constexpr int32_t BUTTON_X = 400, BUTTON_Y = 300;

PhotoRecord Photo(float weight, int32_t swim, int32_t kind) {
    PhotoRecord p{};
    p.inUse = 1;
    p.rod1Shown = 1;
    p.alarmRig = 1;
    p.swim = swim;
    p.fishSize = 20.0f;
    p.fishWeight = weight;
    p.fishKind = kind;
    p.fishShape = 25.0f;
    p.eyeX = 60.0f;
    p.eyeY = 2.0f;
    p.eyeZ = 60.0f;
    p.heading = 1.0f;
    p.pitch = 6.3f;
    return p;
}

// A started game in a folder of its own, opened at the album from a place on the bank, with the
// photos given; the clock moves only when the test moves it.
struct AlbumGame : ScratchDir, HeadlessGame {
    explicit AlbumGame(const std::vector<PhotoRecord>& photos) {
        EXPECT_TRUE(Start());
        backend->msPerFrame = 0;
        app->lakeInitialised = 1;
        for (size_t i = 0; i < photos.size(); ++i) *app->photos[i] = photos[i];
        for (int s = 0; s < SWIM_COUNT; ++s) *app->swims[s] = SwimRecord{40.0f + 10 * s, 50.0f, 2.0f};
        std::strcpy(app->stockRecords[2]->name, "Sandy");
        app->gameMode = MODE_FISHING;
        app->eyeX = 33.0;
        app->eyeY = 2.0;
        app->eyeZ = 44.0;
        app->heading = 5.0;
        app->pitch = 6.2;
        app->EnterPhotoAlbum();
        app->inputLock = 0;
    }
    GameApp& App() { return *app; }
    void Frame() {
        Device()->ClearLog();
        Frames(1);
    }
    void Key(plat::KeyId key) {
        plat::AdvanceTickCount(600);  // more than 500 ms since the last deletion
        backend->QueueKey(key, true);
        Frame();
        backend->QueueKey(key, false);
        plat::AdvanceTickCount(1500);  // past the album's locks and the 500 ms between deletions
        Frames(1);
    }
    void Click() {
        backend->MoveCursor(BUTTON_X, BUTTON_Y);
        backend->QueueMouseButton(0, true);
        Frame();
        backend->QueueMouseButton(0, false);
        plat::AdvanceTickCount(1500);
        Frames(1);
    }
    // The shown photo's weight caption, once the scene is staged.
    std::string ShownWeight() {
        for (int i = 0; i < 60 && app->gameMode == MODE_PHOTO_ALBUM; ++i) Frame();
        for (const plat::TextRecord& t : Device()->texts)
            if (t.rect.left == 468 && t.rect.top == 12) return t.text;  // (58 %, 2 %) of 808 x 634
        return "";
    }
    bool HasText(const std::string& text) {
        for (const plat::TextRecord& t : Device()->texts)
            if (t.text == text) return true;
        return false;
    }
};

std::vector<std::string> SaveLines() {
    std::ifstream in("photos/photos.qd");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(PhotoAlbum, DeletingTheFirstAMiddleAndTheLastPhotoThenTheSaveFile) {
    AlbumGame g({Photo(10.5f, 1, 3), Photo(11.5f, 2, 28), Photo(12.5f, 3, 29), Photo(13.5f, 4, 32),
                 Photo(14.5f, 5, 30)});
    GameApp& app = g.App();
    EXPECT_EQ(g.ShownWeight(), "10 lb's  8 ounces");
    EXPECT_TRUE(g.HasText("Sandy"));  // kind 3: the third stock record's name
    EXPECT_TRUE(g.HasText("photo number 1"));

    g.Key(plat::KeyId::D);  // the first
    EXPECT_EQ(app.currentPhoto, 0);
    EXPECT_EQ(g.ShownWeight(), "11 lb's  8 ounces");
    EXPECT_TRUE(g.HasText("Unnamed Common"));

    g.Click();
    g.Key(plat::KeyId::D);  // a middle one (12.5)
    EXPECT_EQ(g.ShownWeight(), "13 lb's  8 ounces");
    EXPECT_TRUE(g.HasText("Unknown Mirror!"));
    EXPECT_TRUE(g.HasText("photo number 2"));

    g.Click();
    EXPECT_EQ(g.ShownWeight(), "14 lb's  8 ounces");
    g.Key(plat::KeyId::D);  // the last: nothing left to show, back to the bank looking level
    g.Frame();
    EXPECT_EQ(app.gameMode, MODE_FISHING);
    EXPECT_NEAR(app.pitch, 6.4, 1e-5);  // the bank frame after it may round the pitch to single precision
    EXPECT_EQ(app.eyeX, 33.0);
    EXPECT_EQ(app.eyeZ, 44.0);
    EXPECT_EQ(app.heading, 5.0);

    app.WriteSaveFile();
    const std::vector<std::string> lines = SaveLines();
    ASSERT_EQ(lines.size(), 925u);
    // Slots 0 and 1 hold the photos of 11.5 and 13.5 lb, in order; slot 2 onwards is free.
    EXPECT_EQ(lines[3], "1");
    EXPECT_EQ(std::strtod(lines[5].c_str(), nullptr), 11.5);
    EXPECT_EQ(lines[6], "2");
    EXPECT_EQ(lines[7], "28");
    EXPECT_EQ(lines[17 + 3], "1");
    EXPECT_EQ(std::strtod(lines[17 + 5].c_str(), nullptr), 13.5);
    EXPECT_EQ(lines[17 + 7], "32");
    for (int slot = 2; slot < 50; ++slot) EXPECT_EQ(lines[17 * slot + 3], "0") << slot;
}

TEST(PhotoAlbum, CaptionAloneFor49FramesThenTheSceneAndClicksToTheEnd) {
    AlbumGame g({Photo(12.02f, 1, 28), Photo(9.0f, 2, 29), Photo(8.0f, 3, 29)});
    GameApp& app = g.App();
    for (int frame = 1; frame <= 49; ++frame) {
        g.Frame();
        ASSERT_EQ(g.Device()->texts.size(), 1u) << frame;
        EXPECT_EQ(g.Device()->texts[0].text, "Photo album");
        EXPECT_TRUE(g.Device()->draws.empty()) << frame;
    }
    g.Frame();
    EXPECT_FALSE(g.Device()->draws.empty());
    EXPECT_TRUE(g.HasText("12.0lb's"));  // no ounces: one decimal, no space
    EXPECT_TRUE(g.HasText("Press D to delete this photo."));
    // The view looks from the photo's eye.
    EXPECT_EQ(app.eyeX, 60.0);
    EXPECT_EQ(app.pitch, static_cast<double>(6.3f));

    g.Click();
    g.Click();
    g.ShownWeight();
    EXPECT_TRUE(g.HasText("photo number 3"));
    g.Click();
    EXPECT_EQ(app.gameMode, MODE_FISHING);
    EXPECT_EQ(app.pitch, 6.4);
}
