// Scenery textures: tree, bush, reed and flower sprites, lily beds, wood, metal, the platform
// deck, the hut's bricks and the four tree-line panoramas.
#include <algorithm>
#include <vector>

#include "paint.h"
#include "textures.h"

namespace ag {

namespace {

const Rgba CLEAR{};

Texture Sprite(const std::string& name, const Canvas& c) { return Finish(name, c, Store::Keyed32); }

// ---- trees (128 × 256, foot at the bottom centre) ----
Canvas Oak(uint32_t seed) {
    Canvas c(128, 256, CLEAR);
    Rng r(seed);
    Trunk(c, 64, 256, 62, 120, 20, 10, Hex(0x2e2418), Hex(0x6a5a44), seed);
    Trunk(c, 62, 170, 34, 110, 8, 4, Hex(0x2e2418), Hex(0x5a4a38), seed + 1);
    Trunk(c, 63, 160, 96, 100, 8, 4, Hex(0x2e2418), Hex(0x5a4a38), seed + 2);
    Foliage f{Hex(0x1e3a14), Hex(0x6e9a3a), 3.0, 0.5, seed};
    Crown(c, r, 64, 92, 60, 84, 46, 0.34, f);
    return c;
}

Canvas Willow(uint32_t seed) {
    Canvas c(128, 256, CLEAR);
    Rng r(seed);
    Trunk(c, 64, 256, 60, 100, 22, 10, Hex(0x2a2418), Hex(0x5e5442), seed);
    Trunk(c, 61, 150, 30, 70, 8, 4, Hex(0x2a2418), Hex(0x5e5442), seed + 1);
    Trunk(c, 61, 140, 98, 66, 8, 4, Hex(0x2a2418), Hex(0x5e5442), seed + 2);
    Foliage f{Hex(0x3e5a1a), Hex(0xa8c060), 2.5, 0.45, seed};
    Crown(c, r, 64, 64, 54, 52, 30, 0.36, f);
    // hanging curtains of thin shoots
    for (int i = 0; i < 260; ++i) {
        double x = r.Range(8, 120), y0 = r.Range(24, 90);
        double edge = std::fabs(x - 64) / 56.0;
        double len = r.Range(60, 150) * (1.0 - 0.35 * edge);
        double y1 = std::min(236.0, y0 + len);
        double sway = r.Range(-6, 6) + (x - 64) * 0.12;
        Rgba col = Mix(Hex(0x4a6a20), Hex(0xb4cc6a), r.Uniform());
        c.Curve(x, y0, x + sway * 0.3, (y0 + y1) / 2, x + sway, y1, r.Range(1.4, 2.6), 0.8, col);
    }
    return c;
}

Canvas Birch(uint32_t seed) {
    Canvas c(128, 256, CLEAR);
    Rng r(seed);
    Trunk(c, 62, 256, 66, 40, 10, 4, Hex(0xa8a8a0), Hex(0xf2f2ea), seed);
    Trunk(c, 52, 256, 44, 80, 7, 3, Hex(0xa8a8a0), Hex(0xf0f0e8), seed + 3);
    for (int i = 0; i < 34; ++i) {
        double t = r.Range(0.05, 0.95), y = Lerp(250, 50, t), x = Lerp(62, 66, t);
        c.Rect(x - 4 + r.Range(0, 3), y, x + r.Range(0, 4), y + r.Range(1.5, 3.5), Hex(0x1c1c1c));
        double y2 = Lerp(250, 90, t);
        c.Rect(Lerp(52, 44, t) - 3, y2, Lerp(52, 44, t) + r.Range(0, 3), y2 + 2, Hex(0x1c1c1c));
    }
    Foliage f{Hex(0x3a5a1c), Hex(0xb0cc64), 2.2, 0.75, seed};
    Crown(c, r, 60, 84, 50, 78, 50, 0.26, f);
    return c;
}

Canvas Alder(uint32_t seed) {
    Canvas c(128, 256, CLEAR);
    Rng r(seed);
    Trunk(c, 64, 256, 64, 110, 14, 6, Hex(0x262018), Hex(0x564838), seed);
    Foliage f{Hex(0x14301a), Hex(0x4e7a34), 3.0, 0.5, seed};
    Crown(c, r, 64, 120, 58, 104, 56, 0.3, f);
    return c;
}

Canvas Hawthorn(uint32_t seed) {
    Canvas c(128, 256, CLEAR);
    Rng r(seed);
    Trunk(c, 64, 256, 60, 170, 16, 8, Hex(0x2a2218), Hex(0x5a4a3a), seed);
    Trunk(c, 62, 220, 90, 170, 7, 4, Hex(0x2a2218), Hex(0x5a4a3a), seed + 1);
    Foliage f{Hex(0x1e3a16), Hex(0x6a9444), 2.6, 0.45, seed};
    Crown(c, r, 64, 168, 60, 72, 44, 0.36, f);
    for (int i = 0; i < 160; ++i) {
        double a = r.Range(0, TWO_PI), d = std::sqrt(r.Uniform()) * 0.9;
        double x = 64 + Sin(a) * d * 56, y = 168 + Cos(a) * d * 66;
        if (c.At(static_cast<int>(x), static_cast<int>(y)).a < 0.5) continue;
        c.Ellipse(x, y, 1.4, 1.4, Mix(Hex(0xe8e4dc), Hex(0xffffff), r.Uniform()));
    }
    return c;
}

Canvas Poplar(uint32_t seed) {
    Canvas c(128, 256, CLEAR);
    Rng r(seed);
    Trunk(c, 64, 256, 64, 40, 12, 4, Hex(0x2e2a22), Hex(0x605848), seed);
    Foliage f{Hex(0x1a3416), Hex(0x5a8a3a), 2.4, 0.55, seed};
    Crown(c, r, 64, 118, 26, 112, 70, 0.6, f);
    return c;
}

// ---- reeds, sedges and flowers ----
Canvas Bulrush(uint32_t seed) {
    Canvas c(128, 256, CLEAR);
    Rng r(seed);
    for (int i = 0; i < 34; ++i) {
        double x0 = 64 + r.Range(-14, 14), lean = r.Range(-56, 56), h = r.Range(120, 224);
        Blade(c, x0, 256, x0 + lean * 0.2, 256 - h * 0.6, x0 + lean, 256 - h, r.Range(4, 6),
              Mix(Hex(0x3a5a20), Hex(0x7a9a44), r.Uniform()));
    }
    for (int i = 0; i < 5; ++i) {
        double x = 64 + r.Range(-40, 40), top = r.Range(20, 70);
        c.Line(64 + (x - 64) * 0.2, 256, x, top, 2.2, Hex(0x5a6a30));
        c.Rect(x - 4.5, top + 8, x + 4.5, top + 40, Hex(0x4a2e18), 4);
        c.Rect(x - 2, top + 10, x + 0.5, top + 36, Hex(0x6e4628), 1);
        c.Line(x, top, x, top + 9, 1.4, Hex(0x7a6a40));
    }
    return c;
}

Canvas Phragmites(uint32_t seed) {
    Canvas c(128, 256, CLEAR);
    Rng r(seed);
    for (int i = 0; i < 18; ++i) {
        double x0 = 64 + r.Range(-16, 16), x1 = 64 + r.Range(-54, 54), top = r.Range(24, 80);
        c.Line(x0, 256, x1, top + 30, 2.0, Mix(Hex(0x6a7a3a), Hex(0xa0a860), r.Uniform()));
        // leaves angled off the stem
        for (int k = 0; k < 5; ++k) {
            double t = r.Range(0.25, 0.85);
            double sx = Lerp(x0, x1, t), sy = Lerp(256, top + 30, t), dir = r.Chance(0.5) ? 1 : -1;
            Blade(c, sx, sy, sx + dir * 14, sy - 10, sx + dir * r.Range(20, 30), sy + r.Range(-4, 12), 3.5,
                  Mix(Hex(0x4a6a28), Hex(0x8aa04a), r.Uniform()));
        }
        // feathery plume
        for (int k = 0; k < 70; ++k) {
            double t = r.Uniform();
            double px = x1 + r.Range(-7, 7) * t + t * 8, py = top + 30 - 34 * (1 - t) + r.Range(-3, 3);
            c.Line(x1, py, px + r.Range(-3, 3), py + r.Range(2, 8), 1.3, Mix(Hex(0x5a3e3a), Hex(0xa08470), r.Uniform()));
        }
    }
    return c;
}

Canvas Iris(uint32_t seed) {
    Canvas c(128, 256, CLEAR);
    Rng r(seed);
    for (int i = 0; i < 28; ++i) {
        double x0 = 64 + r.Range(-14, 14), lean = r.Range(-56, 56), h = r.Range(110, 210);
        Blade(c, x0, 256, x0 + lean * 0.15, 256 - h * 0.7, x0 + lean, 256 - h, r.Range(7, 10),
              Mix(Hex(0x2e5a26), Hex(0x6e9a4a), r.Uniform()));
    }
    for (int i = 0; i < 4; ++i) {
        double x = 64 + r.Range(-44, 44), y = r.Range(60, 120);
        c.Line(64 + (x - 64) * 0.3, 256, x, y + 8, 2.4, Hex(0x4a7a34));
        for (int p = 0; p < 3; ++p) {
            double a = -1.2 + p * 1.2;
            c.Ellipse(x + Sin(a) * 7, y + 6 + Cos(a) * 5, 6, 3.2, Hex(0xf0c818), a);
        }
        c.Ellipse(x, y, 4, 6, Hex(0xffe040));
        c.Line(x - 1, y + 2, x + 1, y + 8, 1, Hex(0x8a5a10));
    }
    return c;
}

// Low clump of arching blades (128 × 128 shown at 4:5).
Canvas Sedge(uint32_t seed, Rgba dark, Rgba light, int heads, Rgba headCol) {
    Canvas c(128, 128, CLEAR);
    Rng r(seed);
    for (int i = 0; i < 48; ++i) {
        double x0 = 64 + r.Range(-14, 14), dir = r.Range(-1, 1), h = r.Range(60, 124);
        double x1 = x0 + dir * r.Range(20, 62), y1 = 128 - h * (1 - 0.45 * std::fabs(dir));
        Blade(c, x0, 128, x0 + dir * 6, 128 - h, x1, y1, r.Range(3, 5), Mix(dark, light, r.Uniform()));
    }
    for (int i = 0; i < heads; ++i) {
        double x = 64 + r.Range(-36, 36), y = r.Range(10, 40);
        c.Line(64 + (x - 64) * 0.2, 128, x, y, 1.4, Scale(dark, 1.2));
        c.Ellipse(x, y - 4, 2.4, 6, headCol);
    }
    return c;
}

Canvas Flowers(uint32_t seed) {
    Canvas c(128, 128, CLEAR);
    Rng r(seed);
    for (int i = 0; i < 24; ++i) {
        double x0 = 64 + r.Range(-10, 10), dir = r.Range(-1, 1);
        Blade(c, x0, 128, x0 + dir * 10, 100, x0 + dir * 40, r.Range(70, 110), 4, Mix(Hex(0x2e5a22), Hex(0x6a9a40), r.Uniform()));
    }
    // purple spikes
    for (int i = 0; i < 5; ++i) {
        double x = 64 + r.Range(-40, 40), top = r.Range(8, 40);
        c.Line(64 + (x - 64) * 0.3, 128, x, top + 20, 2, Hex(0x4a6a2e));
        for (int k = 0; k < 14; ++k) c.Ellipse(x + r.Range(-3, 3), top + k * 2.2, 2.6, 2.0, Mix(Hex(0x8a2a8a), Hex(0xd060c0), r.Uniform()));
    }
    // white and yellow flower heads
    for (int i = 0; i < 8; ++i) {
        double x = 64 + r.Range(-48, 48), y = r.Range(40, 90);
        c.Line(64 + (x - 64) * 0.4, 128, x, y, 1.5, Hex(0x4a7a34));
        Rgba petal = i % 2 ? Hex(0xf6f6f0) : Hex(0xf4d030);
        for (int p = 0; p < 6; ++p) {
            double a = p * TWO_PI / 6;
            c.Ellipse(x + Sin(a) * 3.5, y + Cos(a) * 3.5, 2.6, 1.5, petal, -a);
        }
        c.Ellipse(x, y, 2, 2, i % 2 ? Hex(0xf0c020) : Hex(0x8a5a10));
    }
    return c;
}

Canvas Bramble(uint32_t seed) {
    Canvas c(128, 128, CLEAR);
    Rng r(seed);
    Foliage f{Hex(0x16301a), Hex(0x4e7838), 2.4, 0.5, seed};
    Crown(c, r, 64, 72, 60, 56, 40, 0.4, f);
    c.Rect(20, 96, 108, 128, CLEAR);
    Crown(c, r, 64, 104, 62, 26, 20, 0.7, f);
    Trunk(c, 64, 128, 60, 96, 10, 6, Hex(0x2a2218), Hex(0x5a4a3a), seed);
    for (int i = 0; i < 40; ++i) {
        double x = r.Range(10, 118), y = r.Range(20, 120);
        if (c.At(static_cast<int>(x), static_cast<int>(y)).a < 0.5) continue;
        c.Ellipse(x, y, 1.6, 1.6, i % 3 ? Hex(0x2a1030) : Hex(0x8a1a2a));
    }
    return c;
}

// ---- lily beds, 256 × 256 seen from above (or below) ----
void LilyPad(Canvas& c, double x, double y, double rad, double notch, Rgba dark, Rgba light, bool under) {
    c.Paint(x - rad, y - rad, x + rad, y + rad,
            [=](double px, double py) {
                double dx = px - x, dy = py - y, d = std::sqrt(dx * dx + dy * dy);
                double a = Atan2(dx, dy) - notch;
                a = std::fmod(a + 3 * PI, TWO_PI) - PI;
                double cut = std::fabs(a) < 0.22 ? (0.22 - std::fabs(a)) * rad * 4 : 0;
                return d - rad + std::min(cut, rad);
            },
            [=](double px, double py) {
                double dx = px - x, dy = py - y, d = std::sqrt(dx * dx + dy * dy) / rad;
                double a = Atan2(dx, dy);
                double vein = std::fabs(Sin(a * 9)) < 0.12 ? 1.0 : 0.0;
                Rgba col = Mix(light, dark, Clamp(d * 0.6 + 0.2, 0, 1));
                if (vein > 0 && d > 0.1) col = Mix(col, under ? Hex(0xb06a5a) : Scale(light, 1.2), 0.5);
                if (d > 0.9) col = Scale(col, under ? 1.1 : 0.8);
                return col;
            });
}

void LilyFlower(Canvas& c, double x, double y, double rad, Rgba petal) {
    for (int ring = 0; ring < 2; ++ring)
        for (int p = 0; p < 8; ++p) {
            double a = p * TWO_PI / 8 + ring * 0.39;
            double rr = rad * (ring ? 0.55 : 0.9);
            c.Ellipse(x + Sin(a) * rr * 0.55, y + Cos(a) * rr * 0.55, rr * 0.5, rr * 0.2, ring ? Scale(petal, 1.05) : Scale(petal, 0.9), PI / 2 - a);
        }
    c.Ellipse(x, y, rad * 0.2, rad * 0.2, Hex(0xf0c020));
}

Canvas Lilies(uint32_t seed, bool under, bool flowers) {
    Canvas c(256, 256, CLEAR);
    Rng r(seed);
    struct P { double x, y, rad; };
    std::vector<P> pads;
    for (int i = 0; i < 400 && pads.size() < 34; ++i) {
        double a = r.Range(0, TWO_PI), d = std::sqrt(r.Uniform()) * 100;
        double x = 128 + Sin(a) * d, y = 128 + Cos(a) * d, rad = r.Range(14, 26) * (1 - d / 260);
        bool ok = true;
        for (const P& p : pads)
            if (std::sqrt((p.x - x) * (p.x - x) + (p.y - y) * (p.y - y)) < (p.rad + rad) * 0.72) ok = false;
        if (ok) pads.push_back({x, y, rad});
    }
    if (under) {
        for (const P& p : pads) c.Line(128 + (p.x - 128) * 0.2, 128 + (p.y - 128) * 0.2, p.x, p.y, 2.2, Hex(0x6a5a3a));
    }
    for (const P& p : pads) {
        Rgba dark = under ? Hex(0x5a2a2a) : Mix(Hex(0x1e4a1a), Hex(0x2a5a20), r.Uniform());
        Rgba light = under ? Hex(0x9a5a48) : Mix(Hex(0x5a8a34), Hex(0x7aa040), r.Uniform());
        LilyPad(c, p.x, p.y, p.rad, r.Range(0, TWO_PI), dark, light, under);
    }
    if (flowers)
        for (int i = 0; i < 5; ++i) {
            const P& p = pads[static_cast<size_t>(r.Int(0, static_cast<int>(pads.size()) - 1))];
            LilyFlower(c, p.x + r.Range(-4, 4), p.y + r.Range(-4, 4), r.Range(10, 14), i % 2 ? Hex(0xf8f4f4) : Hex(0xf4b8c8));
        }
    return c;
}

// ---- wood, metal, deck, bricks ----
Canvas Wood(Rgba dark, Rgba light, double plank, uint32_t seed, double weather) {
    Canvas c(128, 128);
    Planks(c, dark, light, plank, 1.5, seed, true);
    if (weather > 0) {
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x) {
                double n = Fbm(x / 32.0, y / 32.0, seed + 9, 3, 4);
                Rgba& p = c.At(x, y);
                p = Mix(p, Hex(0x8a8a80), Clamp((n - 0.45) * weather * 2, 0, 0.5));
            }
    }
    return c;
}

Canvas EndGrain(uint32_t seed) {
    Canvas c(128, 128);
    c.Fill([&](double x, double y) {
        double n = Fbm(x / 32.0, y / 32.0, seed, 2, 4);
        double d = std::sqrt((x - 64) * (x - 64) + (y - 64) * (y - 64)) + n * 14;
        double ring = 0.5 + 0.5 * Sin(d * 0.7);
        return Mix(Hex(0x7a5a38), Hex(0xb08e62), ring * 0.6 + n * 0.4);
    });
    return c;
}

Canvas Metal() {
    Canvas c(64, 64);
    c.Fill([](double x, double y) {
        double n = Fbm(x / 16.0, y / 16.0, 61u, 3, 4);
        double sp = ValueNoise(x / 3.0, y / 3.0, 62u, 21);
        return Mix(Hex(0x7a7e82), Hex(0xb8bcc0), Clamp(n * 0.7 + sp * 0.4, 0, 1));
    });
    return c;
}

Canvas Deck() {
    Canvas c(128, 128);
    // decking boards across the platform, weathered
    Planks(c, Hex(0x5e4a32), Hex(0x9a8260), 16, 2, 71u, true);
    Rng r(72);
    for (int i = 0; i < 40; ++i) {
        double x = r.Range(0, 128), y = r.Range(0, 128);
        c.Ellipse(x, y, r.Range(0.8, 1.6), r.Range(0.8, 1.6), Mix(Hex(0x7a7060), Hex(0xa8a090), r.Uniform()));
    }
    for (int row = 0; row < 8; ++row)
        for (int k = 0; k < 2; ++k) {
            double x = k ? 100 : 28, y = row * 16 + 8;
            c.Ellipse(x, y, 1.3, 1.3, Hex(0x2a2a2a));
        }
    return c;
}

Canvas Bricks(Rgba base, uint32_t seed, double dirt) {
    Canvas c(128, 128);
    const double bh = 16, bw = 32;
    c.Fill([&](double x, double y) {
        int row = static_cast<int>(y / bh);
        double off = (row % 2) * bw / 2;
        int col = static_cast<int>(std::floor((x + off) / bw));
        double fx = x + off - col * bw, fy = y - row * bh;
        if (fx < 2.5 || fy < 2.5) return Mix(Hex(0xb0a890), Hex(0x8a8470), ValueNoise(x / 2, y / 2, seed));
        double t = HashUnit(col & 3, row, seed) * 0.35;
        double n = ValueNoise(x / 3.0, y / 3.0, seed + 1) * 0.25;
        Rgba k = Scale(base, 0.8 + t + n);
        double grime = Fbm(x / 32.0, y / 32.0, seed + 2, 2, 4);
        return Mix(k, Hex(0x3a3a2a), Clamp((grime - 0.5) * dirt + (1 - y / 128.0) * 0 , 0, 0.6));
    });
    return c;
}

// ---- panoramas ----
// One tree line 887 units round, cut into the four strips at their lengths.
struct Pano { const char* name; double t0, t1; };
const Pano PANOS[4] = {{"border1.bmp", 0, 150}, {"border1b.bmp", 150, 433}, {"border1c.bmp", 433, 603},
                        {"border1d.bmp", 603, 887}};
const double LOOP = 887;

struct PanoTree { double t, h, w; int kind; double tone; };

std::vector<PanoTree> PanoTrees() {
    Rng r(0xB0DE5ull);
    std::vector<PanoTree> trees;
    double t = 0;
    while (t < LOOP) {
        PanoTree p;
        p.t = t;
        double k = r.Uniform();
        p.kind = k < 0.12 ? 1 : (k < 0.22 ? 2 : 0);  // 0 round, 1 poplar, 2 conifer
        p.h = p.kind == 1 ? r.Range(8.5, 10.5) : r.Range(5.0, 9.6);
        p.w = p.kind == 1 ? r.Range(1.2, 1.8) : p.kind == 2 ? r.Range(2.0, 3.0) : r.Range(2.5, 5.5);
        p.tone = r.Range(-0.12, 0.12);
        trees.push_back(p);
        t += r.Range(1.5, 5.0);
    }
    return trees;
}

void MakePanoramas(TextureList& out) {
    std::vector<PanoTree> trees = PanoTrees();
    const int W = 2048, H = 128;
    const double pxY = H / 12.0;  // 12 units tall, y -1..11
    auto rowOf = [&](double y) { return (11.0 - y) * pxY; };
    for (const Pano& pano : PANOS) {
        Canvas c(W, H, CLEAR);
        double len = pano.t1 - pano.t0, pxX = W / len;
        auto colOf = [&](double t) { return (t - pano.t0) * pxX; };
        // back row of hazy trees, then the trees, then the hedge and bank
        for (int layer = 0; layer < 2; ++layer)
            for (int copy = -1; copy <= 1; ++copy)
                for (size_t i = 0; i < trees.size(); ++i) {
                    const PanoTree& tr = trees[i];
                    double t = tr.t + copy * LOOP + (layer == 0 ? 1.7 : 0);
                    double hw = tr.w * (layer == 0 ? 1.2 : 1.0);
                    if (t + hw < pano.t0 - 1 || t - hw > pano.t1 + 1) continue;
                    double h = layer == 0 ? tr.h * 0.82 : tr.h;
                    double cx = colOf(t), rx = hw * pxX;
                    double top = rowOf(h), base = rowOf(0.5);
                    uint32_t seed = static_cast<uint32_t>(i * 31 + layer);
                    Rgba dark = layer == 0 ? Hex(0x3c5a4a) : Mix(Hex(0x1a3418), Hex(0x28421e), 0.5 + tr.tone * 3);
                    Rgba light = layer == 0 ? Hex(0x6a8a74) : Mix(Hex(0x5a8236), Hex(0x7a9a44), 0.5 + tr.tone * 3);
                    if (tr.kind == 2 && layer == 1) { dark = Hex(0x142a1c); light = Hex(0x3a5a36); }
                    double ry = (base - top) / 2;
                    c.Paint(cx - rx * 1.3, top - 4, cx + rx * 1.3, base,
                            [&](double x, double y) {
                                double u = (x - cx) / rx, v = (y - top) / (base - top);  // v 0 top .. 1 base
                                // leaf edge noise in world units so strips join
                                double wt = (x / pxX) + pano.t0;
                                double n = ValueNoise(wt * 2.2, y / 3.0, seed) - 0.5;
                                double shape;
                                if (tr.kind == 2) shape = std::fabs(u) - (0.15 + 0.95 * v);
                                else if (tr.kind == 1) shape = std::fabs(u) - Sin(Clamp(v, 0, 1) * PI * 0.9 + 0.15) * 1.0;
                                else shape = std::sqrt(u * u + (v - 0.55) * (v - 0.55) / 0.36) - 1.0;
                                return (shape + n * 0.35) * std::min(rx, ry);
                            },
                            [&](double x, double y) {
                                double u = (x - cx) / rx, v = (y - top) / (base - top);
                                double wt = (x / pxX) + pano.t0;
                                double speck = ValueNoise(wt * 3.0, y / 2.0, seed + 5);
                                double lit = Clamp(0.6 - 0.35 * u - 0.4 * v + (speck - 0.5) * 0.7, 0, 1);
                                return Mix(dark, light, lit);
                            });
                }
        // hedge and grass bank along the bottom, fully opaque
        c.Paint(0, rowOf(2.6), W, H,
                [&](double x, double y) {
                    double wt = x / pxX + pano.t0;
                    double top = rowOf(1.6 + 0.9 * Fbm(wt / 6.0, 0.5, 909u, 3, static_cast<int>(LOOP / 6) + 0) +
                                      0.25 * ValueNoise(wt * 2.5, 0.5, 910u));
                    return top - y;
                },
                [&](double x, double y) {
                    double wt = x / pxX + pano.t0;
                    double n = ValueNoise(wt * 2.0, y / 2.5, 911u);
                    double v = (y - rowOf(2.5)) / (H - rowOf(2.5));
                    return Mix(Mix(Hex(0x2a4a1e), Hex(0x5a7e34), n), Hex(0x4a6a2a), Clamp((v - 0.6) * 2.5, 0, 1));
                });
        c.Rect(0, rowOf(0.8), W, H, Hex(0x4a6e2a));
        for (int x = 0; x < W; ++x)
            for (int y = static_cast<int>(rowOf(0.8)); y < H; ++y) {
                double wt = x / pxX + pano.t0;
                c.At(x, y) = Mix(Hex(0x45682a), Hex(0x628a38), ValueNoise(wt * 3, y / 1.5, 912u));
            }
        out.push_back(Sprite(pano.name, c));
    }
}

}  // namespace

void MakeSceneryTextures(TextureList& out) {
    out.push_back(Sprite("decal1.bmp", Oak(101)));
    out.push_back(Sprite("decal2.bmp", Willow(102)));
    out.push_back(Sprite("decal3.bmp", Birch(103)));
    out.push_back(Sprite("decal4.bmp", Sedge(104, Hex(0x3a6a22), Hex(0x8ab04a), 0, Hex(0))));
    out.push_back(Sprite("decal5.bmp", Sedge(105, Hex(0x4a6a4a), Hex(0x8aa07a), 7, Hex(0x6a4a24))));
    out.push_back(Sprite("decal6.bmp", Alder(106)));
    out.push_back(Sprite("decal7.bmp", Hawthorn(107)));
    out.push_back(Sprite("decal8.bmp", Sedge(108, Hex(0x5a6a2a), Hex(0xb0b060), 9, Hex(0xc0a868))));
    out.push_back(Sprite("decal9.bmp", Bulrush(109)));
    out.push_back(Sprite("decal10.bmp", Phragmites(110)));
    out.push_back(Sprite("decal11.bmp", Flowers(111)));
    out.push_back(Sprite("decal12.bmp", Bramble(112)));
    out.push_back(Sprite("decal13.bmp", Poplar(113)));
    out.push_back(Sprite("decal14.bmp", Iris(114)));
    out.push_back(Sprite("lillys.bmp", Lilies(121, false, true)));
    out.push_back(Sprite("lillys2.bmp", Lilies(122, false, true)));
    out.push_back(Sprite("lillys3.bmp", Lilies(122, true, false)));
    out.push_back(Finish("wood.bmp", Wood(Hex(0x5a4630), Hex(0x9a8060), 21.33, 131, 0.8), Store::Opaque24));
    out.push_back(Finish("woodb.bmp", Wood(Hex(0x3a2a1c), Hex(0x6a5438), 21.33, 132, 0.4), Store::Opaque24));
    out.push_back(Finish("wood2.bmp", EndGrain(133), Store::Opaque24));
    out.push_back(Finish("wood3.bmp", Wood(Hex(0x6a5034), Hex(0xa88a62), 32, 134, 0.5), Store::Opaque24));
    out.push_back(Finish("wood4.bmp", EndGrain(135), Store::Opaque24));
    out.push_back(Finish("metal.bmp", Metal(), Store::Opaque24));
    out.push_back(Finish("gravel.bmp", Deck(), Store::Opaque24));
    out.push_back(Finish("bricks.bmp", Bricks(Hex(0x9a4a30), 141, 0.8), Store::Keyed32));
    out.push_back(Finish("bricks2.bmp", Bricks(Hex(0x8a4634), 142, 1.2), Store::Keyed32));
    out.push_back(Finish("bricks3.bmp", Bricks(Hex(0xa05a3a), 143, 0.6), Store::Keyed32));
    MakePanoramas(out);
}

}  // namespace ag
