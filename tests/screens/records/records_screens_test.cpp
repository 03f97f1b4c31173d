// The stocking records paged through to the map, and the catch records' rows, unnamed bests,
// pulse and turning model, on the headless backend.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>
#include "platform/system.h"
#include "scratch_dir.h"
#include "screens/records/stocking_records_screen.h"
#include "game_on_device.h"
#include "test_support.h"

namespace {

constexpr uint32_t WHITE = 0xFFFAFAFAu;
constexpr uint32_t RED = 0xFFFA1414u;
constexpr uint32_t GREEN = 0xFF14FA14u;
constexpr int32_t BUTTON_X = 400, BUTTON_Y = 530;

// A started game in a folder of its own with a stock of named fish "Fish00".."Fish74" (tags
// "T00".."T74"); the clock moves only when the test moves it.
struct RecordsGame : ScratchDir, HeadlessGame {
    RecordsGame() {
        EXPECT_TRUE(Start());
        backend->msPerFrame = 0;
        app->lakeInitialised = 1;
        for (int i = 0; i < FISH_COUNT; ++i) {
            std::snprintf(app->stockRecords[i]->name, sizeof app->stockRecords[i]->name, "Fish%02d", i);
            std::snprintf(app->stockRecords[i]->tagNumber, sizeof app->stockRecords[i]->tagNumber, "T%02d", i);
            app->fish[i]->size = 20.0;
            app->fish[i]->shapeFactor = 25.0;
        }
        Frames(1);
    }
    GameApp& App() { return *app; }
    void Frame() {
        Device()->ClearLog();
        Frames(1);
    }
    // A click on the bottom button: pressed for one frame, released, then the lock let run out.
    void ClickButton() {
        backend->MoveCursor(BUTTON_X, BUTTON_Y);
        backend->QueueMouseButton(0, true);
        Frame();
        backend->QueueMouseButton(0, false);
        plat::AdvanceTickCount(1000);
        Frames(2);
    }
    const plat::TextRecord* Text(const std::string& text) {
        for (const plat::TextRecord& t : Device()->texts)
            if (t.text == text) return &t;
        return nullptr;
    }
    std::vector<const plat::TextRecord*> TextsStartingWith(const std::string& prefix) {
        std::vector<const plat::TextRecord*> found;
        for (const plat::TextRecord& t : Device()->texts)
            if (t.text.compare(0, prefix.size(), prefix) == 0) found.push_back(&t);
        return found;
    }
};

}  // namespace

TEST(StockingRecords, EveryFishOnceAcrossSevenPagesThenTheMap) {
    RecordsGame g;
    GameApp& app = g.App();
    app.eyeY = 420.0;  // the map's zoom
    app.EnterStockingRecords();
    app.stockRecords[3]->stockingWeight = 12.5f;
    app.stockRecords[3]->recentWeight = 12.02f;
    app.stockRecords[4]->stockingWeight = 12.9f;  // 14 ounces from the float, not 15
    app.stockRecords[4]->recentWeight = 0.0f;

    std::map<std::string, int> seen;
    for (int page = 1; page <= STOCKING_PAGE_COUNT; ++page) {
        SCOPED_TRACE(page);
        g.Frame();
        ASSERT_EQ(app.gameMode, MODE_STOCKING_RECORDS);
        ASSERT_EQ(app.stockingPage, page);
        const auto rows = g.TextsStartingWith("Fish");
        EXPECT_LE(rows.size(), 12u);  // room above the caption at y 89
        for (const plat::TextRecord* row : rows) {
            ++seen[row->text];
            EXPECT_LT(row->rect.top, 600 * 89 / 100);
        }
        const bool last = page == STOCKING_PAGE_COUNT;
        EXPECT_EQ(g.Text("Click here to play") != nullptr, last);
        EXPECT_EQ(g.Text("Click here to continue") != nullptr, !last);
        if (page == 1) {
            EXPECT_NE(g.Text("12 lb's  8 ounces."), nullptr);
            EXPECT_NE(g.Text("12 lb's  "), nullptr);
            EXPECT_NE(g.Text("12 lb's  14 ounces."), nullptr);
            EXPECT_EQ(g.TextsStartingWith("---").size(), 10u);  // every recent weight but fish 3's is 0
        }
        g.ClickButton();
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(FISH_COUNT));
    for (const auto& entry : seen) EXPECT_EQ(entry.second, 1) << entry.first;
    EXPECT_EQ(app.gameMode, MODE_MAP);
    EXPECT_EQ(app.eyeY, 420.0);
    EXPECT_EQ(StockingPageFish(0).end - StockingPageFish(0).first, 0);
    EXPECT_EQ(StockingPageFish(8).end - StockingPageFish(8).first, 0);
}

TEST(CatchRecords, RowsAndUnnamedBestsThroughTheLadder) {
    RecordsGame g;
    GameApp& app = g.App();
    app.gameMode = MODE_CATCH_RECORDS;
    app.recordsSelection = 5;
    for (int i = 27; i < FISH_COUNT; ++i) app.fish[i]->kind = i % 2 ? 28 : 29;

    // Nothing caught: every row white but the selected one, both unnamed lines white.
    g.Frame();
    auto rows = g.TextsStartingWith("You have not caught  Fish");
    ASSERT_EQ(rows.size(), 27u);
    for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i]->colour, i == 5 ? GREEN : WHITE) << i;
    ASSERT_NE(g.Text("You have not caught an unnamed common"), nullptr);
    EXPECT_EQ(g.Text("You have not caught an unnamed mirror")->colour, WHITE);
    EXPECT_NE(g.Text("Fish05"), nullptr);  // the selected fish's name

    // Two catches of named fish, and mirrors but no common.
    app.bestWeight[0] = 12.5f;
    app.bestWeight[1] = 12.02f;
    app.bestWeight[28] = 20.9f;  // mirror (kind 29): 20 lb 14 oz through the float
    app.bestWeight[30] = 18.0f;  // a smaller mirror
    app.bestWeight[31] = -3.0f;  // a common's weight that is no catch
    g.Frame();
    const plat::TextRecord* first = g.Text("You have caught   Fish00  (T00)   at 12 lb's  8 ounces.");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->colour, RED);
    ASSERT_NE(g.Text("You have caught   Fish01  (T01)   at 12 lb's  "), nullptr);
    EXPECT_EQ(g.Text("You have not caught an unnamed common")->colour, WHITE);
    ASSERT_NE(g.Text("Your biggest unnamed mirror is"), nullptr);
    const plat::TextRecord* mirror = g.Text("20 lb's  14 ounces.");
    ASSERT_NE(mirror, nullptr);
    EXPECT_EQ(mirror->colour, RED);
    EXPECT_EQ(mirror->rect.left, 638);  // 79 % of 808

    // The pointer on the middle of each drawn row (half the font's height below the row's top, a
    // little in from its start) picks that row's fish: the row turns green, no click needed.
    std::vector<plat::TextRecord> drawn;
    for (int i = 0; i < 27; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Fish%02d  (T%02d)", i, i);
        for (const plat::TextRecord* row : g.TextsStartingWith("You have"))
            if (row->text.find(name) != std::string::npos) drawn.push_back(*row);
    }
    ASSERT_EQ(drawn.size(), 27u);
    for (int i = 0; i < 27; ++i) {
        SCOPED_TRACE(drawn[i].text);
        g.backend->MoveCursor(drawn[i].rect.left + 10, drawn[i].rect.top + drawn[i].fontHeight / 2);
        g.Frame();
        EXPECT_EQ(app.recordsSelection, i);
        ASSERT_NE(g.Text(drawn[i].text), nullptr);
        EXPECT_EQ(g.Text(drawn[i].text)->colour, GREEN);
    }
}

TEST(CatchRecords, PulseRestsAFrameAtEachEnd) {
    GameOnDevice<plat::HeadlessDevice> g;
    GameApp& app = g.game;
    std::vector<int32_t> levels;
    for (int frame = 0; frame < 600; ++frame) {
        levels.push_back(app.recordsPulse);
        app.StepRecordsPulse();
    }
    // 0, 1, ..., 255, 255, 254, ..., 0, 0, 1, ...
    for (int i = 0; i <= 255; ++i) EXPECT_EQ(levels[i], i);
    EXPECT_EQ(levels[256], 255);
    EXPECT_EQ(levels[257], 254);
    EXPECT_EQ(levels[256 + 255], 0);
    EXPECT_EQ(levels[256 + 256], 0);
    EXPECT_EQ(levels[256 + 257], 1);
}

// A fish with no size or a shape of 0 or less must not put infinities or NaN into the model.
TEST(CatchRecords, ModelOfAFishWithNoSizeOrShapeStaysFinite) {
    RecordsGame g;
    GameApp& app = g.App();
    app.gameMode = MODE_CATCH_RECORDS;
    const double cases[][2] = {{0.0, 25.0}, {-4.0, 25.0}, {20.0, 0.0}, {20.0, -5.0}, {NAN, 25.0}};
    for (const auto& c : cases) {
        app.fish[0]->size = c[0];
        app.fish[0]->shapeFactor = c[1];
        app.recordsSelection = 0;
        g.Frame();
        for (const plat::DrawRecord& d : g.Device()->draws)
            for (const auto& row : d.world.m)
                for (float v : row) EXPECT_TRUE(std::isfinite(v)) << c[0] << " " << c[1];
    }
}
