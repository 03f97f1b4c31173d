// The GL device against the device rules the game relies on: lighting, winding, depth range and
// clears, then texturing, alpha test and reset as a table of small cases.
#include <cmath>
#include <functional>
#include "gl_fixture.h"

using namespace gltest;
using namespace plat;

TEST_F(GlTest, LightingFollowsTheDirect3DRulesInWorldSpace) {
    UseGameCamera();
    UseGameMaterial();
    device->SetTexture(0, MakeTexture(0xFFFFFFFFu));
    auto facing = [&](Normal n) { return MakeQuad(-1, -1, 1, 1, 5, 5, n); };

    // Lighting on and no light enabled: no global ambient, so black.
    DrawStrip(facing({0, 0, -1}));
    EXPECT_EQ(Centre(), 0u);

    // Light 0 as the game sets it: a point light high above. A face turned away from it gets the
    // light's ambient 0.82, attenuated by 1 / (0.00019 d) with d about 5008: 0.862.
    Light l0 = PointLight({200, 5000, 200}, 0.95f, 0.82f, 100000, 0, 0.00019f);
    device->SetLight(0, &l0);
    device->LightEnable(0, true);
    DrawStrip(facing({0, 0, -1}));
    EXPECT_NEAR(Red(Centre()), 220, 2);
    EXPECT_EQ(Centre(), Red(Centre()) * 0x010101u);
    DrawStrip(facing({0, 1, 0}));  // turned up towards it: saturated
    EXPECT_GE(Red(Centre()), 254);

    // Light 1, directional along normalize(0.8, -0.4, 0.4): a face towards +x keeps the ambient
    // 0.75 alone, one towards -x is fully lit.
    device->LightEnable(0, false);
    Light l1 = DirectionalLight({0.8f, -0.4f, 0.4f}, 1, 0.75f);
    device->SetLight(1, &l1);
    device->LightEnable(1, true);
    DrawStrip(facing({1, 0, 0}));
    EXPECT_NEAR(Red(Centre()), 191, 2);
    DrawStrip(facing({-1, 0, 0}));
    EXPECT_GE(Red(Centre()), 254);
    device->LightEnable(1, false);

    // A near point light: the same scene ten units along x (camera, quad and light moved) looks
    // the same.
    Light near = PointLight({0, 3, 2}, 0.5f, 0, 100, 1, 0);
    device->SetLight(0, &near);
    device->LightEnable(0, true);
    DrawStrip(facing({0, 0, -1}));
    const uint32_t here = Red(Centre());
    EXPECT_GT(here, 60u);
    EXPECT_LT(here, 120u);
    ClearBlack();
    Matrix view, world;
    Vector3 eye{10, 0, 0}, at{10, 0, 1}, up{0, 1, 0};
    MatrixLookAtLH(&view, &eye, &at, &up);
    device->SetTransform(TS_VIEW, &view);
    MatrixTranslation(&world, 10, 0, 0);
    device->SetTransform(TS_WORLD, &world);
    near.position.x = 10.0f;
    device->SetLight(0, &near);
    DrawStrip(facing({0, 0, -1}));
    EXPECT_NEAR(Red(Centre()), here, 1);

    // A directional light keeps its world direction when the camera turns to look along +x at a
    // wall facing -x: light travelling along +x lights it fully, along -x not at all.
    device->LightEnable(0, false);
    ClearBlack();
    Vector3 origin{0, 0, 0}, alongX{1, 0, 0};
    MatrixLookAtLH(&view, &origin, &alongX, &up);
    device->SetTransform(TS_VIEW, &view);
    MatrixIdentity(&world);
    device->SetTransform(TS_WORLD, &world);
    VertexBuffer* wall = MakeBuffer({{5, -1, 1, -1, 0, 0, 0, 1},
                                     {5, 1, 1, -1, 0, 0, 0, 0},
                                     {5, -1, -1, -1, 0, 0, 1, 1},
                                     {5, 1, -1, -1, 0, 0, 1, 0}});
    for (float along : {1.0f, -1.0f}) {
        Light sun = DirectionalLight({along, 0, 0}, 1);
        device->SetLight(2, &sun);
        device->LightEnable(2, true);
        DrawStrip(wall);
        EXPECT_EQ(Centre(), along > 0 ? 0xFFFFFFu : 0u);
    }
}

TEST_F(GlTest, ClockwiseFacesAreFrontsAndCounterClockwiseAreCulled) {
    UseUnlitClipSpace();
    auto buffer = [&](std::initializer_list<std::pair<float, float>> corners) {
        std::vector<Vertex> v;
        for (auto [x, y] : corners) v.push_back({x, y, 0.5f, 0, 0, -1, 0, 0});
        return MakeBuffer(v);
    };
    VertexBuffer* counter = buffer({{-0.5f, -0.5f}, {0.5f, -0.5f}, {-0.5f, 0.5f}, {0.5f, 0.5f}});
    DrawStrip(MakeQuad(-0.5f, -0.5f, 0.5f, 0.5f, 0.5f));
    EXPECT_EQ(Centre(), 0xFFFFFFu);
    ClearBlack();
    DrawStrip(counter);
    EXPECT_EQ(Centre(), 0u);
    device->SetRenderState(RS_CULLMODE, CULL_NONE);
    DrawStrip(counter);
    EXPECT_EQ(Centre(), 0xFFFFFFu);

    // A fan of the clockwise quad is a front too, both its triangles.
    ClearBlack();
    device->SetRenderState(RS_CULLMODE, CULL_CCW);
    device->SetStreamSource(0, buffer({{-0.5f, -0.5f}, {-0.5f, 0.5f}, {0.5f, 0.5f}, {0.5f, -0.5f}}), 0, 32);
    EXPECT_EQ(device->DrawPrimitive(PT_TRIANGLEFAN, 0, 2), OK);
    EXPECT_EQ(At(300, 200), 0xFFFFFFu);
    EXPECT_EQ(At(500, 400), 0xFFFFFFu);
}

TEST_F(GlTest, GameCameraIsLeftHandedWithTheDirect3DDepthRange) {
    UseGameCamera();
    device->SetRenderState(RS_LIGHTING, 0);
    // +x is right and +y is up on screen.
    DrawStrip(MakeQuad(1.2f, 0.8f, 1.8f, 1.4f, 5));
    int px = 400 + static_cast<int>(1.5f / (5 * std::tan(0.3926991f) * 800.0f / 600.0f) * 400);
    int py = 300 - static_cast<int>(1.1f / (5 * std::tan(0.3926991f)) * 300);
    EXPECT_EQ(At(px, py), 0xFFFFFFu);
    EXPECT_EQ(At(800 - px, py), 0u);
    EXPECT_EQ(At(px, 600 - py), 0u);

    // In front of the near plane (z 1) nothing is drawn; just behind it, it is.
    ClearBlack();
    DrawStrip(MakeQuad(-0.2f, -0.2f, 0.2f, 0.2f, 0.9f));
    EXPECT_EQ(Centre(), 0u);
    DrawStrip(MakeQuad(-0.2f, -0.2f, 0.2f, 0.2f, 1.1f));
    EXPECT_EQ(Centre(), 0xFFFFFFu);

    // Depth LESSEQUAL: a farther quad stays hidden, a coplanar re-draw wins.
    ClearBlack();
    Texture* red = MakeTexture(0xFFFF0000u);
    device->SetTexture(0, red);
    DrawStrip(MakeQuad(-1, -1, 1, 1, 5));
    device->SetTexture(0, MakeTexture(0xFF00FF00u));
    DrawStrip(MakeQuad(-1, -1, 1, 1, 8));
    EXPECT_EQ(Centre(), 0xFF0000u);
    DrawStrip(MakeQuad(-1, -1, 1, 1, 5));
    EXPECT_EQ(Centre(), 0x00FF00u);

    // A clear resets depth even while z-writes are off.
    device->SetRenderState(RS_ZWRITEENABLE, 0);
    DrawStrip(MakeQuad(-1, -1, 1, 1, 5));
    ClearBlack();
    device->SetRenderState(RS_ZWRITEENABLE, 1);
    device->SetTexture(0, red);
    DrawStrip(MakeQuad(-1, -1, 1, 1, 8));
    EXPECT_EQ(Centre(), 0xFF0000u);
}

// Each case starts from a reset device looking at a white quad at z 5 from the game's camera,
// with the game's material; the case sets what it tests and names the pixel the quad must give.
TEST_F(GlTest, TexturingAlphaTestAndResetGiveTheirPixels) {
    VertexBuffer* quad = MakeQuad(-1, -1, 1, 1, 5);  // x 255..545 and y 155..445 on screen
    Texture* rightAt254 = MakeImage(2, 2, {0xFFFF0000u, 0xFEFF0000u, 0xFFFF0000u, 0xFEFF0000u});
    auto alphaTest = [&](uint32_t ref) {
        return [&, ref] {
            device->SetRenderState(RS_LIGHTING, 0);
            device->SetSamplerState(0, SAMP_MINFILTER, TEXF_POINT);
            device->SetSamplerState(0, SAMP_MAGFILTER, TEXF_POINT);
            device->SetTexture(0, rightAt254);
            device->SetRenderState(RS_ALPHATESTENABLE, 1);
            device->SetRenderState(RS_ALPHAREF, ref);
            device->SetRenderState(RS_ALPHAFUNC, CMP_GREATER);
            device->SetRenderState(RS_ALPHABLENDENABLE, 1);
            device->SetRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
            device->SetRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
        };
    };
    Light sun = DirectionalLight({0, 0, 1}, 1);
    auto greenLit = [&](Texture* t) {
        return [&, t] {
            Material green{};
            green.diffuse = {0, 1, 0, 1};
            device->SetMaterial(&green);
            device->SetLight(0, &sun);
            device->LightEnable(0, true);
            device->SetTexture(0, t);
        };
    };
    struct Case {
        const char* what;
        std::function<void()> setUp;
        int x;
        uint32_t rgb;
    } cases[] = {
        {"alpha 255 passes reference 254", alphaTest(254), 300, 0xFF0000u},
        {"alpha 254 fails reference 254", alphaTest(254), 500, 0u},
        {"alpha 254 blends in over reference 0", alphaTest(0), 500, 0xFE0000u},
        {"no texture shows the lit material", greenLit(nullptr), 400, 0x00FF00u},
        {"a texture modulates the lit colour", greenLit(MakeTexture(0xFF80FF00u)), 400, 0x00FF00u},
        {"red texture under green light", greenLit(MakeTexture(0xFFFF0000u)), 400, 0u},
        {"a bound texture outlives its last release",
         [&] {
             device->SetRenderState(RS_LIGHTING, 0);
             Texture* t = MakeTexture(0xFF0000FFu);
             owned.pop_back();
             device->SetTexture(0, t);
             t->Release();  // the device still holds it while bound
         },
         400, 0x0000FFu},
        {"reset: every light off and solid fill again",
         [&] {
             greenLit(MakeTexture(0xFFFFFFFFu))();
             device->SetRenderState(RS_FILLMODE, FILL_WIREFRAME);
             DrawStrip(quad);
             device->ResetState();
             EXPECT_EQ(device->State().texture, nullptr);
             device->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF808080u, 1.0f, 0);
             UseGameCamera();
             UseGameMaterial();
         },
         420, 0u},
    };
    for (const Case& c : cases) {
        device->ResetState();
        ClearBlack();
        UseGameCamera();
        UseGameMaterial();
        c.setUp();
        DrawStrip(quad);
        const uint32_t got = At(c.x, 300);
        EXPECT_EQ(Differing({got}, {c.rgb}), 0) << c.what << ": " << std::hex << got;
    }
}
