// The two programs' whole fishing-screen frames compared on the generated lake: the same swim,
// the same seed, after a while at the lake with the wildlife and water-effect pools busy; the
// quads of each frame counted from the headless device's record.
#include <gtest/gtest.h>
#include <cstdio>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include "generated_lake.h"
#include "platform/system.h"
#include "test_support.h"

namespace {

constexpr int SWIM = 3;
constexpr int FRAMES_AT_THE_LAKE = 900;  // 14.4 s of the game's clock at 16 ms a frame

// What one frame draws as quads (sprites, billboards, gulls, rings and wakes), by kind: the
// texture file's name up to its first digit or dot ("decal", "swarm", "ripple", "gull", ...).
struct QuadCount {
    std::map<std::string, int> byKind;
    int total = 0;
    int terrainCells = 0;
    int Of(const char* kind) const {
        auto it = byKind.find(kind);
        return it == byKind.end() ? 0 : it->second;
    }
};

QuadCount FishingFrameAtSwim(uint8_t detail) {
    QuadCount count;
    HeadlessGame g;
    EXPECT_TRUE(g.Start());
    GameApp& app = *g.app;
    app.highDetailScenery = detail;
    g.Device()->recordCallLines = false;
    g.backend->msPerFrame = 16;
    plat::GameSrand(77);
    app.gameMode = MODE_MAP;
    app.InitialiseLake();
    EXPECT_TRUE(app.lakeInitialised);
    app.currentSwim = SWIM;
    app.EnterFishingScreen();  // as the map's "Go fishing" button does
    for (int i = 0; i < FRAMES_AT_THE_LAKE; ++i) {
        g.Device()->ClearLog();
        app.RunOneFrame();
    }
    EXPECT_EQ(app.gameMode, MODE_FISHING);

    const plat::VertexBuffer* quadMeshes[] = {app.billboardMesh, app.twoSidedBoardMesh, app.decalQuadUpMesh,
                                              app.decalQuadDownMesh};
    const std::set<const plat::VertexBuffer*> cells(std::begin(app.cellVertexBuffers), std::end(app.cellVertexBuffers));
    for (const plat::DrawRecord& d : g.Device()->draws) {
        count.terrainCells += static_cast<int>(cells.count(d.buffer));
        bool quad = false;
        for (const plat::VertexBuffer* mesh : quadMeshes) quad = quad || d.buffer == mesh;
        if (!quad) continue;
        const std::string file = FileOf(d);
        const int quads = static_cast<int>(d.primitiveCount / 2);
        count.byKind[file.substr(0, file.find_first_of("0123456789."))] += quads;
        count.total += quads;
    }
    return count;
}

}  // namespace

TEST(DetailFrame, TheLiteProgramDrawsFewerQuadsAtTheSameSwim) {
    GeneratedLakeFolder folder;
    if (!folder.ok) GTEST_SKIP() << "no generated lake";
    const QuadCount full = FishingFrameAtSwim(1);
    const QuadCount lite = FishingFrameAtSwim(0);

    // The whole lake is drawn in both.
    EXPECT_EQ(full.terrainCells, lite.terrainCells);
    EXPECT_GE(full.terrainCells, 10000);

    // Both keep the gulls, and the aerators' spray and the fish keep rings and wakes going.
    EXPECT_EQ(full.Of("gull"), 10);
    EXPECT_EQ(lite.Of("gull"), 10);
    EXPECT_GT(lite.Of("ripple"), 20);
    EXPECT_GT(full.Of("ripple"), 20);

    // At full detail the swarms, the dragonflies and rising bubbles are busy near the swim; the
    // lite program has none of them, and its reed and sedge clumps thin out sooner.
    EXPECT_GT(full.Of("swarm"), 0);
    EXPECT_GT(full.Of("dragon"), 0);
    EXPECT_GT(full.Of("bubble"), 0);
    EXPECT_EQ(lite.Of("swarm") + lite.Of("dragon") + lite.Of("bubble"), 0);
    EXPECT_GT(full.Of("decal"), lite.Of("decal") + 100);
    EXPECT_LT(lite.total, full.total);

    std::string tape;
    for (const auto& [kind, n] : full.byKind) tape += kind + " " + std::to_string(n) + "/" + std::to_string(lite.Of(kind.c_str())) + "  ";
    RecordProperty("quads_full_lite", tape);
    std::printf("quads by kind, lakeside/lakeside-lite: %s\n", tape.c_str());
}
