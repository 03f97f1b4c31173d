// The texts of the title, instructions and records screens measured with the real text face at the
// sizes the game asks for: each must end inside the clip edge and before the next text on its row.
// The texts are the ones the screens draw (recorded on the headless backend), not copies; the
// records show the generated stock.
#include <gtest/gtest.h>
#include <unistd.h>
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "platform/file_bytes.h"
#include "platform/sdl/sans_font.h"
#include "fishing/weight.h"
#include "generated_lake.h"
#include "screens/records/stocking_records_screen.h"
#include "test_support.h"

namespace {

// One drawn text with where its last pixel column ends.
struct Measured {
    std::string screen;
    plat::TextRecord text;
    int32_t right;  // rect.left + rendered width
};

class TextFit : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.ok) << "no generated lake";
        ASSERT_TRUE(game.Start());
        game.backend->msPerFrame = 0;
    }
    void TearDown() override {
        for (auto& kv : fonts) TTF_CloseFont(kv.second);
    }

    TTF_Font* FontOfHeight(int32_t height) {
        TTF_Font*& f = fonts[height];
        if (!f) {
            std::string error;
            f = plat::OpenSansFont(height, &error);
            EXPECT_NE(f, nullptr) << error;
        }
        return f;
    }

    // Draws one frame and measures every text it drew.
    std::vector<Measured> Frame(const std::string& screen) {
        game.Device()->ClearLog();
        game.Frames(1);
        std::vector<Measured> out;
        for (const plat::TextRecord& t : game.Device()->texts) {
            int w = 0, h = 0;
            TTF_Font* f = FontOfHeight(t.fontHeight);
            if (!f) continue;
            EXPECT_EQ(TTF_SizeUTF8(f, plat::Cp1252ToUtf8(t.text.c_str(), -1).c_str(), &w, &h), 0);
            out.push_back({screen, t, t.rect.left + w});
        }
        return out;
    }

    // Every screen and page, with each caption of the title shown once.
    std::vector<std::vector<Measured>> AllPages() {
        std::vector<std::vector<Measured>> pages;
        GameApp& app = *game.app;
        for (int32_t set : {1, 2})
            for (int32_t state : {2, 6, 10}) {
                app.titlePictureSet = set;
                app.titleState = state;
                app.titleTickCounter = 0;
                pages.push_back(Frame("title, set " + std::to_string(set) + ", state " + std::to_string(state)));
            }
        for (int32_t page : {1, 2, 3}) {
            app.gameMode = MODE_INSTRUCTIONS;
            app.instructionsPage = page;
            pages.push_back(Frame("instructions page " + std::to_string(page)));
        }
        // The records of the generated stock with every fish caught, stocked and last weighed at
        // the widest weight text: two-digit pounds and two-digit ounces.
        app.gameMode = MODE_MAP;
        app.InitialiseLake();
        EXPECT_TRUE(app.lakeInitialised && !app.IsCloseRequested());
        const float widest = 48.95f;
        EXPECT_EQ(WeightToPoundsOunces(widest).ounces, 15);
        for (int32_t i = 0; i < FISH_COUNT; ++i) {
            app.bestWeight[i] = widest;
            app.stockRecords[i]->stockingWeight = app.stockRecords[i]->recentWeight = widest;
        }
        app.gameMode = MODE_CATCH_RECORDS;
        pages.push_back(Frame("catch records"));
        for (int32_t page = 1; page <= STOCKING_PAGE_COUNT; ++page) {
            app.gameMode = MODE_STOCKING_RECORDS;
            app.stockingPage = page;
            pages.push_back(Frame("stocking records page " + std::to_string(page)));
        }
        return pages;
    }

    GeneratedLakeFolder folder;
    HeadlessGame game;
    std::map<int32_t, TTF_Font*> fonts;
};

std::string Describe(const Measured& m) {
    return m.screen + ": \"" + m.text.text + "\" at " + std::to_string(m.text.rect.left) + "," +
           std::to_string(m.text.rect.top) + " ends at " + std::to_string(m.right);
}

}  // namespace

TEST_F(TextFit, FixedTextsEndInsideTheClipEdgeAndBeforeTheirRowNeighbours) {
    std::vector<std::vector<Measured>> pages = AllPages();
    ASSERT_EQ(pages.size(), 17u);

    std::map<std::string, Measured> overflowing;  // by text, so a line repeated on pages counts once
    size_t distinct = 0;
    std::map<std::string, bool> seen;
    for (const std::vector<Measured>& page : pages) {
        ASSERT_FALSE(page.empty());
        for (const Measured& m : page) {
            EXPECT_EQ(m.text.rect.right, 780);
            if (!seen[m.text.text]) ++distinct, seen[m.text.text] = true;
            if (m.right > m.text.rect.right) overflowing.emplace(m.text.text, m);
        }
        // Texts that share a row (label and name on the credits page, the two foot lines) do not touch.
        std::vector<Measured> byPlace = page;
        std::sort(byPlace.begin(), byPlace.end(), [](const Measured& a, const Measured& b) {
            return a.text.rect.top != b.text.rect.top ? a.text.rect.top < b.text.rect.top
                                                      : a.text.rect.left < b.text.rect.left;
        });
        for (size_t i = 0; i + 1 < byPlace.size(); ++i) {
            const Measured& a = byPlace[i];
            const Measured& b = byPlace[i + 1];
            if (a.text.rect.top != b.text.rect.top) continue;
            EXPECT_LT(a.right, b.text.rect.left) << Describe(a) << " runs into " << Describe(b);
        }
    }
    // 10 on the title (6 captions among them), 6 on every instructions page, 19 + 16 + 15 on the pages.
    EXPECT_GE(distinct, 60u);

    // Only the title's long first line of the introduction is wider than the screen allows, and
    // only just.
    std::string list;
    for (const auto& kv : overflowing) list += "\n  " + Describe(kv.second);
    ASSERT_LE(overflowing.size(), 1u) << list;
    for (const auto& kv : overflowing) {
        const Measured& m = kv.second;
        EXPECT_EQ(m.screen.rfind("title", 0), 0u) << Describe(m);
        EXPECT_EQ(m.text.rect.top, 72) << Describe(m);
        EXPECT_LT(m.right - m.text.rect.right, 24) << Describe(m);
    }
}

TEST(TextFace, CellMetricsAreReadFromTheFaceAndSizeItByItsCell) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(plat::ReadFileBytes(LAKESIDE_GAME_DIR "/fonts/sans.ttf", &bytes, 32u << 20));
    plat::FaceCellMetrics m;
    ASSERT_TRUE(plat::ReadFaceCellMetrics(bytes, &m));
    EXPECT_GT(m.winAscent, m.winDescent);
    // The three heights of the game's fonts give an em that keeps the cell within half a pixel.
    for (int32_t cell : {16, 22, 32}) {
        const int32_t ppem = plat::PixelsPerEmForCell(cell, m);
        const double made = static_cast<double>(ppem) * (m.winAscent + m.winDescent) / m.unitsPerEm;
        EXPECT_NEAR(made, cell, 0.5 * (m.winAscent + m.winDescent) / m.unitsPerEm + 1e-9) << cell;
    }
    EXPECT_EQ(plat::PixelsPerEmForCell(0, m), 1);

    // A file cut inside its table directory or inside the OS/2 table is no face.
    plat::FaceCellMetrics untouched;
    for (size_t cut : {size_t{0}, size_t{11}, size_t{40}, bytes.size() / 2}) {
        std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        plat::FaceCellMetrics got;
        if (plat::ReadFaceCellMetrics(part, &got)) {
            EXPECT_EQ(got.unitsPerEm, m.unitsPerEm) << cut;  // tables that lie before the cut
        } else {
            EXPECT_EQ(got.unitsPerEm, untouched.unitsPerEm) << cut;
        }
    }
}
