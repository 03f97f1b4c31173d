// Draw merging: the batched device draws the same picture as one GL draw per DrawPrimitive,
// for a terrain-like grid of 10,000 single-cell strips, and merges only what shares all state.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include "gl_fixture.h"

using namespace gltest;
using namespace plat;

namespace {

constexpr int kCells = 100;  // 100 x 100 cells of 2 x 2 units, as the lake's terrain

float Height(float x, float z) { return 6.0f * std::sin(x * 0.07f) * std::cos(z * 0.05f) - 2.0f; }

class BatchTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (!device) return;
        // Six ground textures; the keyed ones have transparent texels in a pattern.
        const uint32_t colours[6] = {0xFF3C8C28u, 0xFF5A9A3Cu, 0xFF7A7060u, 0xFF908878u, 0xFF2A5A20u, 0xFFA0A090u};
        for (int t = 0; t < 6; ++t) {
            TextureImage image;
            image.width = image.height = 8;
            image.argb.resize(64);
            for (int i = 0; i < 64; ++i) {
                bool hole = t % 2 == 1 && (i % 7 == 0);
                image.argb[i] = hole ? 0u : (colours[t] ^ static_cast<uint32_t>((i * 0x050301) & 0x1F1F1F));
            }
            Texture* tex = nullptr;
            ASSERT_EQ(device->CreateTextureFromImage(image, "ground", &tex), OK);
            owned.push_back(tex);
            textures.push_back(tex);
        }
        // The cells, each its own 4-vertex buffer, corners ordered as the terrain's.
        for (int row = 0; row < kCells; ++row)
            for (int col = 0; col < kCells; ++col) {
                float w = 2.0f * col, e = w + 2, n = 200.0f - 2 * row, s = n - 2;
                float cx[4], cz[4];
                if ((row + col) % 2 == 0) {
                    float xs[4] = {w, w, e, e}, zs[4] = {s, n, s, n};
                    std::copy(xs, xs + 4, cx);
                    std::copy(zs, zs + 4, cz);
                } else {
                    float xs[4] = {e, w, e, w}, zs[4] = {s, s, n, n};
                    std::copy(xs, xs + 4, cx);
                    std::copy(zs, zs + 4, cz);
                }
                const float uv[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
                std::vector<Vertex> v(4);
                for (int k = 0; k < 4; ++k) {
                    float h = Height(cx[k], cz[k]);
                    // Slightly unnormalised normals, as smoothed terrain has.
                    v[k] = {cx[k], h, cz[k], 0.1f * std::cos(cx[k] * 0.07f), 0.95f, 0.0f, uv[k][0], uv[k][1]};
                }
                cells.push_back(MakeBuffer(v));
                // Textures in patches with stray cells, as a lake model has.
                int t = (row / 10 + col / 25) % 6;
                if ((row * 7 + col * 13) % 11 == 0) t = (t + 3) % 6;
                cellTexture.push_back(t);
            }
    }

    void SetUpScene() {
        Matrix m;
        MatrixIdentity(&m);
        device->SetTransform(TS_WORLD, &m);
        Vector3 eye{100, 120, -40}, at{100, 0, 100}, up{0, 1, 0};
        MatrixLookAtLH(&m, &eye, &at, &up);
        device->SetTransform(TS_VIEW, &m);
        MatrixPerspectiveFovLH(&m, 0.7853982f, 800.0f / 600.0f, 1.0f, 5000.0f);
        device->SetTransform(TS_PROJECTION, &m);
        UseGameMaterial();
        device->SetRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
        device->SetRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
        device->SetRenderState(RS_ALPHAREF, 0xFE);
        device->SetRenderState(RS_ALPHAFUNC, CMP_GREATER);
        device->SetRenderState(RS_ALPHABLENDENABLE, 1);
        device->SetRenderState(RS_ALPHATESTENABLE, 1);
        Light l{};
        l.type = LIGHT_POINT;
        l.position = {200.0f, 5000.0f, 200.0f};
        l.diffuse = {0.95f, 0.95f, 0.95f, 0.0f};
        l.ambient = {0.82f, 0.82f, 0.82f, 0.0f};
        l.range = 100000.0f;
        l.attenuation1 = 0.00019f;
        device->SetLight(0, &l);
        device->LightEnable(0, true);
    }

    // The terrain pass as the game makes it: per cell bind, stream, strip, unbind.
    void DrawTerrain() {
        device->SetRenderState(RS_FILLMODE, FILL_SOLID);
        device->SetFVF(FVF_MESH);
        for (size_t i = 0; i < cells.size(); ++i) {
            device->SetTexture(0, textures[cellTexture[i]]);
            device->SetStreamSource(0, cells[i], 0, 32);
            device->DrawPrimitive(PT_TRIANGLESTRIP, 0, 2);
            device->SetTexture(0, nullptr);
        }
    }

    // Renders one frame of the terrain; returns its time in ms until drawing has finished, and
    // in *submitMs the time spent issuing it.
    double RenderFrame(bool batching, uint64_t* glDraws, double* submitMs = nullptr) {
        using ms = std::chrono::duration<double, std::milli>;
        device->SetBatching(batching);
        auto start = std::chrono::steady_clock::now();
        uint64_t before = device->GlDrawCalls();
        device->BeginScene();
        device->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF323232u, 1.0f, 0);
        DrawTerrain();
        device->EndScene();
        if (submitMs) *submitMs = ms(std::chrono::steady_clock::now() - start).count();
        device->Finish();
        *glDraws = device->GlDrawCalls() - before;
        return ms(std::chrono::steady_clock::now() - start).count();
    }

    std::vector<Texture*> textures;
    std::vector<VertexBuffer*> cells;
    std::vector<int> cellTexture;
};

}  // namespace

TEST_F(BatchTest, MergedDrawsGiveTheSamePictureAsOneDrawPerCall) {
    SetUpScene();
    // Frames alternate between the two ways; the median of each is reported.
    uint64_t mergedDraws = 0, singleDraws = 0;
    std::vector<double> mergedMs, singleMs, mergedSubmit, singleSubmit;
    for (int f = 0; f < 9; ++f) {
        double submit = 0;
        mergedMs.push_back(RenderFrame(true, &mergedDraws, &submit));
        mergedSubmit.push_back(submit);
        singleMs.push_back(RenderFrame(false, &singleDraws, &submit));
        singleSubmit.push_back(submit);
    }
    for (auto* v : {&mergedMs, &singleMs, &mergedSubmit, &singleSubmit}) std::sort(v->begin(), v->end());
    std::printf("10,000 terrain strips, median frame (issuing) ms: merged %.2f (%.2f) in %llu GL draws, "
                "one GL draw per call %.2f (%.2f)\n",
                mergedMs[4], mergedSubmit[4], static_cast<unsigned long long>(mergedDraws), singleMs[4],
                singleSubmit[4]);
    RecordProperty("merged_ms", std::to_string(mergedMs[4]));
    RecordProperty("single_ms", std::to_string(singleMs[4]));
    EXPECT_EQ(singleDraws, 10000u);
    EXPECT_LT(mergedDraws, 2500u);

    std::vector<uint32_t> merged, single;
    RenderFrame(true, &mergedDraws);
    merged = Read();
    RenderFrame(false, &singleDraws);
    single = Read();
    ASSERT_EQ(merged.size(), single.size());
    int differing = 0, maxDiff = 0, ground = 0;
    for (size_t i = 0; i < merged.size(); ++i) {
        if (Rgb(merged[i]) != 0x323232u) ++ground;
        for (int shift : {0, 8, 16}) {
            int d = std::abs(static_cast<int>((merged[i] >> shift) & 0xFF) - static_cast<int>((single[i] >> shift) & 0xFF));
            if (d > maxDiff) maxDiff = d;
            if (d > 2) {
                ++differing;
                break;
            }
        }
    }
    EXPECT_GT(ground, 100000);  // the terrain covers much of the picture
    EXPECT_LE(maxDiff, 2);
    EXPECT_EQ(differing, 0);
}

TEST_F(BatchTest, OnlyDrawsSharingAllStateAreMerged) {
    SetUpScene();
    device->SetFVF(FVF_MESH);
    device->BeginScene();
    uint64_t before = device->GlDrawCalls();
    // One texture and unchanged state: the whole grid is one GL draw, whatever is re-set between.
    for (VertexBuffer* vb : cells) {
        device->SetTexture(0, textures[0]);
        device->SetStreamSource(0, vb, 0, 32);
        device->DrawPrimitive(PT_TRIANGLESTRIP, 0, 2);
        device->SetTexture(0, nullptr);
    }
    device->EndScene();
    EXPECT_EQ(device->GlDrawCalls() - before, 1u);

    // A world transform per cell (as every billboard has) gives one GL draw each.
    before = device->GlDrawCalls();
    device->SetTexture(0, textures[0]);
    for (int i = 0; i < 100; ++i) {
        Matrix world;
        MatrixTranslation(&world, 0.01f * i, 0, 0);
        device->SetTransform(TS_WORLD, &world);
        device->SetStreamSource(0, cells[i], 0, 32);
        device->DrawPrimitive(PT_TRIANGLESTRIP, 0, 2);
    }
    device->EndScene();
    EXPECT_EQ(device->GlDrawCalls() - before, 100u);
}

TEST_F(BatchTest, RelockingABufferKeepsEarlierDrawsOfItsOldContents) {
    UseClipSpace();
    device->SetRenderState(RS_LIGHTING, 0);
    VertexBuffer* vb = MakeQuad(-0.9f, -0.2f, -0.5f, 0.2f, 0.5f);
    DrawStrip(vb);  // waits in the batch
    void* p = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &p, 0), OK);
    auto* v = static_cast<Vertex*>(p);
    for (int k = 0; k < 4; ++k) v[k].x += 1.4f;  // moved to the right half
    vb->Unlock();
    DrawStrip(vb);
    std::vector<uint32_t> px = Read();
    EXPECT_EQ(Rgb(px[300 * 800 + 120]), 0xFFFFFFu);
    EXPECT_EQ(Rgb(px[300 * 800 + 680]), 0xFFFFFFu);
    EXPECT_EQ(Rgb(px[300 * 800 + 400]), 0u);
}
