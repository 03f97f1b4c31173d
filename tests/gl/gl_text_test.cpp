// Text: Windows-1252 conversion, cell heights, drawing inside the rectangle only, independence
// from the scene's device states, the string cache and the loading message.
#include "gl_fixture.h"
#include "platform/sdl/gl_font.h"
#include "platform/sdl/gl_text.h"

using namespace gltest;
using namespace plat;

namespace {
Font* MakeFont(GlDevice* device, int32_t height) {
    FontDesc desc;
    desc.height = height;
    desc.faceName = "MICROSOFT SANS SERIF";
    Font* f = nullptr;
    EXPECT_EQ(device->CreateFontObject(desc, &f), OK);
    return f;
}

bool Inside(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }
}  // namespace

TEST(Cp1252, GameCharactersBecomeUtf8) {
    EXPECT_EQ(Cp1252ToUtf8("Hook bait: Boilie", -1), "Hook bait: Boilie");
    EXPECT_EQ(Cp1252ToUtf8("\x85\x91\x92\x96", -1), "\xE2\x80\xA6\xE2\x80\x98\xE2\x80\x99\xE2\x80\x93");
    EXPECT_EQ(Cp1252ToUtf8("\xA3" "5 \xE9", -1), "\xC2\xA3" "5 \xC3\xA9");
    EXPECT_EQ(Cp1252ToUtf8("a\x81" "b", -1), "ab");  // unassigned byte dropped
    EXPECT_EQ(Cp1252ToUtf8("abcdef", 3), "abc");
}

TEST_F(GlTest, FontsHaveTheRequestedCellHeight) {
    for (int32_t h : {16, 22, 32}) {
        Font* f = MakeFont(device, h);
        ASSERT_NE(f, nullptr);
        owned.push_back(f);
        EXPECT_EQ(f->Height(), h);
        Rect r{0, 0, 780, 50};
        int32_t drawn = f->DrawText("Wendlow Lake", -1, &r, 0, 0xFFFAFAFAu);
        EXPECT_GE(drawn, h - 1) << h;
        EXPECT_LE(drawn, h) << h;
    }
}

TEST_F(GlTest, TextDrawsInItsColourInsideItsRectangleOnly) {
    Font* f = MakeFont(device, 32);
    owned.push_back(f);
    Rect r{100, 100, 300, 150};  // far narrower than the text: clipped on the right
    f->DrawText("Harrowmere Fisheries \x96 Wendlow Lake", -1, &r, 0, 0xFFFA1414u);
    std::vector<uint32_t> px = Read();
    int inside = 0, strongest = 0;
    uint32_t best = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            uint32_t c = Rgb(px[y * 800 + x]);
            if (!Inside(r, x, y)) {
                ASSERT_EQ(c, 0u) << "outside at " << x << "," << y;
                continue;
            }
            if (Red(c) > 100) ++inside;
            if (Red(c) > strongest) {
                strongest = Red(c);
                best = c;
            }
        }
    EXPECT_GT(inside, 200);
    EXPECT_EQ(best, 0xFA1414u);
    // Something reaches the right edge of the rectangle (the text went on past it).
    bool atEdge = false;
    for (int y = r.top; y < r.bottom; ++y) atEdge |= Red(px[y * 800 + r.right - 3]) > 0 || Red(px[y * 800 + r.right - 2]) > 0;
    EXPECT_TRUE(atEdge);
}

TEST_F(GlTest, TextIgnoresSceneStatesAndLeavesThemInForce) {
    UseClipSpace();
    UseGameMaterial();
    device->SetRenderState(RS_FILLMODE, FILL_WIREFRAME);
    device->SetRenderState(RS_ALPHATESTENABLE, 1);
    device->SetRenderState(RS_ALPHAREF, 254);
    device->SetRenderState(RS_ALPHAFUNC, CMP_GREATER);
    device->SetRenderState(RS_CULLMODE, CULL_CW);
    device->SetRenderState(RS_LIGHTING, 0);
    VertexBuffer* quad = MakeQuad(-0.5f, -0.5f, 0.5f, 0.5f, 0.5f);
    device->SetRenderState(RS_CULLMODE, CULL_NONE);
    DrawStrip(quad);  // a draw before the text, in wireframe

    Font* f = MakeFont(device, 32);
    owned.push_back(f);
    Rect r{20, 20, 780, 70};
    f->Begin();
    f->DrawText("Quellan", -1, &r, 0, 0xFFFFFFFFu);
    f->End();
    std::vector<uint32_t> px = Read();
    int full = 0, partial = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < 300; ++x) {
            uint8_t v = Red(px[y * 800 + x]);
            full += v == 255;
            partial += v > 0 && v < 200;
        }
    EXPECT_GT(full, 50);
    EXPECT_GT(partial, 20);  // antialiased edges survive the scene's alpha test

    // The scene's states are still in force: wireframe, no lighting.
    device->Clear(0, nullptr, CLEAR_TARGET | CLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
    DrawStrip(quad);
    EXPECT_EQ(Rgb(PixelAt(250, 400)), 0u);
    int edge = 0;
    for (int x = 197; x <= 203; ++x) edge += Rgb(PixelAt(x, 300)) == 0xFFFFFFu;
    EXPECT_GT(edge, 0);
}

TEST_F(GlTest, RepeatedTextsComeFromTheCache) {
    Font* f = MakeFont(device, 16);
    owned.push_back(f);
    auto* gf = static_cast<GlFont*>(f);
    Rect r{10, 10, 780, 60};
    for (int p = 0; p < 50; ++p) f->DrawText("Fish here", -1, &r, 0, 0xFFFA0000u + p * 0x101u);
    EXPECT_EQ(gf->CachedTexts(), 1u);
    char line[32];
    for (int i = 0; i < 400; ++i) {
        std::snprintf(line, sizeof line, "Line %d", i);
        f->DrawText(line, -1, &r, 0, 0xFFFAFAFAu);
    }
    EXPECT_LE(gf->CachedTexts(), GlFont::kCacheCapacity);
}

TEST_F(GlTest, LoadingMessageIsDarkTextCentredOnWhite) {
    backend->PaintWindowText("Loading 'QUELLAN' version 1.3 ... please wait");
    std::vector<uint32_t> px = Read();
    EXPECT_EQ(Rgb(px[0]), 0xFFFFFFu);
    EXPECT_EQ(Rgb(px[599 * 800 + 799]), 0xFFFFFFu);
    int dark = 0, darkTop = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            if (Red(px[y * 800 + x]) < 100) {
                ++dark;
                if (y < 280 || y > 320 || x < 150 || x > 650) ++darkTop;
            }
    EXPECT_GT(dark, 100);
    EXPECT_EQ(darkTop, 0);
}
