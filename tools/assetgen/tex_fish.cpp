// Fish skins (side view, upside down, nose left), the pectoral fin, tail and mouth.
// Body strips sample u 0.045..0.78 (nose to tail root) and v 0.35..0.79: belly v 0.45,
// lateral line 0.55, back 0.65, dorsal fin 0.60..0.79, pelvic and anal fins 0.35..0.48.
#include <vector>

#include "textures.h"

namespace ag {

namespace {

const int S = 256;
const Rgba CLEAR{};

enum class Pattern { Common, Scattered, Linear, Plated, FullMirror, Leather, Ghost, GhostMirror, Zip, Patch };

struct Style {
    Pattern pattern;
    uint32_t back, flank, belly, fin;
    uint32_t seed;
    int marks = 0;  // 1 dark spots, 2 scar, 3 blush on the cheeks
};

double U(double x) { return x / S; }

// Base colour of the body at (u, v).
Rgba BodyColour(const Style& st, double u, double v) {
    Rgba back = Hex(st.back), flank = Hex(st.flank), belly = Hex(st.belly), fin = Hex(st.fin);
    Rgba col;
    if (v < 0.45) col = Mix(fin, belly, SmoothStep(0.40, 0.45, v));
    else if (v < 0.55) col = Mix(belly, flank, SmoothStep(0.45, 0.56, v));
    else if (v < 0.66) col = Mix(flank, back, SmoothStep(0.55, 0.66, v));
    else col = Mix(back, Scale(back, 0.75), SmoothStep(0.66, 0.72, v));
    // mottling, darker toward the tail root and the head top
    double n = Fbm(u * 18, v * 18, st.seed, 3) - 0.5;
    col = Scale(col, 1.0 + n * 0.22);
    if (u < 0.27 && v > 0.45) {
        // head: smooth, a little warmer
        col = Mix(col, Scale(Hex(st.flank), 1.08), 0.25 * SmoothStep(0.27, 0.15, u) * (1 - SmoothStep(0.6, 0.67, v)));
    }
    if (u > 0.72) col = Scale(col, 0.92);
    return col;
}

void Rays(Canvas& c, double v0, double v1, Rgba col, double spacing, double shade) {
    for (int y = static_cast<int>(v0 * S); y < static_cast<int>(v1 * S); ++y)
        for (int x = 0; x < S; ++x) {
            double ray = std::fabs(Sin(x * PI / spacing));
            Rgba& p = c.At(x, y);
            p = Mix(p, Scale(col, 0.8 + 0.25 * ray), 0.55);
            p = Scale(p, 1 - shade * (1 - ray) * 0.4);
        }
}

void CommonScales(Canvas& c, const Style& st, double u0, double u1, double v0, double v1, double su, double sv,
                  double contrast) {
    // tail first, so the scales nearer the head overlap them
    int cols = static_cast<int>((u1 - u0) * S / su) + 2, rows = static_cast<int>((v1 - v0) * S / sv) + 2;
    for (int i = cols; i >= 0; --i)
        for (int j = 0; j <= rows; ++j) {
            double x = u0 * S + i * su + (j % 2) * su / 2, y = v0 * S + j * sv;
            double v = y / S;
            if (x > u1 * S) continue;
            Rgba base = BodyColour(st, x / S, v);
            double jitter = HashUnit(i, j, st.seed) * 0.1;
            c.EllipseF(x, y, su * 0.78, sv * 0.82, 0, [&](double px, double py) {
                double dx = (px - x) / (su * 0.78), dy = (py - y) / (sv * 0.82);
                double d = std::sqrt(dx * dx + dy * dy);
                double rim = SmoothStep(0.55, 1.0, d) * (dx > -0.2 ? 1.0 : 0.3);
                double lit = 1.06 + jitter - rim * contrast;
                Rgba k = Scale(base, lit);
                k.a = static_cast<float>(SmoothStep(0.445, 0.475, py / S) * (1 - SmoothStep(0.72, 0.775, px / S)) *
                                         SmoothStep(0.255, 0.29, px / S));
                return k;
            });
        }
}

void BigScale(Canvas& c, const Style& st, double u, double v, double rad, double seedOff) {
    double x = u * S, y = v * S, rx = rad, ry = rad * 0.8;
    Rgba base = Mix(BodyColour(st, u, v), Hex(0xd0b060), 0.22);
    double rot = (HashUnit(static_cast<int>(x), static_cast<int>(y), st.seed) - 0.5) * 0.6;
    c.EllipseF(x + 1, y + 1.2, rx, ry, rot, [&](double, double) { return C(0, 0, 0, 0.22); });
    c.EllipseF(x, y, rx, ry, rot, [&](double px, double py) {
        double dx = (px - x) / rx, dy = (py - y) / ry, d = std::sqrt(dx * dx + dy * dy);
        double a = Atan2(dy, dx);
        double radial = 0.5 + 0.5 * Sin(a * 14 + seedOff);
        double lit = 1.08 - 0.22 * SmoothStep(0.7, 1.0, d) - 0.1 * dx + 0.04 * radial * (1 - d);
        return Scale(base, lit);
    });
    // growth rings
    for (double k = 0.35; k < 0.95; k += 0.3) c.Ring(x, y, rad * k, 0.6, C(0.3, 0.22, 0.08, 0.12));
}

Canvas Skin(const Style& st) {
    Canvas c(S, S);
    c.Fill([&](double x, double y) { return BodyColour(st, U(x), U(y)); });
    Rng r(st.seed);
    // fin bands: pelvic/anal (v 0.33..0.45), dorsal (0.66..0.80)
    Rays(c, 0.30, 0.445, Hex(st.fin), 4.0, 0.6);
    Rays(c, 0.665, 0.82, Scale(Hex(st.back), 0.9), 4.5, 0.7);
    for (int y = static_cast<int>(0.82 * S); y < S; ++y)
        for (int x = 0; x < S; ++x) c.At(x, y) = Scale(Hex(st.back), 0.7);

    const double su = 6.5, sv = 5.5;
    switch (st.pattern) {
        case Pattern::Common: CommonScales(c, st, 0.26, 0.77, 0.45, 0.665, su, sv, 0.45); break;
        case Pattern::Ghost: CommonScales(c, st, 0.26, 0.77, 0.45, 0.665, su, sv, 0.18); break;
        case Pattern::FullMirror:
            for (int i = 0; i < 60; ++i) BigScale(c, st, r.Range(0.28, 0.76), r.Range(0.47, 0.66), r.Range(5, 9), i);
            break;
        default: break;
    }
    auto row = [&](double v, double uFrom, double uTo, double rad0, double rad1, double gapChance) {
        for (double u = uFrom; u < uTo; u += (rad0 + rad1) / S * 1.05) {
            if (r.Chance(gapChance)) continue;
            BigScale(c, st, u + r.Range(-0.006, 0.006), v + r.Range(-0.008, 0.008), r.Range(rad0, rad1), u * 40);
        }
    };
    switch (st.pattern) {
        case Pattern::Scattered:
            row(0.645, 0.30, 0.70, 6, 10, 0.35);
            for (int i = 0; i < 9; ++i) BigScale(c, st, r.Range(0.3, 0.74), r.Range(0.5, 0.62), r.Range(6, 12), i);
            break;
        case Pattern::Linear:
            row(0.645, 0.30, 0.72, 6, 9, 0.1);
            row(0.555, 0.28, 0.74, 7, 10, 0.05);
            break;
        case Pattern::Plated:
            row(0.645, 0.29, 0.72, 7, 10, 0.05);
            for (int i = 0; i < 14; ++i) BigScale(c, st, r.Range(0.28, 0.74), r.Range(0.49, 0.63), r.Range(9, 15), i);
            break;
        case Pattern::Zip: row(0.65, 0.28, 0.74, 5, 7, 0.0); break;
        case Pattern::Patch:
            row(0.645, 0.30, 0.70, 6, 9, 0.4);
            CommonScales(c, st, 0.52, 0.66, 0.5, 0.6, 5.5, 4.5, 0.4);
            break;
        case Pattern::Leather:
            for (int i = 0; i < 3; ++i) BigScale(c, st, r.Range(0.55, 0.72), r.Range(0.63, 0.655), r.Range(4, 6), i);
            break;
        case Pattern::GhostMirror:
            row(0.645, 0.30, 0.70, 6, 9, 0.3);
            for (int i = 0; i < 5; ++i) BigScale(c, st, r.Range(0.3, 0.74), r.Range(0.5, 0.62), r.Range(6, 10), i);
            break;
        default: break;
    }
    if (st.marks == 1 || st.pattern == Pattern::Ghost || st.pattern == Pattern::GhostMirror) {
        for (int i = 0; i < 45; ++i) {
            double u = r.Range(0.08, 0.6), v = r.Range(0.56, 0.68);
            double rad = r.Range(1.2, 3.2);
            c.Ellipse(u * S, v * S, rad, rad * 0.8, C(0.12, 0.1, 0.08, 0.55));
        }
    }
    if (st.marks == 2) c.Curve(0.42 * S, 0.58 * S, 0.47 * S, 0.55 * S, 0.53 * S, 0.57 * S, 2.2, 1.0, C(0.85, 0.7, 0.6, 0.9));
    // lateral line on scaled fish
    if (st.pattern == Pattern::Common || st.pattern == Pattern::Ghost)
        for (double u = 0.27; u < 0.76; u += 0.012) c.Ellipse(u * S, (0.555 + 0.01 * Sin(u * 9)) * S, 1.0, 0.8, C(0.15, 0.12, 0.06, 0.5));
    // head: gill cover, cheek, eye
    c.Curve(0.255 * S, 0.46 * S, 0.29 * S, 0.56 * S, 0.245 * S, 0.655 * S, 2.4, 1.6, Scale(Hex(st.back), 0.9));
    c.Curve(0.245 * S, 0.47 * S, 0.275 * S, 0.56 * S, 0.235 * S, 0.645 * S, 1.2, 1.0, Scale(Hex(st.belly), 1.05));
    if (st.marks == 3) c.Ellipse(0.17 * S, 0.52 * S, 12, 7, C(0.85, 0.45, 0.3, 0.35));
    c.Ellipse(0.105 * S, 0.585 * S, 6.5, 6, Hex(0xc8a040));
    c.Ellipse(0.105 * S, 0.585 * S, 4.2, 4.0, Hex(0x0c0c0c));
    c.Ellipse(0.097 * S, 0.578 * S, 1.4, 1.2, Hex(0xe0e0d0));
    // nose
    for (int y = 0; y < S; ++y)
        for (int x = 0; x < static_cast<int>(0.08 * S); ++x) c.At(x, y) = Scale(c.At(x, y), 0.86 + 0.14 * SmoothStep(0, 0.08 * S, x));
    return c;
}

Canvas PecFin(const Style& st) {
    Canvas c(64, 64, CLEAR);
    // root at the bottom (v 1), tip at the top; front edge on the right (u 1)
    c.Paint(0, 0, 64, 64,
            [](double x, double y) {
                double dx = x - 40, dy = 66 - y, d = std::sqrt(dx * dx + dy * dy);
                double a = Atan2(dx, dy);  // 0 straight up
                double inFan = std::max(-a - 0.75, a - 0.45) * d;
                return std::max(d - 62 + 10 * SmoothStep(-0.7, 0.5, a) * 0, inFan);
            },
            [&](double x, double y) {
                double dx = x - 40, dy = 66 - y;
                double a = Atan2(dx, dy);
                double ray = std::fabs(Sin(a * 22));
                double d = std::sqrt(dx * dx + dy * dy) / 62;
                return Scale(Mix(Hex(st.fin), Hex(st.belly), 0.3 * (1 - d)), 0.75 + 0.3 * ray);
            });
    return c;
}

Canvas Tail(const Style& st) {
    Canvas c(64, 64, CLEAR);
    // u 0 root, u 1 trailing edge; v 0 lower lobe, v 1 upper lobe; fork notch at the right middle
    c.Paint(0, 0, 64, 64,
            [](double x, double y) {
                double u = x / 64, v = y / 64;
                double half = 0.16 + 0.34 * SmoothStep(0.0, 0.85, u);  // half height of the fan
                double body = std::fabs(v - 0.5) - half;
                double notch = 0.16 * SmoothStep(0.55, 1.0, u) - std::fabs(v - 0.5);  // > 0 inside notch
                double trailing = u - (0.97 - 0.25 * (1 - std::fabs(v - 0.5) * 2));
                return std::max(std::max(body, notch), trailing) * 64;
            },
            [&](double x, double y) {
                double u = x / 64, v = y / 64;
                double ray = std::fabs(Sin((v - 0.5) / (0.2 + u) * 12));
                Rgba base = Mix(Scale(Hex(st.back), 1.1), Hex(st.fin), 0.35 + 0.3 * u);
                return Scale(base, 0.78 + 0.3 * ray);
            });
    return c;
}

Canvas Mouth() {
    Canvas c(32, 32, CLEAR);
    c.Ellipse(16, 16, 14, 12, Hex(0xd89a78));
    c.Ellipse(16, 17, 9, 7, Hex(0xb06a58));
    c.Ellipse(16, 17, 5.5, 4.0, Hex(0x2a1410));
    c.Ellipse(12, 10, 3, 1.6, Hex(0xf0c0a0));
    return c;
}

}  // namespace

void MakeFishTextures(TextureList& out) {
    const Style named[27] = {
        {Pattern::Plated, 0x3a341a, 0xb08a34, 0xecd69a, 0x8a6a44, 1001},
        {Pattern::Ghost, 0x8c8a80, 0xd4d0c2, 0xf4f0e6, 0xc8b8a8, 1002},
        {Pattern::Scattered, 0x2e3420, 0x807a3c, 0xd4cc94, 0x6a6048, 1003},
        {Pattern::Common, 0x3a3018, 0x9a7a30, 0xe2c880, 0xb07040, 1004},
        {Pattern::Scattered, 0x34301c, 0xa08a44, 0xe4d49c, 0x7a6448, 1005, 1},
        {Pattern::Linear, 0x1e1c14, 0x5a5030, 0xb8a878, 0x4a4034, 1006},
        {Pattern::Zip, 0x2e2a18, 0x8a7436, 0xdcc890, 0x6e5a40, 1007},
        {Pattern::Common, 0x3e2a16, 0xa86a34, 0xe8c48a, 0xc0643a, 1008, 3},
        {Pattern::FullMirror, 0x3a3418, 0xb8943a, 0xf0dca0, 0x8a7048, 1009},
        {Pattern::Plated, 0x32200e, 0x8e5a2c, 0xd8b07a, 0x7a4a30, 1010},
        {Pattern::Scattered, 0x2a2c22, 0x747458, 0xcac6a0, 0x5a5848, 1011, 2},
        {Pattern::Linear, 0x3a2c14, 0xb47a2c, 0xeccc88, 0x9a6a3a, 1012},
        {Pattern::Scattered, 0x30301c, 0x8c8040, 0xdcd098, 0x6a5c44, 1013},
        {Pattern::Plated, 0x1c1a12, 0x5e5430, 0xb4a474, 0x4a4030, 1014},
        {Pattern::Common, 0x3c3618, 0xb0962e, 0xf0dc8c, 0xb8843c, 1015},
        {Pattern::Scattered, 0x2e2012, 0x8a5c30, 0xd6b07c, 0x6e4a30, 1016},
        {Pattern::Leather, 0x181612, 0x403a28, 0x9a8e68, 0x3a3428, 1017},
        {Pattern::Scattered, 0x34281a, 0x9a7040, 0xe0c090, 0xc05a3a, 1018, 3},
        {Pattern::Linear, 0x22180e, 0x644424, 0xbc9a6c, 0x4e3826, 1019},
        {Pattern::Zip, 0x302c18, 0x8c7a3a, 0xdcca90, 0x6a5a40, 1020, 2},
        {Pattern::Plated, 0x3a3216, 0xbc9838, 0xf2e0a0, 0x9a7a44, 1021},
        {Pattern::Patch, 0x28301c, 0x6e7a3c, 0xcccc94, 0x5a6044, 1022},
        {Pattern::Plated, 0x34301c, 0x98823e, 0xe4d49a, 0x7a6a48, 1023},
        {Pattern::GhostMirror, 0x7a7a74, 0xc8c6bc, 0xf0eee6, 0xb8aca0, 1024},
        {Pattern::Scattered, 0x2c1e10, 0x845628, 0xd4aa74, 0x704a2c, 1025, 1},
        {Pattern::Linear, 0x3a2810, 0xb8702a, 0xf0c880, 0xc0703a, 1026},
        {Pattern::Zip, 0x2a2a18, 0x7a6c34, 0xd4c48c, 0x5e5440, 1027, 1},
    };
    for (int k = 0; k < 27; ++k) {
        std::string name = "carp" + std::to_string(k + 1) + ".bmp";
        out.push_back(Finish(name, Skin(named[k]), Store::Keyed32));
    }
    const Style common{Pattern::Common, 0x383018, 0x987a34, 0xe0c884, 0xa87040, 2001};
    out.push_back(Finish("common.bmp", Skin(common), Store::Keyed32));
    out.push_back(Finish("mirror.bmp", Skin({Pattern::Scattered, 0x32301c, 0x94843e, 0xe0d29a, 0x706048, 2002}), Store::Keyed32));
    out.push_back(Finish("mirror2.bmp", Skin({Pattern::Linear, 0x2e2616, 0x8a6a34, 0xdac08a, 0x6a5038, 2003}), Store::Keyed32));
    out.push_back(Finish("mirror3.bmp", Skin({Pattern::Plated, 0x2a2c1c, 0x7c7840, 0xd2cc98, 0x5e5a44, 2004}), Store::Keyed32));
    out.push_back(Finish("mirror4.bmp", Skin({Pattern::Leather, 0x141410, 0x38321e, 0x8a7e5c, 0x2e2a20, 2005, 1}), Store::Keyed32));
    out.push_back(Finish("pec1.bmp", PecFin(common), Store::Keyed32));
    out.push_back(Finish("tail.bmp", Tail(common), Store::Keyed32));
    out.push_back(Finish("mouth.bmp", Mouth(), Store::Keyed32));
}

}  // namespace ag
