// Ground textures: bank grass, worn path, fields, bank gravel, lake bed in depth bands, the plain
// silt tile and the field grass of the ground skirts. Terrain tiles are periodic and unchanged by
// quarter turns, because neighbouring cells show them turned.
#include <functional>

#include "textures.h"

namespace ag {

namespace {

const int N = 128;

// Calls `draw` for a feature and its three quarter-turned copies, each with wrap-around copies.
void Scatter4(double x, double y, double a, const std::function<void(double, double, double)>& draw) {
    double px[4] = {x, N - y, N - x, y}, py[4] = {y, x, N - y, N - x};
    for (int k = 0; k < 4; ++k)
        for (int ox = -1; ox <= 1; ++ox)
            for (int oy = -1; oy <= 1; ++oy) {
                double cx = px[k] + ox * N, cy = py[k] + oy * N;
                if (cx < -24 || cy < -24 || cx > N + 24 || cy > N + 24) continue;
                draw(cx, cy, a + k * PI / 2);
            }
}

// Periodic, rotation-symmetric noise in [0, 1].
double SymNoise(double x, double y, uint32_t seed, int cells, int oct) {
    auto f = [&](double u, double v) { return Fbm(u / N * cells, v / N * cells, seed, oct, cells); };
    return (f(x, y) + f(N - y, x) + f(N - x, N - y) + f(y, N - x)) / 4;
}

void Base(Canvas& c, Rgba lo, Rgba hi, uint32_t seed, int cells, double contrast) {
    c.Fill([&](double x, double y) {
        double n = SymNoise(x, y, seed, cells, 3);
        double m = SymNoise(x, y, seed + 5, cells * 4, 2);
        return Mix(lo, hi, Clamp(0.5 + (n - 0.5) * contrast * 2.2 + (m - 0.5) * 0.8, 0, 1));
    });
}

void Blades(Canvas& c, Rng& r, int count, Rgba dark, Rgba light, double len0, double len1) {
    for (int i = 0; i < count; ++i) {
        double x = r.Range(0, N), y = r.Range(0, N), a = r.Range(0, TWO_PI), len = r.Range(len0, len1);
        double bend = r.Range(-0.5, 0.5);
        Rgba col = Mix(dark, light, r.Uniform());
        double w = r.Range(0.9, 1.6);
        Scatter4(x, y, a, [&](double cx, double cy, double ang) {
            double ex = cx + Sin(ang) * len, ey = cy + Cos(ang) * len;
            double mx = cx + Sin(ang + bend) * len * 0.5, my = cy + Cos(ang + bend) * len * 0.5;
            c.Curve(cx, cy, mx, my, ex, ey, w, 0.4, col);
        });
    }
}

void Pebbles(Canvas& c, Rng& r, int count, double r0, double r1, Rgba base, double spread, double tint) {
    for (int i = 0; i < count; ++i) {
        double x = r.Range(0, N), y = r.Range(0, N), a = r.Range(0, PI);
        double rx = r.Range(r0, r1), ry = rx * r.Range(0.6, 0.95);
        double v = r.Range(-spread, spread);
        Rgba col = C(base.r + v + r.Range(-0.03, 0.03) * tint, base.g + v, base.b + v - r.Range(0, 0.04) * tint);
        Scatter4(x, y, a, [&](double cx, double cy, double ang) {
            // soft halo, then a rounded body lit from above (no side light, so quarter turns match)
            c.Ellipse(cx, cy, rx * 1.18, ry * 1.22, C(0, 0, 0, 0.22), ang);
            c.EllipseF(cx, cy, rx, ry, ang, [&](double px, double py) {
                double dx = px - cx, dy = py - cy;
                double d = std::sqrt(dx * dx + dy * dy) / rx;
                return Mix(Scale(col, 1.15), Scale(col, 0.8), Clamp(d * d, 0, 1));
            });
        });
    }
}

Texture Tile(const std::string& name, Canvas& c) { return Finish(name, c, Store::Keyed32); }

void Grass(TextureList& out, const char* name, uint32_t seed, Rgba lo, Rgba hi, Rgba bladeDark, Rgba bladeLight,
           int blades, int flowers, Rgba flower) {
    Canvas c(N, N);
    Base(c, lo, hi, seed, 4, 0.7);
    Rng r(seed);
    Blades(c, r, blades / 2, Scale(bladeDark, 0.8), bladeDark, 5, 10);
    Blades(c, r, blades / 2, bladeDark, bladeLight, 6, 13);
    for (int i = 0; i < flowers; ++i) {
        double x = r.Range(0, N), y = r.Range(0, N);
        Scatter4(x, y, 0, [&](double cx, double cy, double) {
            for (int p = 0; p < 5; ++p) {
                double a = p * TWO_PI / 5;
                c.Ellipse(cx + Sin(a) * 1.4, cy + Cos(a) * 1.4, 1.1, 1.1, flower);
            }
            c.Ellipse(cx, cy, 0.8, 0.8, Hex(0xe8c020));
        });
    }
    out.push_back(Tile(name, c));
}

void Bed(TextureList& out, const char* name, uint32_t seed, Rgba silt, Rgba stone, int pebbles, Rgba water, double depth) {
    Canvas c(N, N);
    Base(c, Scale(silt, 0.85), Scale(silt, 1.12), seed, 4, 0.6);
    Rng r(seed);
    Pebbles(c, r, pebbles, 2.0, 5.5, stone, 0.10, 1.0);
    // water tint and darkening with depth
    for (int y = 0; y < N; ++y)
        for (int x = 0; x < N; ++x) {
            Rgba& p = c.At(x, y);
            Rgba t = Mix(p, water, depth);
            p = C(t.r, t.g, t.b, 1);
        }
    out.push_back(Tile(name, c));
}

}  // namespace

void MakeGroundTextures(TextureList& out) {
    // 44..46 bank grass, 47 worn path, 48..49 fields beyond the fence
    Grass(out, "grass1.bmp", 11, Hex(0x3f6a24), Hex(0x5f8a34), Hex(0x355f1c), Hex(0x86b04c), 520, 0, Hex(0xffffff));
    Grass(out, "grass2.bmp", 12, Hex(0x4d7226), Hex(0x6f9438), Hex(0x41651e), Hex(0x9cba58), 520, 6, Hex(0xf4f4f0));
    Grass(out, "grass3.bmp", 13, Hex(0x335c20), Hex(0x4f7c2e), Hex(0x2a5218), Hex(0x74a040), 560, 3, Hex(0xf0d030));
    {
        Canvas c(N, N);
        Base(c, Hex(0x6a5536), Hex(0x8a7550), 14, 4, 0.8);
        Rng r(14);
        Pebbles(c, r, 14, 1.2, 2.6, Hex(0x9a8e78), 0.08, 1.0);
        Blades(c, r, 160, Hex(0x4a6424), Hex(0x8aa048), 4, 9);
        out.push_back(Tile("grass4.bmp", c));
    }
    Grass(out, "grass5.bmp", 15, Hex(0x6b7a34), Hex(0x8c9a48), Hex(0x5e6e2c), Hex(0xb0b860), 480, 0, Hex(0xffffff));
    Grass(out, "grass6.bmp", 16, Hex(0x4a6a2a), Hex(0x64843a), Hex(0x40602a), Hex(0x8aa450), 480, 8, Hex(0xd04040));
    // 50 bank-edge gravel, 51..56 lake bed light (shallow) to dark (deep)
    Bed(out, "stones1.bmp", 21, Hex(0x9a8a68), Hex(0xa89c84), 70, Hex(0x000000), 0.0);
    const uint32_t waters[6] = {0x5f9a96, 0x3f7e86, 0x2c6478, 0x1f4c66, 0x163a56, 0x0e2a44};
    const double depths[6] = {0.45, 0.58, 0.68, 0.76, 0.83, 0.88};
    for (int i = 0; i < 6; ++i) {
        std::string name = "stones" + std::to_string(i + 2) + ".bmp";
        Bed(out, name.c_str(), 62 + i, Hex(0x8a7c5c), Hex(0x9a8f7a), 40 - i * 5, Hex(waters[i]), depths[i]);
    }
    {
        // 57 plain silt
        Canvas c(N, N);
        Base(c, Hex(0x5c5240), Hex(0x706450), 31, 4, 0.5);
        out.push_back(Tile("blank.bmp", c));
    }
    {
        // ground skirts outside the grid: meadow grass, periodic
        Canvas c(N, N);
        Base(c, Hex(0x3f6a24), Hex(0x5f8a34), 41, 4, 0.7);
        Rng r(41);
        Blades(c, r, 500, Hex(0x355f1c), Hex(0x86b04c), 5, 12);
        out.push_back(Finish("surface.bmp", c, Store::Keyed32));
    }
}

}  // namespace ag
