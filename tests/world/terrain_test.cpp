// The terrain grid, the shared cell lookup, the terrain mesh's normals and the terrain drawing.
#include <gtest/gtest.h>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <utility>
#include "lake_fixture.h"
#include "platform/d3dx.h"
#include "test_support.h"
#include "world/world.h"

namespace {

const MeshVertex* CellVertices(GameApp& app, int cell) {
    return reinterpret_cast<const MeshVertex*>(app.cellVertexBuffers[cell]->Data());
}

// Mean of face normals, each given as (cell, triangle 1 or 2), summed in order.
plat::Vector3 MeanNormal(const TerrainCellTable& t, std::initializer_list<std::pair<int, int>> faces) {
    plat::Vector3 sum{0, 0, 0};
    for (auto [cell, tri] : faces) {
        const TerrainCell& c = t[cell];
        const int k[3] = {tri == 1 ? 0 : 3, tri == 1 ? 1 : 2, tri == 1 ? 2 : 1};
        plat::Vector3 p[3], n;
        for (int j = 0; j < 3; ++j) p[j] = {c.x[k[j]], c.y[k[j]], c.z[k[j]]};
        TriangleNormal(&n, &p[0], &p[1], &p[2]);
        sum = {sum.x + n.x, sum.y + n.y, sum.z + n.z};
    }
    const float count = static_cast<float>(faces.size());
    return {sum.x / count, sum.y / count, sum.z / count};
}

void ExpectNormal(const MeshVertex& v, const plat::Vector3& n, const char* what) {
    EXPECT_FLOAT_EQ(v.nx, n.x) << what;
    EXPECT_FLOAT_EQ(v.ny, n.y) << what;
    EXPECT_FLOAT_EQ(v.nz, n.z) << what;
}

}  // namespace

TEST(TerrainGrid, FlatTableAlternatesCornerOrderLikeACheckerboard) {
    TerrainCellTable t;
    const struct {
        int cell;
        float xz[4][2];
    } expected[] = {{0, {{0, 198}, {0, 200}, {2, 198}, {2, 200}}},
                    {1, {{4, 198}, {2, 198}, {4, 200}, {2, 200}}},
                    {100, {{2, 196}, {0, 196}, {2, 198}, {0, 198}}},
                    {9999, {{198, 0}, {198, 2}, {200, 0}, {200, 2}}}};
    for (const auto& e : expected)
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(t[e.cell].x[k], e.xz[k][0]) << e.cell << " corner " << k;
            EXPECT_EQ(t[e.cell].z[k], e.xz[k][1]) << e.cell << " corner " << k;
        }
    for (int i = 0; i < TERRAIN_GRID_CELLS; ++i) {
        ASSERT_EQ(t[i].groundTexture, 44) << i;
        for (float h : t[i].y) ASSERT_EQ(h, 0.0f) << i;
    }
    EXPECT_EQ(t[TERRAIN_SPARE_CELL].groundTexture, 0);  // the spare record is zero-filled
    EXPECT_EQ(t[TERRAIN_SPARE_CELL].x[3], 0.0f);
    // DrawTerrain binds ground ids 44..57 through the slots TEX_GRASS1..TEX_BLANK in order.
    for (int id = 44; id <= 57; ++id) EXPECT_EQ(TextureNameForId(TextureId(id)), TEX_GRASS1 + (id - 44)) << id;
}

TEST(CellLookup, WorkedPointsEdgesAndOffGridFallback) {
    const struct {
        double x, z;
        int32_t index;
    } cases[] = {
        {0.5, 199.5, 0}, {1.5, 199.5, 1}, {3.0, 197.0, 102}, {198.9, 1.2, 9999},
        // The rule as it stands at the east and south edges: spare record, next row, nothing.
        {0.5, 0.5, 10000}, {199.5, 1.5, 10000}, {199.5, 100, 5100}, {1.5, 0.5, CELL_NONE},
        // Truncated toward zero and raised to even: z up to 201 is still row 0, x above -2 column 0.
        {100, 200.5, 50}, {-0.5, 100, 5000}, {-1.5, 199.5, 0}, {200.5, 100, 5100},
        // Off the grid.
        {-2, 100, CELL_NONE}, {-3, 199.5, CELL_NONE}, {100, 201, CELL_NONE}, {100, 205, CELL_NONE},
        {250, 100, CELL_NONE},
        {1e12, 5, CELL_NONE}, {std::numeric_limits<double>::quiet_NaN(), 100, CELL_NONE},
    };
    for (const auto& c : cases) EXPECT_EQ(CellIndexAt(c.x, c.z), c.index) << c.x << ", " << c.z;
    for (double x = -8; x <= 208; x += 0.25)
        for (double z = -8; z <= 208; z += 0.25) {
            const int32_t i = CellIndexAt(x, z);
            ASSERT_TRUE(i == CELL_NONE || (i >= 0 && i <= TERRAIN_SPARE_CELL)) << x << ", " << z;
        }

    TerrainCellTable t;
    const float heights[4] = {-1.0f, -2.0f, 0.5f, -0.5f};
    for (int k = 0; k < 4; ++k) t[102].y[k] = heights[k];
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
            ASSERT_TRUE(v[k].x == t[i].x[k] && v[k].z == t[i].z[k]) << i;
            ASSERT_TRUE(v[k].nx == 0.0f && v[k].ny == 1.0f && v[k].nz == 0.0f) << i;
            ASSERT_TRUE(v[k].u == us[k] && v[k].v == vs[k]) << i;
        }
    }
}

TEST(TerrainMesh, InnerCornersAreSmoothedButEdgesAndTheLineZ2KeepFaceNormals) {
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    lakefix::WorldStandIns standIns(*g.app);
    GameApp& app = *g.app;
    TerrainCellTable& t = *app.terrainCells;
    for (int i = 0; i < TERRAIN_GRID_CELLS; ++i)
        for (int k = 0; k < 4; ++k) t[i].y[k] = std::sin(t[i].x[k] * 0.7f) * std::cos(t[i].z[k] * 0.4f) * 2.0f;
    app.BuildTerrainMesh();

    // (100, 4), north-west corner of the even cell 9850: on the shared edge of all four cells.
    const plat::Vector3 even =
        MeanNormal(t, {{9850, 1}, {9850, 2}, {9849, 1}, {9849, 2}, {9750, 1}, {9750, 2}, {9749, 1}, {9749, 2}});
    ExpectNormal(CellVertices(app, 9850)[1], even, "9850/1");
    ExpectNormal(CellVertices(app, 9849)[2], even, "9849/2");
    ExpectNormal(CellVertices(app, 9750)[1], even, "9750/1");
    ExpectNormal(CellVertices(app, 9749)[2], even, "9749/2");
    EXPECT_LT(std::sqrt(even.x * even.x + even.y * even.y + even.z * even.z), 0.999f);  // not renormalised

    // (102, 100), north-west corner of the odd cell 5051: one triangle of each cell.
    const plat::Vector3 odd = MeanNormal(t, {{5051, 2}, {5050, 2}, {4951, 1}, {4950, 1}});
    ExpectNormal(CellVertices(app, 5051)[3], odd, "5051/3");
    ExpectNormal(CellVertices(app, 5050)[3], odd, "5050/3");
    ExpectNormal(CellVertices(app, 4951)[0], odd, "4951/0");
    ExpectNormal(CellVertices(app, 4950)[0], odd, "4950/0");

    // The line z = 2 and the grid's edges keep their face normals: (100, 2) is corner 3 of the odd
    // cell 9950 (triangle 2) and corner 0 of the even cell 9850 (triangle 1).
    ExpectNormal(CellVertices(app, 9950)[3], MeanNormal(t, {{9950, 2}}), "(100, 2) in 9950");
    ExpectNormal(CellVertices(app, 9850)[0], MeanNormal(t, {{9850, 1}}), "(100, 2) in 9850");
    ExpectNormal(CellVertices(app, 5000)[1], MeanNormal(t, {{5000, 1}}), "x = 0");
    ExpectNormal(CellVertices(app, 50)[3], MeanNormal(t, {{50, 2}}), "z = 200");
}

TEST(DrawTerrain, FillModesGroundTexturesAndTheMapsHoveredGap) {
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
    (*app.terrainCells)[7].groundTexture = 45;
    (*app.terrainCells)[8].groundTexture = 60;
    (*app.terrainCells)[9].groundTexture = 57;

    d->ClearLog();
    app.DrawTerrain(1);
    ASSERT_EQ(d->draws.size(), 10000u);  // the map draws no skirts, tree lines or sky
    EXPECT_EQ(d->draws[0].fillMode, static_cast<uint32_t>(plat::FILL_WIREFRAME));
    EXPECT_EQ(d->draws[0].textureFile, "textures\\grass1.bmp");
    EXPECT_EQ(d->draws[7].textureFile, "textures\\grass2.bmp");
    EXPECT_EQ(d->draws[8].texture, nullptr);  // not a ground texture id: untextured
    EXPECT_EQ(d->draws[9].textureFile, "textures\\blank.bmp");
    EXPECT_EQ(d->draws[9999].buffer, app.cellVertexBuffers[9999]);
    EXPECT_EQ(d->draws[9999].primitiveCount, 2u);
    EXPECT_EQ(d->draws[0].world.m[3][0], 0.0f);
    EXPECT_EQ(d->draws[0].world.m[0][0], 1.0f);
    EXPECT_EQ(d->State().texture, nullptr);

    d->ClearLog();
    app.DrawTerrain(2);  // the wireframe stays
    EXPECT_EQ(d->draws[5].fillMode, static_cast<uint32_t>(plat::FILL_WIREFRAME));
    app.DrawTerrain(0);
    EXPECT_EQ(d->State().renderState[plat::RS_FILLMODE], static_cast<uint32_t>(plat::FILL_SOLID));

    // The cell under the mouse is a gap only on the map, with the cursor over the map.
    app.hoveredCell = 5050;
    const struct {
        int32_t mode;
        uint8_t over;
        bool gap;
    } views[] = {{MODE_MAP, 1, true}, {MODE_MAP, 0, false}, {MODE_FISHING, 1, false}};
    for (const auto& v : views) {
        app.gameMode = v.mode;
        app.cursorOverMap = v.over;
        d->ClearLog();
        app.DrawTerrain(1);
        EXPECT_EQ(drawsCell(5050), !v.gap) << v.mode << " " << int(v.over);
        EXPECT_TRUE(drawsCell(5049));
    }
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
    // Skirts: opposite corners of the west (first) and north (third) squares at height 0.
    const struct {
        int draw;
        float x0, z0, x1, z1;
    } skirts[] = {{10000, -100, -105, 0, 305}, {10002, 0, 200, 200, 300}};
    for (const auto& k : skirts) {
        const plat::DrawRecord& r = d->draws[k.draw];
        EXPECT_EQ(r.textureFile, "textures\\surface.bmp");
        EXPECT_TRUE(near(at(r, {-1, 0, -1}), k.x0, 0, k.z0, 1e-3f)) << k.draw;
        EXPECT_TRUE(near(at(r, {1, 0, 1}), k.x1, 0, k.z1, 1e-3f)) << k.draw;
    }
    // Tree lines: the two ends of a foot line (either way round), 12 high from -1.
    const float ends[2][4] = {{128.6f, -12.1f, 271.4f, 232.1f}, {135, -11.5f, -35, -11.5f}};
    for (int p = 0; p < 2; ++p) {
        const plat::DrawRecord& r = d->draws[10004 + p];
        const plat::Vector3 a = at(r, {-1, 0, 0});
        const plat::Vector3 b = at(r, {1, 0, 0});
        const bool along = near(a, ends[p][0], -1, ends[p][1], 0.2f) && near(b, ends[p][2], -1, ends[p][3], 0.2f);
        const bool back = near(b, ends[p][0], -1, ends[p][1], 0.2f) && near(a, ends[p][2], -1, ends[p][3], 0.2f);
        EXPECT_TRUE(along || back) << p;
        EXPECT_EQ(r.buffer, app.billboardMesh);
        EXPECT_NEAR(at(r, {0, 2, 0}).y, 11.0f, 1e-4);
    }
    // Sky: turned face down at 50, 10,000 wide; its texture stays bound.
    const plat::DrawRecord& sky = d->draws[10008];
    EXPECT_EQ(sky.buffer, app.skyPlaneMesh);
    EXPECT_EQ(sky.textureFile, "textures\\sky.bmp");
    EXPECT_NEAR(at(sky, {0, 0, 0}).y, 50.0f, 1e-3);
    EXPECT_NEAR(at(sky, {0, 1, 0}).y, 49.0f, 1e-2);
    EXPECT_NEAR(std::hypot(at(sky, {1, 0, 0}).x - 100.0f, at(sky, {1, 0, 0}).z - 100.0f), 5000.0f, 1.0f);
    EXPECT_EQ(d->State().texture, sky.texture);
}
