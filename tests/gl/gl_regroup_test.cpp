// Regrouping by texture: runs of opaque depth-tested draws that differ only in texture become one
// GL draw per texture, with the same picture as one GL draw per call; anything whose order can
// show ends the run.
#include <cmath>
#include <functional>
#include "gl_fixture.h"

using namespace gltest;
using namespace plat;

namespace {

class RegroupTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (!device) return;
        UseGameCamera();
        UseGameMaterial();
        Light sun{};
        sun.type = LIGHT_DIRECTIONAL;
        sun.diffuse = {0.8f, 0.8f, 0.8f, 0};
        sun.ambient = {0.3f, 0.3f, 0.3f, 0};
        sun.direction = {0.3f, -0.5f, 0.8f};
        device->SetLight(0, &sun);
        device->LightEnable(0, true);
    }

    // An 8 x 8 texture in a colour with a texel pattern, alpha as given.
    Texture* Patterned(uint32_t rgb, uint8_t alpha) {
        TextureImage image;
        image.width = image.height = 8;
        for (uint32_t i = 0; i < 64; ++i)
            image.argb.push_back(static_cast<uint32_t>(alpha) << 24 | (rgb ^ ((i * 0x070305u) & 0x3F3F3Fu)));
        Texture* t = nullptr;
        EXPECT_EQ(device->CreateTextureFromImage(image, "pattern", &t), OK);
        owned.push_back(t);
        return t;
    }

    // A quad facing the camera (clockwise), z varying across it.
    VertexBuffer* Quad(float x0, float y0, float x1, float y1, float zLeft, float zRight) {
        return MakeBuffer({{x0, y0, zLeft, 0, 0, -1, 0, 1},
                           {x0, y1, zLeft, 0, 0, -1, 0, 0},
                           {x1, y0, zRight, 0, 0, -1, 1, 1},
                           {x1, y1, zRight, 0, 0, -1, 1, 0}});
    }

    void Draw(Texture* t, VertexBuffer* vb) {
        device->SetTexture(0, t);
        DrawStrip(vb);
        device->SetTexture(0, nullptr);
    }

    // Renders the scene one way; returns the picture and the GL draws it took.
    std::vector<uint32_t> Render(bool batching, bool regrouping, const std::function<void()>& scene,
                                 uint64_t* glDraws) {
        device->SetBatching(batching);
        device->SetRegrouping(regrouping);
        device->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF203040u, 1.0f, 0);
        const uint64_t before = device->GlDrawCalls();
        scene();
        device->EndScene();
        *glDraws = device->GlDrawCalls() - before;
        std::vector<uint32_t> px = Read();
        device->SetBatching(true);
        device->SetRegrouping(true);
        return px;
    }
};

// Pixels with a channel more than 2 apart.
int Differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i)
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((a[i] >> shift) & 0xFF) - static_cast<int>((b[i] >> shift) & 0xFF)) > 2) {
                ++n;
                break;
            }
    return n;
}

}  // namespace

TEST_F(RegroupTest, InterleavedGridAndTranslucentQuadsLookAsWithOneCallPerDraw) {
    Texture* opaque[4] = {Patterned(0x3C8C28, 255), Patterned(0x7A7060, 255), Patterned(0x2050A0, 255),
                          Patterned(0xA0A090, 255)};
    Texture* glass = Patterned(0xE04020, 0x80);
    // Two sloped grids that cut through each other, their cells submitted in turn, with
    // interleaved textures and some untextured cells.
    constexpr int kCols = 40, kRows = 30;
    std::vector<VertexBuffer*> cells[2];
    std::vector<Texture*> cellTexture[2];
    for (int g = 0; g < 2; ++g)
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kCols; ++c) {
                const float x0 = -4.0f + 0.2f * c, y0 = -3.0f + 0.2f * r;
                const float slope = g == 0 ? 0.25f : -0.25f;
                cells[g].push_back(Quad(x0, y0, x0 + 0.2f, y0 + 0.2f, 8 + slope * x0, 8 + slope * (x0 + 0.2f)));
                const int k = (c * 7 + r * 3 + g) % 9;
                cellTexture[g].push_back(k == 8 ? nullptr : opaque[k % 4]);
            }
    VertexBuffer* pane = Quad(-1.5f, -1.0f, 1.5f, 1.0f, 6, 6);
    VertexBuffer* laterPane = Quad(0.5f, -2.0f, 3.0f, 0.5f, 7.5f, 7.5f);
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

    EXPECT_EQ(singleDraws, 2u * kCols * kRows + 2);
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

TEST_F(RegroupTest, OnlyDrawsWhoseOrderCannotShowAreRegrouped) {
    Texture* red = Patterned(0xC02020, 255);
    Texture* blue = Patterned(0x2020C0, 255);
    Texture* seeThrough = Patterned(0x20C020, 0xC0);
    VertexBuffer* quads[4];
    for (int i = 0; i < 4; ++i) quads[i] = Quad(-3.0f + 1.5f * i, -0.5f, -2.0f + 1.5f * i, 0.5f, 8, 8);
    // Four side-by-side quads, textures A B A B: two GL draws when regrouped, four otherwise.
    auto draws = [&](Texture* b, const std::function<void()>& setUp, bool regrouping = true) {
        device->ResetState();
        SetUp();
        setUp();
        uint64_t n = 0;
        Render(true, regrouping, [&] {
            for (int i = 0; i < 4; ++i) Draw(i % 2 ? b : red, quads[i]);
        }, &n);
        return n;
    };
    auto nothing = [] {};
    auto blending = [&] {
        device->SetRenderState(RS_ALPHABLENDENABLE, 1);
        device->SetRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
        device->SetRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
    };
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
    EXPECT_EQ(draws(blue, [&] { device->SetRenderState(RS_FILLMODE, FILL_WIREFRAME); }), 4u);
    EXPECT_EQ(draws(blue, nothing, false), 4u);
}

TEST_F(RegroupTest, TheSameVerticesDrawnAgainWithAnotherTextureStayOnTop) {
    Texture* red = Patterned(0xC02020, 255);
    Texture* blue = Patterned(0x2020C0, 255);
    VertexBuffer* quad = Quad(-1, -1, 1, 1, 5, 5);
    VertexBuffer* other = Quad(2, -1, 3, 1, 5, 5);
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

TEST_F(RegroupTest, ASamplerChangeAfterARunDoesNotReachTheRunsDraws) {
    // Magnified 2 x 2 checkers: sharp squares with point filtering, ramps with linear.
    auto checker = [&](uint32_t a, uint32_t b) {
        TextureImage image;
        image.width = image.height = 2;
        image.argb = {a, b, b, a};
        Texture* t = nullptr;
        EXPECT_EQ(device->CreateTextureFromImage(image, "checker", &t), OK);
        owned.push_back(t);
        return t;
    };
    Texture* grey = checker(0xFF000000u, 0xFFFFFFFFu);
    Texture* red = checker(0xFF200000u, 0xFFFF4040u);
    VertexBuffer* left = Quad(-3, -1, -1, 1, 5, 5);
    VertexBuffer* middle = Quad(-1, -1, 1, 1, 5, 5);
    VertexBuffer* right = Quad(1, -1, 3, 1, 5, 5);
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
    const std::vector<uint32_t> single = Render(false, false, scene, &n);
    EXPECT_EQ(Differing(regrouped, single), 0);
}
