// Draw merging and regrouping by texture: merged and regrouped draws give the same picture as one
// GL draw per call, and only draws whose order cannot show are merged or regrouped.
#include <algorithm>
#include <cstring>
#include <functional>
#include "platform/d3dx.h"
#include "gl_fixture.h"

using namespace gltest;
using namespace plat;

namespace {

class BatchTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (device) UseLitScene();
    }

    void UseLitScene() {
        UseGameCamera();
        UseGameMaterial();
        Light sun = DirectionalLight({0.3f, -0.5f, 0.8f}, 0.8f, 0.3f);
        device->SetLight(0, &sun);
        device->LightEnable(0, true);
    }

    // An 8 x 8 texture in a colour with a texel pattern, alpha as given.
    Texture* Patterned(uint32_t rgb, uint8_t alpha) {
        std::vector<uint32_t> argb;
        for (uint32_t i = 0; i < 64; ++i) argb.push_back(static_cast<uint32_t>(alpha) << 24 | (rgb ^ ((i * 0x070305u) & 0x3F3F3Fu)));
        return MakeImage(8, 8, argb);
    }

    void Draw(Texture* t, VertexBuffer* vb) {
        device->SetTexture(0, t);
        DrawStrip(vb);
        device->SetTexture(0, nullptr);
    }

    // Renders the scene one way; returns the picture and the GL draws it took.
    std::vector<uint32_t> Render(bool batching, bool regrouping, const std::function<void()>& scene, uint64_t* glDraws) {
        device->SetBatching(batching);
        device->SetRegrouping(regrouping);
        device->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF203040u, 1.0f, 0);
        const uint64_t before = device->GlDrawCalls();
        scene();
        device->EndScene();
        *glDraws = device->GlDrawCalls() - before;
        device->SetBatching(true);
        device->SetRegrouping(true);
        return Read();
    }
};

}  // namespace

TEST_F(BatchTest, MergedAndRegroupedDrawsLookAsOneCallPerDraw) {
    Texture* opaque[4] = {Patterned(0x3C8C28, 255), Patterned(0x7A7060, 255), Patterned(0x2050A0, 255),
                          Patterned(0xA0A090, 255)};
    Texture* glass = Patterned(0xE04020, 0x80);
    // Two sloped grids that cut through each other, their cells submitted in turn, with
    // interleaved textures and some untextured cells.
    constexpr int COLS = 40, ROWS = 30;
    std::vector<VertexBuffer*> cells[2];
    std::vector<Texture*> cellTexture[2];
    for (int g = 0; g < 2; ++g)
        for (int r = 0; r < ROWS; ++r)
            for (int c = 0; c < COLS; ++c) {
                const float x0 = -4.0f + 0.2f * c, y0 = -3.0f + 0.2f * r, slope = g == 0 ? 0.25f : -0.25f;
                cells[g].push_back(MakeQuad(x0, y0, x0 + 0.2f, y0 + 0.2f, 8 + slope * x0, 8 + slope * (x0 + 0.2f)));
                const int k = (c * 7 + r * 3 + g) % 9;
                cellTexture[g].push_back(k == 8 ? nullptr : opaque[k % 4]);
            }
    VertexBuffer* pane = MakeQuad(-1.5f, -1.0f, 1.5f, 1.0f, 6);
    VertexBuffer* laterPane = MakeQuad(0.5f, -2.0f, 3.0f, 0.5f, 7.5f);
    const size_t half = cells[0].size() / 2;
    auto scene = [&] {
        device->SetRenderState(RS_ALPHABLENDENABLE, 1);
        device->SetRenderState(RS_ALPHATESTENABLE, 1);
        device->SetRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
        device->SetRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
        device->SetRenderState(RS_ALPHAFUNC, CMP_GREATER);
        device->SetRenderState(RS_ALPHAREF, 0);
        for (size_t i = 0; i < cells[0].size(); ++i) {
            // Halfway, a translucent pane in front: its state differs only in its texture.
            if (i == half) Draw(glass, pane);
            for (int g = 0; g < 2; ++g) Draw(cellTexture[g][i], cells[g][i]);
        }
        Draw(glass, laterPane);
    };
    uint64_t regroupedDraws = 0, mergedDraws = 0, singleDraws = 0;
    const std::vector<uint32_t> regrouped = Render(true, true, scene, &regroupedDraws);
    const std::vector<uint32_t> merged = Render(true, false, scene, &mergedDraws);
    const std::vector<uint32_t> single = Render(false, false, scene, &singleDraws);

    EXPECT_EQ(singleDraws, 2u * COLS * ROWS + 2);
    EXPECT_GT(mergedDraws, 1000u);
    // Five textures (four and none) before the pane and after it, and the two panes.
    EXPECT_LE(regroupedDraws, 12u);
    int covered = 0;
    for (uint32_t c : regrouped) covered += Rgb(c) != 0x203040u;
    EXPECT_GT(covered, 200000);
    EXPECT_EQ(Differing(regrouped, single), 0);
    EXPECT_EQ(Differing(merged, single), 0);
    // The first pane hides the cells drawn after it (it writes depth): the order still shows.
    EXPECT_NE(Rgb(regrouped[250 * 800 + 400]), Rgb(regrouped[150 * 800 + 100]));
}

TEST_F(BatchTest, OnlyDrawsWhoseOrderCannotShowAreMergedOrRegrouped) {
    Texture* red = Patterned(0xC02020, 255);
    Texture* blue = Patterned(0x2020C0, 255);
    Texture* seeThrough = Patterned(0x20C020, 0xC0);
    VertexBuffer* quads[4];
    for (int i = 0; i < 4; ++i) quads[i] = MakeQuad(-3.0f + 1.5f * i, -0.5f, -2.0f + 1.5f * i, 0.5f, 8);
    // Four side-by-side quads, textures A B A B: two GL draws when regrouped, four otherwise.
    bool moveEach = false, moveAlongZ = false;
    auto draws = [&](Texture* b, const std::function<void()>& setUp, bool regrouping = true) {
        device->ResetState();
        UseLitScene();
        setUp();
        uint64_t n = 0;
        Render(true, regrouping, [&] {
            for (int i = 0; i < 4; ++i) {
                Matrix world;
                const float shift = moveEach ? 0.01f * i : 0;
                MatrixTranslation(&world, moveAlongZ ? 0 : shift, 0, moveAlongZ ? shift : 0);
                device->SetTransform(TS_WORLD, &world);
                Draw(i % 2 ? b : red, quads[i]);
            }
        }, &n);
        return n;
    };
    auto nothing = [] {};
    auto blending = [&] {
        device->SetRenderState(RS_ALPHABLENDENABLE, 1);
        device->SetRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
        device->SetRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
    };
    EXPECT_EQ(draws(red, nothing, false), 1u) << "one texture, re-set between draws: merged";
    EXPECT_EQ(draws(blue, nothing), 2u);
    EXPECT_EQ(draws(seeThrough, nothing), 2u) << "unblended: transparency does not matter";
    EXPECT_EQ(draws(blue, blending), 2u);
    EXPECT_EQ(draws(seeThrough, blending), 4u);
    EXPECT_EQ(draws(blue, [&] {
        blending();
        Material m{};
        m.diffuse = {1, 1, 1, 0.5f};
        m.ambient = {1, 1, 1, 1};
        device->SetMaterial(&m);  // the lit colour is translucent
    }), 4u);
    EXPECT_EQ(draws(blue, [&] {
        blending();
        device->SetRenderState(RS_DESTBLEND, BLEND_ONE);  // adding, even at alpha 1
    }), 4u);
    EXPECT_EQ(draws(blue, [&] { device->SetRenderState(RS_ZWRITEENABLE, 0); }), 4u);
    EXPECT_EQ(draws(blue, [&] { device->SetRenderState(RS_ZENABLE, 0); }), 4u);
    EXPECT_EQ(draws(blue, [&] { device->SetRenderState(RS_ZFUNC, CMP_ALWAYS); }), 4u);
    // Wireframe is never regrouped; with layers it is one draw in its own order.
    device->SetLayering(false);
    EXPECT_EQ(draws(blue, [&] { device->SetRenderState(RS_FILLMODE, FILL_WIREFRAME); }), 4u);
    device->SetLayering(true);
    EXPECT_EQ(draws(blue, [&] { device->SetRenderState(RS_FILLMODE, FILL_WIREFRAME); }), 1u);
    EXPECT_EQ(draws(blue, nothing, false), 4u);
    EXPECT_EQ(draws(seeThrough, [&] {
        blending();
        device->SetRenderState(RS_ALPHATESTENABLE, 1);  // only alpha above 254 passes, and replaces
        device->SetRenderState(RS_ALPHAFUNC, CMP_GREATER);
        device->SetRenderState(RS_ALPHAREF, 254);
    }), 2u);
    // A world transform per draw, as sprites have: the first quad (at the identity) draws from
    // the arena, the others, placed, from the stream; coplanar quads with different textures keep
    // their order, quads on planes of their own are regrouped.
    moveEach = true;
    EXPECT_EQ(draws(red, nothing), 2u);
    EXPECT_EQ(draws(blue, nothing), 4u);
    moveAlongZ = true;
    EXPECT_EQ(draws(blue, nothing), 3u);
}

TEST_F(BatchTest, WireframeGridsKeepTheirOrderAcrossTexturesInFewDraws) {
    // A terrain-like grid of cells in wireframe, as the map's orbit view draws the lake: the
    // cells' edges meet their neighbours' at equal depth, so the later cell's line shows there
    // and the draw order must stay. Textures interleave; a few cells are untextured or have a
    // texture of another size, which ends a layered run.
    Texture* ground[5] = {Patterned(0x3C8C28, 255), Patterned(0x7A7060, 255), Patterned(0x2050A0, 255),
                          Patterned(0xA0A090, 255), Patterned(0xC02020, 0x80)};
    std::vector<uint32_t> bigTexels(256, 0xFFE0E020u);
    Texture* big = MakeImage(16, 16, bigTexels);
    constexpr int COLS = 50, ROWS = 36;
    std::vector<VertexBuffer*> cells;
    std::vector<Texture*> cellTexture;
    for (int r = 0; r < ROWS; ++r)
        for (int c = 0; c < COLS; ++c) {
            const float x0 = -4.0f + 0.16f * c, y0 = -3.0f + 0.16f * r;
            cells.push_back(MakeQuad(x0, y0, x0 + 0.16f, y0 + 0.16f, 8 + 0.2f * x0, 8 + 0.2f * (x0 + 0.16f)));
            const int i = r * COLS + c;
            cellTexture.push_back(i % 211 == 5 ? nullptr : i % 307 == 7 ? big : ground[(c * 7 + r * 3) % 5]);
        }
    auto scene = [&](bool forward) {
        return [&, forward] {
            device->SetRenderState(RS_FILLMODE, FILL_WIREFRAME);
            device->SetRenderState(RS_ALPHABLENDENABLE, 1);
            device->SetRenderState(RS_ALPHATESTENABLE, 1);
            device->SetRenderState(RS_ALPHAREF, 0);
            for (size_t k = 0; k < cells.size(); ++k) {
                const size_t i = forward ? k : cells.size() - 1 - k;
                Draw(cellTexture[i], cells[i]);
            }
            device->SetRenderState(RS_FILLMODE, FILL_SOLID);
        };
    };
    uint64_t layeredDraws = 0, mergedDraws = 0, singleDraws = 0, reversedDraws = 0;
    const std::vector<uint32_t> layered = Render(true, true, scene(true), &layeredDraws);
    device->SetLayering(false);
    const std::vector<uint32_t> merged = Render(true, true, scene(true), &mergedDraws);
    device->SetLayering(true);
    const std::vector<uint32_t> single = Render(false, false, scene(true), &singleDraws);
    const std::vector<uint32_t> reversed = Render(false, false, scene(false), &reversedDraws);

    EXPECT_EQ(singleDraws, static_cast<uint64_t>(COLS * ROWS));
    EXPECT_GT(mergedDraws, 1000u);
    // Runs end only at the untextured cells and the cells of the other size (and start again).
    const auto breaks = static_cast<uint64_t>(
        std::count_if(cellTexture.begin(), cellTexture.end(), [&](Texture* t) { return !t || t == big; }));
    EXPECT_LE(layeredDraws, 2 * breaks + 1);
    int lines = 0;
    for (uint32_t c : layered) lines += Rgb(c) != 0x203040u;
    EXPECT_GT(lines, 20000);
    EXPECT_EQ(Differing(layered, single), 0);
    EXPECT_EQ(Differing(merged, single), 0);
    // The order shows: the same cells drawn the other way round give another picture.
    EXPECT_GT(Differing(reversed, single), 500);
}

TEST_F(BatchTest, AWireframeRunKeptFromTheLastFrameFollowsWhatChangesInBetween) {
    // A grid large enough to be handed to GL in parts, drawn frame after frame as the orbit view
    // draws the lake; between frames a cell's vertices are rewritten, a ground texture is
    // replaced by another of the same size, and a cell is left out. Each frame must look as one
    // GL call per draw draws it, not as the run kept from the frame before.
    Texture* ground[3] = {Patterned(0x3C8C28, 255), Patterned(0x7A7060, 255), Patterned(0x2050A0, 255)};
    constexpr int COLS = 100, ROWS = 48;
    std::vector<VertexBuffer*> cells;
    for (int r = 0; r < ROWS; ++r)
        for (int c = 0; c < COLS; ++c) {
            const float x0 = -4.0f + 0.08f * c, y0 = -3.0f + 0.125f * r;
            cells.push_back(MakeQuad(x0, y0, x0 + 0.08f, y0 + 0.125f, 8 + 0.2f * x0, 8 + 0.2f * (x0 + 0.08f)));
        }
    size_t leftOut = cells.size();
    auto scene = [&] {
        device->SetRenderState(RS_FILLMODE, FILL_WIREFRAME);
        for (size_t i = 0; i < cells.size(); ++i)
            if (i != leftOut) Draw(ground[(i * 7 + i / COLS) % 3], cells[i]);
        device->SetRenderState(RS_FILLMODE, FILL_SOLID);
    };
    auto exactlyDiffering = [](const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
        int n = 0;
        for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += Rgb(a[i]) != Rgb(b[i]);
        return n;
    };
    std::vector<uint32_t> last;
    auto frame = [&](const char* what) {
        SCOPED_TRACE(what);
        uint64_t layeredDraws = 0, singleDraws = 0;
        const std::vector<uint32_t> layered = Render(true, true, scene, &layeredDraws);
        const std::vector<uint32_t> single = Render(false, false, scene, &singleDraws);
        EXPECT_EQ(exactlyDiffering(layered, single), 0);
        EXPECT_LE(layeredDraws, 4u);  // one run, in parts
        EXPECT_GT(singleDraws, 4000u);
        const int changed = last.empty() ? -1 : exactlyDiffering(layered, last);
        last = layered;
        return changed;
    };
    frame("first frame");
    EXPECT_EQ(frame("the same frame again"), 0);

    // One cell moved up a little: its lines move with it.
    std::vector<Vertex> moved(4);
    void* data = nullptr;
    ASSERT_EQ(cells[2345]->Lock(0, 0, &data, 0), OK);
    std::memcpy(moved.data(), data, sizeof(Vertex) * 4);
    for (Vertex& v : moved) v.y += 0.05f;
    std::memcpy(data, moved.data(), sizeof(Vertex) * 4);
    cells[2345]->Unlock();
    EXPECT_GT(frame("a cell's vertices rewritten"), 0);

    // A ground texture released and another of its size made, which may take its address.
    owned.erase(std::find(owned.begin(), owned.end(), ground[1]));
    ground[1]->Release();
    ground[1] = Patterned(0xD0D040, 255);
    EXPECT_GT(frame("a ground texture replaced"), 0);

    leftOut = 1234;
    EXPECT_GT(frame("a cell left out"), 0);
}

TEST_F(BatchTest, TheSameVerticesDrawnAgainWithAnotherTextureStayOnTop) {
    Texture* red = Patterned(0xC02020, 255);
    Texture* blue = Patterned(0x2020C0, 255);
    VertexBuffer* quad = MakeQuad(-1, -1, 1, 1, 5);
    VertexBuffer* other = MakeQuad(2, -1, 3, 1, 5);
    uint64_t n = 0;
    std::vector<uint32_t> px = Render(true, true, [&] {
        Draw(red, quad);
        Draw(blue, quad);  // coplanar with the first: LESSEQUAL lets the later one win
        Draw(red, other);  // grouped with the first, this must not put red back on top
    }, &n);
    const uint32_t c = px[300 * 800 + 400];
    EXPECT_GT(Blue(c), Red(c));
    EXPECT_EQ(n, 3u);
}

TEST_F(BatchTest, ASamplerChangeAfterARunDoesNotReachTheRunsDraws) {
    // Magnified 2 x 2 checkers: sharp squares with point filtering, ramps with linear.
    Texture* grey = MakeImage(2, 2, {0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFF000000u});
    Texture* red = MakeImage(2, 2, {0xFF200000u, 0xFFFF4040u, 0xFFFF4040u, 0xFF200000u});
    VertexBuffer* left = MakeQuad(-3, -1, -1, 1, 5);
    VertexBuffer* middle = MakeQuad(-1, -1, 1, 1, 5);
    VertexBuffer* right = MakeQuad(1, -1, 3, 1, 5);
    auto scene = [&] {
        device->SetSamplerState(0, SAMP_MAGFILTER, TEXF_POINT);
        device->SetSamplerState(0, SAMP_MINFILTER, TEXF_POINT);
        Draw(grey, left);
        Draw(red, middle);
        device->SetSamplerState(0, SAMP_MAGFILTER, TEXF_LINEAR);
        device->SetSamplerState(0, SAMP_MINFILTER, TEXF_LINEAR);
        Draw(grey, right);
    };
    uint64_t n = 0;
    const std::vector<uint32_t> regrouped = Render(true, true, scene, &n);
    EXPECT_EQ(Differing(regrouped, Render(false, false, scene, &n)), 0);
}

TEST_F(BatchTest, RelockingABufferKeepsEarlierDrawsOfItsOldContents) {
    UseUnlitClipSpace();
    VertexBuffer* vb = MakeQuad(-0.9f, -0.2f, -0.5f, 0.2f, 0.5f);
    DrawStrip(vb);  // waits in the batch
    void* p = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &p, 0), OK);
    for (int k = 0; k < 4; ++k) static_cast<Vertex*>(p)[k].x += 1.4f;  // moved to the right half
    vb->Unlock();
    DrawStrip(vb);
    EXPECT_EQ(At(120, 300), 0xFFFFFFu);
    EXPECT_EQ(At(680, 300), 0xFFFFFFu);
    EXPECT_EQ(At(400, 300), 0u);
}

TEST_F(BatchTest, PlacedQuadsMeetingOnAPlaneKeepTheirOrder) {
    // Placed quads (drawn through the stream) on one plane: a red one, a blue one over part of
    // it, then two red ones away from it. Regrouping the first red with them would put red on top
    // where it meets the blue; the later reds are regrouped: three GL draws.
    Texture* red = Patterned(0xC02020, 255);
    Texture* blue = Patterned(0x2020C0, 255);
    VertexBuffer* left = MakeQuad(-1, -1, 0.5f, 1, 0);
    VertexBuffer* right = MakeQuad(-0.5f, -1, 1, 1, 0);
    VertexBuffer* away = MakeQuad(9, -1, 10, 1, 0);
    Matrix world;
    MatrixTranslation(&world, 0, 0, 5);
    uint64_t n = 0;
    std::vector<uint32_t> px = Render(true, true, [&] {
        device->SetTransform(TS_WORLD, &world);
        Draw(red, left);
        Draw(blue, right);
        Matrix far;
        MatrixTranslation(&far, 30, 0, 5);
        device->SetTransform(TS_WORLD, &far);
        Draw(red, left);
        device->SetTransform(TS_WORLD, &world);
        Draw(red, away);  // on the plane but away from the blue
    }, &n);
    const uint32_t c = px[300 * 800 + 400];
    EXPECT_GT(Blue(c), Red(c));
    EXPECT_EQ(n, 3u);
}

TEST_F(BatchTest, PlacedSmallMeshesLookAsWhenGlPlacesThem) {
    // The same lit quads, turned and stretched unevenly, drawn once as 4-vertex strips (the
    // device places them) and once as strips too long for that, whose triangles past the quad
    // have no area (GL places them).
    Texture* t = Patterned(0xB0B0B0, 255);
    VertexBuffer* quad = MakeQuad(-1, -1, 1, 1, 0, NAN, {0.3f, 0.2f, -0.93f});
    std::vector<Vertex> big(80);
    std::memcpy(big.data(), quad->Data(), 4 * sizeof(Vertex));
    for (size_t k = 4; k < big.size(); ++k) big[k] = big[3];
    VertexBuffer* large = MakeBuffer(big);
    // A dim light, so that no lit colour reaches white.
    Light sun = DirectionalLight({0.3f, -0.5f, 0.8f}, 0.4f, 0.2f);
    device->SetLight(0, &sun);
    auto scene = [&](VertexBuffer* vb) {
        device->SetRenderState(RS_NORMALIZENORMALS, 0);
        for (int i = 0; i < 6; ++i) {
            Matrix s, r, tr, sr, world;
            MatrixScaling(&s, 0.8f + 0.15f * i, 1.3f - 0.1f * i, 0.6f);
            MatrixRotationYawPitchRoll(&r, 0.4f * i - 1.0f, 0.3f * (i % 3), 0.1f * i);
            MatrixTranslation(&tr, -4.0f + 1.6f * i, 0.3f * i - 1.0f, 9.0f + i);
            MatrixMultiply(&sr, &s, &r);
            MatrixMultiply(&world, &sr, &tr);
            device->SetTransform(TS_WORLD, &world);
            if (i == 3) device->SetRenderState(RS_NORMALIZENORMALS, 1);
            device->SetTexture(0, t);
            DrawStrip(vb, vb == large ? 78 : 2);
        }
    };
    uint64_t n = 0;
    const std::vector<uint32_t> placedHere = Render(true, true, [&] { scene(quad); }, &n);
    EXPECT_EQ(n, 2u) << "merged apart from the change of normalising";
    const std::vector<uint32_t> placedByGl = Render(false, false, [&] { scene(large); }, &n);
    EXPECT_EQ(n, 6u);
    int covered = 0;
    for (uint32_t c : placedHere) covered += Rgb(c) != 0x203040u;
    EXPECT_GT(covered, 20000);
    // An edge pixel may fall either way; the lit colours agree.
    EXPECT_LT(Differing(placedHere, placedByGl), 50);
}
