// A save file whose photo records and best weights hold values no catch can make (kinds, swims,
// shapes, sizes, weights, camera and flags at their extremes), read by every screen that shows
// them: the game starts on it, pages through the album, shows the catch records and goes back to
// the lake, then writes the file back byte for byte as it was read.
#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>
#include "platform/headless/headless_backend.h"
#include "generated_lake.h"
#include "test_support.h"

namespace {

constexpr float FAR_OUT = 1e30f;

// One stored photo and what the album must caption it with. Every record is a photo in use.
struct ExtremeRow {
    const char* what;
    PhotoRecord photo;
    const char* weightText;  // the album's weight caption
    bool fishShown;          // the fish lies on the mat: its swim is one of the lake's and its measures are numbers
};

PhotoRecord Photo(int32_t kind, int32_t swim, float shape, float weight, float size = 20.0f) {
    PhotoRecord p{};
    p.inUse = 1;
    p.rod1Shown = 1;
    p.alarmRig = 1;
    p.swim = swim;
    p.fishKind = kind;
    p.fishShape = shape;
    p.fishWeight = weight;
    p.fishSize = size;
    p.waterScroll[0] = 0.25f;
    p.eyeX = 100.0f;
    p.eyeY = 2.0f;
    p.eyeZ = 60.0f;
    p.heading = 1.0f;
    p.pitch = 6.3f;
    return p;
}

PhotoRecord FarCamera() {
    PhotoRecord p = Photo(28, 4, 25.0f, 12.5f);
    p.eyeX = FAR_OUT;
    p.eyeY = -FAR_OUT;
    p.eyeZ = FAR_OUT;
    p.heading = FAR_OUT;
    p.pitch = -FAR_OUT;
    for (float& w : p.waterScroll) w = -FAR_OUT;
    return p;
}

PhotoRecord EveryFlagSet() {
    PhotoRecord p = Photo(32, 9, 25.0f, 9.95f);
    p.rod1Shown = p.rod2Shown = p.alarmRig = p.inUse = 255;
    return p;
}

const std::vector<ExtremeRow>& Rows() {
    static const std::vector<ExtremeRow> rows = {
        {"kind 0", Photo(0, 3, 25.0f, 10.5f), "10 lb's  8 ounces", true},
        {"kind 33", Photo(33, 3, 25.0f, 10.5f), "10 lb's  8 ounces", true},
        {"kind -1", Photo(-1, 3, 25.0f, 10.5f), "10 lb's  8 ounces", true},
        {"swim 0", Photo(28, 0, 25.0f, 10.5f), "10 lb's  8 ounces", false},
        {"swim 10", Photo(28, 10, 25.0f, 10.5f), "10 lb's  8 ounces", false},
        {"swim -7", Photo(28, -7, 25.0f, 10.5f), "10 lb's  8 ounces", false},
        {"shape 0", Photo(29, 5, 0.0f, 10.5f), "10 lb's  8 ounces", true},
        {"shape -5", Photo(29, 5, -5.0f, 10.5f), "10 lb's  8 ounces", true},
        {"weight 0", Photo(30, 6, 25.0f, 0.0f), "0.0lb's", true},
        {"weight negative", Photo(30, 6, 25.0f, -3.5f), "-3.5lb's", true},
        {"weight 1e30", Photo(30, 6, 25.0f, FAR_OUT), "2147483647 lb's  15 ounces", true},
        {"weight -1e30", Photo(30, 6, 25.0f, -FAR_OUT), "-2147483648.0lb's", true},
        {"size 0", Photo(31, 7, 25.0f, 10.5f, 0.0f), "10 lb's  8 ounces", true},
        {"size negative", Photo(31, 7, 25.0f, 10.5f, -20.0f), "10 lb's  8 ounces", true},
        {"size 1e30", Photo(31, 7, 25.0f, 10.5f, FAR_OUT), "10 lb's  8 ounces", true},
        {"shape tiny", Photo(31, 7, 1e-30f, 10.5f), "10 lb's  8 ounces", true},
        {"camera and water far out", FarCamera(), "12 lb's  8 ounces", true},
        {"every flag 255", EveryFlagSet(), "9 lb's  15 ounces", true},
        {"size 1e30, shape tiny", Photo(27, 8, 1e-30f, 10.5f, FAR_OUT), "10 lb's  8 ounces", false},
        {"all at once", Photo(-1, 10, -5.0f, -FAR_OUT, FAR_OUT), "-2147483648.0lb's", false},
    };
    return rows;
}

// Best weights: the named fish 0..5 and some unnamed fish out of any scale.
std::vector<float> BestWeights() {
    std::vector<float> w(GameApp::BEST_WEIGHT_COUNT, 0.0f);
    w[0] = FAR_OUT;
    w[1] = -3.5f;
    w[2] = -FAR_OUT;
    w[3] = 12.5f;
    w[4] = 3.4e38f;
    for (int i = 27; i < GameApp::BEST_WEIGHT_COUNT; ++i) w[i] = i % 3 == 0 ? FAR_OUT : i % 3 == 1 ? -FAR_OUT : 0.0f;
    return w;
}

// The save file as the game writes it: 17 values a record in file order, then the best weights.
std::string SaveText(const std::vector<ExtremeRow>& rows, const std::vector<float>& best) {
    std::string text;
    char line[64];
    auto integer = [&](int32_t v) {
        std::snprintf(line, sizeof line, "%d\n", v);
        text += line;
    };
    auto real = [&](float v) {
        std::snprintf(line, sizeof line, "%e\n", static_cast<double>(v));
        text += line;
    };
    for (int slot = 0; slot < PHOTO_SLOT_COUNT; ++slot) {
        const PhotoRecord p = slot < static_cast<int>(rows.size()) ? rows[slot].photo : PhotoRecord{};
        for (uint8_t flag : {p.rod1Shown, p.rod2Shown, p.alarmRig, p.inUse}) integer(flag);
        real(p.fishSize);
        real(p.fishWeight);
        integer(p.swim);
        integer(p.fishKind);
        for (float v : {p.fishShape, p.waterScroll[0], p.waterScroll[1], p.waterScroll[2], p.eyeX, p.eyeY, p.eyeZ,
                        p.heading, p.pitch})
            real(v);
    }
    for (float w : best) real(w);
    return text;
}

std::string FileText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The generated lake's game folder, holding the save file given.
struct SavedGameFolder : GeneratedLakeFolder {
    explicit SavedGameFolder(const std::string& save) { WriteText("photos/photos.qd", save); }
};

bool MatrixFinite(const plat::Matrix& m) {
    for (const auto& row : m.m)
        for (float v : row)
            if (!std::isfinite(v)) return false;
    return true;
}

// What a frame drew must be numbers: every transform, and every mesh vertex drawn.
std::string FirstNonFiniteDraw(const plat::HeadlessDevice& device) {
    for (size_t i = 0; i < device.draws.size(); ++i) {
        const plat::DrawRecord& d = device.draws[i];
        if (!MatrixFinite(d.world) || !MatrixFinite(d.view) || !MatrixFinite(d.projection))
            return "transform of draw " + std::to_string(i) + " (" + d.textureFile + ")";
        if (d.fvf != plat::FVF_MESH || !d.buffer) continue;
        const size_t floats = d.buffer->Length() / sizeof(float);
        const float* v = reinterpret_cast<const float*>(d.buffer->Data());
        for (size_t k = 0; k < floats; ++k)
            if (!std::isfinite(v[k])) return "vertex of draw " + std::to_string(i) + " (" + d.textureFile + ")";
    }
    return "";
}

// Printable text of a length a screen can hold, with no number the formatting could not make.
bool Sane(const std::string& text, size_t longest) {
    if (text.size() > longest) return false;
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return false;
    return text.find("nan") == std::string::npos && text.find("inf") == std::string::npos;
}

struct ExtremesGame : HeadlessGame {
    std::vector<std::string> faults;  // every frame's non-finite draw, with where it happened

    void Frame(const std::string& where) {
        Device()->ClearLog();
        app->RunOneFrame();
        const std::string bad = FirstNonFiniteDraw(*Device());
        if (!bad.empty() && faults.size() < 20) faults.push_back(where + ": " + bad);
    }
    void Frames(int n, const std::string& where) {
        for (int i = 0; i < n; ++i) Frame(where);
    }
    void Unlock(const std::string& where) {
        for (int i = 0; i < 200 && app->inputLock != 0; ++i) Frame(where);
    }
    void Tap(plat::KeyId key, const std::string& where) {
        backend->QueueKey(key, true);
        Frames(2, where);
        backend->QueueKey(key, false);
        Frame(where);
    }
    void Click(int32_t x, int32_t y, const std::string& where) {
        backend->MoveCursor(x, y);
        backend->QueueMouseButton(0, true);
        Frame(where);
        backend->QueueMouseButton(0, false);
        Frame(where);
    }
    const plat::TextRecord* TextAt(int32_t left, int32_t top) {
        for (const plat::TextRecord& t : Device()->texts)
            if (t.rect.left == left && t.rect.top == top) return &t;
        return nullptr;
    }
};

}  // namespace

TEST(ExtremeSavedRecords, EveryReaderShowsWhatItCanAndTheFileIsSavedBackUnchanged) {
    const std::string saved = SaveText(Rows(), BestWeights());
    SavedGameFolder folder(saved);
    if (!folder.ok) GTEST_SKIP() << "no generated lake";
    std::vector<std::string> faults;
    {
        ExtremesGame g;
        ASSERT_TRUE(g.Start());
        GameApp& app = *g.app;
        g.Device()->recordCallLines = false;
        g.backend->msPerFrame = 16;
        plat::GameSrand(77);

        // Every record loaded as written.
        for (size_t i = 0; i < Rows().size(); ++i) {
            EXPECT_EQ(std::memcmp(app.photos[i], &Rows()[i].photo, sizeof(PhotoRecord)), 0) << Rows()[i].what;
        }
        EXPECT_EQ(app.PhotosInUse(), static_cast<int32_t>(Rows().size()));

        // From the map to the bank of swim 3, as the map's button goes there.
        app.gameMode = MODE_MAP;
        app.InitialiseLake();
        ASSERT_TRUE(app.lakeInitialised);
        app.currentSwim = 3;
        app.EnterFishingScreen();
        g.Frames(30, "bank");
        g.Unlock("bank");
        ASSERT_EQ(app.gameMode, MODE_FISHING);

        // The album, each photo staged, then a click to the next.
        g.Tap(plat::KeyId::P, "bank");
        ASSERT_EQ(app.gameMode, MODE_PHOTO_ALBUM);
        g.Unlock("album");
        for (size_t i = 0; i < Rows().size(); ++i) {
            const ExtremeRow& row = Rows()[i];
            SCOPED_TRACE(row.what);
            ASSERT_EQ(app.gameMode, MODE_PHOTO_ALBUM);
            ASSERT_EQ(app.currentPhoto, static_cast<int32_t>(i));
            for (int f = 0; f < 60 && app.albumFrameCount < 50; ++f) g.Frame(row.what);
            g.Frame(row.what);  // a whole staged frame, drawn with the view the photo set
            const plat::TextRecord* weight = g.TextAt(468, 12);  // (58 %, 2 %) of 808 x 634
            ASSERT_NE(weight, nullptr);
            EXPECT_EQ(weight->text, row.weightText);
            for (const plat::TextRecord& t : g.Device()->texts) EXPECT_TRUE(Sane(t.text, 60)) << t.text;
            size_t fishDraws = 0;
            for (const plat::DrawRecord& d : g.Device()->draws)
                if (d.buffer == app.fishBodyMesh || d.buffer == app.fishTailMesh) ++fishDraws;
            EXPECT_EQ(fishDraws > 0, row.fishShown);
            g.Click(400, 300, row.what);
            g.Unlock(row.what);
        }
        ASSERT_EQ(app.gameMode, MODE_FISHING);
        EXPECT_TRUE(std::isfinite(app.eyeX) && std::isfinite(app.heading) && std::isfinite(app.pitch));
        g.Frames(20, "bank after the album");

        // The catch records: every row and unnamed line bounded, the known bests as the ladder gives.
        g.Tap(plat::KeyId::C, "bank");
        ASSERT_EQ(app.gameMode, MODE_CATCH_RECORDS);
        g.Frames(3, "catch records");
        for (const plat::TextRecord& t : g.Device()->texts) EXPECT_TRUE(Sane(t.text, 110)) << t.text;
        const auto row = [&](int fish) -> std::string {
            // (5 %, 7 + 3 i %) of 808 x 634
            const plat::TextRecord* t = g.TextAt(40, static_cast<int32_t>(static_cast<float>((7 + 3 * fish) * 6.34)));
            return t ? t->text : "";
        };
        const auto endsWith = [](const std::string& s, const std::string& end) {
            return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
        };
        EXPECT_TRUE(endsWith(row(0), " at 2147483647 lb's  15 ounces.")) << row(0);
        EXPECT_TRUE(endsWith(row(1), " at -3 lb's  ")) << row(1);
        EXPECT_TRUE(endsWith(row(2), " at -2147483648 lb's  ")) << row(2);
        EXPECT_TRUE(endsWith(row(3), " at 12 lb's  8 ounces.")) << row(3);
        EXPECT_TRUE(endsWith(row(4), " at 2147483647 lb's  15 ounces.")) << row(4);
        EXPECT_EQ(row(5).rfind("You have not caught  ", 0), 0u) << row(5);
        // The biggest unnamed fish are the ones beyond any scale; the negative ones never count.
        for (const auto& [left, top] : {std::pair{654, 44}, std::pair{638, 63}}) {  // (81 %, 7 %), (79 %, 10 %)
            const plat::TextRecord* line = g.TextAt(left, top);
            ASSERT_NE(line, nullptr) << top;
            EXPECT_EQ(line->text, "2147483647 lb's  15 ounces.");
        }
        // Each named fish's model turning in its place (the cursor off the rows).
        g.backend->MoveCursor(700, 300);
        for (int fish = 0; fish < 27; ++fish) {
            app.recordsSelection = fish;
            g.Frame("catch records");
        }
        g.Unlock("catch records");
        g.Click(400, 545, "catch records");
        ASSERT_EQ(app.gameMode, MODE_FISHING);
        g.Frames(30, "bank after the records");
        faults = g.faults;
    }  // the game closes and writes the save file

    for (const std::string& f : faults) ADD_FAILURE() << f;
    EXPECT_EQ(FileText("photos/photos.qd"), saved);
}
