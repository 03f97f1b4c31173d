// Title screen textures: the spinning name card (front and back), the title picture, six lake
// views for the picture tiles and the copyright strip.
#include <vector>

#include "paint.h"
#include "textures.h"

namespace ag {

namespace {

const Rgba CLEAR{};

struct Scene {
    uint32_t seed;
    double horizon;      // 0..1 down the picture
    Rgba skyTop, skyLow, water, trees;
    double mist;         // 0..1
    bool willow, reeds, lilies, platform, island;
};

// A painted view across a lake: sky, far tree line, water with reflections, near bank.
Canvas LakeScene(const Scene& s) {
    const int n = 256;
    Canvas c(n, n);
    Rng r(s.seed);
    double hy = s.horizon * n;
    // sky with soft clouds
    c.Fill([&](double x, double y) {
        if (y > hy) return s.water;
        double t = y / hy;
        Rgba sky = Mix(s.skyTop, s.skyLow, t);
        double cl = SmoothStep(0.5, 0.75, Fbm(x / 70.0, y / 22.0, s.seed, 4));
        return Mix(sky, Mix(Hex(0xffffff), s.skyLow, 0.3), cl * 0.85);
    });
    // far tree line, reflected in the water
    std::vector<double> top(n);
    for (int x = 0; x < n; ++x) {
        double h = 10 + 22 * Fbm(x / 40.0, 0.5, s.seed + 1, 3) + 10 * ValueNoise(x / 7.0, 3.5, s.seed + 2);
        if (s.island && x > 150 && x < 220) h += 10 * Sin((x - 150) / 70.0 * PI);
        top[x] = hy - h;
    }
    for (int x = 0; x < n; ++x)
        for (int y = static_cast<int>(top[x]); y < static_cast<int>(hy); ++y) {
            double n1 = ValueNoise(x / 3.0, y / 3.0, s.seed + 3);
            Rgba col = Mix(Scale(s.trees, 0.7), Scale(s.trees, 1.25), n1 * (1 - (y - top[x]) / (hy - top[x] + 1) * 0.5));
            c.At(x, y) = Mix(col, s.skyLow, s.mist * 0.55);
            // reflection, broken by ripples
            int ry = static_cast<int>(2 * hy - y);
            if (ry < n) {
                double rip = ValueNoise(x / 14.0, ry / 2.0, s.seed + 4);
                Rgba refl = Mix(Scale(col, 0.75), s.water, 0.45 + 0.3 * rip);
                c.At(x, ry) = refl;
            }
        }
    // water shimmer
    for (int y = static_cast<int>(hy); y < n; ++y)
        for (int x = 0; x < n; ++x) {
            double rip = ValueNoise(x / (20.0 + (y - hy) * 0.4), y / (1.0 + (y - hy) * 0.05), s.seed + 5);
            Rgba& p = c.At(x, y);
            p = Mix(p, Mix(s.skyLow, Hex(0xffffff), 0.3), SmoothStep(0.78, 0.95, rip) * 0.5);
        }
    if (s.lilies)
        for (int i = 0; i < 18; ++i) {
            double x = r.Range(20, 200), y = r.Range(hy + 30, hy + 60);
            double w = 4 + (y - hy) * 0.18;
            c.Ellipse(x, y, w, w * 0.3, Mix(Hex(0x2e5a22), Hex(0x5a8a34), r.Uniform()));
            if (r.Chance(0.25)) c.Ellipse(x, y - w * 0.2, w * 0.35, w * 0.22, Hex(0xf8f0f0));
        }
    // near bank on one side
    double bankY = n * 0.86;
    c.Paint(0, bankY - 30, n, n,
            [&](double x, double y) {
                double edge = bankY - 18 * SmoothStep(0, 110, 110 - x) + 6 * ValueNoise(x / 12.0, 0.5, s.seed + 6);
                return edge - y;
            },
            [&](double x, double y) {
                return Mix(Hex(0x3a5a22), Hex(0x6a8a38), ValueNoise(x / 4.0, y / 4.0, s.seed + 7));
            });
    if (s.platform) {
        c.Rect(150, bankY - 6, 230, bankY + 2, Hex(0x6a5034));
        c.Rect(150, bankY - 6, 230, bankY - 4, Hex(0x9a7a50));
        for (int k = 0; k < 4; ++k) c.Rect(154 + k * 24, bankY + 2, 158 + k * 24, bankY + 14, Hex(0x3a2a1a));
        // two rods on rests pointing out over the water
        for (int k = 0; k < 2; ++k) {
            c.Line(170 + k * 22, bankY - 4, 120 + k * 30, hy + 16 - k * 6, 1.6, Hex(0x1a1a1a));
            c.Line(170 + k * 22, bankY - 4, 170 + k * 22, bankY - 16, 1.4, Hex(0x505050));
        }
    }
    if (s.reeds)
        for (int i = 0; i < 60; ++i) {
            double x = r.Range(0, 90), h = r.Range(30, 80);
            c.Curve(x, n, x + r.Range(-4, 4), n - h / 2, x + r.Range(-10, 10), n - h, 2.2, 0.6,
                    Mix(Hex(0x4a6a2a), Hex(0x9aa858), r.Uniform()));
            if (r.Chance(0.15)) c.Rect(x - 2, n - h - 4, x + 2, n - h + 10, Hex(0x5a3a1e), 2);
        }
    if (s.willow) {
        Rng wr(s.seed + 9);
        Foliage f{Hex(0x3a5a1a), Hex(0xa8c060), 2.0, 0.45, s.seed + 9};
        Trunk(c, 236, bankY, 230, hy - 40, 12, 6, Hex(0x2a2418), Hex(0x5e5442), s.seed);
        Crown(c, wr, 232, hy - 60, 40, 36, 20, 0.4, f);
        for (int i = 0; i < 90; ++i) {
            double x = wr.Range(196, 256), y0 = wr.Range(hy - 90, hy - 40);
            c.Curve(x, y0, x - 2, y0 + 40, x - 4, wr.Range(hy + 10, bankY), 1.5, 0.7, Mix(Hex(0x4a6a20), Hex(0xb4cc6a), wr.Uniform()));
        }
    }
    // keep the top light for the caption
    for (int y = 0; y < static_cast<int>(0.15 * n); ++y)
        for (int x = 0; x < n; ++x) {
            Rgba& p = c.At(x, y);
            p = Mix(p, Hex(0xeef2f6), 0.55 * (1 - y / (0.15 * n)) + 0.15);
        }
    return c;
}

// Name plate: raised letters on a wooden board with a transparent surround.
Canvas Plate(const std::string& line1, const std::string& line2, double s1, double s2, Rgba board) {
    Canvas c(256, 128, CLEAR);
    c.Rect(4, 14, 252, 114, Hex(0x1e1a12), 14);
    c.RectF(8, 18, 248, 110, 11, [&](double x, double y) {
        double g = Fbm(x / 60.0, y / 5.0, 4001u, 3);
        return Mix(Scale(board, 0.75), Scale(board, 1.15), g);
    });
    c.Rect(14, 24, 242, 104, C(0, 0, 0, 0.12), 8);
    auto centred = [&](const std::string& t, double y, double s, Rgba col) {
        double w = Canvas::TextWidth(t, s);
        c.Text(t, 128 - w / 2 + 1.5, y + 1.5, s, C(0, 0, 0, 0.6), 0.3);
        c.Text(t, 128 - w / 2, y, s, col, 0.3);
    };
    if (line2.empty()) {
        centred(line1, 64 - 3.5 * s1, s1, Hex(0xf4d060));
    } else {
        centred(line1, 36, s1, Hex(0xf4d060));
        centred(line2, 36 + 8 * s1, s2, Hex(0xf0ead8));
    }
    return c;
}

// The strip at the bottom left: a small picture of the lake at dusk (far tree line, still water,
// a float with its rings), no lettering: the game writes its own line beside it.
Canvas Copyright() {
    const int w = 256, h = 32;
    const double horizon = 17;
    Canvas c(w, h);
    std::vector<double> treeTop(w);
    for (int x = 0; x < w; ++x)
        treeTop[x] = horizon - 2 - 5 * Fbm(x / 26.0, 0.5, 4201u, 3) - 2 * ValueNoise(x / 4.0, 1.5, 4202u);
    c.Fill([&](double x, double y) {
        const int col = static_cast<int>(x);
        if (y < horizon) {
            if (y >= treeTop[col]) return Mix(Hex(0x1c2a20), Hex(0x2a3a28), ValueNoise(x / 2.5, y / 2.5, 4203u));
            return Mix(Hex(0x3a5470), Hex(0xd8a070), SmoothStep(0, horizon, y));  // dusk sky
        }
        const double mirror = 2 * horizon - y;  // the sky and trees mirrored, darker, broken by ripples
        const double rip = ValueNoise(x / 18.0, y / 1.2, 4204u);
        const Rgba above = mirror >= treeTop[col] ? Hex(0x18241c) : Mix(Hex(0x324a62), Hex(0xb08060), SmoothStep(0, horizon, mirror));
        return Mix(Scale(above, 0.8), Hex(0x1e3440), 0.35 + 0.35 * rip + 0.3 * SmoothStep(horizon, h, y));
    });
    // the float and its rings on the still water, right of the middle
    const double fx = 150, fy = 24;
    for (double r : {5.0, 9.0, 13.0}) c.Ellipse(fx, fy + 0.5, r, r * 0.22, C(0.95, 0.8, 0.6, 0.5 - r * 0.025));
    for (double r : {5.0, 9.0, 13.0}) c.Ellipse(fx, fy + 0.5, r - 1.0, r * 0.22 - 0.6, Mix(Hex(0x1e3440), Hex(0x2c4452), 0.5));
    c.Line(fx, fy - 5, fx, fy + 0.5, 2.0, Hex(0x202020));
    c.Line(fx, fy - 6.5, fx, fy - 3.5, 2.2, Hex(0xe83a20));
    // reeds at the left end
    for (int k = 0; k < 7; ++k) {
        const double x = 6 + k * 3.2;
        Blade(c, x, h, x + 1.5 - (k % 3), h - 10, x + 3 - (k % 4), h - 16 - (k % 3) * 3, 1.6, Hex(0x141c12));
    }
    // a thin dark edge
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y)
            if (x < 2 || y < 2 || x >= w - 2 || y >= h - 2) c.At(x, y) = Hex(0x0e161c);
    return c;
}

}  // namespace

void MakeTitleTextures(TextureList& out) {
    out.push_back(Finish("intro.bmp", Plate("QUELLAN", "", 4.6, 0, Hex(0x5a3a1e)), Store::Keyed32));
    out.push_back(Finish("intro2.bmp", Plate("WENDLOW LAKE", "HARROWMERE FISHERIES", 2.9, 1.6, Hex(0x2a4a3a)),
                         Store::Keyed32));
    const Scene scenes[7] = {
        {4101, 0.52, Hex(0x6a9ad0), Hex(0xd8e6f0), Hex(0x3a5e6a), Hex(0x2e4a22), 0.15, true, true, true, true, false},
        {4102, 0.48, Hex(0x7aa4d4), Hex(0xe4ecf2), Hex(0x46686e), Hex(0x34502a), 0.1, false, true, false, true, true},
        {4103, 0.55, Hex(0x8aa8c8), Hex(0xe8dcc8), Hex(0x4a5e5a), Hex(0x3a4a26), 0.35, true, false, true, false, false},
        {4104, 0.50, Hex(0x5a8ac8), Hex(0xdce8f4), Hex(0x2e5262), Hex(0x24401e), 0.05, false, true, true, false, true},
        {4105, 0.46, Hex(0x9ab4d0), Hex(0xf0e0c0), Hex(0x5a6a62), Hex(0x384a2a), 0.45, false, false, false, true, false},
        {4106, 0.53, Hex(0x6a94c8), Hex(0xe0eaf2), Hex(0x3a5a5e), Hex(0x2a4624), 0.2, true, true, false, false, true},
        {4107, 0.49, Hex(0x7aa0cc), Hex(0xf0e4d0), Hex(0x42606a), Hex(0x30482a), 0.25, false, true, true, true, false},
    };
    const char* names[7] = {"intro3.bmp", "intro3b.bmp", "intro3c.bmp", "intro3d.bmp", "intro3e.bmp", "intro3f.bmp", "intro3g.bmp"};
    for (int i = 0; i < 7; ++i) out.push_back(Finish(names[i], LakeScene(scenes[i]), Store::Opaque24));
    out.push_back(Finish("copy.bmp", Copyright(), Store::Opaque24));
}

}  // namespace ag
