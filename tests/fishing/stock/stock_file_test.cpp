// Stock file reading, this run's weights, fish placement and the one-time lake set-up.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>
#include "common/single_precision.h"
#include "platform/system.h"
#include "fishing/stock/stock_file.h"
#include "lake_fixture.h"
#include "scripted_lake.h"
#include "test_support.h"

namespace {

// The 477 tokens of a good stock file.
std::vector<std::string> GoodTokens() {
    std::vector<std::string> t;
    for (int i = 0; i < FISH_COUNT; ++i) {
        t.push_back("Fish" + std::to_string(i + 1));
        t.push_back("44000" + std::to_string(i));
        t.push_back(std::to_string(8 + i % 12) + ".5");
        t.push_back(i < 27 ? "25.25" : "0");
        t.push_back(std::to_string(i < 27 ? i + 1 : 28 + i % 5));
        t.push_back("32.5");
    }
    for (int s = 0; s < SWIM_COUNT; ++s) {
        t.push_back(std::to_string(20 + 15 * s));
        t.push_back(std::to_string(30 + 10 * s));
        t.push_back("1.75");
    }
    return t;
}

size_t FishToken(int fish, int field) { return static_cast<size_t>(fish * 6 + field); }

std::string Join(const std::vector<std::string>& tokens, const char* sep = "\n") {
    std::string s;
    for (const std::string& t : tokens) s += t + sep;
    return s;
}

bool Read(const std::string& text, StockFileContents* out, std::string* error) {
    FILE* f = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), f);
    std::rewind(f);
    const bool ok = ReadStockFile(f, out, error);
    std::fclose(f);
    return ok;
}

// A seed whose first draw is `value`.
uint32_t SeedDrawingFirst(int value) {
    for (uint32_t seed = 0;; ++seed) {
        plat::GameSrand(seed);
        if (plat::GameRand() == value) return seed;
    }
}

// A game folder with a small valid lake model, made the working directory for the test.
class TempGameDir : public ScratchDir {
public:
    TempGameDir() { WriteText("models/lake.qd", lakefix::ModelText(lakefix::SyntheticLakeValues())); }
    void WriteStock(const std::string& text) { WriteText("data/data.qd", text); }
    void RemoveStock() { std::remove("data/data.qd"); }
};

}  // namespace

TEST(StockFileRead, ReadsEveryRecordInAnyNumberFormCuttingLongNamesAndIgnoresWhatFollows) {
    std::vector<std::string> t = GoodTokens();
    t[FishToken(0, 2)] = "1.290000e+001";  // as Windows writes it
    t[FishToken(0, 4)] = "+1";
    t[FishToken(1, 5)] = "60";  // kept to 50
    t[FishToken(2, 5)] = "-3";  // kept to 0
    t[FishToken(3, 0)] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123";  // 30 characters
    t[FishToken(3, 1)] = "123456789012345678901234567890";
    t.push_back("extra");
    t.push_back("1.2.3");
    StockFileContents s;
    std::string error;
    ASSERT_TRUE(Read(Join(t, "\r\n"), &s, &error)) << error;
    EXPECT_STREQ(s.fish[0].name, "Fish1");
    EXPECT_STREQ(s.fish[0].tagNumber, "440000");
    EXPECT_EQ(s.fish[0].stockingWeight, 12.9f);
    EXPECT_EQ(s.fish[0].recentWeight, 25.25f);
    EXPECT_EQ(s.fish[0].kind, 1);
    EXPECT_EQ(s.fish[1].shapeFactor, 50.0f);
    EXPECT_EQ(s.fish[2].shapeFactor, 0.0f);
    EXPECT_STREQ(s.fish[3].name, "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_STREQ(s.fish[3].tagNumber, "12345678901234567890123456");
    EXPECT_EQ(s.fish[3].stockingWeight, 11.5f);  // later fields not shifted
    EXPECT_STREQ(s.fish[4].name, "Fish5");
    EXPECT_EQ(s.fish[74].kind, 28 + 74 % 5);
    EXPECT_EQ(s.fish[74].shapeFactor, 32.5f);
    EXPECT_EQ(s.swims[8].x, 140.0f);
    EXPECT_EQ(s.swims[8].z, 110.0f);
    EXPECT_EQ(s.swims[8].facing, 1.75f);
}

TEST(StockFileRead, ShortOrMalformedFilesAreRefusedNamingTheRecord) {
    struct Case {
        size_t token;       // token replaced, or the count kept when `keep` is set
        const char* value;
        bool keep;
        const char* expected;
    };
    const Case cases[] = {
        {360, nullptr, true, "ends early: the name of fish 61 is missing"},
        {0, nullptr, true, "the name of fish 1 is missing"},
        {450, nullptr, true, "the x of swim 1 is missing"},
        {476, nullptr, true, "the facing of swim 9 is missing"},
        {FishToken(4, 4), "1.5", false, "the kind of fish 5 is \"1.5\""},
        {FishToken(2, 2), "abc", false, "the stocking weight of fish 3 is \"abc\""},
        {FishToken(6, 3), "nan", false, "the recent weight of fish 7"},
        {FishToken(7, 5), "1e99", false, "the shape factor of fish 8"},
        {FishToken(29, 4), "40", false, "the kind of fish 30 is 40, outside 1..32"},
        {FishToken(9, 4), "0", false, "the kind of fish 10 is 0"},
        {FishToken(10, 4), "99999999999", false, "the kind of fish 11"},
        {FishToken(11, 2), "+-3", false, "the stocking weight of fish 12"},
        {452, "1,5", false, "the facing of swim 1 is \"1,5\""},
        // Bytes of the file are quoted as printable text only.
        {FishToken(2, 2), "\x1b[2J\x01\xff", false, "the stocking weight of fish 3 is \"\\x1B[2J\\x01\\xFF\", not"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> t = GoodTokens();
        if (c.keep) {
            t.resize(c.token);
        } else {
            t[c.token] = c.value;
        }
        StockFileContents s;
        std::string error;
        EXPECT_FALSE(Read(Join(t), &s, &error)) << c.expected;
        EXPECT_NE(error.find(c.expected), std::string::npos) << error;
        EXPECT_NE(error.find("data/data.qd"), std::string::npos) << error;
    }
}

TEST(StockWeights, RecentWeightWhenItGivesTenPoundsOrMoreElseStockingWeight) {
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        plat::GameSrand(seed);
        const float none = StartingWeight(8.0f, 0.0f);  // recent 0: always the stocking weight
        EXPECT_GE(none, 10.0f);
        EXPECT_LE(none, 13.001f);
        const float nine = StartingWeight(8.0f, 9.0f);
        EXPECT_GE(nine, 11.0f);
        EXPECT_LE(nine, 14.001f);
    }
    // 7.5 + 2 + 5460/10922 stays below 10: a fresh draw on the stocking weight.
    uint32_t seed = SeedDrawingFirst(5460);
    plat::GameSrand(seed);
    plat::GameRand();
    const int second = plat::GameRand();
    plat::GameSrand(seed);
    EXPECT_EQ(StartingWeight(12.0f, 7.5f), static_cast<float>(F32(14.0 + F32(second / 10922.0))));
    // 7.5 + 2 + 5461/10922 is 10: the recent weight stands, with one draw.
    seed = SeedDrawingFirst(5461);
    plat::GameSrand(seed);
    EXPECT_EQ(StartingWeight(12.0f, 7.5f), 10.0f);
    const uint32_t after = plat::GameRandState();
    plat::GameSrand(seed);
    plat::GameRand();
    EXPECT_EQ(plat::GameRandState(), after);
}

TEST(StockWeights, SizeFromWeightAndAHeadingOnTheCircle) {
    StockRecord r{};
    r.currentWeight = 21;
    r.kind = 12;
    r.shapeFactor = 31.5f;
    for (uint32_t seed = 1; seed <= 100; ++seed) {
        plat::GameSrand(seed);
        FishPlacement p{};
        FillStartData(r, &p);
        EXPECT_EQ(p.size, 13);  // 21 / 7 + 10
        EXPECT_EQ(p.kind, 12);
        EXPECT_GE(p.heading, 0);
        EXPECT_LE(p.heading, 6.284);
    }
}

TEST(FishPlacementSearch, EveryStartIsEvenDeepAndAwayFromTheHut) {
    ScriptedLake bowl = ScriptedLake::Bowl();
    ScriptedLake deep;  // deep everywhere, so only the hut rule turns points away
    const ScriptedLake* lakes[] = {&bowl, &deep};
    plat::GameSrand(31);
    for (const ScriptedLake* lake : lakes) {
        for (int i = 0; i < 1000; ++i) {
            FishPlacement p{};
            ASSERT_TRUE(PlaceFish(*lake, &p));
            const int32_t x = static_cast<int32_t>(p.x), z = static_cast<int32_t>(p.z);
            EXPECT_EQ(p.x, x);
            EXPECT_EQ(x % 2, 0);
            EXPECT_EQ(z % 2, 0);
            EXPECT_GE(x, 6);
            EXPECT_LE(x, 196);
            EXPECT_GE(z, 6);
            EXPECT_LE(z, 196);
            EXPECT_EQ(p.y, -1.5);
            float mean;
            ASSERT_TRUE(MeanHeightUnder(*lake, x, z, &mean));
            EXPECT_LT(mean, -1.5f);
            EXPECT_GT(std::hypot(x - 25.0, z - 24.0), 7.0);
        }
    }
}

TEST(FishPlacementSearch, GivesUpOnALakeWithoutUsableDeepWater) {
    ScriptedLake flat;
    flat.height = [](double, double) { return 0.0f; };
    ScriptedLake onlyByTheHut;
    onlyByTheHut.height = [](double x, double z) {
        return std::hypot(x - 25, z - 24) < 5 ? -4.0f : 0.5f;
    };
    for (const ScriptedLake* lake : {&flat, &onlyByTheHut}) {
        plat::GameSrand(5);
        FishPlacement p{};
        EXPECT_FALSE(PlaceFish(*lake, &p));
        uint32_t expected = 5;
        plat::GameSrand(expected);
        for (int i = 0; i < 2 * MAX_PLACEMENT_DRAWS; ++i) plat::GameRand();
        expected = plat::GameRandState();
        plat::GameSrand(5);
        PlaceFish(*lake, &p);
        EXPECT_EQ(plat::GameRandState(), expected);
    }
}

TEST(InitialiseLake, StocksTheLakeOnceInOrderAndNeverAgain) {
    TempGameDir dir;
    dir.WriteStock(Join(GoodTokens()));
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    GameApp& app = *g.app;
    ScriptedLake bowl = ScriptedLake::Bowl();
    app.lakeView = &bowl;
    plat::GameSrand(77);
    app.InitialiseLake();
    ASSERT_FALSE(app.IsCloseRequested());
    EXPECT_TRUE(g.backend->errorBoxes.empty());
    EXPECT_EQ(app.lakeInitialised, 1);
    EXPECT_EQ(app.eyeX, 100);
    EXPECT_EQ(app.eyeZ, 92);

    const float spots[6][2] = {{121, 142}, {145, 125}, {105, 95}, {120, 85}, {85, 66}, {100, 46}};
    for (int i = 0; i < 6; ++i) {
        const BaitAttraction& b = *app.baitAttractions[i];
        EXPECT_EQ(b.active, 1);
        EXPECT_EQ(b.type, BAIT_GROUNDBAIT);
        EXPECT_EQ(b.bait, 3);
        EXPECT_EQ(b.x, spots[i][0]);
        EXPECT_EQ(b.y, 0.0f);
        EXPECT_EQ(b.z, spots[i][1]);
    }
    EXPECT_EQ(app.baitAttractions[6]->active, 0);

    // The same draws in the same order: every weight, then every heading, then every place.
    StockFileContents s;
    std::string error;
    ASSERT_TRUE(Read(Join(GoodTokens()), &s, &error));
    plat::GameSrand(77);
    // The lake model's wildlife takes its start draws first.
    for (const InsectSwarm* w : app.insectSwarms)
        if (w->active) InsectSwarm().Start(w->centreX, w->centreY, w->centreZ, w->type);
    for (const BubbleSpot* b : app.bubbleSpots)
        if (b->active) BubbleSpot().Start(b->x, b->startY, b->z);
    for (const Dragonfly* d : app.dragonflies)
        if (d->active) Dragonfly().Start(d->homeX, d->homeY, d->homeZ);
    FishPlacement expected[FISH_COUNT];
    for (StockRecord& r : s.fish) r.currentWeight = StartingWeight(r.stockingWeight, r.recentWeight);
    for (int i = 0; i < FISH_COUNT; ++i) FillStartData(s.fish[i], &expected[i]);
    for (FishPlacement& p : expected) ASSERT_TRUE(PlaceFish(bowl, &p));
    for (int i = 0; i < FISH_COUNT; ++i) {
        const Fish& f = *app.fish[i];
        const FishPlacement& p = *app.fishPlacements[i];
        EXPECT_EQ(app.stockRecords[i]->currentWeight, s.fish[i].currentWeight) << i;
        EXPECT_EQ(p.x, expected[i].x) << i;
        EXPECT_EQ(p.z, expected[i].z) << i;
        EXPECT_EQ(p.heading, expected[i].heading) << i;
        EXPECT_EQ(f.active, 1);
        EXPECT_EQ(f.x, p.x);
        EXPECT_EQ(f.y, -1.5);
        EXPECT_EQ(f.z, p.z);
        EXPECT_EQ(f.weight, p.weight);
        EXPECT_EQ(f.kind, app.stockRecords[i]->kind);
        EXPECT_GE(f.size, p.size);
    }
    EXPECT_STREQ(app.stockRecords[26]->name, "Fish27");
    EXPECT_EQ(app.swims[0]->x, 20.0f);
    EXPECT_EQ(app.swims[8]->facing, 1.75f);

    // Coming back to the map reads, places and spawns nothing.
    dir.RemoveStock();
    app.fish[0]->x = 150;
    const uint32_t state = plat::GameRandState();
    app.InitialiseLake();
    EXPECT_EQ(plat::GameRandState(), state);
    EXPECT_FALSE(app.IsClosed());
    EXPECT_TRUE(g.backend->errorBoxes.empty());
    EXPECT_EQ(app.fish[0]->x, 150);
    EXPECT_EQ(app.baitAttractions[6]->active, 0);
    app.lakeView = &app.gameLakeView;
}

TEST(InitialiseLake, AMissingOrBadStockFileOrLakeStopsTheGameInOrder) {
    enum Made { NO_FILE, GOOD_FILE, A_PIPE, A_LINK_TO_ZEROS, TOO_LARGE };
    struct Case {
        Made made;
        bool flatLake;
        size_t badToken;
        const char* expected;
    };
    // A pipe nobody writes to and a device that never ends: refused at once, not waited on.
    const Case cases[] = {
        {NO_FILE, false, 0, "data/data.qd cannot be read: there is no such file"},
        {GOOD_FILE, false, FishToken(29, 4), "the kind of fish 30 is 40"},
        {GOOD_FILE, true, 0, "too little water deeper than 1.5"},
        {A_PIPE, false, 0, "data/data.qd cannot be read: it is not a plain file"},
        {A_LINK_TO_ZEROS, false, 0, "data/data.qd cannot be read: it is not a plain file"},
        {TOO_LARGE, false, 0, "data/data.qd cannot be read: it is larger than the 131072 bytes"},
    };
    for (const Case& c : cases) {
        TempGameDir dir;
        std::vector<std::string> t = GoodTokens();
        if (c.badToken) t[c.badToken] = "40";
        if (c.made == GOOD_FILE) dir.WriteStock(Join(t));
        if (c.made == TOO_LARGE) dir.WriteStock(Join(t) + std::string(STOCK_FILE_MAX_BYTES, ' '));
        std::filesystem::create_directories("data");
        if (c.made == A_PIPE) {
            ASSERT_EQ(::mkfifo("data/data.qd", 0644), 0);
        }
        if (c.made == A_LINK_TO_ZEROS) std::filesystem::create_symlink("/dev/zero", "data/data.qd");
        HeadlessGame g;
        ASSERT_TRUE(g.Start());
        GameApp& app = *g.app;
        ScriptedLake bowl = ScriptedLake::Bowl();
        ScriptedLake flat;
        flat.height = [](double, double) { return 0.0f; };
        app.lakeView = c.flatLake ? &flat : &bowl;
        app.InitialiseLake();
        EXPECT_TRUE(app.IsCloseRequested()) << c.expected;
        EXPECT_EQ(app.ExitCode(), 1) << c.expected;
        ASSERT_EQ(g.backend->errorBoxes.size(), 1u) << c.expected;
        EXPECT_NE(g.backend->errorBoxes[0].find(c.expected), std::string::npos) << g.backend->errorBoxes[0];
        // Nothing half-read is kept and no fish swims.
        EXPECT_STREQ(app.stockRecords[0]->name, "");
        for (const Fish* f : app.fish) EXPECT_EQ(f->active, 0);
        app.InitialiseLake();
        EXPECT_EQ(g.backend->errorBoxes.size(), 1u);
        app.lakeView = &app.gameLakeView;
    }
}
