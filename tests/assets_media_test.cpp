// The generated textures and sounds: every file present and readable, in the formats the loaders
// and the colour-key rule need, with transparency where sprites need it and none where they must
// look solid.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>

#include "assets_files.h"
#include "gfx/texture_ids.h"
#include "platform/sound.h"

using namespace assets;

namespace {

bool EndsWith(const std::string& s, const char* e) { return s.size() >= 4 && s.compare(s.size() - 4, 4, e) == 0; }

Picture Load(const std::string& name) {
    std::string path = GameDir() + "/textures/" + name;
    return EndsWith(name, ".tga") ? LoadTga(path) : LoadBmp(path);
}

const uint32_t kKey = 0x01000000u;

// Share of keyed (transparent) texels in the box u0..u1 × v0..v1.
double KeyedShare(const Picture& p, double u0, double v0, double u1, double v1) {
    int n = 0, k = 0;
    for (int y = static_cast<int>(v0 * p.h); y < static_cast<int>(v1 * p.h); ++y)
        for (int x = static_cast<int>(u0 * p.w); x < static_cast<int>(u1 * p.w); ++x) {
            ++n;
            if (p.At(x, y) == kKey) ++k;
        }
    return n ? static_cast<double>(k) / n : 0;
}

bool PowerOfTwo(int v) { return v >= 8 && v <= 2048 && (v & (v - 1)) == 0; }

TEST(Textures, AllFilesExistInTheirFormats) {
    std::set<std::string> names;
    for (const TextureInfo& t : kTextureTable) {
        const std::string n = std::string(t.file).substr(9);  // after "textures\\"
        names.insert(n);
        Picture p = Load(n);
        ASSERT_EQ(p.error, "") << n;
        EXPECT_TRUE(PowerOfTwo(p.w) && PowerOfTwo(p.h)) << n << " is " << p.w << "x" << p.h;
        if (EndsWith(n, ".tga")) {
            EXPECT_TRUE(p.hasAlphaMask) << n;
        } else if (t.keyed) {
            // keyed pictures carry alpha: exactly the key where transparent, opaque elsewhere
            ASSERT_EQ(p.bpp, 32) << n;
            ASSERT_TRUE(p.hasAlphaMask) << n;
            for (uint32_t v : p.argb) ASSERT_TRUE(v == kKey || (v >> 24) == 0xFF) << n << " texel " << std::hex << v;
        } else {
            for (uint32_t v : p.argb) ASSERT_EQ(v >> 24, 0xFFu) << n;
        }
    }
    EXPECT_EQ(names.size(), 192u);
    struct stat st;
    EXPECT_EQ(::stat((GameDir() + "/photos").c_str(), &st), 0);
}

TEST(Textures, SolidSurfacesHaveNoHoles) {
    std::vector<std::string> solid = {"blank.bmp", "surface.bmp", "sky.bmp", "bricks.bmp", "bricks2.bmp",
        "bricks3.bmp", "water3b.bmp", "3drod.bmp", "but.bmp", "line.bmp", "line2.bmp", "s1tex.bmp", "sbacktex.bmp",
        "sfronttex.bmp", "car1tex.bmp", "car2tex.bmp", "car3tex.bmp", "knobtex.bmp"};
    for (int i = 1; i <= 6; ++i) solid.push_back("grass" + std::to_string(i) + ".bmp");
    for (int i = 1; i <= 7; ++i) solid.push_back("stones" + std::to_string(i) + ".bmp");
    for (const std::string& n : solid) EXPECT_EQ(KeyedShare(Load(n), 0, 0, 1, 1), 0.0) << n;
    std::vector<std::string> skins = {"common.bmp", "mirror.bmp", "mirror2.bmp", "mirror3.bmp", "mirror4.bmp"};
    for (int i = 1; i <= 27; ++i) skins.push_back("carp" + std::to_string(i) + ".bmp");
    for (const std::string& n : skins) EXPECT_EQ(KeyedShare(Load(n), 0.04, 0.34, 0.79, 0.80), 0.0) << n;
}

TEST(Textures, SpritesAreCutOut) {
    for (int i = 1; i <= 14; ++i) {
        std::string n = "decal" + std::to_string(i) + ".bmp";
        Picture p = Load(n);
        EXPECT_GE(KeyedShare(p, 0, 0, 1, 1), 0.2) << n;
        bool foot = false;
        for (int y = p.h - 4; y < p.h; ++y)
            for (int x = p.w * 2 / 5; x < p.w * 3 / 5; ++x) foot |= p.Alpha(x, y) == 0xFF;
        EXPECT_TRUE(foot) << n << " must stand on its foot at the bottom centre";
    }
    EXPECT_GE(KeyedShare(Load("water2.bmp"), 0, 0, 1, 1), 0.85) << "an opaque glint layer hides the lake";
    for (const char* n : {"border1.bmp", "border1b.bmp", "border1c.bmp", "border1d.bmp"}) {
        Picture p = Load(n);
        EXPECT_GE(KeyedShare(p, 0, 0, 1, 0.1), 0.6) << n << " sky above the trees";
        EXPECT_LE(KeyedShare(p, 0, 0.8, 1, 1), 0.1) << n << " hides the ground behind";
    }
    Picture border = Load("border.bmp");
    EXPECT_EQ(KeyedShare(border, 0.12, 0.155, 0.88, 0.78), 1.0) << "the map shows through the frame's window";
    int outside = 0, light = 0;
    for (int y = 0; y < border.h; ++y)
        for (int x = 0; x < border.w; ++x) {
            double u = (x + 0.5) / border.w, v = (y + 0.5) / border.h;
            if (u > 0.10 && u < 0.90 && v > 0.13 && v < 0.81) continue;
            ++outside;
            uint32_t c = border.At(x, y);
            double lum = (0.299 * ((c >> 16) & 255) + 0.587 * ((c >> 8) & 255) + 0.114 * (c & 255)) / 255;
            if ((c >> 24) == 0xFF && lum >= 0.6) ++light;
        }
    EXPECT_GE(light, outside * 95 / 100) << "dark labels need a light frame";
    Picture bins = Load("bins1.bmp");
    EXPECT_EQ(bins.At(bins.w / 2, bins.h / 2), kKey);
    EXPECT_EQ(bins.At(0, 0), 0xFF000000u);
    EXPECT_EQ(bins.At(bins.w - 1, bins.h - 1), 0xFF000000u);
    Picture cap = Load("cap.bmp");
    EXPECT_EQ(cap.At(cap.w / 2, cap.h / 2), kKey);
    for (const char* n : {"gull.bmp", "swarm1.bmp", "swarm2.bmp", "bubble.bmp", "dragon.bmp", "ripple1.bmp",
                          "ripple2.bmp", "ripple3.bmp", "lillys.bmp", "lillys2.bmp", "lillys3.bmp", "cursor.bmp",
                          "cursor2.bmp", "cursor3.bmp", "cursor4.bmp", "catapult.bmp", "catapult2.bmp",
                          "catapult3.bmp", "catapult4.bmp", "sling.bmp", "alarm.bmp", "alarm2.bmp", "alarmon.bmp",
                          "alarmlat.bmp", "rest.bmp", "rear.bmp", "swinger2.bmp", "waggler.bmp", "control.bmp",
                          "net.bmp", "pec1.bmp", "tail.bmp", "move.bmp", "hud1.bmp", "intro.bmp", "intro2.bmp"})
        EXPECT_GT(KeyedShare(Load(n), 0, 0, 1, 1), 0.05) << n;
    for (const char* n : {"vrip1.bmp", "vrip2.bmp", "vrip3.bmp"}) EXPECT_EQ(KeyedShare(Load(n), 0, 0, 1, 0.49), 1.0) << n;
}

double MeanAlpha(const Picture& p) {
    double s = 0;
    for (uint32_t v : p.argb) s += v >> 24;
    return s / p.argb.size();
}

TEST(Textures, WaterLayersAreTranslucent) {
    Picture water = Load("water.tga"), sky2 = Load("sky2.tga"), deep = Load("water3.tga");
    EXPECT_GE(MeanAlpha(water), 100);
    EXPECT_LE(MeanAlpha(water), 180);
    for (uint32_t v : water.argb) ASSERT_GT(v >> 24, 0u);
    EXPECT_GE(MeanAlpha(sky2), 30);
    EXPECT_LE(MeanAlpha(sky2), 100);
    EXPECT_GE(MeanAlpha(deep), 30);
    EXPECT_LE(MeanAlpha(deep), 60);
}

// Median over the line of the summed channel differences between two columns (or rows).
double LineMedianDiff(const Picture& p, int a, int b, bool rows) {
    int n = rows ? p.w : p.h;
    std::vector<int> d(n);
    for (int i = 0; i < n; ++i) {
        uint32_t c1 = rows ? p.At(i, a) : p.At(a, i), c2 = rows ? p.At(i, b) : p.At(b, i);
        int s = 0;
        for (int sh = 0; sh < 32; sh += 8) s += std::abs(static_cast<int>((c1 >> sh) & 255) - static_cast<int>((c2 >> sh) & 255));
        d[i] = s;
    }
    std::nth_element(d.begin(), d.begin() + n / 2, d.end());
    return d[n / 2];
}

TEST(Textures, RepeatingTexturesTileWithoutSeams) {
    std::vector<std::string> periodic = {"water.tga", "sky2.tga", "water3.tga", "water2.bmp", "water3b.bmp",
                                         "surface.bmp", "sky.bmp", "blank.bmp"};
    std::vector<std::string> ground;
    for (int i = 1; i <= 6; ++i) ground.push_back("grass" + std::to_string(i) + ".bmp");
    for (int i = 1; i <= 7; ++i) ground.push_back("stones" + std::to_string(i) + ".bmp");
    ground.push_back("blank.bmp");
    periodic.insert(periodic.end(), ground.begin(), ground.end());
    for (const std::string& n : periodic) {
        Picture p = Load(n);
        for (bool rows : {false, true}) {
            int len = rows ? p.h : p.w;
            // The wrap-around boundary must look like the boundaries next to it. Medians over the
            // line keep one pebble edge that happens to lie on the seam from deciding the result.
            double near = 0;
            for (int k = 1; k <= 4; ++k) near += LineMedianDiff(p, len - 1 - k, len - k, rows) + LineMedianDiff(p, k - 1, k, rows);
            near /= 8;
            EXPECT_LE(LineMedianDiff(p, len - 1, 0, rows), 1.5 * near + 2) << n << (rows ? " rows" : " columns");
        }
    }
    // neighbouring cells show the ground turned a quarter: it must look the same turned
    for (const std::string& n : ground) {
        Picture p = Load(n);
        double diff = 0, neighbour = 0;
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x) {
                uint32_t a = p.At(x, y), b = p.At(p.w - 1 - y, x), c = p.At((x + 1) % p.w, y);
                for (int sh = 0; sh < 24; sh += 8) {
                    diff += std::abs(static_cast<int>((a >> sh) & 255) - static_cast<int>((b >> sh) & 255));
                    neighbour += std::abs(static_cast<int>((a >> sh) & 255) - static_cast<int>((c >> sh) & 255));
                }
            }
        EXPECT_LE(diff, 1.5 * neighbour) << n;
    }
}

struct Clip { const char* name; double minS, maxS; double peakLo, peakHi; bool quickStart; };

TEST(Sounds, AllClipsAreShortMonoAtTheirLevels) {
    const double full = 0.5, hi = 1.0;
    const Clip clips[] = {
        {"button.wav", 0.05, 0.12, full, hi, false},   {"button2.wav", 0.03, 0.08, full, hi, true},
        {"splash.wav", 0.6, 1.2, full, hi, false},     {"shutter.wav", 0.2, 0.4, full, hi, false},
        {"bird1.wav", 0.8, 3, full, hi, false},        {"bird2.wav", 0.8, 3, full, hi, false},
        {"bird3.wav", 0.8, 3, full, hi, false},        {"bird4.wav", 0.8, 3, full, hi, false},
        {"bird5.wav", 0.8, 3, full, hi, false},        {"back.wav", 8, 30, full, hi, false},
        {"back2.wav", 0.1, 5, 0, hi, false},           {"crow.wav", 0.5, 1.5, full, hi, false},
        {"reelin.wav", 0.1, 0.3, full, hi, true},      {"clutch.wav", 0.1, 0.3, full, hi, true},
        {"line.wav", 0.08, 0.2, full, hi, true},       {"snap.wav", 0.2, 0.5, 0.2, 0.45, false},
        {"rod.wav", 0.2, 0.5, full, hi, false},        {"alarm.wav", 0.15, 0.3, full, hi, true},
        {"catty.wav", 0.05, 0.5, 0, hi, false},        {"spray.wav", 0.05, 2, 0, hi, false},
        {"elastic.wav", 0.2, 0.4, 0.2, 0.45, false},   {"foot1.wav", 0.1, 0.3, 0.02, 0.05, false},
        {"foot1b.wav", 0.1, 0.3, 0.02, 0.05, false},   {"foot3.wav", 0.1, 0.3, 0.2, 0.45, false},
        {"foot2.wav", 0.2, 0.4, 0.2, 0.45, false},     {"foot2b.wav", 0.2, 0.4, 0.2, 0.45, false},
        {"duck.wav", 0.2, 0.5, full, hi, false},       {"duckfoot.wav", 0.1, 0.2, full, hi, false},
        {"splosh.wav", 0.5, 1.0, full, hi, false},
    };
    ASSERT_EQ(sizeof clips / sizeof clips[0], 29u);
    for (const Clip& c : clips) {
        plat::WaveData w;
        ASSERT_TRUE(plat::LoadWaveFile((GameDir() + "/sounds/" + c.name).c_str(), &w)) << c.name;
        EXPECT_EQ(w.channels, 1) << c.name;
        EXPECT_EQ(w.rate, 22050u) << c.name;
        EXPECT_GE(w.Frames() / 22050.0, c.minS) << c.name;
        EXPECT_LE(w.Frames() / 22050.0, c.maxS) << c.name;
        int peak = 0;
        for (int16_t s : w.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
        EXPECT_GE(peak / 32768.0, c.peakLo) << c.name;
        EXPECT_LE(peak / 32768.0, c.peakHi) << c.name;
        EXPECT_LT(peak, 32767) << c.name << " clips";
        if (c.quickStart) {
            // restarted every frame: no click at the start, and up to level at once
            EXPECT_LE(std::abs(w.samples[0]) / 32768.0, 0.01) << c.name;
            int early = 0;
            for (int i = 0; i < 44; ++i) early = std::max(early, std::abs(static_cast<int>(w.samples[i])));
            EXPECT_GE(early, peak / 4) << c.name;
        }
    }
}

double Rms(const std::vector<int16_t>& s, size_t from, size_t n) {
    double sum = 0;
    for (size_t i = from; i < from + n; ++i) sum += static_cast<double>(s[i]) * s[i];
    return std::sqrt(sum / n);
}

TEST(Sounds, AmbienceLoopsWithoutASeam) {
    plat::WaveData w;
    ASSERT_TRUE(plat::LoadWaveFile((GameDir() + "/sounds/back.wav").c_str(), &w));
    ASSERT_GT(w.samples.size(), 22050u);
    EXPECT_LE(std::abs(w.samples.back() - w.samples.front()) / 32768.0, 0.02);
    size_t n = 1102;  // 50 ms
    double a = Rms(w.samples, 0, n), b = Rms(w.samples, w.samples.size() - n, n);
    EXPECT_LE(std::fabs(20 * std::log10(a / b)), 3.0);
}

}  // namespace
