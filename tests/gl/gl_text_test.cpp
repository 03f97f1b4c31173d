// Text: Windows-1252 conversion, cell heights, drawing inside the rectangle only, independence
// from the scene's device states, the string cache and the loading message.
#include "gl_fixture.h"
#include "platform/sdl/gl_font.h"
#include "platform/sdl/gl_text.h"

using namespace gltest;
using namespace plat;

namespace {

class TextTest : public GlTest {
protected:
    Font* MakeFont(int32_t height) {
        FontDesc desc;
        desc.height = height;
        desc.faceName = "MICROSOFT SANS SERIF";
        Font* f = nullptr;
        EXPECT_EQ(device->CreateFontObject(desc, &f), OK);
        if (f) owned.push_back(f);
        return f;
    }
};

}  // namespace

TEST(Cp1252, GameCharactersBecomeUtf8) {
    EXPECT_EQ(Cp1252ToUtf8("\x85\x91\x92\x96", -1), "\xE2\x80\xA6\xE2\x80\x98\xE2\x80\x99\xE2\x80\x93");
    EXPECT_EQ(Cp1252ToUtf8("\xA3" "5 \xE9", -1), "\xC2\xA3" "5 \xC3\xA9");
    EXPECT_EQ(Cp1252ToUtf8("a\x81" "b", -1), "ab");  // unassigned byte dropped
    EXPECT_EQ(Cp1252ToUtf8("abcdef", 3), "abc");
}

TEST_F(TextTest, FontsHaveTheRequestedCellHeightAndABoundedCache) {
    for (int32_t h : {16, 22, 32}) {
        Font* f = MakeFont(h);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->Height(), h);
        Rect r{0, 0, 780, 50};
        const int32_t drawn = f->DrawText("Wendlow Lake", -1, &r, 0, 0xFFFAFAFAu);
        EXPECT_EQ(drawn, h);
    }
    // One text in many colours is one cached string; many texts stay within the capacity.
    auto* f = static_cast<GlFont*>(MakeFont(16));
    Rect r{10, 10, 780, 60};
    for (uint32_t p = 0; p < 50; ++p) f->DrawText("Fish here", -1, &r, 0, 0xFFFA0000u + p * 0x101u);
    EXPECT_EQ(f->CachedTexts(), 1u);
    for (int i = 0; i < 400; ++i) f->DrawText(("Line " + std::to_string(i)).c_str(), -1, &r, 0, 0xFFFAFAFAu);
    EXPECT_LE(f->CachedTexts(), GlFont::CACHE_CAPACITY);
}

TEST_F(TextTest, TextDrawsInItsColourInsideItsRectangleOnly) {
    Rect r{100, 100, 300, 150};  // far narrower than the text: clipped on the right
    MakeFont(32)->DrawText("Harrowmere Fisheries \x96 Wendlow Lake", -1, &r, 0, 0xFFFA1414u);
    std::vector<uint32_t> px = Read();
    int inside = 0;
    uint32_t strongest = 0;
    bool atEdge = false;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const uint32_t c = Rgb(px[y * 800 + x]);
            if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) {
                ASSERT_EQ(c, 0u) << "outside at " << x << "," << y;
                continue;
            }
            inside += Red(c) > 100;
            if (Red(c) > Red(strongest)) strongest = c;
            atEdge |= x >= r.right - 3 && Red(c) > 0;  // the text went on past the edge
        }
    EXPECT_GT(inside, 200);
    EXPECT_EQ(strongest, 0xFA1414u);
    EXPECT_TRUE(atEdge);
}

TEST_F(TextTest, TextIgnoresSceneStatesAndLeavesThemInForce) {
    UseUnlitClipSpace();
    UseGameMaterial();
    device->SetRenderState(RS_FILLMODE, FILL_WIREFRAME);
    device->SetRenderState(RS_ALPHATESTENABLE, 1);
    device->SetRenderState(RS_ALPHAREF, 254);
    device->SetRenderState(RS_ALPHAFUNC, CMP_GREATER);
    device->SetRenderState(RS_CULLMODE, CULL_NONE);
    VertexBuffer* quad = MakeQuad(-0.5f, -0.5f, 0.5f, 0.5f, 0.5f);
    DrawStrip(quad);  // a draw before the text, in wireframe

    Font* f = MakeFont(32);
    Rect r{20, 20, 780, 70};
    f->Begin();
    f->DrawText("Quellan", -1, &r, 0, 0xFFFFFFFFu);
    f->End();
    std::vector<uint32_t> px = Read();
    int full = 0, partial = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < 300; ++x) {
            const uint8_t v = Red(px[y * 800 + x]);
            full += v == 255;
            partial += v > 0 && v < 200;
        }
    EXPECT_GT(full, 50);
    EXPECT_GT(partial, 20);  // antialiased edges survive the scene's alpha test

    // The scene's states are still in force: wireframe draws only the edges, unlit.
    ClearBlack();
    DrawStrip(quad);
    EXPECT_EQ(At(250, 400), 0u);
    int edge = 0;
    for (int x = 197; x <= 203; ++x) edge += At(x, 300) == 0xFFFFFFu;
    EXPECT_GT(edge, 0);
}

TEST_F(TextTest, LoadingMessageIsDarkTextCentredOnWhite) {
    backend->PaintWindowText("Loading 'QUELLAN' version 1.3 ... please wait");
    std::vector<uint32_t> px = Read();
    EXPECT_EQ(Rgb(px[0]), 0xFFFFFFu);
    int dark = 0, darkOutside = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x)
            if (Red(px[y * 800 + x]) < 100) {
                ++dark;
                darkOutside += y < 280 || y > 320 || x < 150 || x > 650;
            }
    EXPECT_GT(dark, 100);
    EXPECT_EQ(darkOutside, 0);
}
