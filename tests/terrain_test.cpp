// The terrain grid, the shared cell lookup, the terrain mesh's normals and the terrain drawing.
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include "lake_fixture.h"
#include "platform/d3dx.h"
#include "test_support.h"
#include "world/world.h"

namespace {

void ExpectCorners(const TerrainCell& c, const float (&xyz)[4][3]) {
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(c.x[k], xyz[k][0]) << "corner " << k;
        EXPECT_EQ(c.y[k], xyz[k][1]) << "corner " << k;
        EXPECT_EQ(c.z[k], xyz[k][2]) << "corner " << k;
    }
}

const MeshVertex* CellVertices(GameApp& app, int cell) {
    return reinterpret_cast<const MeshVertex*>(app.cellVertexBuffers[cell]->Data());
}

plat::Vector3 FaceNormal(const TerrainCell& c, int a, int b, int d) {
    plat::Vector3 pa{c.x[a], c.y[a], c.z[a]}, pb{c.x[b], c.y[b], c.z[b]}, pd{c.x[d], c.y[d], c.z[d]}, n;
    TriangleNormal(&n, &pa, &pb, &pd);
    return n;
}

void ExpectNormal(const MeshVertex& v, const plat::Vector3& n, const char* what) {
    EXPECT_FLOAT_EQ(v.nx, n.x) << what;
    EXPECT_FLOAT_EQ(v.ny, n.y) << what;
    EXPECT_FLOAT_EQ(v.nz, n.z) << what;
}

}  // namespace

TEST(TerrainGrid, FlatTableAlternatesCornerOrderLikeACheckerboard) {
    TerrainCellTable t;
    ExpectCorners(t[0], {{0, 0, 198}, {0, 0, 200}, {2, 0, 198}, {2, 0, 200}});
    ExpectCorners(t[1], {{4, 0, 198}, {2, 0, 198}, {4, 0, 200}, {2, 0, 200}});
    ExpectCorners(t[100], {{2, 0, 196}, {0, 0, 196}, {2, 0, 198}, {0, 0, 198}});
    ExpectCorners(t[9999], {{198, 0, 0}, {198, 0, 2}, {200, 0, 0}, {200, 0, 2}});
    for (int i = 0; i < TERRAIN_GRID_CELLS; ++i) ASSERT_EQ(t[i].groundTexture, 44) << i;
    // The spare record past the grid is all zero (drawn untextured if ever reached).
    const TerrainCell& spare = t[TERRAIN_SPARE_CELL];
    for (int k = 0; k < 4; ++k) EXPECT_EQ(spare.x[k] + spare.y[k] + spare.z[k], 0.0f);
    EXPECT_EQ(spare.groundTexture, 0);
}

TEST(TerrainGrid, GroundTextureIdsMapOntoTheGroundSlotsInOrder) {
    for (int id = TERRAIN_FIRST_GROUND_TEXTURE; id <= TERRAIN_LAST_GROUND_TEXTURE; ++id)
        EXPECT_EQ(TextureNameForId(id), TEX_GRASS1 + (id - TERRAIN_FIRST_GROUND_TEXTURE)) << id;
}

TEST(CellLookup, RuleGivesTheWorkedCellsAndNoneOffTheTable) {
    struct Case {
        double x, z;
        int32_t index;
    };
    const Case cases[] = {
        {0.5, 199.5, 0},      {1.5, 199.5, 1},     {3.0, 197.0, 102},   {198.9, 1.2, 9999},
        // The rule as it stands at the east and south edges: spare record, next row, nothing.
        {0.5, 0.5, 10000},    {199.5, 1.5, 10000}, {199.5, 100, 5100},  {1.5, 0.5, CELL_NONE},
        // Off the grid.
        {-0.5, 100, CELL_NONE}, {-3, 199.5, CELL_NONE}, {100, 205, CELL_NONE}, {250, 100, CELL_NONE},
        {1e12, 5, CELL_NONE},
        {std::numeric_limits<double>::quiet_NaN(), 100, CELL_NONE},
    };
    for (const Case& c : cases) EXPECT_EQ(CellIndexAt(c.x, c.z), c.index) << c.x << ", " << c.z;

    // Whatever the point, the answer is a record of the table or none.
    for (double x = -8; x <= 208; x += 0.25)
        for (double z = -8; z <= 208; z += 0.25) {
            const int32_t i = CellIndexAt(x, z);
            ASSERT_TRUE(i == CELL_NONE || (i >= 0 && i <= TERRAIN_SPARE_CELL)) << x << ", " << z;
        }
}

TEST(CellLookup, HeightsOfTheCellUnderAPointOrTheCallersFallback) {
    TerrainCellTable t;
    TerrainCell& c = t[102];
    c.y[0] = -1.0f;
    c.y[1] = -2.0f;
    c.y[2] = 0.5f;
    c.y[3] = -0.5f;
    EXPECT_FLOAT_EQ(CellMeanHeight(t, 3.0, 197.0, 99.0f), -0.75f);
    EXPECT_FLOAT_EQ(CellMaxHeight(t, 3.0, 197.0, 99.0f), 0.5f);
    EXPECT_EQ(CellMeanHeight(t, 1.5, 0.5, 7.0f), 7.0f);
    EXPECT_EQ(CellMaxHeight(t, -3, 199.5, -9.0f), -9.0f);
}

TEST(TerrainMesh, FlatGridHasUpwardNormalsAndFixedTextureCorners) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    lakefix::WorldStandIns standIns(*g.app);
    g.app->BuildTerrainMesh();
    const TerrainCellTable& t = *g.app->terrainCells;
    const float us[4] = {0, 0, 1, 1}, vs[4] = {0, 1, 0, 1};
    for (int i = 0; i < TERRAIN_GRID_CELLS; ++i) {
        const MeshVertex* v = CellVertices(*g.app, i);
        for (int k = 0; k < 4; ++k) {
            ASSERT_EQ(v[k].x, t[i].x[k]);
            ASSERT_EQ(v[k].z, t[i].z[k]);
            ASSERT_EQ(v[k].nx, 0.0f) << i;
            ASSERT_EQ(v[k].ny, 1.0f) << i;
            ASSERT_EQ(v[k].nz, 0.0f) << i;
            ASSERT_EQ(v[k].u, us[k]);
            ASSERT_EQ(v[k].v, vs[k]);
        }
    }
}

TEST(TerrainMesh, InnerCornersAreSmoothedButEdgesAndTheLineZ2KeepFaceNormals) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    lakefix::WorldStandIns standIns(*g.app);
    TerrainCellTable& t = *g.app->terrainCells;
    for (int i = 0; i < TERRAIN_GRID_CELLS; ++i)
        for (int k = 0; k < 4; ++k) t[i].y[k] = std::sin(t[i].x[k] * 0.7f) * std::cos(t[i].z[k] * 0.4f) * 2.0f;
    g.app->BuildTerrainMesh();

    // (100, 4): north-west corner of cell 9850 (even), on the shared edge of four cells.
    plat::Vector3 sum{0, 0, 0};
    for (int s : {9850, 9849, 9750, 9749}) {
        for (plat::Vector3 n : {FaceNormal(t[s], 0, 1, 2), FaceNormal(t[s], 3, 2, 1)}) {
            sum.x += n.x;
            sum.y += n.y;
            sum.z += n.z;
        }
    }
    const plat::Vector3 mean{sum.x / 8, sum.y / 8, sum.z / 8};
    ExpectNormal(CellVertices(*g.app, 9850)[1], mean, "cell 9850 corner 1");
    ExpectNormal(CellVertices(*g.app, 9849)[2], mean, "cell 9849 corner 2");
    ExpectNormal(CellVertices(*g.app, 9750)[1], mean, "cell 9750 corner 1");
    ExpectNormal(CellVertices(*g.app, 9749)[2], mean, "cell 9749 corner 2");
    EXPECT_LT(std::sqrt(mean.x * mean.x + mean.y * mean.y + mean.z * mean.z), 0.999f);  // not renormalised

    // (102, 100): north-west corner of the odd cell 5051 touches one triangle of each cell.
    plat::Vector3 a = FaceNormal(t[5051], 3, 2, 1), b = FaceNormal(t[5050], 3, 2, 1);
    plat::Vector3 c = FaceNormal(t[4951], 0, 1, 2), d = FaceNormal(t[4950], 0, 1, 2);
    const plat::Vector3 odd{(a.x + b.x + c.x + d.x) / 4, (a.y + b.y + c.y + d.y) / 4, (a.z + b.z + c.z + d.z) / 4};
    ExpectNormal(CellVertices(*g.app, 5051)[3], odd, "cell 5051 corner 3");
    ExpectNormal(CellVertices(*g.app, 5050)[3], odd, "cell 5050 corner 3");
    ExpectNormal(CellVertices(*g.app, 4951)[0], odd, "cell 4951 corner 0");
    ExpectNormal(CellVertices(*g.app, 4950)[0], odd, "cell 4950 corner 0");

    // (100, 2) is on the unsmoothed line z = 2: cell 9950's corner 1 keeps triangle 1's normal.
    ExpectNormal(CellVertices(*g.app, 9950)[1], FaceNormal(t[9950], 0, 1, 2), "z = 2");
    // Grid edges keep their face normals: x = 0 (cell 5000) and z = 200 (cell 50).
    ExpectNormal(CellVertices(*g.app, 5000)[1], FaceNormal(t[5000], 0, 1, 2), "x = 0");
    ExpectNormal(CellVertices(*g.app, 50)[3], FaceNormal(t[50], 3, 2, 1), "z = 200");
    EXPECT_EQ(CellVertices(*g.app, 5051)[2].y, t[5051].y[2]);
}

TEST(DrawTerrain, FillModesTexturesAndIdentityPlacement) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    lakefix::WorldStandIns standIns(*g.app);
    GameApp& app = *g.app;
    plat::HeadlessDevice* d = g.Device();
    app.gameMode = MODE_MAP;
    (*app.terrainCells)[7].groundTexture = 45;
    (*app.terrainCells)[8].groundTexture = 60;
    (*app.terrainCells)[9].groundTexture = 57;

    d->ClearLog();
    app.DrawTerrain(1);
    ASSERT_EQ(d->draws.size(), 10000u);  // the map draws no skirts, tree lines or sky
    EXPECT_EQ(d->State().renderState[plat::RS_FILLMODE], static_cast<uint32_t>(plat::FILL_WIREFRAME));
    EXPECT_EQ(d->draws[0].fillMode, static_cast<uint32_t>(plat::FILL_WIREFRAME));
    EXPECT_EQ(d->draws[0].textureFile, "textures\\grass1.bmp");
    EXPECT_EQ(d->draws[7].textureFile, "textures\\grass2.bmp");
    EXPECT_EQ(d->draws[8].texture, nullptr);
    EXPECT_EQ(d->draws[9].textureFile, "textures\\blank.bmp");
    EXPECT_EQ(d->draws[9999].buffer, app.cellVertexBuffers[9999]);
    EXPECT_EQ(d->draws[9999].primitiveCount, 2u);
    EXPECT_EQ(d->draws[9999].fvf, plat::FVF_MESH);
    EXPECT_EQ(d->draws[0].world.m[3][0], 0.0f);
    EXPECT_EQ(d->draws[0].world.m[0][0], 1.0f);
    EXPECT_EQ(d->State().texture, nullptr);

    d->ClearLog();
    app.DrawTerrain(2);  // leaves the wireframe as it is
    EXPECT_EQ(d->draws[5].fillMode, static_cast<uint32_t>(plat::FILL_WIREFRAME));
    app.DrawTerrain(0);
    EXPECT_EQ(d->draws.back().fillMode, static_cast<uint32_t>(plat::FILL_SOLID));
    EXPECT_EQ(d->State().renderState[plat::RS_FILLMODE], static_cast<uint32_t>(plat::FILL_SOLID));
}

TEST(DrawTerrain, HoveredCellIsAGapOnlyOnTheMapWithTheCursorOverIt) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    lakefix::WorldStandIns standIns(*g.app);
    GameApp& app = *g.app;
    plat::HeadlessDevice* d = g.Device();
    auto drawsCell = [&](int cell) {
        for (const plat::DrawRecord& r : d->draws)
            if (r.buffer == app.cellVertexBuffers[cell]) return true;
        return false;
    };
    app.gameMode = MODE_MAP;
    app.cursorOverMap = 1;
    app.hoveredCell = 5050;
    d->ClearLog();
    app.DrawTerrain(1);
    EXPECT_EQ(d->draws.size(), 9999u);
    EXPECT_FALSE(drawsCell(5050));
    EXPECT_TRUE(drawsCell(5049));

    app.cursorOverMap = 0;
    d->ClearLog();
    app.DrawTerrain(1);
    EXPECT_EQ(d->draws.size(), 10000u);

    app.hoveredCell = 10000;  // "none": nothing is left out
    app.cursorOverMap = 1;
    d->ClearLog();
    app.DrawTerrain(1);
    EXPECT_EQ(d->draws.size(), 10000u);

    app.gameMode = MODE_FISHING;
    app.hoveredCell = 5050;
    d->ClearLog();
    app.DrawTerrain(0);
    EXPECT_TRUE(drawsCell(5050));
}

TEST(DrawTerrain, LakeScreensAddSkirtsTreeLinesAndSky) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    lakefix::WorldStandIns standIns(*g.app);
    GameApp& app = *g.app;
    plat::HeadlessDevice* d = g.Device();
    for (int32_t mode : {MODE_FISHING, MODE_PHOTO_ALBUM, MODE_TOUR, MODE_DUCK}) {
        app.gameMode = mode;
        d->ClearLog();
        app.DrawTerrain(0);
        ASSERT_EQ(d->draws.size(), 10009u) << mode;
    }

    auto at = [](const plat::DrawRecord& r, plat::Vector3 p) { return plat::TransformCoord(p, r.world); };
    auto near = [](plat::Vector3 p, float x, float y, float z, float tol) {
        return std::fabs(p.x - x) < tol && std::fabs(p.y - y) < tol && std::fabs(p.z - z) < tol;
    };
    // Skirts: the corners of each square in world units, at height 0, with the ground texture.
    const float skirts[4][4] = {{-100, -105, 0, 305}, {200, -105, 300, 305}, {0, 200, 200, 300}, {0, -100, 200, 0}};
    for (int s = 0; s < 4; ++s) {
        const plat::DrawRecord& r = d->draws[10000 + s];
        EXPECT_EQ(r.textureFile, "textures\\surface.bmp");
        EXPECT_TRUE(near(at(r, {-1, 0, -1}), skirts[s][0], 0, skirts[s][1], 1e-3f)) << s;
        EXPECT_TRUE(near(at(r, {1, 0, 1}), skirts[s][2], 0, skirts[s][3], 1e-3f)) << s;
    }
    // Tree lines: the ends of each line's foot, 12 high from -1.
    const float ends[4][4] = {{128.6f, -12.1f, 271.4f, 232.1f}, {135, -11.5f, -35, -11.5f},
                              {-28.7f, -13.2f, 128.7f, 223.2f}, {115, 210, 265, 210}};
    for (int p = 0; p < 4; ++p) {
        const plat::DrawRecord& r = d->draws[10004 + p];
        EXPECT_EQ(r.buffer, app.billboardMesh);
        const plat::Vector3 a = at(r, {-1, 0, 0});
        const plat::Vector3 b = at(r, {1, 0, 0});
        const bool forward = near(a, ends[p][0], -1, ends[p][1], 0.2f) && near(b, ends[p][2], -1, ends[p][3], 0.2f);
        const bool backward = near(b, ends[p][0], -1, ends[p][1], 0.2f) && near(a, ends[p][2], -1, ends[p][3], 0.2f);
        EXPECT_TRUE(forward || backward) << p << ": " << a.x << "," << a.z << " " << b.x << "," << b.z;
        EXPECT_NEAR(at(r, {0, 2, 0}).y, 11.0f, 1e-4);
    }
    // Sky: face down at 50, 10,000 wide, its texture left bound.
    const plat::DrawRecord& sky = d->draws[10008];
    EXPECT_EQ(sky.buffer, app.skyPlaneMesh);
    EXPECT_EQ(sky.textureFile, "textures\\sky.bmp");
    EXPECT_NEAR(at(sky, {0, 0, 0}).y, 50.0f, 1e-3);
    EXPECT_NEAR(at(sky, {0, 1, 0}).y, 49.0f, 1e-2);  // its up side now points down
    EXPECT_NEAR(std::fabs(at(sky, {1, 0, 0}).x - 100.0f) + std::fabs(at(sky, {1, 0, 0}).z - 100.0f), 5000.0f, 5.0f);
    EXPECT_EQ(d->State().texture, sky.texture);
}
