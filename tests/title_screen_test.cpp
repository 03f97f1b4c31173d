// The title screen's animation, texts and exit, and the instructions pages, on the headless backend.
#include <gtest/gtest.h>
#include <cmath>
#include <map>
#include <string>
#include <vector>
#include "platform/system.h"
#include "test_support.h"

namespace {

constexpr uint32_t kWhite = 0xFFFAFAFAu;
constexpr uint32_t kCaptionColour = 0xFF141414u;

// A drawn card as the world matrix places it.
struct Card {
    float x, y, z;
    float scale;     // length of the model x axis
    float cosYaw, sinYaw;
    std::string file;  // the texture's file name, without its folder
};

Card CardOf(const plat::DrawRecord& d) {
    const plat::Matrix& m = d.world;
    Card c;
    c.x = m.m[3][0];
    c.y = m.m[3][1];
    c.z = m.m[3][2];
    c.scale = std::sqrt(m.m[0][0] * m.m[0][0] + m.m[0][1] * m.m[0][1] + m.m[0][2] * m.m[0][2]);
    c.cosYaw = m.m[0][0] / c.scale;
    c.sinYaw = -m.m[0][2] / c.scale;
    c.file = d.textureFile.substr(d.textureFile.find_last_of("\\/") + 1);
    return c;
}

bool At(const Card& c, float x, float y, float z) {
    return std::fabs(c.x - x) < 1e-3f && std::fabs(c.y - y) < 1e-3f && std::fabs(c.z - z) < 1e-3f;
}

bool AtHome(const Card& c) {
    return At(c, -3.5f, -4.3f, 6.0f) || At(c, 0.0f, -4.3f, 6.0f) || At(c, 3.5f, -4.3f, 6.0f);
}

// A started game whose frames are inspected one at a time.
struct TitleGame : HeadlessGame {
    bool started;
    std::vector<plat::Texture*> fakes;
    plat::VertexBuffer* quad = nullptr;  // the upright quad, where no mesh was built

    TitleGame() : started(Start()) {
        if (started && !app->billboardMesh) {
            Device()->CreateVertexBuffer(4 * 32, 0, plat::FVF_MESH, plat::POOL_MANAGED, &quad);
            app->billboardMesh = quad;
        }
    }
    ~TitleGame() {
        if (quad && app->billboardMesh == quad) {
            quad->Release();
            app->billboardMesh = nullptr;
        }
        // Textures made here and still held are let go before the game shuts down.
        for (int n = 0; n < TITLE_TEXTURE_COUNT; ++n) {
            for (plat::Texture* t : fakes) {
                if (app->textures[n] == t) {
                    t->Release();
                    app->textures[n] = nullptr;
                }
            }
        }
    }
    // Fills every empty title slot with a small texture named after its file.
    void FillTitleSlots() {
        for (int n = 0; n < TITLE_TEXTURE_COUNT; ++n) {
            if (app->textures[n]) continue;
            plat::TextureImage image;
            image.width = image.height = image.sourceWidth = image.sourceHeight = 1;
            image.argb = {0xFF808080u};
            plat::Texture* t = nullptr;
            Device()->CreateTextureFromImage(image, kTextureTable[n].file, &t);
            app->textures[n] = t;
            fakes.push_back(t);
        }
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
            if (t.colour == kCaptionColour) return &t;
        return nullptr;
    }
    const plat::TextRecord* Text(const std::string& text) {
        for (const plat::TextRecord& t : Device()->texts)
            if (t.text == text) return &t;
        return nullptr;
    }
    // Puts the title one tick away from leaving its wait in state 0.
    void ReadyToLeaveRow() {
        app->titleState = 0;
        app->titleTickCounter = 99;
        app->titleCounterStamp = plat::GetTickCount() - 1000;
    }
};

}  // namespace

TEST(TitleScreen, CountsTicksOfMoreThanTenMillisecondsBeforeThePictureLeaves) {
    TitleGame g;
    ASSERT_TRUE(g.started);
    GameApp& app = *g.app;
    g.backend->msPerFrame = 0;

    // A clock that stands still counts nothing, however many frames pass.
    app.titleCounterStamp = plat::GetTickCount();
    g.Frames(300);
    EXPECT_EQ(app.titleTickCounter, 0);
    EXPECT_EQ(app.titleState, 0);

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
    EXPECT_EQ(app.titleTickCounter, 99);
    std::vector<Card> cards = g.Cards();
    EXPECT_EQ(cards.size(), 7u);  // four fixed cards and the row at rest
    int home = 0;
    for (const Card& c : cards) home += AtHome(c) && c.scale == 1.0f;
    EXPECT_EQ(home, 3);

    // The hundredth tick sends the first picture on its way: one step off its home spot.
    plat::AdvanceTickCount(11);
    g.Frame();
    EXPECT_EQ(app.titleState, 1);
    cards = g.Cards();
    ASSERT_EQ(cards.size(), 8u);
    const Card& tile = cards.back();
    EXPECT_NEAR(tile.x, -3.5f + 0.0175f, 1e-5);
    EXPECT_NEAR(tile.y, -4.3f + 0.0075f, 1e-5);
    EXPECT_NEAR(tile.z, 6.02f, 1e-5);
    EXPECT_NEAR(tile.scale, 1.0123f, 1e-5);
    EXPECT_EQ(g.Caption(), nullptr);
}

TEST(TitleScreen, SpinningCardTurnsOnTicksAndShowsItsBack) {
    TitleGame g;
    ASSERT_TRUE(g.started);
    g.backend->msPerFrame = 16;
    g.app->titleSpinAngle = 0.0;
    g.app->titleSpinStamp = plat::GetTickCount() - 1000;
    g.Frames(50);
    EXPECT_NEAR(g.app->titleSpinAngle, 0.5, 1e-4);
    g.Frame();
    std::vector<Card> cards = g.Cards();
    ASSERT_GE(cards.size(), 4u);
    const float spin = static_cast<float>(g.app->titleSpinAngle);
    EXPECT_TRUE(At(cards[1], 0, -1, 3));
    EXPECT_NEAR(cards[1].scale, 1.1f, 1e-5);
    EXPECT_NEAR(cards[1].sinYaw, std::sin(spin), 1e-4);
    EXPECT_TRUE(At(cards[2], 0, -1, 3));
    EXPECT_NEAR(cards[2].sinYaw, std::sin(spin + 3.142f), 1e-4);
    EXPECT_NEAR(cards[2].cosYaw, std::cos(spin + 3.142f), 1e-4);
    // Rendering: solid, blended and alpha-tested cards; the texts after them unblended.
    for (const plat::DrawRecord& d : g.Device()->draws) {
        EXPECT_EQ(d.fillMode, static_cast<uint32_t>(plat::FILL_SOLID));
        EXPECT_TRUE(d.alphaBlend);
        EXPECT_TRUE(d.alphaTest);
    }
    EXPECT_EQ(g.Device()->State().renderState[plat::RS_ALPHABLENDENABLE], 0u);
    EXPECT_EQ(g.Device()->State().renderState[plat::RS_ALPHATESTENABLE], 0u);
}

TEST(TitleScreen, TileReachesTheFrontIn195FramesWhateverTheFrameLength) {
    for (uint32_t ms : {1u, 16u, 33u, 250u}) {
        SCOPED_TRACE(ms);
        TitleGame g;
        ASSERT_TRUE(g.started);
        g.backend->msPerFrame = ms;
        g.ReadyToLeaveRow();
        int frames = 0;
        bool captionEarly = false;
        do {
            g.Frame();
            ++frames;
            if (g.app->titleState == 1 && g.Caption()) captionEarly = true;
        } while (g.app->titleState == 1 && frames < 1000);
        EXPECT_EQ(frames, 195);
        EXPECT_FALSE(captionEarly);
        ASSERT_EQ(g.app->titleState, 2);

        // Held at the front over the title picture, with its caption.
        int front = 0;
        for (const Card& c : g.Cards()) front += At(c, 0, -2.8f, 10) && std::fabs(c.scale - 2.5f) < 1e-5f;
        EXPECT_EQ(front, 2);
        const plat::TextRecord* caption = g.Caption();
        ASSERT_NE(caption, nullptr);
        EXPECT_EQ(caption->text, "Old Harrowmere Lake - Harrowmere Fisheries");
        EXPECT_EQ(caption->rect.left, 288);
        EXPECT_EQ(caption->rect.top, 186);
        EXPECT_EQ(caption->fontHeight, 16);
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
        if (caption) captions[setBefore - 1][state] = caption->text + " @" + std::to_string(caption->rect.left);

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

    EXPECT_EQ(captions[0][2], "Old Harrowmere Lake - Harrowmere Fisheries @288");
    EXPECT_EQ(captions[0][6], "Brackwell Lake - Harrowmere Fisheries @304");
    EXPECT_EQ(captions[0][10], "Tollan Lake - Harrowmere Fisheries @296");
    EXPECT_EQ(captions[1][2], "Wendlow Lake - Harrowmere Fisheries @296");
    EXPECT_EQ(captions[1][6], "Old Harrowmere Lake - Harrowmere Fisheries @288");
    EXPECT_EQ(captions[1][10], "Wendlow Lake - Harrowmere Fisheries @296");
}

TEST(TitleScreen, PicturesComeFromTheShownSetAndTheFlipShowsTheOtherOnTheBack) {
    TitleGame g;
    ASSERT_TRUE(g.started);
    g.FillTitleSlots();
    g.backend->msPerFrame = 0;
    GameApp& app = *g.app;

    g.Frame();
    std::vector<Card> cards = g.Cards();
    ASSERT_EQ(cards.size(), 7u);
    if (cards[0].file.empty()) GTEST_SKIP() << "the texture bank binds no textures in this build";
    EXPECT_EQ(cards[0].file, "copy.bmp");
    EXPECT_TRUE(At(cards[0], -3.05f, -3.05f, 3.0f));
    EXPECT_EQ(cards[1].file, "intro.bmp");
    EXPECT_EQ(cards[2].file, "intro2.bmp");
    EXPECT_EQ(cards[3].file, "intro3.bmp");
    EXPECT_EQ(cards[4].file, "intro3b.bmp");
    EXPECT_EQ(cards[5].file, "intro3c.bmp");
    EXPECT_EQ(cards[6].file, "intro3d.bmp");
    EXPECT_TRUE(At(cards[4], -3.5f, -4.3f, 6.0f));
    EXPECT_TRUE(At(cards[6], 3.5f, -4.3f, 6.0f));

    // Set 2, second picture on its way, then the third held at the front.
    app.titlePictureSet = 2;
    app.titleState = 5;
    app.titleTilePos[0] = 0.0;
    g.Frame();
    cards = g.Cards();
    ASSERT_EQ(cards.size(), 8u);
    EXPECT_EQ(cards[4].file, "intro3e.bmp");
    EXPECT_EQ(cards[7].file, "intro3f.bmp");
    app.titleState = 10;
    g.Frame();
    EXPECT_EQ(g.Cards().back().file, "intro3g.bmp");

    // Mid-flip from set 1: its pictures face front, set 2's face back.
    app.titlePictureSet = 1;
    app.titleState = 13;
    app.titleFlipAngle = 1.0;
    g.Frame();
    cards = g.Cards();
    ASSERT_EQ(cards.size(), 10u);
    const char* fronts[] = {"intro3b.bmp", "intro3c.bmp", "intro3d.bmp"};
    const char* backs[] = {"intro3e.bmp", "intro3f.bmp", "intro3g.bmp"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(cards[4 + i].file, fronts[i]);
        EXPECT_NEAR(cards[4 + i].sinYaw, std::sin(1.0f), 1e-5);
        EXPECT_EQ(cards[7 + i].file, backs[i]);
        EXPECT_NEAR(cards[7 + i].sinYaw, std::sin(4.142f), 1e-5);
        EXPECT_FLOAT_EQ(cards[4 + i].x, cards[7 + i].x);
    }

    // After the flip, set 2 stands in the row.
    app.titleFlipAngle = 3.15;
    g.Frame();
    EXPECT_EQ(app.titleState, 0);
    g.Frame();
    cards = g.Cards();
    ASSERT_EQ(cards.size(), 7u);
    EXPECT_EQ(cards[4].file, "intro3e.bmp");
    EXPECT_EQ(cards[6].file, "intro3g.bmp");
}

TEST(TitleScreen, FixedTextsAtTheirPlacesInWhite) {
    TitleGame g;
    ASSERT_TRUE(g.started);
    g.Frame();
    const std::vector<plat::TextRecord>& texts = g.Device()->texts;
    ASSERT_EQ(texts.size(), 10u);
    // left, top and font height of each line, in order (800 x 600 client, fonts 16 / 32 / 22).
    const int places[][3] = {{72, 12, 22},  {24, 72, 16},   {48, 90, 16},   {80, 108, 16}, {256, 126, 16},
                             {168, 144, 16}, {120, 162, 16}, {288, 516, 32}, {16, 552, 16}, {488, 552, 16}};
    for (size_t i = 0; i < texts.size(); ++i) {
        SCOPED_TRACE(texts[i].text);
        EXPECT_EQ(texts[i].colour, kWhite);
        EXPECT_EQ(texts[i].rect.left, places[i][0]);
        EXPECT_EQ(texts[i].rect.top, places[i][1]);
        EXPECT_EQ(texts[i].fontHeight, places[i][2]);
    }
    EXPECT_EQ(texts[1].text,
              "The game, which is a first for any commercial fishery has been developed using Harrowmere\x92s "
              "\x91" "Big Fish\x92 carp water - Wendlow Lake.");
    EXPECT_EQ(texts[2].text.back(), ' ');
    EXPECT_EQ(texts[5].text.back(), ' ');
    EXPECT_EQ(texts[7].text, "Click here to play");
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

    if (app.textures[TEX_INTRO]) GTEST_SKIP() << "the texture bank releases nothing in this build";
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
    input.keyX = 1;
    app.UpdateInstructionsScreen(&input);
    EXPECT_EQ(app.instructionsPage, 2);
    EXPECT_EQ(app.inputLock, 5);
    EXPECT_EQ(input.keyX, 0);
    EXPECT_EQ(app.gameMode, MODE_INSTRUCTIONS);

    // Within the half second a second X does nothing and is not consumed.
    input.keyX = 1;
    app.UpdateInstructionsScreen(&input);
    EXPECT_EQ(app.instructionsPage, 2);
    EXPECT_EQ(input.keyX, 1);

    app.inputLock = 0;
    app.UpdateInstructionsScreen(&input);
    EXPECT_EQ(app.instructionsPage, 3);
    EXPECT_EQ(app.gameMode, MODE_INSTRUCTIONS);

    input.keyX = 1;
    app.UpdateInstructionsScreen(&input);  // still locked
    EXPECT_EQ(app.gameMode, MODE_INSTRUCTIONS);

    // On the credits X goes to the map, once, and the page stays.
    app.inputLock = 0;
    app.UpdateInstructionsScreen(&input);
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

    const int bodyTops[2][19] = {
        {90, 108, 144, 162, 180, 198, 216, 252, 270, 288, 306, 324, 342, 378, 396, 414, 432, 450, 468},
        {90, 108, 126, 144, 180, 198, 216, 234, 252, 270, 288, 306, 324, 360, 408},
    };
    const size_t bodyCount[3] = {19, 15, 15};
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        app.instructionsPage = page;
        g.Frame();
        plat::HeadlessDevice* d = g.Device();
        EXPECT_TRUE(d->draws.empty());
        ASSERT_EQ(d->clears.size(), 1u);
        EXPECT_EQ(d->clears[0].colour, 0x00323232u);
        EXPECT_EQ(d->State().renderState[plat::RS_FILLMODE], static_cast<uint32_t>(plat::FILL_SOLID));
        EXPECT_EQ(d->State().renderState[plat::RS_ALPHABLENDENABLE], 0u);

        const std::vector<plat::TextRecord>& texts = d->texts;
        ASSERT_EQ(texts.size(), 4 + bodyCount[page - 1] + 1);
        for (const plat::TextRecord& t : texts) EXPECT_EQ(t.colour, kWhite) << t.text;
        EXPECT_EQ(texts[0].text, "QUELLAN - VIRTUAL FISHING AT HARROWMERE FISHERIES");
        EXPECT_EQ(texts[0].rect.left, 40);
        EXPECT_EQ(texts[0].fontHeight, 32);
        EXPECT_EQ(texts[1].rect.left, 280);
        EXPECT_EQ(texts[1].rect.top, 42);
        EXPECT_EQ(texts[2].rect.left, 16);
        EXPECT_EQ(texts[2].rect.top, 546);
        EXPECT_EQ(texts[3].rect.left, 504);
        const plat::TextRecord& more = texts.back();
        EXPECT_EQ(more.text, "Click hear to continue...");
        EXPECT_EQ(more.rect.left, 232);
        EXPECT_EQ(more.rect.top, 510);
        EXPECT_EQ(more.fontHeight, 32);
        if (page < 3) {
            for (size_t i = 0; i < bodyCount[page - 1]; ++i) {
                const plat::TextRecord& t = texts[4 + i];
                EXPECT_EQ(t.rect.left, 40) << t.text;
                EXPECT_EQ(t.rect.top, bodyTops[page - 1][i]) << t.text;
                EXPECT_EQ(t.fontHeight, 16);
            }
        }
        if (page == 1) {
            EXPECT_EQ(texts[7].text,
                      "You can move the map by using the \x91" "Move\x92 button on the left of the screen, click "
                      "on an arrow to scroll in that direction,");
            EXPECT_EQ(texts[16].text.back(), ' ');
        }
        if (page == 3) {
            EXPECT_EQ(texts[4].text, "CREDITS");
            EXPECT_EQ(texts[4].rect.left, 344);
            EXPECT_EQ(texts[4].rect.top, 90);
            for (size_t i = 4; i + 1 < texts.size(); ++i) EXPECT_EQ(texts[i].fontHeight, 16);
        }
    }
}
