// The GL device against the device rules the game relies on: clears, lighting, winding and
// handedness, depth range, alpha test, fill mode, texturing and reset.
#include <cmath>
#include "gl_fixture.h"

using namespace gltest;
using namespace plat;

namespace {

Light GameLight0() {
    Light l{};
    l.type = LIGHT_POINT;
    l.position = {200.0f, 5000.0f, 200.0f};
    l.diffuse = {0.95f, 0.95f, 0.95f, 0.0f};
    l.ambient = {0.82f, 0.82f, 0.82f, 0.0f};
    l.range = 100000.0f;
    l.attenuation1 = 0.00019f;
    return l;
}

Light GameLight1() {
    Light l{};
    l.type = LIGHT_DIRECTIONAL;
    Vector3 dir{0.8f, -0.4f, 0.4f};
    Vec3Normalize(&l.direction, &dir);
    l.diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    l.ambient = {0.75f, 0.75f, 0.75f, 0.0f};
    l.range = 1000.0f;
    return l;
}

}  // namespace

TEST_F(GlTest, ClearFillsTheTargetAndResetsDepthWhateverTheZWriteState) {
    device->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, 0x00323232u, 1.0f, 0);
    for (uint32_t c : Read()) ASSERT_EQ(Rgb(c), 0x323232u);

    // A near quad fills the depth buffer; with z-writes off a clear must still reset it.
    UseClipSpace();
    device->SetRenderState(RS_LIGHTING, 0);
    DrawStrip(MakeQuad(-1, -1, 1, 1, 0.2f));
    device->SetRenderState(RS_ZWRITEENABLE, 0);
    DrawStrip(MakeQuad(-1, -1, 1, 1, 0.1f));  // drawn with z-writes off
    device->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    DrawStrip(MakeQuad(-1, -1, 1, 1, 0.8f));
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0xFFFFFFu);
}

TEST_F(GlTest, LightingFollowsTheDirect3DRules) {
    UseGameCamera();
    UseGameMaterial();
    device->SetTexture(0, MakeTexture(0xFFFFFFFFu));
    VertexBuffer* facingCamera = MakeQuad(-1, -1, 1, 1, 5, 0, 0, -1);
    VertexBuffer* facingUp = MakeQuad(-1, -1, 1, 1, 5, 0, 1, 0);
    VertexBuffer* facingPlusX = MakeQuad(-1, -1, 1, 1, 5, 1, 0, 0);
    VertexBuffer* facingMinusX = MakeQuad(-1, -1, 1, 1, 5, -1, 0, 0);

    // Lighting on and no light enabled: no global ambient, so black.
    DrawStrip(facingCamera);
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0u);

    // Light 0 as the game sets it: a point light high above. A face turned away from it gets the
    // light's ambient 0.82, attenuated by 1 / (0.00019 d) with d about 5008: 0.862.
    Light l0 = GameLight0();
    device->SetLight(0, &l0);
    device->LightEnable(0, true);
    DrawStrip(facingCamera);
    uint32_t c = PixelAt(400, 300);
    EXPECT_NEAR(Red(c), 220, 2);
    EXPECT_EQ(Red(c), Green(c));
    EXPECT_EQ(Red(c), Blue(c));
    // A face turned up towards it saturates.
    DrawStrip(facingUp);
    EXPECT_GE(Red(PixelAt(400, 300)), 254);

    // Light 1, directional along normalize(0.8, -0.4, 0.4): light falls on faces turned towards
    // -x; a face towards +x keeps the ambient 0.75 alone.
    device->LightEnable(0, false);
    Light l1 = GameLight1();
    device->SetLight(1, &l1);
    device->LightEnable(1, true);
    DrawStrip(facingPlusX);
    EXPECT_NEAR(Red(PixelAt(400, 300)), 191, 2);
    DrawStrip(facingMinusX);
    EXPECT_GE(Red(PixelAt(400, 300)), 254);
}

TEST_F(GlTest, LightsStayInWorldSpaceWhenTheViewMoves) {
    UseGameCamera();
    UseGameMaterial();
    Light near{};
    near.type = LIGHT_POINT;
    near.diffuse = {0.5f, 0.5f, 0.5f, 0.0f};
    near.position = {0.0f, 3.0f, 2.0f};
    near.attenuation0 = 1.0f;
    near.range = 100.0f;
    device->SetLight(0, &near);
    device->LightEnable(0, true);
    DrawStrip(MakeQuad(-1, -1, 1, 1, 5, 0, 0, -1));
    uint32_t here = PixelAt(400, 300);
    EXPECT_GT(Red(here), 60);
    EXPECT_LT(Red(here), 120);

    // The same scene ten units along x: camera, quad and light all moved.
    device->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    Matrix view, world;
    Vector3 eye{10, 0, 0}, at{10, 0, 1}, up{0, 1, 0};
    MatrixLookAtLH(&view, &eye, &at, &up);
    device->SetTransform(TS_VIEW, &view);
    MatrixTranslation(&world, 10, 0, 0);
    device->SetTransform(TS_WORLD, &world);
    near.position = {10.0f, 3.0f, 2.0f};
    device->SetLight(0, &near);
    DrawStrip(MakeQuad(-1, -1, 1, 1, 5, 0, 0, -1));
    EXPECT_NEAR(Red(PixelAt(400, 300)), Red(here), 1);

    // A directional light keeps its world direction when the camera turns: looking along +x at
    // a face towards -x, a light travelling along +x lights it fully, one along -x not at all.
    device->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    device->LightEnable(0, false);
    Vector3 origin{0, 0, 0}, alongX{1, 0, 0};
    MatrixLookAtLH(&view, &origin, &alongX, &up);
    device->SetTransform(TS_VIEW, &view);
    MatrixIdentity(&world);
    device->SetTransform(TS_WORLD, &world);
    Light sun{};
    sun.type = LIGHT_DIRECTIONAL;
    sun.diffuse = {1, 1, 1, 0};
    sun.direction = {1, 0, 0};
    device->SetLight(2, &sun);
    device->LightEnable(2, true);
    // Upright quad at x = 5 across z, clockwise as seen from the origin looking along +x.
    VertexBuffer* wall = MakeBuffer({{5, -1, 1, -1, 0, 0, 0, 1},
                                     {5, 1, 1, -1, 0, 0, 0, 0},
                                     {5, -1, -1, -1, 0, 0, 1, 1},
                                     {5, 1, -1, -1, 0, 0, 1, 0}});
    DrawStrip(wall);
    EXPECT_GE(Red(PixelAt(400, 300)), 254);
    sun.direction = {-1, 0, 0};
    device->SetLight(2, &sun);
    DrawStrip(wall);
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0u);
}

TEST_F(GlTest, ClockwiseFacesAreFrontsAndCounterClockwiseAreCulled) {
    UseClipSpace();
    device->SetRenderState(RS_LIGHTING, 0);
    VertexBuffer* clockwise = MakeQuad(-0.5f, -0.5f, 0.5f, 0.5f, 0.5f);
    VertexBuffer* counter = MakeBuffer({{-0.5f, -0.5f, 0.5f, 0, 0, -1, 0, 1},
                                        {0.5f, -0.5f, 0.5f, 0, 0, -1, 1, 1},
                                        {-0.5f, 0.5f, 0.5f, 0, 0, -1, 0, 0},
                                        {0.5f, 0.5f, 0.5f, 0, 0, -1, 1, 0}});
    DrawStrip(clockwise);
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0xFFFFFFu);
    device->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    DrawStrip(counter);
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0u);
    device->SetRenderState(RS_CULLMODE, CULL_NONE);
    DrawStrip(counter);
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0xFFFFFFu);

    // A fan of the same clockwise quad is a front too.
    device->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    device->SetRenderState(RS_CULLMODE, CULL_CCW);
    VertexBuffer* fan = MakeBuffer({{-0.5f, -0.5f, 0.5f, 0, 0, -1, 0, 1},
                                    {-0.5f, 0.5f, 0.5f, 0, 0, -1, 0, 0},
                                    {0.5f, 0.5f, 0.5f, 0, 0, -1, 1, 0},
                                    {0.5f, -0.5f, 0.5f, 0, 0, -1, 1, 1}});
    device->SetStreamSource(0, fan, 0, 32);
    EXPECT_EQ(device->DrawPrimitive(PT_TRIANGLEFAN, 0, 2), OK);
    EXPECT_EQ(Rgb(PixelAt(300, 200)), 0xFFFFFFu);
    EXPECT_EQ(Rgb(PixelAt(500, 400)), 0xFFFFFFu);
}

TEST_F(GlTest, GameCameraIsLeftHandedWithTheDirect3DDepthRange) {
    UseGameCamera();
    device->SetRenderState(RS_LIGHTING, 0);
    // +x is right and +y is up on screen.
    DrawStrip(MakeQuad(1.2f, 0.8f, 1.8f, 1.4f, 5));
    int px = 400 + static_cast<int>(1.5f / (5 * std::tan(0.3926991f) * 800.0f / 600.0f) * 400);
    int py = 300 - static_cast<int>(1.1f / (5 * std::tan(0.3926991f)) * 300);
    EXPECT_EQ(Rgb(PixelAt(px, py)), 0xFFFFFFu);
    EXPECT_EQ(Rgb(PixelAt(800 - px, py)), 0u);
    EXPECT_EQ(Rgb(PixelAt(px, 600 - py)), 0u);

    // In front of the near plane (z 1) nothing is drawn; just behind it, it is.
    device->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    DrawStrip(MakeQuad(-0.2f, -0.2f, 0.2f, 0.2f, 0.9f));
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0u);
    DrawStrip(MakeQuad(-0.2f, -0.2f, 0.2f, 0.2f, 1.1f));
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0xFFFFFFu);

    // Depth LESSEQUAL: a farther quad stays hidden, a coplanar re-draw wins.
    device->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    device->SetTexture(0, MakeTexture(0xFFFF0000u));
    DrawStrip(MakeQuad(-1, -1, 1, 1, 5));
    device->SetTexture(0, MakeTexture(0xFF00FF00u));
    DrawStrip(MakeQuad(-1, -1, 1, 1, 8));
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0xFF0000u);
    DrawStrip(MakeQuad(-1, -1, 1, 1, 5));
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0x00FF00u);
}

TEST_F(GlTest, AlphaTestKeepsOnlyTexelsAboveTheReference) {
    UseClipSpace();
    device->SetRenderState(RS_LIGHTING, 0);
    UseGameMaterial();
    device->SetSamplerState(0, SAMP_MINFILTER, TEXF_POINT);
    device->SetSamplerState(0, SAMP_MAGFILTER, TEXF_POINT);
    TextureImage image;
    image.width = image.height = 2;
    image.argb = {0xFFFF0000u, 0xFEFF0000u, 0xFFFF0000u, 0xFEFF0000u};  // left opaque, right 254
    Texture* t = nullptr;
    ASSERT_EQ(device->CreateTextureFromImage(image, "alpha", &t), OK);
    owned.push_back(t);
    device->SetTexture(0, t);
    device->SetRenderState(RS_ALPHATESTENABLE, 1);
    device->SetRenderState(RS_ALPHAREF, 254);
    device->SetRenderState(RS_ALPHAFUNC, CMP_GREATER);
    device->SetRenderState(RS_ALPHABLENDENABLE, 1);
    device->SetRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
    device->SetRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
    DrawStrip(MakeQuad(-1, -1, 1, 1, 0.5f));
    EXPECT_EQ(Rgb(PixelAt(200, 300)), 0xFF0000u);
    EXPECT_EQ(Rgb(PixelAt(600, 300)), 0u);
    // With the reference at 0 the 254 texels blend in almost fully.
    device->SetRenderState(RS_ALPHAREF, 0);
    DrawStrip(MakeQuad(-1, -1, 1, 1, 0.5f));
    EXPECT_GE(Red(PixelAt(600, 300)), 252);
}

TEST_F(GlTest, WireframeFillDrawsOnlyTheEdges) {
    UseClipSpace();
    device->SetRenderState(RS_LIGHTING, 0);
    VertexBuffer* quad = MakeQuad(-0.5f, -0.5f, 0.5f, 0.5f, 0.5f);
    device->SetRenderState(RS_FILLMODE, FILL_WIREFRAME);
    DrawStrip(quad);
    std::vector<uint32_t> px = Read();
    EXPECT_EQ(Rgb(px[400 * 800 + 250]), 0u);  // inside, off the diagonal
    int edge = 0;
    for (int x = 197; x <= 203; ++x) edge += Rgb(px[300 * 800 + x]) == 0xFFFFFFu;
    EXPECT_GT(edge, 0);
    device->SetRenderState(RS_FILLMODE, FILL_SOLID);
    DrawStrip(quad);
    EXPECT_EQ(Rgb(PixelAt(250, 400)), 0xFFFFFFu);
}

TEST_F(GlTest, TextureModulatesTheLitColourAndNoTextureShowsTheMaterial) {
    UseGameCamera();
    UseGameMaterial();
    Material green{};
    green.diffuse = {0, 1, 0, 1};
    device->SetMaterial(&green);
    Light sun{};
    sun.type = LIGHT_DIRECTIONAL;
    sun.diffuse = {1, 1, 1, 0};
    sun.direction = {0, 0, 1};
    device->SetLight(0, &sun);
    device->LightEnable(0, true);
    VertexBuffer* quad = MakeQuad(-1, -1, 1, 1, 5);
    DrawStrip(quad);
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0x00FF00u);
    device->SetTexture(0, MakeTexture(0xFF80FF00u));
    DrawStrip(quad);
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0x00FF00u);
    device->SetTexture(0, MakeTexture(0xFFFF0000u));
    DrawStrip(quad);
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0u);
    device->SetTexture(0, nullptr);
    DrawStrip(quad);
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0x00FF00u);
}

TEST_F(GlTest, ABoundTextureOutlivesItsLastRelease) {
    UseClipSpace();
    device->SetRenderState(RS_LIGHTING, 0);
    UseGameMaterial();
    Texture* t = MakeTexture(0xFF0000FFu);
    owned.pop_back();
    device->SetTexture(0, t);
    t->Release();  // the game lets go; the device still holds it while bound
    DrawStrip(MakeQuad(-1, -1, 1, 1, 0.5f));
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0x0000FFu);
    device->SetTexture(0, nullptr);  // now it goes
}

TEST_F(GlTest, ResetReturnsEveryStateToItsDefault) {
    UseGameCamera();
    UseGameMaterial();
    Light l0 = GameLight0();
    device->SetLight(0, &l0);
    device->LightEnable(0, true);
    device->SetRenderState(RS_FILLMODE, FILL_WIREFRAME);
    device->SetTexture(0, MakeTexture(0xFFFFFFFFu));
    VertexBuffer* quad = MakeQuad(-1, -1, 1, 1, 5, 0, 1, 0);
    DrawStrip(quad);

    device->ResetState();
    const DeviceState& s = device->State();
    EXPECT_EQ(s.renderState[RS_FILLMODE], static_cast<uint32_t>(FILL_SOLID));
    EXPECT_EQ(s.texture, nullptr);
    EXPECT_FALSE(s.lightEnabled[0]);
    // Buffers survive; with every light off the quad is black, and solid again.
    device->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF808080u, 1.0f, 0);
    UseGameCamera();
    UseGameMaterial();
    DrawStrip(quad);
    EXPECT_EQ(Rgb(PixelAt(400, 300)), 0u);
    EXPECT_EQ(Rgb(PixelAt(420, 320)), 0u);
}
