// Reading the lake model file and putting it into play; files that are missing, short or wrong.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "lake_fixture.h"
#include "test_support.h"
#include "world/world.h"

using lakefix::BillboardValue;
using lakefix::BubbleValue;
using lakefix::CellValue;
using lakefix::DragonflyValue;
using lakefix::ItemValue;
using lakefix::SwarmValue;

namespace {

const std::vector<std::string>& Synthetic() {
    static const std::vector<std::string> values = lakefix::SyntheticLakeValues();
    return values;
}

LakeModelResult Parse(const std::string& text, LakeModel* model) {
    return ParseLakeModel(text.data(), text.size(), model);
}

LakeModelResult ParseValues(const std::vector<std::string>& values, LakeModel* model) {
    return Parse(lakefix::ModelText(values), model);
}

int ActiveCount(GameApp& app) {
    int n = 0;
    for (Billboard* b : app.billboards) n += b->active != 0;
    for (SceneryItem* s : app.sceneryItems) n += s->active != 0;
    for (InsectSwarm* s : app.insectSwarms) n += s->active != 0;
    for (BubbleSpot* s : app.bubbleSpots) n += s->active != 0;
    for (Dragonfly* d : app.dragonflies) n += d->active != 0;
    return n;
}

}  // namespace

TEST(LakeModelFile, ValidModelsInAnyScanfNumberFormAndTheWaterEdgeSnap) {
    ASSERT_EQ(Synthetic().size(), static_cast<size_t>(LAKE_MODEL_VALUE_COUNT));
    std::vector<std::string> v = Synthetic();
    const char* edge[] = {"-0.1", "-0.2", "0.05", "-1.5"};
    for (int k = 0; k < 4; ++k) v[CellValue(7, 4 + k)] = edge[k];
    v[CellValue(8, 4)] = "-0.19999";
    v[CellValue(8, 5)] = "-0.20001";
    v[CellValue(8, 6)] = "-0.1999999999";  // its nearest single-precision value is -0.2 itself
    v[CellValue(8, 7)] = "-0.0";
    v[CellValue(3, 4)] = "1.290000e+001";
    v[CellValue(3, 5)] = "+0.5";
    v[CellValue(3, 6)] = "-2.";
    v[CellValue(3, 7)] = ".25";
    v[CellValue(3, 12)] = "+45";
    v[BillboardValue(1999, 1)] = "99";  // kinds of unused records are not looked at
    v[ItemValue(99, 1)] = "-4";
    v[SwarmValue(50, 1)] = "3";
    auto model = std::make_unique<LakeModel>();
    LakeModelResult r = Parse(lakefix::ModelText(v, "\r\n") + "trailing words are ignored\n", model.get());
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_TRUE(r.error.empty());

    const float snapped[2][4] = {{0.0f, -0.2f, 0.05f, -1.5f}, {0.0f, -0.20001f, -0.2f, 0.0f}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(model->cells[7].y[k], snapped[0][k]) << k;
        EXPECT_EQ(model->cells[8].y[k], snapped[1][k]) << k;
    }
    const float forms[4] = {12.9f, 0.5f, -2.0f, 0.25f};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(model->cells[3].y[k], forms[k]) << k;
    EXPECT_EQ(model->cells[3].groundTexture, 45);
    EXPECT_EQ(model->billboards[0].active, 0);  // the file starts at record 1
    EXPECT_EQ(model->billboards[1].active, 1);
    EXPECT_EQ(model->billboards[1].type, 2);
    EXPECT_EQ(model->swarms.size(), 20u);
    EXPECT_EQ(model->bubbleSpots.size(), 60u);
    EXPECT_EQ(model->dragonflies.size(), 10u);
}

TEST(LakeModelFile, BadFilesAreRefusedWithAMessageAndNothingWritten) {
    struct Case {
        const char* what;
        int value;            // which value to change (-1: none)
        const char* text;     // its new text
        size_t keep;          // values kept (cut-short files), 0 = all
        const char* message;  // part of the error
    };
    const Case cases[] = {
        {"a word for a height", CellValue(9, 5), "abc", 0, "\"abc\", is not a finite number (terrain cell 9, height of corner 1)"},
        {"nan", CellValue(9, 0), "nan", 0, "not a finite number"},
        {"-infinity", CellValue(9, 8), "-infinity", 0, "not a finite number"},
        {"too large for a float", BillboardValue(3, 2), "1e99", 0, "not a finite number (billboard 3, x)"},
        {"a comma", CellValue(9, 5), "1,5", 0, "not a finite number"},
        {"a number run into a word", CellValue(9, 5), "12abc", 0, "not a finite number"},
        {"1.5 for a texture id", CellValue(40, 12), "1.5", 0, "\"1.5\", is not a whole number (terrain cell 40, ground texture)"},
        {"1.5 for a flag", BillboardValue(1, 0), "1.5", 0, "not a whole number (billboard 1, active flag)"},
        {"an integer too large", CellValue(40, 12), "4294967340", 0, "not a whole number"},
        {"flag 2", ItemValue(5, 0), "2", 0, "\"2\", is not 0 or 1 (scenery item 5, active flag)"},
        {"swarm type a word", SwarmValue(4, 1), "two", 0, "is not a whole number (insect swarm record 4, swarm type)"},
        {"billboard kind 15", BillboardValue(10, 1), "15", 0, "is not a kind from 1 to 14 (billboard 10, kind)"},
        {"billboard kind 0", BillboardValue(10, 1), "0", 0, "is not a kind from 1 to 14"},
        {"item kind 9", ItemValue(2, 1), "9", 0, "is not a kind from 1 to 8 (scenery item 2, kind)"},
        {"bubble flag -1", BubbleValue(7, 0), "-1", 0, "is not 0 or 1 (bubble spot record 7, flag)"},
        {"dragonfly height a word", DragonflyValue(29, 2), "x", 0, "(dragonfly record 29, height)"},
        {"bytes that are no text", CellValue(9, 5), "\x07" "ab\xfe", 0, "\"\\x07ab\\xFE\", is not a finite number"},
        {"cut inside cell 5,000", -1, "", 5000 * 13 + 5, "ends after 65005 of its 145314 numbers (it stops at terrain cell 5000, height of corner 1)"},
        {"one value short", -1, "", LAKE_MODEL_VALUE_COUNT - 1, "ends after 145313 of its 145314 numbers (it stops at dragonfly record 29, z)"},
        {"empty", -1, "", 0, "ends after 0 of its"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> v = Synthetic();
        if (c.value >= 0) v[c.value] = c.text;
        if (c.keep || std::string(c.what) == "empty") v.resize(c.keep);
        auto model = std::make_unique<LakeModel>();
        model->cells[0].groundTexture = 12345;  // untouched on failure
        LakeModelResult r = ParseValues(v, model.get());
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_NE(r.error.find(c.message), std::string::npos) << c.what << ": " << r.error;
        EXPECT_EQ(model->cells[0].groundTexture, 12345) << c.what;
        EXPECT_TRUE(model->swarms.empty()) << c.what;
    }
}

// Only a plain file no larger than a model can be is read: a pipe nobody writes to is not waited
// on and a link to a device that never ends is not read for ever.
TEST(LakeModelFile, OnlyAPlainFileOfAModelsSizeIsRead) {
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* message;
    };
    const Case cases[] = {
        {"a pipe", [] { ASSERT_EQ(::mkfifo("models/lake.qd", 0644), 0); }, "it is not a plain file"},
        {"a link to /dev/zero", [] { std::filesystem::create_symlink("/dev/zero", "models/lake.qd"); },
         "it is not a plain file"},
        {"a folder", [] { std::filesystem::create_directories("models/lake.qd"); }, "it is a folder"},
        {"too large", [] { ScratchDir::WriteText("models/lake.qd", std::string(LAKE_MODEL_MAX_BYTES + 1, ' ')); },
         "it is larger than the 10462608 bytes such a file can hold"},
        {"missing", [] {}, "there is no such file"},
    };
    for (const Case& c : cases) {
        lakefix::ScratchFolder folder;
        std::filesystem::create_directories("models");
        c.make();
        auto model = std::make_unique<LakeModel>();
        const LakeModelResult r = ReadLakeModelFile(LAKE_MODEL_PATH, model.get());
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_NE(r.error.find(std::string("the file models\\lake.qd cannot be read: ") + c.message), std::string::npos)
            << c.what << ": " << r.error;
    }
}

TEST(LakeModelLoad, PutsTheWholeModelIntoPlayAndRebuildsTheMesh) {
    lakefix::ScratchFolder folder;
    std::vector<std::string> v = Synthetic();
    // Swarm 0: flag 0, type 2 at (10, 0.5, 20) spawns nothing; swarm 1, the same flagged, does.
    const char* swarm[] = {"0", "2", "10", "0.5", "20"};
    for (int f = 0; f < 5; ++f) v[SwarmValue(0, f)] = v[SwarmValue(1, f)] = swarm[f];
    v[SwarmValue(1, 0)] = "1";
    // Flagged swarms 2 and 3 are of types the game has none of: they are skipped, the lake kept.
    v[SwarmValue(2, 1)] = "3";
    v[SwarmValue(3, 1)] = "0";
    v[BillboardValue(1, 2)] = "33.5";
    v[BillboardValue(1, 5)] = "2.64";
    // Item 0 as the generated lake has it: a platform at (11.379, 39.735).
    const char* platform[] = {"1", "1", "11.379", "-0.5", "39.735", "0.9", "1.65"};
    for (int f = 0; f < 7; ++f) v[ItemValue(0, f)] = platform[f];
    folder.WriteModel(lakefix::ModelText(v));

    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    lakefix::WorldStandIns standIns(*g.app);
    GameApp& app = *g.app;
    app.billboards[0]->active = 1;  // record 0 is emptied and never filled
    app.billboards[1]->yaw = 1.25;  // the scenery pass's facing stays
    app.insectSwarms[99]->active = 1;
    LakeModelResult r = app.LoadLakeModel(999);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_FALSE(app.IsCloseRequested());

    EXPECT_EQ(app.billboards[0]->active, 0);
    EXPECT_EQ(app.billboards[1]->active, 1);
    EXPECT_EQ(app.billboards[1]->x, 33.5f);
    EXPECT_EQ(app.billboards[1]->yaw, 1.25);
    EXPECT_EQ(app.billboards[1]->size, 2.64f);
    EXPECT_EQ(app.billboards[400]->active, 1);
    EXPECT_EQ(app.billboards[400]->size, 2.0f);
    EXPECT_EQ(app.billboards[401]->active, 0);
    const SceneryItem& item0 = *app.sceneryItems[0];
    EXPECT_EQ(item0.active, 1);
    EXPECT_EQ(item0.type, 1);
    EXPECT_EQ(item0.x, 11.379f);
    EXPECT_EQ(item0.y, -0.5f);
    EXPECT_EQ(item0.z, 39.735f);
    EXPECT_EQ(item0.size, 0.9f);
    EXPECT_EQ(item0.heading, 1.65f);
    EXPECT_FLOAT_EQ(app.sceneryItems[1]->heading, 0.6f);

    // The swarms start in file order, from the first slot, the unflagged record and those of
    // unknown types skipped: record 4 (at x 58) follows record 1.
    EXPECT_EQ(app.insectSwarms[0]->type, 2);
    EXPECT_EQ(app.insectSwarms[0]->centreX, 10.0f);
    EXPECT_EQ(app.insectSwarms[0]->centreY, 0.5f);
    EXPECT_EQ(app.insectSwarms[0]->centreZ, 20.0f);
    EXPECT_EQ(app.insectSwarms[1]->type, 1);
    EXPECT_EQ(app.insectSwarms[1]->centreX, 58.0f);
    int swarms = 0, spots = 0, flies = 0;
    for (InsectSwarm* s : app.insectSwarms) swarms += s->active;
    for (BubbleSpot* s : app.bubbleSpots) spots += s->active;
    for (Dragonfly* d : app.dragonflies) flies += d->active;
    EXPECT_EQ(swarms, 17);  // records 1 and 4..19; the slot set in use beforehand was emptied
    EXPECT_EQ(spots, 60);   // 440 of 500 stay inactive
    EXPECT_EQ(flies, 10);

    // Grid and mesh follow the file.
    const TerrainCellTable& t = *app.terrainCells;
    EXPECT_EQ(t[5050].y[0], static_cast<float>(lakefix::SyntheticHeight(t[5050].x[0], t[5050].z[0])));
    EXPECT_EQ(t[5050].groundTexture, 56);
    const MeshVertex* mv = reinterpret_cast<const MeshVertex*>(app.cellVertexBuffers[5030]->Data());
    EXPECT_EQ(mv[0].y, t[5030].y[0]);
    EXPECT_LT(mv[0].ny, 0.999f);  // on the slope of the lake bed
}

TEST(LakeModelLoad, SpawnersIgnoreAFullPool) {
    HeadlessGame g;
    GameApp& app = *g.app;
    for (int i = 0; i < 31; ++i) app.SpawnDragonfly(static_cast<float>(i), 1.0f, 2.0f);
    for (int i = 0; i < 30; ++i) EXPECT_EQ(app.dragonflies[i]->x, i);
    for (int i = 0; i < 101; ++i) app.SpawnInsectSwarm(static_cast<float>(i), 1, 1, 1);
    EXPECT_EQ(app.insectSwarms[99]->centreX, 99.0f);
    for (int i = 0; i < 501; ++i) app.SpawnBubbleSpot(static_cast<float>(i), -1, 1);
    EXPECT_EQ(app.bubbleSpots[499]->x, 499.0);
    EXPECT_EQ(app.bubbleSpots[499]->startY, -1.0);
}

TEST(LakeModelLoad, BadOrMissingFileChangesNothingReportsAndClosesAfterTheFrame) {
    struct Case {
        const char* what;
        std::string text;  // "" with write false: no file at all
        bool write;
        int32_t number;
    };
    std::vector<std::string> cut = Synthetic();
    cut.resize(5000 * 13 + 5);
    std::vector<std::string> badFlag = Synthetic();
    badFlag[DragonflyValue(29, 0)] = "2";
    const Case cases[] = {
        {"missing", "", false, 999},
        {"cut inside cell 5,000", lakefix::ModelText(cut), true, 999},
        {"bad flag in the last record", lakefix::ModelText(badFlag), true, 999},
        {"another model number", lakefix::ModelText(Synthetic()), true, 5},
    };
    for (const Case& c : cases) {
        lakefix::ScratchFolder folder;
        if (c.write) folder.WriteModel(c.text);
        HeadlessGame g;
        ASSERT_TRUE(g.Start());
        GameApp& app = *g.app;
        LakeModelResult r = app.LoadLakeModel(c.number);
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_FALSE(r.error.empty()) << c.what;
        EXPECT_TRUE(app.IsCloseRequested()) << c.what;
        EXPECT_EQ(app.ExitCode(), 1) << c.what;

        // Nothing of the file is in play: flat grid, no sprites, items or wildlife.
        const TerrainCellTable& t = *app.terrainCells;
        bool flat = true;
        for (int i = 0; i < TERRAIN_GRID_CELLS; ++i)
            for (int k = 0; k < 4; ++k) flat = flat && t[i].y[k] == 0.0f && t[i].groundTexture == 44;
        EXPECT_TRUE(flat) << c.what;
        EXPECT_EQ(ActiveCount(app), 0) << c.what;

        ASSERT_EQ(g.backend->errorBoxes.size(), 1u) << c.what;
        EXPECT_NE(g.backend->errorBoxes[0].find("The lake could not be loaded"), std::string::npos);
        EXPECT_FALSE(app.IsClosed());
        EXPECT_FALSE(app.RunOneFrame()) << c.what;  // the frame completes, then the game closes
        EXPECT_TRUE(app.IsClosed()) << c.what;
    }
}
