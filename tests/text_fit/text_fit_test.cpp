// The texts of the title, instructions and records screens measured with the real text face at the
// sizes the game asks for: each must end inside the clip edge and cover no other text; and the
// map's tackle sentences, which must end inside the box of the frame picture they stand in.
// The texts are the ones the screens draw (recorded on the headless backend), not copies; the
// records show the generated stock.
#include <gtest/gtest.h>
#include <unistd.h>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "common/texture_ids.h"
#include "platform/d3dx.h"
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

    // Pixel width of a text in the font of the given cell height; each distinct text measured once.
    int32_t WidthOf(const std::string& text, int32_t fontHeight) {
        int32_t& w = widths[{text, fontHeight}];
        if (w == 0) {
            int tw = 0, th = 0;
            TTF_Font* f = FontOfHeight(fontHeight);
            EXPECT_TRUE(f && TTF_SizeUTF8(f, plat::Cp1252ToUtf8(text.c_str(), -1).c_str(), &tw, &th) == 0);
            w = tw;
        }
        return w;
    }

    GeneratedLakeFolder folder;
    HeadlessGame game;
    std::map<std::pair<std::string, int32_t>, int32_t> widths;
    std::map<int32_t, TTF_Font*> fonts;
};

std::string Describe(const Measured& m) {
    return m.screen + ": \"" + m.text.text + "\" at " + std::to_string(m.text.rect.left) + "," +
           std::to_string(m.text.rect.top) + " ends at " + std::to_string(m.right);
}

}  // namespace

TEST_F(TextFit, FixedTextsEndInsideTheClipEdgeAndOverlapNoOtherText) {
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
        // No two texts of a page cover the same pixels (each text taken as its width by its
        // font's cell height): neither on a row (label and name on the credits page, the two foot
        // lines) nor between rows (the instructions' heading in the large font over the line below).
        for (size_t i = 0; i < page.size(); ++i)
            for (size_t j = i + 1; j < page.size(); ++j) {
                const Measured& a = page[i];
                const Measured& b = page[j];
                const bool across = a.text.rect.left < b.right && b.text.rect.left < a.right;
                const bool down = a.text.rect.top < b.text.rect.top + b.text.fontHeight &&
                                  b.text.rect.top < a.text.rect.top + a.text.fontHeight;
                EXPECT_FALSE(across && down) << Describe(a) << " overlaps " << Describe(b);
            }
    }
    // 10 on the title (6 captions among them), 6 on every instructions page, 19 + 16 + 15 on the pages.
    EXPECT_GE(distinct, 60u);

    // Two lines of the title are wider than the clip edge lets them be drawn, only just, and both
    // stay on the picture: the heading in the medium font (23 px high in the 808-pixel-wide window)
    // and the long first line of the introduction.
    std::string list;
    for (const auto& kv : overflowing) list += "\n  " + Describe(kv.second);
    ASSERT_LE(overflowing.size(), 2u) << list;
    for (const auto& kv : overflowing) {
        const Measured& m = kv.second;
        EXPECT_EQ(m.screen.rfind("title", 0), 0u) << Describe(m);
        EXPECT_TRUE(m.text.rect.top == 12 || m.text.rect.top == 76) << Describe(m);
        EXPECT_LT(m.right - m.text.rect.right, 24) << Describe(m);
        EXPECT_LE(m.right, 800) << Describe(m);
    }
}

TEST(TextFace, CellMetricsAreReadFromTheFaceAndSizeItByItsCell) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(plat::ReadFileBytes(LAKESIDE_GAME_DIR "/fonts/sans.ttf", &bytes, 32u << 20));
    plat::FaceCellMetrics m;
    ASSERT_TRUE(plat::ReadFaceCellMetrics(bytes, &m));
    EXPECT_GT(m.winAscent, m.winDescent);
    // The three heights of the game's fonts give an em that keeps the cell within half a pixel.
    for (int32_t cell : {16, 23, 32}) {
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

namespace {

double Luminance(uint32_t argb) {
    return 0.299 * ((argb >> 16) & 255) + 0.587 * ((argb >> 8) & 255) + 0.114 * (argb & 255);
}

}  // namespace

// The box across the top of the map holds the sentences that describe the tackle: for every choice
// of rod and reel, method with its line, weight, float and hook values, hook bait and groundbait,
// each sentence ends before the box's drawn right edge (the dark line of its inset in the frame
// picture, seen where the frame is drawn on the screen).
TEST_F(TextFit, TheMapsTopBoxHoldsTheSentenceOfEveryTackleChoice) {
    GameApp& app = *game.app;
    app.gameMode = MODE_MAP;
    app.InitialiseLake();
    ASSERT_TRUE(app.lakeInitialised && !app.IsCloseRequested());
    app.cursorX = app.cursorY = 0;  // no read-out among the texts
    game.Device()->ClearLog();
    app.DrawMapScreen();

    const plat::DrawRecord* frame = nullptr;
    for (const plat::DrawRecord& d : game.Device()->draws)
        if (d.textureFile.size() >= 10 && d.textureFile.compare(d.textureFile.size() - 10, 10, "border.bmp") == 0) frame = &d;
    ASSERT_NE(frame, nullptr) << "no frame picture drawn";
    plat::TextureImage border;
    ASSERT_TRUE(plat::DecodeTextureFile(LAKESIDE_GAME_DIR "/textures/border.bmp", plat::DEFAULT_VALUE,
                                        plat::DEFAULT_VALUE, 1, plat::FILTER_NONE, plat::FILTER_NONE, 0x01000000u,
                                        &border));
    // The frame quad runs from u 0 at model x -1 to u 1 at x 1, and from v 0 at z 1 down to v 1 at z -1.
    const auto topLeft = OnPicture(*frame, -1, 0, 1), bottomRight = OnPicture(*frame, 1, 0, -1);
    auto uOf = [&](double x) { return (x - topLeft.x) / (bottomRight.x - topLeft.x); };
    auto vOf = [&](double y) { return (y - topLeft.y) / (bottomRight.y - topLeft.y); };
    auto xOf = [&](double u) { return topLeft.x + u * (bottomRight.x - topLeft.x); };
    // The first dark texel right of picture point (x, y): the left side of the box's edge line.
    auto edgeRightOf = [&](double x, double y) {
        const int32_t row = static_cast<int32_t>(vOf(y) * border.height);
        for (int32_t col = static_cast<int32_t>(uOf(x) * border.width); col < static_cast<int32_t>(border.width); ++col)
            if (Luminance(border.argb[static_cast<size_t>(row) * border.width + col]) < 200)
                return xOf(static_cast<double>(col) / border.width);
        return 800.0;
    };

    // The widest ending of each text row of the box, with the text that reaches it.
    std::map<int32_t, std::pair<int32_t, plat::TextRecord>> widest;
    int32_t sentences = 0;
    auto measure = [&]() {
        game.Device()->ClearLog();
        app.DrawMapScreen();
        int32_t frameWidest = 0;
        for (const plat::TextRecord& t : game.Device()->texts) {
            if (t.rect.top > 60 || t.rect.left < 200 || t.rect.left > 700) continue;  // the sentences' place
            ++sentences;
            const int32_t right = t.rect.left + WidthOf(t.text, t.fontHeight);
            auto& w = widest[t.rect.top];
            if (right > w.first) w = {right, t};
            frameWidest = std::max(frameWidest, right);
        }
        return frameWidest;
    };
    // Each value stands in a piece of its own in a sentence, so the widest sentence of a method has
    // the widest choice of every value: each value is stepped through its whole range in turn and
    // left at its widest choice.
    auto widen = [&](const std::function<void(int32_t)>& set, std::initializer_list<int32_t> values) {
        int32_t best = *values.begin(), bestRight = -1;
        for (int32_t v : values) {
            set(v);
            const int32_t right = measure();
            if (right > bestRight) best = v, bestRight = right;
        }
        set(best);
    };
    widen([&](int32_t v) { app.rodReel = v; }, {1, 2, 3, 4});
    widen([&](int32_t v) { app.groundbait = v; }, {1, 2, 3});
    widen([&](int32_t v) { app.hookBait = v; }, {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13});
    for (app.method = 1; app.method <= 7; ++app.method) {
        widen([&](int32_t v) { app.mainlineLb = v; }, {10, 11, 12, 13, 14, 15, 16});
        widen([&](int32_t v) { app.hooklengthLb = v; }, {10, 11, 12, 13, 14, 15, 16});
        widen([&](int32_t v) { app.hookSize = v; }, {10, 8, 6, 4});
        widen([&](int32_t v) { app.leadOz = v; }, {1, 2, 3, 4});
        widen([&](int32_t v) { app.wagglerShot = v; }, {1, 2, 3, 4});
        widen([&](int32_t v) { app.floatDepth = v; }, {1, 2, 3, 4});
        widen([&](int32_t v) { app.controllerOz = 0.5 * v; }, {1, 2, 3, 4});
    }
    ASSERT_EQ(widest.size(), 3u) << "three rows of sentences";
    EXPECT_GE(sentences, 3 * 200);
    for (const auto& row : widest) {
        const plat::TextRecord& t = row.second.second;
        const double edge = edgeRightOf(t.rect.left, t.rect.top + t.fontHeight / 2.0);
        EXPECT_LE(row.second.first, edge) << "\"" << t.text << "\" at row " << row.first << " ends at "
                                          << row.second.first << ", past the box's edge at " << edge;
    }
}
