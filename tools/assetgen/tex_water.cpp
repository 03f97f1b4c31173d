// Water layers, sky, ripples and wakes, and the small wildlife sprites.
#include "textures.h"

namespace ag {

namespace {

const Rgba CLEAR{};

// Periodic ripple field in [0, 1] on an n-pixel tile.
double Ripples(double x, double y, int n, uint32_t seed) {
    double u = x / n, v = y / n;
    double warp = Fbm(u * 4, v * 4, seed, 2, 4) - 0.5;
    double s = 0;
    s += Sin(TWO_PI * (3 * u + 5 * v + warp * 0.8));
    s += 0.7 * Sin(TWO_PI * (-6 * u + 4 * v + warp * 1.2));
    s += 0.5 * Sin(TWO_PI * (9 * u - 2 * v + warp));
    s += 0.35 * Sin(TWO_PI * (2 * u + 11 * v - warp));
    double n1 = Fbm(u * 8, v * 8, seed + 3, 3, 8) - 0.5;
    return Clamp(0.5 + s * 0.16 + n1 * 0.6, 0, 1);
}

Canvas WaterSurface() {
    const int n = 256;
    Canvas c(n, n);
    c.Fill([&](double x, double y) {
        double r = Ripples(x, y, n, 501u);
        Rgba col = Mix(Hex(0x2e4a3a), Hex(0x7a9a82), Smooth(r));
        col.a = static_cast<float>(Lerp(110, 175, r) / 255.0);
        return col;
    });
    return c;
}

Canvas SkyReflection() {
    const int n = 512;
    Canvas c(n, n);
    c.Fill([&](double x, double y) {
        double cl = Fbm(x / n * 4, y / n * 4, 511u, 5, 4);
        double k = SmoothStep(0.42, 0.72, cl);
        Rgba col = Mix(Hex(0x9ab8d0), Hex(0xf4f6f8), k);
        col.a = static_cast<float>(Lerp(40, 100, k) / 255.0);
        return col;
    });
    return c;
}

Canvas DeepMurk() {
    const int n = 256;
    Canvas c(n, n);
    c.Fill([&](double x, double y) {
        double m = Fbm(x / n * 3, y / n * 3, 521u, 3, 3);
        Rgba col = Mix(Hex(0x1e3a2c), Hex(0x4a6a48), m);
        col.a = static_cast<float>(Lerp(32, 58, m) / 255.0);
        return col;
    });
    return c;
}

Canvas DeepLayer() {
    const int n = 128;
    Canvas c(n, n);
    c.Fill([&](double x, double y) {
        double m = Fbm(x / n * 4, y / n * 4, 531u, 3, 4);
        return Mix(Hex(0x1c3428), Hex(0x34503c), m);
    });
    return c;
}

Canvas Glints() {
    const int n = 128;
    Canvas c(n, n, CLEAR);
    Rng r(541);
    for (int i = 0; i < 70; ++i) {
        double x = r.Range(0, n), y = r.Range(0, n), len = r.Range(3, 9), a = r.Range(-0.3, 0.3);
        Rgba col = Mix(Hex(0xb8c8c0), Hex(0xf0f4f0), r.Uniform());
        for (int ox = -1; ox <= 1; ++ox)
            for (int oy = -1; oy <= 1; ++oy) {
                double cx = x + ox * n, cy = y + oy * n;
                c.Curve(cx - len, cy, cx, cy - 1.2 + a, cx + len, cy, 1.3, 1.3, col);
            }
    }
    return c;
}

Canvas Sky() {
    const int n = 1024;
    Canvas c(n, n);
    c.Fill([&](double x, double y) {
        double u = x / n, v = y / n;
        double cl = Fbm(u * 24, v * 24, 551u, 5, 24, 0.55);
        double wisp = Fbm(u * 96, v * 24, 552u, 2, 24);
        double k = SmoothStep(0.47, 0.7, cl + (wisp - 0.5) * 0.08);
        double shade = SmoothStep(0.55, 0.85, cl);
        Rgba blue = Mix(Hex(0x4a78b0), Hex(0x6a94c4), Fbm(u * 4, v * 4, 553u, 2, 4));
        Rgba cloud = Mix(Hex(0xe4e8ee), Hex(0xa8b0bc), shade * 0.7);
        return Mix(blue, cloud, k);
    });
    return c;
}

Canvas Ripple(int stage) {
    Canvas c(128, 128, CLEAR);
    double r0 = 57.6;
    Rgba col = stage == 1 ? Hex(0xe8f0ec) : stage == 2 ? Hex(0xb8c8c0) : Hex(0x8aa098);
    double width = stage == 1 ? 3.2 : stage == 2 ? 2.6 : 2.0;
    c.Paint(0, 0, 128, 128,
            [&](double x, double y) {
                double dx = x - 64, dy = y - 64, d = std::sqrt(dx * dx + dy * dy);
                double ring = std::fabs(d - r0) - width / 2;
                if (stage > 1) {
                    double a = Atan2(dx, dy);
                    double gaps = Sin(a * (stage == 2 ? 5 : 9) + stage) + (stage == 3 ? 0.3 : -0.4);
                    if (gaps > 0.55) ring = std::max(ring, 2.0);
                }
                return ring;
            },
            [&](double, double) { return col; });
    return c;
}

Canvas Wake(int stage) {
    Canvas c(128, 128, CLEAR);
    Rgba col = stage == 1 ? Hex(0xe0ece8) : stage == 2 ? Hex(0xb4c4bc) : Hex(0x8a9e96);
    for (int side = -1; side <= 1; side += 2) {
        for (int k = 0; k < 3 - (stage - 1); ++k) {
            double off = k * 7.0;
            c.Line(64 + side * off * 0.5, 64 + off, side > 0 ? 126 - off : 2 + off, 126, 2.4 - stage * 0.4, col);
        }
    }
    return c;
}

Canvas Gull() {
    Canvas c(128, 64, CLEAR);
    // seen from below: wings along x, head toward the bottom
    for (double side = -1; side <= 1; side += 2) {
        std::vector<double> wing = {64, 26, 64 + side * 30, 18, 64 + side * 62, 24, 64 + side * 58, 30,
                                    64 + side * 30, 34, 64, 38};
        c.Polygon(wing, Hex(0xe8eaec));
        std::vector<double> tip = {64 + side * 50, 21, 64 + side * 62, 24, 64 + side * 58, 30, 64 + side * 48, 29};
        c.Polygon(tip, Hex(0x2a2a2e));
        c.Line(64 + side * 8, 36, 64 + side * 52, 29, 1.5, Hex(0xc4c8cc));
    }
    c.Ellipse(64, 32, 6, 18, Hex(0xf4f4f4));
    c.Ellipse(64, 50, 4.5, 5, Hex(0xf8f8f8));
    c.Polygon({62.5, 54, 65.5, 54, 64, 60}, Hex(0xe8c020));
    c.Polygon({59, 14, 69, 14, 64, 20}, Hex(0xf0f0f0));
    return c;
}

Canvas Insect(bool fly) {
    Canvas c(32, 32, CLEAR);
    if (fly) {
        c.Ellipse(10, 12, 8, 5, Hex(0xc8d0d8), -0.5);
        c.Ellipse(22, 12, 8, 5, Hex(0xc8d0d8), 0.5);
        c.Ellipse(16, 18, 5, 8, Hex(0x1a1a1a));
        c.Ellipse(16, 9, 4, 4, Hex(0x2a2020));
    } else {
        c.Ellipse(11, 13, 7, 3.5, Hex(0xb8c0c4), -0.6);
        c.Ellipse(21, 13, 7, 3.5, Hex(0xb8c0c4), 0.6);
        c.Line(16, 8, 16, 28, 3, Hex(0x3a3428));
        c.Ellipse(16, 8, 3, 3, Hex(0x3a3428));
    }
    return c;
}

Canvas Bubble() {
    Canvas c(32, 32, CLEAR);
    c.EllipseF(16, 16, 13, 13, 0, [](double x, double y) {
        double d = std::sqrt((x - 16) * (x - 16) + (y - 16) * (y - 16)) / 13;
        return Mix(Hex(0x6a8a84), Hex(0xd8ecec), Clamp(d * d * 1.2, 0, 1));
    });
    c.Ellipse(11, 11, 4, 3, Hex(0xffffff), -0.7);
    return c;
}

Canvas Dragonfly() {
    Canvas c(64, 64, CLEAR);
    for (int side = -1; side <= 1; side += 2) {
        c.Ellipse(32 + side * 14, 22, 14, 4.5, C(0.82, 0.9, 0.95), side * 0.15);
        c.Ellipse(32 + side * 13, 31, 13, 4, C(0.78, 0.86, 0.92), -side * 0.15);
    }
    c.Line(32, 24, 32, 60, 3.2, Hex(0x1a5aa0));
    for (int k = 0; k < 6; ++k) c.Line(30.4, 30 + k * 5, 33.6, 30 + k * 5, 1, Hex(0x0a2a50));
    c.Ellipse(32, 22, 4, 5, Hex(0x1a4a7a));
    c.Ellipse(32, 15, 4.5, 3.5, Hex(0x2a8a5a));
    return c;
}

}  // namespace

void MakeWaterSkyTextures(TextureList& out) {
    out.push_back(Finish("water.tga", WaterSurface(), Store::Tga32));
    out.push_back(Finish("sky2.tga", SkyReflection(), Store::Tga32));
    out.push_back(Finish("water3.tga", DeepMurk(), Store::Tga32));
    out.push_back(Finish("water3b.bmp", DeepLayer(), Store::Keyed32));
    out.push_back(Finish("water2.bmp", Glints(), Store::Keyed32));
    out.push_back(Finish("sky.bmp", Sky(), Store::Keyed32));
    for (int s = 1; s <= 3; ++s) {
        out.push_back(Finish("ripple" + std::to_string(s) + ".bmp", Ripple(s), Store::Keyed32));
        out.push_back(Finish("vrip" + std::to_string(s) + ".bmp", Wake(s), Store::Keyed32));
    }
    out.push_back(Finish("gull.bmp", Gull(), Store::Keyed32));
    out.push_back(Finish("swarm1.bmp", Insect(false), Store::Keyed32));
    out.push_back(Finish("swarm2.bmp", Insect(true), Store::Keyed32));
    out.push_back(Finish("bubble.bmp", Bubble(), Store::Keyed32));
    out.push_back(Finish("dragon.bmp", Dragonfly(), Store::Keyed32));
}

}  // namespace ag
