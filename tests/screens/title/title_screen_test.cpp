// The title screen's animation, texts and exit, and the instructions pages, on the headless backend.
#include <gtest/gtest.h>
#include <cmath>
#include <map>
#include <string>
#include <vector>
#include "platform/system.h"
#include "test_support.h"

namespace {

constexpr uint32_t WHITE = 0xFFFAFAFAu;
constexpr uint32_t CAPTION_COLOUR = 0xFF141414u;

// A drawn card as the world matrix places it.
struct Card {
    float x, y, z;
    float scale;     // length of the model x axis
    float cosYaw, sinYaw;
    std::string file;  // the texture's file name, without its folder
};

Card CardOf(const plat::DrawRecord& d) {
    const plat::Matrix& m = d.world;
    const float scale = std::sqrt(m.m[0][0] * m.m[0][0] + m.m[0][1] * m.m[0][1] + m.m[0][2] * m.m[0][2]);
    return {m.m[3][0], m.m[3][1], m.m[3][2], scale, m.m[0][0] / scale, -m.m[0][2] / scale, FileOf(d)};
}

bool At(const Card& c, float x, float y, float z) {
    return std::fabs(c.x - x) < 1e-3f && std::fabs(c.y - y) < 1e-3f && std::fabs(c.z - z) < 1e-3f;
}

bool AtHome(const Card& c) {
    return At(c, -3.5f, -4.3f, 6.0f) || At(c, 0.0f, -4.3f, 6.0f) || At(c, 3.5f, -4.3f, 6.0f);
}

// A started game whose frames are inspected one at a time.
struct TitleGame : HeadlessGame {
    bool started = Start();
    // Fills every empty title slot with a stand-in named after its file.
    void FillTitleSlots() {
        for (int n = 0; n < TITLE_TEXTURE_COUNT; ++n)
            if (!app->textures[n]) app->textures[n] = StandInTexture(Device(), TEXTURE_TABLE[n].file);
    }
    void Frame() {
        Device()->ClearLog();
        Frames(1);
    }
    std::vector<Card> Cards() {
        std::vector<Card> cards;
        for (const plat::DrawRecord& d : Device()->draws) cards.push_back(CardOf(d));
        return cards;
    }
    const plat::TextRecord* Caption() {
        for (const plat::TextRecord& t : Device()->texts)
            if (t.colour == CAPTION_COLOUR) return &t;
        return nullptr;
    }
};

}  // namespace

TEST(TitleScreen, CountsTicksOfMoreThanTenMillisecondsBeforeThePictureLeaves) {
    TitleGame g;
    ASSERT_TRUE(g.started);
    GameApp& app = *g.app;
    g.backend->msPerFrame = 0;

    // A clock that stands still counts nothing, however many frames pass.
    app.titleCounterStamp = app.titleSpinStamp = plat::GetTickCount();
    app.titleSpinAngle = 0.0;
    g.Frames(300);
    EXPECT_EQ(app.titleTickCounter, 0);

    // Exactly 10 ms is not a tick; 20 ms is.
    plat::AdvanceTickCount(10);
    g.Frame();
    EXPECT_EQ(app.titleTickCounter, 0);
    plat::AdvanceTickCount(10);
    g.Frame();
    EXPECT_EQ(app.titleTickCounter, 1);
    for (int i = 0; i < 98; ++i) {
        plat::AdvanceTickCount(11);
        g.Frame();
    }
    EXPECT_EQ(app.titleState, 0);
    // The spinning card turned on the same ticks; its back faces the other way.
    std::vector<Card> cards = g.Cards();
    ASSERT_EQ(cards.size(), 7u);  // four fixed cards and the row at rest
    EXPECT_NEAR(app.titleSpinAngle, 0.99, 1e-4);
    EXPECT_NEAR(cards[1].sinYaw, std::sin(0.99f), 1e-4);
    EXPECT_NEAR(cards[2].sinYaw, std::sin(0.99f + 3.142f), 1e-4);

    // The hundredth tick sends the first picture on its way: one step off its home spot.
    plat::AdvanceTickCount(11);
    g.Frame();
    EXPECT_EQ(app.titleState, 1);
    cards = g.Cards();
    ASSERT_EQ(cards.size(), 8u);
    EXPECT_TRUE(At(cards.back(), -3.5f + 0.0175f, -4.3f + 0.0075f, 6.02f));
    EXPECT_NEAR(cards.back().scale, 1.0123f, 1e-5);
}

TEST(TitleScreen, TileReachesTheFrontIn195FramesWhateverTheFrameLength) {
    for (uint32_t ms : {1u, 16u, 33u, 250u}) {
        SCOPED_TRACE(ms);
        TitleGame g;
        ASSERT_TRUE(g.started);
        g.backend->msPerFrame = ms;
        g.app->titleTickCounter = 99;  // one tick from leaving the row
        g.app->titleCounterStamp = plat::GetTickCount() - 1000;
        int frames = 0;
        do {
            g.Frame();
            ++frames;
        } while (g.app->titleState == 1 && frames < 1000);
        EXPECT_EQ(frames, 195);
        EXPECT_EQ(g.app->titleState, 2);
        int front = 0;  // the title picture and the held one
        for (const Card& c : g.Cards()) front += At(c, 0, -2.8f, 10) && std::fabs(c.scale - 2.5f) < 1e-5f;
        EXPECT_EQ(front, 2);
    }
}

TEST(TitleScreen, CycleShowsEachPictureWithItsCaptionAndFlipsToTheOtherSet) {
    TitleGame g;
    ASSERT_TRUE(g.started);
    g.backend->msPerFrame = 16;
    GameApp& app = *g.app;

    std::vector<int32_t> visited{app.titleState};
    std::map<int32_t, int> seen[2];  // frames ending in each state, per cycle
    std::map<int32_t, std::string> captions[2];
    int cycle = 0, frames = 0;
    while (cycle < 2 && frames < 20000) {
        const int32_t before = app.titleState;
        const int32_t setBefore = app.titlePictureSet;
        g.Frame();
        ++frames;
        const int32_t state = app.titleState;
        if (state != visited.back()) visited.push_back(state);

        const plat::TextRecord* caption = g.Caption();
        const bool showing = state == 2 || state == 6 || state == 10;
        EXPECT_EQ(caption != nullptr, showing) << "state " << state;
        if (caption) {
            EXPECT_EQ(caption->rect.top, 196);  // 31 % of 634
            EXPECT_EQ(caption->fontHeight, 16);
            captions[setBefore - 1][state] = caption->text + " @" + std::to_string(caption->rect.left);
        }

        if (before == 13 && state == 13) {
            // Mid-flip: the row turns, front and back; nothing stands at rest.
            int home = 0;
            for (const Card& c : g.Cards()) {
                if (!AtHome(c)) continue;
                ++home;
                EXPECT_NE(c.sinYaw, 0.0f);
            }
            EXPECT_EQ(home, 6);
        }
        if (before == 13 && state == 0) {
            EXPECT_NE(app.titlePictureSet, setBefore);
            EXPECT_EQ(app.titleTickCounter, 0);
            EXPECT_EQ(app.titleFlipAngle, 0.0);
            ++cycle;
        }
        if (cycle < 2) seen[cycle][state] += 1;
    }
    ASSERT_EQ(cycle, 2);
    EXPECT_EQ(app.titlePictureSet, 1);

    std::vector<int32_t> expected;
    for (int c = 0; c < 2; ++c)
        for (int32_t s = 0; s <= 13; ++s) expected.push_back(s);
    expected.push_back(0);
    EXPECT_EQ(visited, expected);

    // Waits count ticks (one a frame here). Moves count frames, and the frame that starts a move
    // already takes its first step: 195 from a home spot to the front; a move that starts where the
    // last one stopped (within 0.1 of its goal) is a few frames shorter.
    const std::map<int32_t, int> second = seen[1];
    const int waits[][2] = {{0, 100}, {2, 200}, {4, 100}, {6, 200}, {8, 100}, {10, 200}, {12, 100}};
    for (const auto& w : waits) EXPECT_EQ(second.at(w[0]), w[1]) << "state " << w[0];
    const int moves[][2] = {{1, 195}, {3, 96}, {5, 192}, {7, 96}, {9, 195}, {11, 96}};
    for (const auto& m : moves) EXPECT_EQ(second.at(m[0]) + 1, m[1]) << "state " << m[0];
    EXPECT_NEAR(second.at(13), 315, 1);

    // At 36, 38 and 37 % of 808.
    EXPECT_EQ(captions[0][2], "Old Harrowmere Lake - Harrowmere Fisheries @290");
    EXPECT_EQ(captions[0][6], "Brackwell Lake - Harrowmere Fisheries @307");
    EXPECT_EQ(captions[1][2], "Wendlow Lake - Harrowmere Fisheries @298");
}

TEST(TitleScreen, PicturesComeFromTheShownSetAndTheFlipShowsTheOtherOnTheBack) {
    TitleGame g;
    ASSERT_TRUE(g.started);
    g.FillTitleSlots();
    g.backend->msPerFrame = 0;
    GameApp& app = *g.app;
    auto files = [&g](size_t from, size_t to) {
        std::string all;
        std::vector<Card> cards = g.Cards();
        for (size_t i = from; i < to && i < cards.size(); ++i) all += cards[i].file + " ";
        return all;
    };

    g.Frame();
    EXPECT_EQ(files(0, 7), "copy.bmp intro.bmp intro2.bmp intro3.bmp intro3b.bmp intro3c.bmp intro3d.bmp ");

    // Set 2: the second picture on its way, then the third held at the front.
    app.titlePictureSet = 2;
    app.titleState = 5;
    app.titleTilePos[0] = 0.0;
    g.Frame();
    EXPECT_EQ(files(4, 8), "intro3e.bmp intro3f.bmp intro3g.bmp intro3f.bmp ");
    app.titleState = 10;
    g.Frame();
    EXPECT_EQ(files(7, 8), "intro3g.bmp ");

    // Mid-flip from set 1: its pictures face front, set 2's face back at the same spots.
    app.titlePictureSet = 1;
    app.titleState = 13;
    app.titleFlipAngle = 1.0;
    g.Frame();
    EXPECT_EQ(files(4, 10), "intro3b.bmp intro3c.bmp intro3d.bmp intro3e.bmp intro3f.bmp intro3g.bmp ");
    std::vector<Card> cards = g.Cards();
    ASSERT_EQ(cards.size(), 10u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(cards[4 + i].sinYaw, std::sin(1.0f), 1e-5);
        EXPECT_NEAR(cards[7 + i].sinYaw, std::sin(4.142f), 1e-5);
        EXPECT_FLOAT_EQ(cards[4 + i].x, cards[7 + i].x);
    }

    // After the flip, set 2 stands in the row.
    app.titleFlipAngle = 3.15;
    g.Frame();
    EXPECT_EQ(app.titleState, 0);
    g.Frame();
    EXPECT_EQ(files(4, 8), "intro3e.bmp intro3f.bmp intro3g.bmp ");
}

TEST(TitleScreen, FixedTextsAtTheirPlacesInWhite) {
    TitleGame g;
    ASSERT_TRUE(g.started);
    g.Frame();
    const std::vector<plat::TextRecord>& texts = g.Device()->texts;
    ASSERT_EQ(texts.size(), 10u);
    for (const plat::TextRecord& t : texts) EXPECT_EQ(t.colour, WHITE) << t.text;
    // (percentages of the 808 x 634 window, fonts 808 / 50, / 25, / 35: 16, 32, 23)
    EXPECT_EQ(texts[0].rect.left, 72);  // 9 % of 808
    EXPECT_EQ(texts[0].fontHeight, 23);
    EXPECT_EQ(texts[1].text,
              "The game, which is a first for any commercial fishery has been developed using Harrowmere\x92s "
              "\x91" "Big Fish\x92 carp water - Wendlow Lake.");
    EXPECT_EQ(texts[7].text, "Click here to play");
    EXPECT_EQ(texts[7].rect.top, 545);  // 86 % of 634
    EXPECT_EQ(texts[7].fontHeight, 32);
    EXPECT_EQ(texts[9].rect.left, 492);  // 61 % of 808
    // Cards are blended and alpha-tested; the texts after them are not.
    for (const plat::DrawRecord& d : g.Device()->draws) EXPECT_TRUE(d.alphaBlend && d.alphaTest);
    EXPECT_EQ(g.Device()->State().renderState[plat::RS_ALPHABLENDENABLE], 0u);
    EXPECT_EQ(g.Device()->State().renderState[plat::RS_ALPHATESTENABLE], 0u);
}

TEST(TitleScreen, XLeavesForTheMapOnceAndReleasesTheTitleTextures) {
    TitleGame g;
    ASSERT_TRUE(g.started);
    g.FillTitleSlots();
    GameApp& app = *g.app;

    InputDeviceState input{};
    app.UpdateTitleScreen(&input);
    EXPECT_EQ(app.gameMode, MODE_TITLE);

    const int releasedBefore = g.Device()->texturesReleased;
    input.keyX = 1;
    app.UpdateTitleScreen(&input);
    EXPECT_EQ(app.gameMode, MODE_MAP);
    EXPECT_EQ(input.keyX, 0);
    EXPECT_EQ(app.inputLock, 0);  // a later pass in the same frame may act at once

    for (int n = 0; n < TITLE_TEXTURE_COUNT; ++n) EXPECT_EQ(app.textures[n], nullptr) << n;
    EXPECT_EQ(g.Device()->texturesReleased - releasedBefore, TITLE_TEXTURE_COUNT);
    // A second leave (a click in the same frame) finds the slots empty.
    input.keyX = 1;
    app.UpdateTitleScreen(&input);
    EXPECT_EQ(g.Device()->texturesReleased - releasedBefore, TITLE_TEXTURE_COUNT);
}

TEST(InstructionsScreen, XTurnsPagesThenLeavesForTheMapAndALockShutsItOut) {
    TitleGame g;
    ASSERT_TRUE(g.started);
    GameApp& app = *g.app;
    app.gameMode = MODE_INSTRUCTIONS;
    app.instructionsPage = 1;
    app.inputLock = 0;
    InputDeviceState input{};
    auto pressX = [&] {
        input.keyX = 1;
        app.UpdateInstructionsScreen(&input);
    };

    pressX();
    EXPECT_EQ(app.instructionsPage, 2);
    EXPECT_EQ(app.inputLock, 5);
    EXPECT_EQ(input.keyX, 0);
    pressX();  // within the half second: nothing, and the press is not consumed
    EXPECT_EQ(app.instructionsPage, 2);
    EXPECT_EQ(input.keyX, 1);

    app.inputLock = 0;
    pressX();
    EXPECT_EQ(app.instructionsPage, 3);
    pressX();
    EXPECT_EQ(app.gameMode, MODE_INSTRUCTIONS);

    // On the credits X goes to the map, once, and the page stays.
    app.inputLock = 0;
    pressX();
    EXPECT_EQ(app.gameMode, MODE_MAP);
    EXPECT_EQ(app.instructionsPage, 3);
    EXPECT_EQ(app.inputLock, 5);
    EXPECT_EQ(input.keyX, 0);
}

TEST(InstructionsScreen, PagesDrawTheirTextsInWhiteAndNothingElse) {
    TitleGame g;
    ASSERT_TRUE(g.started);
    GameApp& app = *g.app;
    app.gameMode = MODE_INSTRUCTIONS;
    const size_t lines[3] = {24, 20, 20};  // heading, title, two foot lines, the page, "continue"
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        app.instructionsPage = page;
        g.Frame();
        const std::vector<plat::TextRecord>& texts = g.Device()->texts;
        EXPECT_TRUE(g.Device()->draws.empty());
        ASSERT_EQ(texts.size(), lines[page - 1]);
        for (const plat::TextRecord& t : texts) EXPECT_EQ(t.colour, WHITE) << t.text;
        EXPECT_EQ(texts.back().text, "Click hear to continue...");
        EXPECT_EQ(texts.back().fontHeight, 32);
    }
    EXPECT_EQ(g.Device()->texts[4].text, "CREDITS");
}
