// Texture loading: BMP/TGA decoding, power-of-two padding and scaling, alpha defaulting,
// colour key, failures and game-path handling.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "byte_writer.h"
#include "platform/d3dx.h"
#include "platform/headless/headless_backend.h"
#include "scratch_dir.h"

using plat::TextureImage;

namespace {

constexpr uint32_t D = plat::DEFAULT_VALUE;

// The two parameter sets the game loads with.
bool LoadBitmap(const std::vector<uint8_t>& f, uint32_t key, TextureImage* img) {
    return plat::DecodeTextureMemory(f.data(), f.size(), D, D, 1, plat::FILTER_NONE, plat::FILTER_NONE, key,
                                     img);
}
bool LoadTarga(const std::vector<uint8_t>& f, TextureImage* img) {
    return plat::DecodeTextureMemory(f.data(), f.size(), D, D, D, D, D, 0, img);
}

uint32_t At(const TextureImage& img, uint32_t x, uint32_t y) { return img.argb[y * img.width + x]; }

// A picture whose texels all differ (up to 16 texels).
std::vector<uint32_t> Numbered(uint32_t w, uint32_t h, uint32_t alpha = 0xFF) {
    std::vector<uint32_t> p;
    for (uint32_t i = 0; i < w * h; ++i) p.push_back(alpha << 24 | ((i * 16 + 10) & 0xFF) << 16 | (200 - i * 9) << 8 | i);
    return p;
}

}  // namespace

TEST(TextureDecode, BitmapsArePaddedTopLeftToPowersOfTwoWithTopRowFirst) {
    const auto pic = Numbered(3, 5);
    for (Bmp kind : {Bmp::Rgb24, Bmp::Rgb32, Bmp::Pal8, Bmp::Bitfields32Alpha}) {
        for (bool topDown : {false, true}) {
            SCOPED_TRACE(int(kind) * 2 + topDown);
            TextureImage img;
            ASSERT_TRUE(LoadBitmap(MakeBmp(3, 5, pic, kind, topDown), 0, &img));
            EXPECT_EQ(img.width, 4u);
            EXPECT_EQ(img.height, 8u);
            EXPECT_EQ(img.sourceWidth, 3u);
            EXPECT_EQ(img.sourceHeight, 5u);
            ASSERT_EQ(img.argb.size(), 32u);
            for (uint32_t y = 0; y < 8; ++y)
                for (uint32_t x = 0; x < 4; ++x)
                    EXPECT_EQ(At(img, x, y), (x < 3 && y < 5) ? pic[y * 3 + x] : 0x00000000u) << x << "," << y;
        }
    }
}

TEST(TextureDecode, SourcesWithoutAlphaReadOpaque) {
    // Alpha bytes of a 32-bit BI_RGB bitmap are padding, whatever they hold.
    std::vector<uint32_t> pic = {0x00102030, 0x01000000, 0x80FFFFFF, 0xFF000000};
    TextureImage img;
    ASSERT_TRUE(LoadBitmap(MakeBmp(2, 2, pic, Bmp::Rgb32), 0, &img));
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(img.argb[i], pic[i] | 0xFF000000u);

    // 16-bit 5-5-5: top bit clear in the file, still opaque.
    ASSERT_TRUE(LoadBitmap(MakeBmp(2, 1, {0xFFFF0000, 0xFF0000FF}, Bmp::Rgb16), 0, &img));
    EXPECT_EQ(img.argb[0] & 0xFFF80000u, 0xFFF80000u);
    EXPECT_EQ(img.argb[1] >> 24, 0xFFu);
    EXPECT_EQ(img.argb[1] & 0x00FFFF00u, 0u);
}

TEST(TextureDecode, ColourKeyRemovesOnlyExactAlphaOneBlack) {
    std::vector<uint32_t> pic = {0x01000000, 0xFF000000, 0x01000001, 0x02000000, 0x00000000, 0x01010000};
    TextureImage img;
    ASSERT_TRUE(LoadBitmap(MakeBmp(3, 2, pic, Bmp::Bitfields32Alpha), 0x01000000, &img));
    EXPECT_EQ(At(img, 0, 0), 0x00000000u);  // keyed
    EXPECT_EQ(At(img, 1, 0), 0xFF000000u);  // opaque black stays
    EXPECT_EQ(At(img, 2, 0), 0x01000001u);
    EXPECT_EQ(At(img, 0, 1), 0x02000000u);  // the file's alpha is kept, 0 included
    EXPECT_EQ(At(img, 1, 1), 0x00000000u);
    EXPECT_EQ(At(img, 2, 1), 0x01010000u);

    ASSERT_TRUE(LoadBitmap(MakeBmp(3, 2, pic, Bmp::Bitfields32Alpha), 0, &img));
    EXPECT_EQ(At(img, 0, 0), 0x01000000u);  // no key, no change

    // Sources without alpha read 0xFF, so black in them is never keyed.
    for (Bmp kind : {Bmp::Rgb24, Bmp::Rgb32, Bmp::Pal8}) {
        ASSERT_TRUE(LoadBitmap(MakeBmp(2, 1, {0x01000000, 0xFF808080}, kind), 0x01000000, &img));
        EXPECT_EQ(img.argb[0], 0xFF000000u);
    }
    // An opaque key matches opaque texels of alpha-less sources.
    ASSERT_TRUE(LoadBitmap(MakeBmp(2, 1, {0xFF000000, 0xFF808080}, Bmp::Rgb24), 0xFF000000, &img));
    EXPECT_EQ(img.argb[0], 0x00000000u);
    EXPECT_EQ(img.argb[1], 0xFF808080u);
}

TEST(TextureDecode, TargasKeepAlphaAndOrientation) {
    std::vector<uint32_t> pic = {0x00102030, 0x01000000, 0x80FFFFFF, 0xFF000000,
                                 0x40ABCDEF, 0xC0123456, 0x7F7F7F7F, 0xFEDCBA98};
    for (int bpp : {24, 32}) {
        for (bool top : {false, true}) {
            SCOPED_TRACE(bpp + top);
            TextureImage img;
            // Power-of-two size: the default filter leaves the texels as they are.
            ASSERT_TRUE(LoadTarga(MakeTga(4, 2, pic, bpp, top), &img));
            ASSERT_EQ(img.width, 4u);
            ASSERT_EQ(img.height, 2u);
            for (size_t i = 0; i < pic.size(); ++i)
                EXPECT_EQ(img.argb[i], bpp == 32 ? pic[i] : pic[i] | 0xFF000000u) << i;
        }
    }
}

TEST(TextureDecode, TargaIsScaledToFillThePaddedSize) {
    TextureImage img;
    ASSERT_TRUE(LoadTarga(MakeTga(3, 3, std::vector<uint32_t>(9, 0x80336699), 32, true), &img));
    ASSERT_EQ(img.width, 4u);
    ASSERT_EQ(img.height, 4u);
    EXPECT_EQ(img.sourceWidth, 3u);
    for (uint32_t px : img.argb) EXPECT_EQ(px, 0x80336699u);  // no transparent padding

    // A left-to-right ramp stays a ramp from end to end.
    ASSERT_TRUE(LoadTarga(MakeTga(3, 1, {0xFF000000, 0xFF808080, 0xFFFFFFFF}, 24, false), &img));
    ASSERT_EQ(img.width, 4u);
    ASSERT_EQ(img.height, 1u);
    EXPECT_EQ(img.argb[0], 0xFF000000u);
    EXPECT_EQ(img.argb[3], 0xFFFFFFFFu);
    EXPECT_LT(img.argb[1] & 0xFF, img.argb[2] & 0xFF);
    EXPECT_GT(img.argb[1] & 0xFF, 0u);
    EXPECT_LT(img.argb[2] & 0xFF, 0xFFu);
}

TEST(TextureDecode, DamagedDataFailsCleanly) {
    TextureImage img;
    img.width = 77;
    auto bmp = MakeBmp(3, 5, Numbered(3, 5), Bmp::Rgb24);
    auto bmp32 = MakeBmp(3, 5, Numbered(3, 5), Bmp::Bitfields32Alpha);
    auto tga = MakeTga(3, 5, Numbered(3, 5), 32, false);
    for (const auto* f : {&bmp, &bmp32, &tga})
        for (size_t cut : {size_t(0), size_t(1), size_t(10), size_t(20), size_t(40), f->size() - 1})
            EXPECT_FALSE(LoadBitmap(std::vector<uint8_t>(f->begin(), f->begin() + long(cut)), 0, &img)) << cut;

    // A run-length Targa whose last packet is cut short.
    std::vector<uint8_t> rle = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 1, 0, 24, 0};
    rle.insert(rle.end(), {0x83, 1, 2, 3});
    EXPECT_TRUE(LoadTarga(rle, &img));
    EXPECT_EQ(img.argb[3], 0xFF030201u);
    rle.pop_back();
    img.width = 77;
    EXPECT_FALSE(LoadTarga(rle, &img));

    std::vector<uint8_t> junk(100, 0xAB);
    EXPECT_FALSE(LoadTarga(junk, &img));
    auto huge = bmp;
    huge[18] = 0xFF, huge[19] = 0xFF, huge[20] = 0xFF, huge[21] = 0x7F;  // absurd width
    EXPECT_FALSE(LoadBitmap(huge, 0, &img));
    EXPECT_FALSE(plat::DecodeTextureMemory(nullptr, 0, D, D, 1, plat::FILTER_NONE, plat::FILTER_NONE, 0, &img));
    EXPECT_EQ(img.width, 77u);  // untouched on failure
}

namespace {

void Set32(std::vector<uint8_t>& f, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + i] = uint8_t(v >> (8 * i));
}

// A bitmap declaring w x h at `bpp` with `compression`: the 40-byte info header, a two-colour
// palette below 16 bits, then `body` bytes of zeros.
std::vector<uint8_t> BmpHeader(uint32_t w, uint32_t h, uint32_t bpp, uint32_t compression, size_t body) {
    const uint32_t colours = bpp < 16 ? 2 : 0;
    const uint32_t offBits = 54 + 4 * colours;
    std::vector<uint8_t> f = {'B', 'M'};
    for (uint32_t v : {uint32_t(offBits + body), 0u, offBits, 40u, w, h, 1u | bpp << 16, compression, 0u, 0u, 0u,
                       colours, 0u})
        Put32(f, v);
    for (uint32_t i = 0; i < colours; ++i) Put32(f, i ? 0xFFFFFF : 0);
    f.resize(offBits + body, 0);
    return f;
}

// A run-length targa of w x h (24-bit) coded as the fewest run packets of one grey texel.
std::vector<uint8_t> RleTga(uint32_t w, uint32_t h) {
    std::vector<uint8_t> f = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16(f, w);
    Put16(f, h);
    f.insert(f.end(), {24, 0x20});
    for (uint64_t left = uint64_t(w) * h; left > 0;) {
        const uint64_t run = std::min<uint64_t>(left, 128);
        f.insert(f.end(), {uint8_t(0x80 | (run - 1)), 0x40, 0x40, 0x40});
        left -= run;
    }
    return f;
}

}  // namespace

// Every header is checked before anything is allocated: only the codings the loader knows, sides up
// to 4096, and the pixel data present in the file.
TEST(TextureDecode, HeadersAreCheckedBeforeAnythingIsAllocated) {
    TextureImage img;
    // A bare 54-byte header of 16384 x 16384 with an unknown coding.
    for (uint32_t compression : {1u, 2u, 4u, 5u, 7u, 0x80000000u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(compression);
        for (uint32_t bpp : {1u, 4u, 8u, 16u, 24u, 32u}) {
            EXPECT_FALSE(LoadBitmap(BmpHeader(16384, 16384, bpp, compression, 0), 0, &img)) << bpp;
            EXPECT_FALSE(LoadBitmap(BmpHeader(4, 4, bpp, compression, 1024), 0, &img)) << bpp;
        }
    }
    // Bit fields only for 16 and 32 bits, and masks present.
    EXPECT_FALSE(LoadBitmap(BmpHeader(4, 4, 24, 3, 1024), 0, &img));
    EXPECT_FALSE(LoadBitmap(BmpHeader(4, 4, 8, 3, 1024), 0, &img));
    EXPECT_FALSE(LoadBitmap(BmpHeader(4, 4, 16, 6, 1024), 0, &img));
    EXPECT_FALSE(LoadBitmap(BmpHeader(4, 4, 2, 0, 1024), 0, &img));

    // 1-bit rows of 4096 are fine, 4097 or more are not, however short the file.
    EXPECT_TRUE(LoadBitmap(BmpHeader(4096, 2, 1, 0, 1024), 0, &img));
    EXPECT_EQ(img.width, 4096u);
    EXPECT_TRUE(LoadBitmap(BmpHeader(2, 4096, 1, 0, 4 * 4096), 0, &img));
    EXPECT_EQ(img.height, 4096u);
    EXPECT_FALSE(LoadBitmap(BmpHeader(4097, 2, 1, 0, 1040), 0, &img));
    EXPECT_FALSE(LoadBitmap(BmpHeader(2, 4097, 1, 0, 4 * 4097), 0, &img));
    EXPECT_FALSE(LoadBitmap(BmpHeader(16384, 16384, 1, 0, 2048 * 16384), 0, &img));
    // Rows must be whole for the plain codings too, bit fields included.
    auto bits16 = BmpHeader(4, 4, 16, 3, 12 + 4 * 8);  // three masks after the header, then 4 rows of 8
    Set32(bits16, 10, 66);
    Set32(bits16, 54, 0x7C00), Set32(bits16, 58, 0x03E0), Set32(bits16, 62, 0x001F);
    EXPECT_TRUE(LoadBitmap(bits16, 0, &img));
    bits16.pop_back();
    EXPECT_FALSE(LoadBitmap(bits16, 0, &img));
    EXPECT_FALSE(LoadBitmap(BmpHeader(4, 4, 1, 0, 15), 0, &img));

    // Run-length targas: the declared size is limited, so a few packets cannot expand without end.
    EXPECT_TRUE(LoadTarga(RleTga(4096, 2), &img));
    EXPECT_EQ(img.width, 4096u);
    EXPECT_FALSE(LoadTarga(RleTga(4097, 2), &img));
    EXPECT_FALSE(LoadTarga(RleTga(2, 4097), &img));
    EXPECT_FALSE(LoadTarga(RleTga(16384, 16384), &img));  // about 8 MB of packets
    auto plain = MakeTga(4097, 1, std::vector<uint32_t>(4097, 0xFF102030), 32, true);
    EXPECT_FALSE(LoadTarga(plain, &img));
}

namespace {

// A device that keeps the last image it made a texture of.
struct TextureDevice : plat::HeadlessDevice {
    TextureImage last;
    plat::HResult CreateTextureFromImage(const TextureImage& image, const std::string& file,
                                         plat::Texture** out) override {
        last = image;
        return HeadlessDevice::CreateTextureFromImage(image, file, out);
    }
};

plat::HResult LoadGameBitmap(plat::Device* dev, const char* path, uint32_t key, plat::Texture** out) {
    return plat::CreateTextureFromFileEx(dev, path, D, D, 1, 0, plat::FORMAT_UNKNOWN, plat::POOL_MANAGED,
                                         plat::FILTER_NONE, plat::FILTER_NONE, key, out);
}

}  // namespace

TEST(TextureFromFile, LoadsGamePathsAndNamesEachFileItCannotLoadOnce) {
    ScratchDir dir;
    ScratchDir::Write("textures/Keyed.bmp", MakeBmp(3, 2, {0x01000000, 0xFF000000, 0, 0, 0, 0},
                                                    Bmp::Bitfields32Alpha));
    ScratchDir::Write("textures/short.bmp", std::vector<uint8_t>(30, 'B'));
    ScratchDir::Write("../outside.bmp", MakeBmp(1, 1, {0xFFFFFFFF}, Bmp::Rgb24));
    TextureDevice dev;

    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    plat::Texture* tex = nullptr;
    // Backslashes and a case-blind file name, as the game writes them.
    ASSERT_EQ(LoadGameBitmap(&dev, "textures\\keyed.bmp", 0x01000000, &tex), plat::OK);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->SourceFile(), "textures\\keyed.bmp");
    const TextureImage& img = dev.last;
    EXPECT_EQ(img.width, 4u);
    EXPECT_EQ(img.height, 2u);
    EXPECT_EQ(img.argb[0], 0x00000000u);
    EXPECT_EQ(img.argb[1], 0xFF000000u);
    tex->Release();

    const char* const named[] = {"textures/missing.bmp", "textures/short.bmp", "..\\outside.bmp",
                                 "textures\\..\\..\\outside.bmp", "textures"};
    for (int round = 0; round < 2; ++round) {
        for (const char* bad : {"textures\\missing.bmp", "textures\\short.bmp", "..\\outside.bmp",
                                "textures\\..\\..\\outside.bmp", "textures"}) {
            tex = reinterpret_cast<plat::Texture*>(0x1);
            EXPECT_EQ(LoadGameBitmap(&dev, bad, 0, &tex), plat::FAIL) << bad;
            EXPECT_EQ(tex, nullptr) << bad;
        }
        // The game plays on without them, but says which files they were, the first time only.
        const std::string err = testing::internal::GetCapturedStderr();
        if (round == 0) {
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 5) << err;
            for (const char* name : named)
                EXPECT_NE(err.find(std::string(" ") + name + " could not be loaded"), std::string::npos) << err;
            EXPECT_NE(err.find("textures/missing.bmp could not be loaded: there is no such file"), std::string::npos)
                << err;
            EXPECT_NE(err.find("textures could not be loaded: it is a folder"), std::string::npos) << err;
        } else {
            EXPECT_EQ(err, "");
        }
        testing::internal::CaptureStderr();
    }
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(dev.texturesCreated, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    // The same file from outside the game folder is readable by the plain decoder.
    TextureImage outside;
    EXPECT_TRUE(plat::DecodeTextureFile("../outside.bmp", D, D, 1, plat::FILTER_NONE, plat::FILTER_NONE, 0,
                                        &outside));
}
