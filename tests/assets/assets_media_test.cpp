// The generated textures and sounds, read by the game's own loaders: every texture present in a
// power-of-two size, holes where sprites need them and none where they must look solid, the
// translucent and repeating layers, and short mono clips at their levels; and the generator
// writing the same bytes on every run.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <set>

#include "assets_files.h"
#include "common/texture_ids.h"
#include "platform/d3dx.h"
#include "platform/sound.h"
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace assets;
using plat::TextureImage;

namespace {

// A texture as the game loads it, with the colour key of bitmaps (ARGB 0x01000000) read as 0.
TextureImage Load(const std::string& name) {
    const bool bmp = name.compare(name.size() - 4, 4, ".bmp") == 0;
    TextureImage p;
    EXPECT_TRUE(plat::DecodeTextureFile((GameDir() + "/textures/" + name).c_str(), plat::DEFAULT_VALUE,
                                        plat::DEFAULT_VALUE, 1, plat::FILTER_NONE, plat::FILTER_NONE,
                                        bmp ? 0x01000000u : 0, &p))
        << name;
    return p;
}

uint32_t At(const TextureImage& p, uint32_t x, uint32_t y) { return p.argb[static_cast<size_t>(y) * p.width + x]; }

// Share of transparent texels in the box u0..u1 x v0..v1.
double Holes(const TextureImage& p, double u0, double v0, double u1, double v1) {
    int n = 0, k = 0;
    for (int y = static_cast<int>(v0 * p.height); y < static_cast<int>(v1 * p.height); ++y)
        for (int x = static_cast<int>(u0 * p.width); x < static_cast<int>(u1 * p.width); ++x, ++n) k += At(p, x, y) == 0;
    return n ? static_cast<double>(k) / n : 0;
}

// stem1.bmp .. stemN.bmp
std::vector<std::string> Numbered(const char* stem, int n) {
    std::vector<std::string> out;
    for (int i = 1; i <= n; ++i) out.push_back(stem + std::to_string(i) + ".bmp");
    return out;
}

bool PowerOfTwo(uint32_t v) { return v >= 8 && v <= 2048 && (v & (v - 1)) == 0; }

TEST(Textures, EveryTextureLoadsWithHolesOnlyWhereItIsCutOut) {
    // Keyed textures that must look solid; fish skins need it on the body only.
    std::set<std::string> solid = {"blank.bmp", "surface.bmp", "sky.bmp", "bricks.bmp", "bricks2.bmp",
        "bricks3.bmp", "water3b.bmp", "3drod.bmp", "but.bmp", "line.bmp", "line2.bmp", "s1tex.bmp", "sbacktex.bmp",
        "sfronttex.bmp", "car1tex.bmp", "car2tex.bmp", "car3tex.bmp", "knobtex.bmp"};
    std::set<std::string> skins = {"common.bmp", "mirror.bmp", "mirror2.bmp", "mirror3.bmp", "mirror4.bmp"};
    for (const std::string& n : Numbered("grass", 6)) solid.insert(n);
    for (const std::string& n : Numbered("stones", 7)) solid.insert(n);
    for (const std::string& n : Numbered("carp", 27)) skins.insert(n);
    std::set<std::string> names;
    for (const TextureInfo& t : TEXTURE_TABLE) {
        const std::string n = std::string(t.file).substr(9);  // after "textures\\"
        names.insert(n);
        const TextureImage p = Load(n);
        ASSERT_FALSE(p.argb.empty()) << n;
        EXPECT_TRUE(PowerOfTwo(p.sourceWidth) && PowerOfTwo(p.sourceHeight)) << n;
        if (n.compare(n.size() - 4, 4, ".tga") == 0) continue;  // translucent layers: below
        for (uint32_t v : p.argb) ASSERT_TRUE(v >> 24 == 0xFF || (t.keyed && v == 0)) << n << " texel " << std::hex << v;
        if (skins.count(n)) {
            EXPECT_EQ(Holes(p, 0.04, 0.34, 0.79, 0.80), 0.0) << n;
        } else if (solid.count(n)) {
            EXPECT_EQ(Holes(p, 0, 0, 1, 1), 0.0) << n;
        } else if (t.keyed) {
            EXPECT_GT(Holes(p, 0, 0, 1, 1), 0.05) << n << " is keyed but not cut out";
        }
    }
    EXPECT_EQ(names.size(), 192u);
    struct stat st;
    EXPECT_EQ(::stat((GameDir() + "/photos").c_str(), &st), 0);
}

TEST(Textures, SpritesAreCutOutWhereTheyShowWhatIsBehind) {
    for (const std::string& n : Numbered("decal", 14)) {
        const TextureImage p = Load(n);
        EXPECT_GE(Holes(p, 0, 0, 1, 1), 0.2) << n;
        EXPECT_LT(Holes(p, 0.4, 1 - 4.0 / p.height, 0.6, 1), 1.0) << n << " must stand on its foot at the bottom centre";
    }
    EXPECT_GE(Holes(Load("water2.bmp"), 0, 0, 1, 1), 0.85) << "an opaque glint layer hides the lake";
    for (const char* n : {"border1.bmp", "border1b.bmp", "border1c.bmp", "border1d.bmp"}) {
        const TextureImage p = Load(n);
        EXPECT_GE(Holes(p, 0, 0, 1, 0.1), 0.6) << n << " sky above the trees";
        EXPECT_LE(Holes(p, 0, 0.8, 1, 1), 0.1) << n << " hides the ground behind";
    }
    const TextureImage border = Load("border.bmp");
    EXPECT_EQ(Holes(border, 0.12, 0.155, 0.88, 0.78), 1.0) << "the map shows through the frame's window";
    int outside = 0, light = 0;
    for (uint32_t y = 0; y < border.height; ++y)
        for (uint32_t x = 0; x < border.width; ++x) {
            const double u = (x + 0.5) / border.width, v = (y + 0.5) / border.height;
            if (u > 0.10 && u < 0.90 && v > 0.13 && v < 0.81) continue;
            ++outside;
            const uint32_t c = At(border, x, y);
            const double lum = (0.299 * ((c >> 16) & 255) + 0.587 * ((c >> 8) & 255) + 0.114 * (c & 255)) / 255;
            light += (c >> 24) == 0xFF && lum >= 0.6;
        }
    EXPECT_GE(light, outside * 95 / 100) << "dark labels need a light frame";
    const TextureImage bins = Load("bins1.bmp"), cap = Load("cap.bmp");
    EXPECT_EQ(At(bins, bins.width / 2, bins.height / 2), 0u);
    EXPECT_EQ(At(bins, 0, 0), 0xFF000000u);
    EXPECT_EQ(At(bins, bins.width - 1, bins.height - 1), 0xFF000000u);
    EXPECT_EQ(At(cap, cap.width / 2, cap.height / 2), 0u);
    for (const std::string& n : Numbered("vrip", 3)) EXPECT_EQ(Holes(Load(n), 0, 0, 1, 0.49), 1.0) << n;
}

double MeanAlpha(const TextureImage& p) {
    double s = 0;
    for (uint32_t v : p.argb) s += v >> 24;
    return s / p.argb.size();
}

// Median over the line of the summed channel differences between two columns (or rows).
double LineMedianDiff(const TextureImage& p, uint32_t a, uint32_t b, bool rows) {
    const uint32_t n = rows ? p.width : p.height;
    std::vector<int> d(n);
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t c1 = rows ? At(p, i, a) : At(p, a, i), c2 = rows ? At(p, i, b) : At(p, b, i);
        for (int sh = 0; sh < 32; sh += 8) d[i] += std::abs(static_cast<int>((c1 >> sh) & 255) - static_cast<int>((c2 >> sh) & 255));
    }
    std::nth_element(d.begin(), d.begin() + n / 2, d.end());
    return d[n / 2];
}

TEST(Textures, WaterLayersAreTranslucentAndRepeatingTexturesTileWithoutSeams) {
    const TextureImage water = Load("water.tga");
    EXPECT_GE(MeanAlpha(water), 100);
    EXPECT_LE(MeanAlpha(water), 180);
    for (uint32_t v : water.argb) ASSERT_GT(v >> 24, 0u);
    EXPECT_GE(MeanAlpha(Load("sky2.tga")), 30);
    EXPECT_LE(MeanAlpha(Load("sky2.tga")), 100);
    EXPECT_GE(MeanAlpha(Load("water3.tga")), 30);
    EXPECT_LE(MeanAlpha(Load("water3.tga")), 60);

    std::vector<std::string> ground = Numbered("grass", 6), stones = Numbered("stones", 7);
    ground.insert(ground.end(), stones.begin(), stones.end());
    ground.push_back("blank.bmp");
    std::vector<std::string> periodic = {"water.tga", "sky2.tga", "water3.tga", "water2.bmp", "water3b.bmp",
                                         "surface.bmp", "sky.bmp"};
    periodic.insert(periodic.end(), ground.begin(), ground.end());
    for (const std::string& n : periodic) {
        const TextureImage p = Load(n);
        for (bool rows : {false, true}) {
            const uint32_t len = rows ? p.height : p.width;
            // The wrap-around boundary must look like the boundaries next to it. Medians over the
            // line keep one pebble edge that happens to lie on the seam from deciding the result.
            double near = 0;
            for (uint32_t k = 1; k <= 4; ++k) near += LineMedianDiff(p, len - 1 - k, len - k, rows) + LineMedianDiff(p, k - 1, k, rows);
            EXPECT_LE(LineMedianDiff(p, len - 1, 0, rows), 1.5 * near / 8 + 2) << n << (rows ? " rows" : " columns");
        }
    }
    // neighbouring cells show the ground turned a quarter: it must look the same turned
    for (const std::string& n : ground) {
        const TextureImage p = Load(n);
        double diff = 0, neighbour = 0;
        for (uint32_t y = 0; y < p.height; ++y)
            for (uint32_t x = 0; x < p.width; ++x) {
                const uint32_t a = At(p, x, y), b = At(p, p.width - 1 - y, x), c = At(p, (x + 1) % p.width, y);
                for (int sh = 0; sh < 24; sh += 8) {
                    diff += std::abs(static_cast<int>((a >> sh) & 255) - static_cast<int>((b >> sh) & 255));
                    neighbour += std::abs(static_cast<int>((a >> sh) & 255) - static_cast<int>((c >> sh) & 255));
                }
            }
        EXPECT_LE(diff, 1.5 * neighbour) << n;
    }
}

// A clip's length in seconds and peak level; quick-start clips are restarted every frame.
struct Clip {
    const char* name;
    double minS, maxS, peakLo = 0.5, peakHi = 1.0;
    bool quickStart = false;
};

double Rms(const std::vector<int16_t>& s, size_t from, size_t n) {
    double sum = 0;
    for (size_t i = from; i < from + n; ++i) sum += static_cast<double>(s[i]) * s[i];
    return std::sqrt(sum / n);
}

TEST(Sounds, AllClipsAreShortMonoAtTheirLevelsAndTheAmbienceLoops) {
    const Clip clips[] = {
        {"button.wav", 0.05, 0.12}, {"button2.wav", 0.03, 0.08, 0.5, 1, true}, {"splash.wav", 0.6, 1.2},
        {"shutter.wav", 0.2, 0.4}, {"bird1.wav", 0.8, 3}, {"bird2.wav", 0.8, 3}, {"bird3.wav", 0.8, 3},
        {"bird4.wav", 0.8, 3}, {"bird5.wav", 0.8, 3}, {"back.wav", 8, 30}, {"back2.wav", 0.1, 5, 0},
        {"crow.wav", 0.5, 1.5}, {"reelin.wav", 0.1, 0.3, 0.5, 1, true}, {"clutch.wav", 0.1, 0.3, 0.5, 1, true},
        {"line.wav", 0.08, 0.2, 0.5, 1, true}, {"snap.wav", 0.2, 0.5, 0.2, 0.45}, {"rod.wav", 0.2, 0.5},
        {"alarm.wav", 0.15, 0.3, 0.5, 1, true}, {"catty.wav", 0.05, 0.5, 0}, {"spray.wav", 0.05, 2, 0},
        {"elastic.wav", 0.2, 0.4, 0.2, 0.45}, {"foot1.wav", 0.1, 0.3, 0.02, 0.05},
        {"foot1b.wav", 0.1, 0.3, 0.02, 0.05}, {"foot3.wav", 0.1, 0.3, 0.2, 0.45}, {"foot2.wav", 0.2, 0.4, 0.2, 0.45},
        {"foot2b.wav", 0.2, 0.4, 0.2, 0.45}, {"duck.wav", 0.2, 0.5}, {"duckfoot.wav", 0.1, 0.2},
        {"splosh.wav", 0.5, 1.0},
    };
    for (const Clip& c : clips) {
        plat::WaveData w;
        ASSERT_TRUE(plat::LoadWaveFile((GameDir() + "/sounds/" + c.name).c_str(), &w)) << c.name;
        EXPECT_EQ(w.channels, 1) << c.name;
        EXPECT_EQ(w.rate, 22050u) << c.name;
        EXPECT_GE(w.Frames() / 22050.0, c.minS) << c.name;
        EXPECT_LE(w.Frames() / 22050.0, c.maxS) << c.name;
        int peak = 0, early = 0;
        for (size_t i = 0; i < w.samples.size(); ++i) {
            peak = std::max(peak, std::abs(static_cast<int>(w.samples[i])));
            if (i < 44) early = peak;
        }
        EXPECT_GE(peak / 32768.0, c.peakLo) << c.name;
        EXPECT_LE(peak / 32768.0, c.peakHi) << c.name;
        EXPECT_LT(peak, 32767) << c.name << " clips";
        if (c.quickStart) {  // no click at the start, and up to level at once
            EXPECT_LE(std::abs(w.samples[0]) / 32768.0, 0.01) << c.name;
            EXPECT_GE(early, peak / 4) << c.name;
        }
        if (std::string(c.name) == "back.wav") {  // the ambience loops without a seam
            EXPECT_LE(std::abs(w.samples.back() - w.samples.front()) / 32768.0, 0.02);
            const size_t n = 1102;  // 50 ms
            EXPECT_LE(std::fabs(20 * std::log10(Rms(w.samples, 0, n) / Rms(w.samples, w.samples.size() - n, n))), 3.0);
        }
    }
}

}  // namespace

// ---- the generator writes the same bytes on every run ----

namespace {

#ifdef LAKESIDE_ASSETGEN
std::vector<std::string> FilesUnder(const std::string& root) {
    std::vector<std::string> out;
    for (const char* sub : {"textures", "sounds", "models", "data"})
        for (const auto& e : std::filesystem::directory_iterator(root + "/" + sub))
            out.push_back(std::string(sub) + "/" + e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

TEST(AssetGenerator, TwoRunsWriteIdenticalFiles) {
    char tmpl[] = "/tmp/lakeside-assets-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string base = tmpl, a = base + "/a", b = base + "/b";
    for (const std::string& out : {a, b}) {
        std::string cmd = std::string("\"") + LAKESIDE_ASSETGEN + "\" --no-contact-sheet \"" + out + "\" > /dev/null 2>&1";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    std::vector<std::string> fa = FilesUnder(a), fb = FilesUnder(b);
    EXPECT_EQ(fa.size(), 192u + 29u + 2u);
    ASSERT_EQ(fa, fb);
    for (const std::string& f : fa) {
        std::string x, y, built;
        ASSERT_TRUE(assets::ReadAll(a + "/" + f, &x));
        ASSERT_TRUE(assets::ReadAll(b + "/" + f, &y));
        ASSERT_TRUE(assets::ReadAll(assets::GameDir() + "/" + f, &built)) << f;
        EXPECT_TRUE(x == y) << f << " differs between runs";
        EXPECT_TRUE(x == built) << f << " differs from the build's copy";
    }
    std::filesystem::remove_all(base);
}
#endif

}  // namespace
