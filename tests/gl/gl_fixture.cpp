// The shared window and device of the GL tests.
#include "gl_fixture.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace gltest {

namespace {
std::unique_ptr<plat::SdlBackend> g_backend;

class CloseWindowAtExit : public ::testing::Environment {
public:
    void TearDown() override { g_backend.reset(); }
};
const auto* g_env = ::testing::AddGlobalTestEnvironment(new CloseWindowAtExit);

// Created on first use; null when no display can be opened.
plat::SdlBackend* Backend() {
    static bool tried = false;
    if (!tried) {
        tried = true;
        auto b = std::make_unique<plat::SdlBackend>();
        std::string error;
        if (b->CreateMainWindow("Lakeside GL tests", 800, 600, &error) && b->CreateDevice(&error))
            g_backend = std::move(b);
        else
            std::fprintf(stderr, "GL tests: no window: %s\n", error.c_str());
    }
    return g_backend.get();
}
}  // namespace

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

void GlTest::SetUp() {
    backend = Backend();
    if (!backend) GTEST_SKIP() << "no display";
    if (backend->IsFullscreen()) backend->SetFullscreen(false);
    device = backend->GetGlDevice();
    device->SetBatching(true);
    device->SetRegrouping(true);
    device->ResetState();
    ClearBlack();
}

void GlTest::TearDown() {
    if (!device) return;
    device->SetTexture(0, nullptr);
    device->SetStreamSource(0, nullptr, 0, 0);
    for (plat::DeviceObject* o : owned) o->Release();
    owned.clear();
}

void GlTest::ClearBlack() { device->Clear(0, nullptr, plat::CLEAR_TARGET | plat::CLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0); }

void GlTest::UseUnlitClipSpace() {
    plat::Matrix m;
    plat::MatrixIdentity(&m);
    for (plat::TransformType t : {plat::TS_WORLD, plat::TS_VIEW, plat::TS_PROJECTION}) device->SetTransform(t, &m);
    device->SetRenderState(plat::RS_LIGHTING, 0);
}

void GlTest::UseGameCamera() {
    plat::Matrix m;
    plat::MatrixIdentity(&m);
    device->SetTransform(plat::TS_WORLD, &m);
    plat::Vector3 eye{0, 0, 0}, at{0, 0, 1}, up{0, 1, 0};
    plat::MatrixLookAtLH(&m, &eye, &at, &up);
    device->SetTransform(plat::TS_VIEW, &m);
    plat::MatrixPerspectiveFovLH(&m, 0.7853982f, 800.0f / 600.0f, 1.0f, 5000.0f);
    device->SetTransform(plat::TS_PROJECTION, &m);
}

void GlTest::UseGameMaterial() {
    plat::Material material{};
    material.diffuse = {1, 1, 1, 1};
    material.ambient = {1, 1, 1, 1};
    device->SetMaterial(&material);
    device->SetTextureStageState(0, plat::TSS_COLORARG1, plat::TA_TEXTURE);
    device->SetTextureStageState(0, plat::TSS_COLORARG2, plat::TA_DIFFUSE);
    device->SetTextureStageState(0, plat::TSS_ALPHAOP, plat::TOP_MODULATE);
    device->SetSamplerState(0, plat::SAMP_MINFILTER, plat::TEXF_LINEAR);
    device->SetSamplerState(0, plat::SAMP_MAGFILTER, plat::TEXF_LINEAR);
}

plat::VertexBuffer* GlTest::MakeBuffer(const std::vector<Vertex>& vertices) {
    plat::VertexBuffer* vb = nullptr;
    uint32_t bytes = static_cast<uint32_t>(vertices.size() * sizeof(Vertex));
    EXPECT_EQ(device->CreateVertexBuffer(bytes, 0, plat::FVF_MESH, plat::POOL_MANAGED, &vb), plat::OK);
    void* p = nullptr;
    vb->Lock(0, 0, &p, 0);
    std::memcpy(p, vertices.data(), bytes);
    vb->Unlock();
    owned.push_back(vb);
    return vb;
}

plat::VertexBuffer* GlTest::MakeQuad(float x0, float y0, float x1, float y1, float z, float zRight, Normal n) {
    const float z1 = std::isnan(zRight) ? z : zRight;
    // Bottom-left, top-left, bottom-right, top-right: clockwise on screen.
    return MakeBuffer({{x0, y0, z, n.x, n.y, n.z, 0, 1},
                       {x0, y1, z, n.x, n.y, n.z, 0, 0},
                       {x1, y0, z1, n.x, n.y, n.z, 1, 1},
                       {x1, y1, z1, n.x, n.y, n.z, 1, 0}});
}

plat::Texture* GlTest::MakeImage(uint32_t w, uint32_t h, const std::vector<uint32_t>& argb) {
    plat::TextureImage image;
    image.width = image.sourceWidth = w;
    image.height = image.sourceHeight = h;
    image.argb = argb;
    plat::Texture* t = nullptr;
    EXPECT_EQ(device->CreateTextureFromImage(image, "test", &t), plat::OK);
    owned.push_back(t);
    return t;
}

void GlTest::DrawStrip(plat::VertexBuffer* vb, uint32_t triangles) {
    device->SetFVF(plat::FVF_MESH);
    device->SetStreamSource(0, vb, 0, 32);
    EXPECT_EQ(device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 0, triangles), plat::OK);
}

std::vector<uint32_t> GlTest::Read() {
    std::vector<uint32_t> pixels;
    EXPECT_TRUE(backend->ReadBackBuffer(&pixels));
    return pixels;
}

uint32_t GlTest::At(int x, int y) { return Rgb(Read()[static_cast<size_t>(y) * 800 + x]); }

}  // namespace gltest
