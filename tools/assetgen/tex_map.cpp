// Map screen textures: the panel frame, buttons, pan pad, centre marker, swim numbers, rod/reel,
// bait, groundbait and method pictures, and the rig drawings.
#include <vector>

#include "paint.h"
#include "textures.h"

namespace ag {

namespace {

const Rgba CLEAR{};
const Rgba PANEL = Hex(0xe8dfc4);
const Rgba INK = Hex(0x1e1e1e);

Texture O(const std::string& n, const Canvas& c) { return Finish(n, c, Store::Opaque24); }

// Light tile for a panel picture.
Canvas Tile(int n) {
    Canvas c(n, n, PANEL);
    c.Rect(0, 0, n, n, Hex(0x8a7e62), n / 10.0);
    c.RectF(2, 2, n - 2, n - 2, n / 12.0, [n](double x, double y) {
        return Mix(Hex(0xf6f0de), Hex(0xd8ceb0), (x + y) / (2.0 * n));
    });
    return c;
}

void Ball(Canvas& c, double x, double y, double r, Rgba col) {
    c.Ellipse(x + r * 0.15, y + r * 0.2, r, r, C(0, 0, 0, 0.25));
    c.EllipseF(x, y, r, r, 0, [=](double px, double py) {
        double k = Clamp(0.5 - ((px - x) + (py - y)) / (2.2 * r), 0, 1);
        return Mix(Scale(col, 0.7), Scale(col, 1.2), k);
    });
    c.Ellipse(x - r * 0.35, y - r * 0.35, r * 0.22, r * 0.18, C(1, 1, 1, 0.6));
}

void Hook(Canvas& c, double x, double y, double s, Rgba col) {
    c.Line(x, y - 14 * s, x, y + 4 * s, 2.2 * s, col);
    c.Curve(x, y + 4 * s, x + 1 * s, y + 12 * s, x + 7 * s, y + 8 * s, 2.2 * s, 2.0 * s, col);
    c.Line(x + 7 * s, y + 8 * s, x + 7 * s, y + 2 * s, 2 * s, col);
    c.Polygon({x + 7 * s, y + 1 * s, x + 9.5 * s, y + 5 * s, x + 6.5 * s, y + 5 * s}, col);
    c.Ring(x, y - 15.5 * s, 1.8 * s, 1.2 * s, col);
}

void Lead(Canvas& c, double x, double y, double s) {
    c.Ellipse(x, y, 5 * s, 9 * s, Hex(0x3a3e34));
    c.Ellipse(x - 1.5 * s, y - 2 * s, 1.6 * s, 4 * s, Hex(0x7a7e70));
}

// ---- panel pieces ----
Canvas Border() {
    const int n = 1024;
    Canvas c(n, n);
    c.Fill([&](double x, double y) {
        double grain = Fbm(x / 300.0, y / 40.0, 3001u, 3);
        return Mix(Hex(0xe2d8ba), Hex(0xf2ead4), grain);
    });
    // window frame (the hole itself is cut below)
    // The window ends above the labels of the tackle row (81 % down the screen).
    const double x0 = 0.1104 * n, x1 = 0.8871 * n, y0 = 0.145 * n, y1 = 0.79 * n;
    c.Rect(x0 - 10, y0 - 10, x1 + 10, y1 + 10, Hex(0x9a8c6a), 6);
    c.Rect(x0 - 6, y0 - 6, x1 + 6, y1 + 6, Hex(0xcfc3a0), 4);
    c.Rect(x0 - 3, y0 - 3, x1 + 3, y1 + 3, Hex(0x5a5040));
    // soft insets where the panel's pictures and labels sit
    auto inset = [&](double u0, double v0, double u1, double v1) {
        c.Rect(u0 * n, v0 * n, u1 * n, v1 * n, Hex(0xc8bc98), 8);
        c.Rect(u0 * n + 2, v0 * n + 2, u1 * n - 2, v1 * n - 2, Hex(0xeee6cc), 7);
    };
    inset(0.012, 0.012, 0.105, 0.995);   // left column: go fishing, zoom, move, tour, duck, swim, method
    inset(0.895, 0.012, 0.988, 0.995);   // right column: bait, groundbait, stocks, contours
    // sentences across the top: wide enough for the longest of every tackle choice (they start at
    // 31 % of the screen and end short of the right column's labels)
    inset(0.11, 0.012, 0.89, 0.135);
    inset(0.11, 0.80, 0.89, 0.995);      // tackle row and rig (the rig drawing reaches the left column)
    // outer bevel
    c.Rect(0, 0, n, 4, Hex(0xfaf6ea));
    c.Rect(0, 0, 4, n, Hex(0xfaf6ea));
    c.Rect(0, n - 4, n, n, Hex(0xa89c7c));
    c.Rect(n - 4, 0, n, n, Hex(0xa89c7c));
    // the map window
    for (int y = static_cast<int>(y0); y < static_cast<int>(std::ceil(y1)); ++y)
        for (int x = static_cast<int>(x0); x < static_cast<int>(std::ceil(x1)); ++x) c.At(x, y) = CLEAR;
    return c;
}

Canvas Button() {
    Canvas c(128, 64);
    c.Fill([](double x, double y) { return Mix(Hex(0xfaf4e0), Hex(0xd6cba8), (y / 64.0) * 0.8 + x / 128.0 * 0.2); });
    c.Rect(0, 0, 128, 3, Hex(0xffffff));
    c.Rect(0, 0, 3, 64, Hex(0xffffff));
    c.Rect(0, 61, 128, 64, Hex(0x8a7e5e));
    c.Rect(125, 0, 128, 64, Hex(0x8a7e5e));
    return c;
}

Canvas MovePad() {
    Canvas c(64, 64, CLEAR);
    c.Ellipse(32, 32, 31, 31, Hex(0x8a7e62));
    c.Ellipse(32, 32, 29, 29, Hex(0xf2ead4));
    for (int k = 0; k < 8; ++k) {
        double a = k * PI / 4, ca = Cos(a), sa = Sin(a);
        double tx = 32 + sa * 26, ty = 32 - ca * 26, bx = 32 + sa * 15, by = 32 - ca * 15;
        double px = -ca * 5.5, py = -sa * 5.5;
        c.Polygon({tx, ty, bx + px, by + py, bx - px, by - py}, k % 2 ? Hex(0x5a5040) : Hex(0x2a2a2a));
    }
    c.Line(26, 26, 38, 38, 3.5, Hex(0xb02020));
    c.Line(38, 26, 26, 38, 3.5, Hex(0xb02020));
    return c;
}

Canvas Hud() {
    Canvas c(64, 64, CLEAR);
    c.Ring(32, 32, 20, 3.5, Hex(0x101010));
    c.Ring(32, 32, 20, 1.6, Hex(0xfff060));
    for (int k = 0; k < 4; ++k) {
        double a = k * PI / 2;
        c.Line(32 + Sin(a) * 12, 32 + Cos(a) * 12, 32 + Sin(a) * 30, 32 + Cos(a) * 30, 3.5, Hex(0x101010));
        c.Line(32 + Sin(a) * 13, 32 + Cos(a) * 13, 32 + Sin(a) * 29, 32 + Cos(a) * 29, 1.6, Hex(0xfff060));
    }
    return c;
}

Canvas SwimNumber(int d) {
    Canvas c(64, 64, Hex(0x1a1a1a));
    c.Rect(3, 3, 61, 61, Hex(0xfff4c0), 6);
    c.Rect(6, 6, 58, 58, Hex(0xffd83a), 5);
    std::string s(1, static_cast<char>('0' + d));
    double scale = 6.0, w = Canvas::TextWidth(s, scale);
    c.Text(s, 32 - w / 2, 32 - 3.5 * scale, scale, Hex(0x101010), 0.6);
    return c;
}

// ---- rod/reel ----
Canvas Reel(int size) {
    Canvas c = Tile(64);
    double r = 8 + size * 3.2;
    c.Line(4, 50, 60, 14, 3, Hex(0x1e2024));
    c.Rect(24, 40, 30, 48, Hex(0x3a3a3a));
    c.Ellipse(28, 40 - r * 0.4, r * 0.55, r, Hex(0x202226));
    c.Ellipse(28, 40 - r * 0.4, r * 0.42, r * 0.8, Hex(0x8a9098));
    c.Ellipse(28, 40 - r * 0.4, r * 0.2, r * 0.4, Hex(0x3a3e44));
    c.Line(28 + r * 0.5, 40 - r * 0.4, 28 + r * 0.9, 40 - r * 0.9, 2, Hex(0x303030));
    c.Ellipse(28 + r * 0.95, 40 - r * 0.95, 2.5, 2.5, Hex(0x101010));
    return c;
}

// ---- baits ----
Canvas Baits(int which) {
    Canvas c = Tile(64);
    Rng r(3100 + which);
    switch (which) {
        case 1:  // fruity boilies
            Ball(c, 22, 24, 9, Hex(0xe03a4a)); Ball(c, 42, 26, 9, Hex(0xf0c020)); Ball(c, 32, 42, 9, Hex(0xf07830));
            break;
        case 2:  // fishmeal boilies
            Ball(c, 22, 24, 9, Hex(0x8a5a2a)); Ball(c, 42, 26, 9, Hex(0x6a4422)); Ball(c, 32, 42, 9, Hex(0x9a6a34));
            break;
        case 3:  // fruity pop-ups
        case 4:  // fishmeal pop-ups
            Hook(c, 32, 46, 1.0, Hex(0x404448));
            c.Line(32, 30, 32, 20, 1.2, Hex(0x303030));
            Ball(c, 32, 16, 10, which == 3 ? Hex(0xf8e030) : Hex(0xc89a5a));
            break;
        case 5:  // hard pellets
        case 6:  // soft pellets
            for (int i = 0; i < 9; ++i) {
                double x = 14 + (i % 3) * 18 + r.Range(-2, 2), y = 14 + (i / 3) * 18 + r.Range(-2, 2);
                Rgba col = which == 5 ? Hex(0x4a3018) : Hex(0xa07a4a);
                c.Ellipse(x, y, 6.5, 6.5, Scale(col, 0.7));
                c.Ellipse(x - 1, y - 1, 5.5, 5.5, col);
                if (which == 5) c.Ellipse(x - 2, y - 2, 1.5, 1.5, Hex(0x8a6a40));
            }
            break;
        case 8:  // luncheon meat
            for (int i = 0; i < 4; ++i) {
                double x = 20 + (i % 2) * 22, y = 20 + (i / 2) * 22;
                c.Polygon({x - 8, y - 4, x + 2, y - 10, x + 10, y - 4, x, y + 2}, Hex(0xf0a8a0));
                c.Polygon({x - 8, y - 4, x, y + 2, x, y + 12, x - 8, y + 6}, Hex(0xd07870));
                c.Polygon({x, y + 2, x + 10, y - 4, x + 10, y + 6, x, y + 12}, Hex(0xb8605a));
            }
            break;
        case 9:  // sweet corn
            for (int i = 0; i < 10; ++i) {
                double x = r.Range(14, 50), y = r.Range(14, 50);
                c.Ellipse(x, y, 6, 7, Hex(0xd8a810), r.Range(0, 3));
                c.Ellipse(x - 1, y - 1, 4.5, 5.5, Hex(0xffd838), r.Range(0, 3));
            }
            break;
        case 10:  // maggots
        case 11:  // casters
            for (int i = 0; i < 8; ++i) {
                double x = r.Range(14, 50), y = r.Range(14, 50), a = r.Range(0, PI);
                Rgba col = which == 10 ? Hex(0xe8d8b0) : Mix(Hex(0x8a3a1a), Hex(0xc06a2a), r.Uniform());
                c.Ellipse(x, y, 9, 3.8, Scale(col, 0.62), a);
                c.Ellipse(x, y, 8, 3.0, col, a);
                if (which == 10)
                    for (int k = -2; k <= 2; ++k)
                        c.Line(x + Cos(a) * k * 3 - Sin(a) * 3, y + Sin(a) * k * 3 + Cos(a) * 3,
                               x + Cos(a) * k * 3 + Sin(a) * 3, y + Sin(a) * k * 3 - Cos(a) * 3, 0.7, Hex(0xc8bca0));
            }
            break;
        case 12:  // worms
            for (int i = 0; i < 3; ++i) {
                double y = 18 + i * 14;
                c.Curve(8, y, 20 + i * 6, y - 16, 34, y + 4, 5, 5, Hex(0xa83a4a));
                c.Curve(34, y + 4, 46, y + 18, 56, y - 2, 5, 4, Hex(0xb84858));
            }
            break;
        case 13:  // bread
            c.Rect(12, 14, 52, 50, Hex(0xb07a3a), 8);
            c.Rect(15, 17, 49, 47, Hex(0xf6f0e0), 6);
            for (int i = 0; i < 30; ++i) c.Ellipse(r.Range(18, 46), r.Range(20, 44), 1, 1, Hex(0xd8ceb8));
            break;
        default: break;
    }
    return c;
}

Canvas Groundbait(int which) {
    Canvas c = Tile(64);
    Rng r(3200 + which);
    if (which == 3) {  // hemp
        for (int i = 0; i < 34; ++i) {
            double x = r.Range(12, 52), y = r.Range(12, 52);
            c.Ellipse(x, y, 3.6, 3.2, Hex(0x2a2620));
            c.Line(x - 1, y - 2.5, x + 1, y + 2.5, 0.9, Hex(0xe8e0c8));
        }
        return c;
    }
    Rgba base = which == 1 ? Hex(0x7a5a32) : Hex(0xc0503a);
    Ball(c, 26, 28, 14, base);
    Ball(c, 42, 40, 11, Scale(base, 1.1));
    for (int i = 0; i < 60; ++i) {
        double x = r.Range(12, 54), y = r.Range(14, 52);
        c.Ellipse(x, y, 0.9, 0.9, Scale(base, r.Range(0.6, 1.4)));
    }
    return c;
}

Canvas Grain(int which) {
    Canvas c(32, 32, PANEL);
    Rng r(3300 + which);
    Rgba col = which == 0 ? Hex(0xc89a4a) : which == 1 ? Hex(0xd8c080) : Hex(0xe0d8b8);
    for (int i = 0; i < 6; ++i) {
        double x = r.Range(8, 24), y = r.Range(8, 24), a = r.Range(0, PI);
        c.Ellipse(x, y, 5, 2.6, Scale(col, 0.75), a);
        c.Ellipse(x, y, 4.2, 2.0, col, a);
    }
    return c;
}

// ---- methods ----
void Feeder(Canvas& c, double x, double y, double s) {
    c.Rect(x - 7 * s, y - 10 * s, x + 7 * s, y + 10 * s, Hex(0x303030), 2 * s);
    c.Rect(x - 5.5 * s, y - 8.5 * s, x + 5.5 * s, y + 8.5 * s, Hex(0x9a6a3a), 1.5 * s);
    for (int k = -1; k <= 1; ++k) c.Line(x + k * 3.5 * s, y - 9 * s, x + k * 3.5 * s, y + 9 * s, 1.2 * s, Hex(0x303030));
    for (int k = -2; k <= 2; ++k) c.Line(x - 6 * s, y + k * 3.5 * s, x + 6 * s, y + k * 3.5 * s, 1.2 * s, Hex(0x303030));
}

void WagglerFloat(Canvas& c, double x, double y, double s) {
    c.Rect(x - 2 * s, y - 18 * s, x + 2 * s, y + 14 * s, Hex(0x2e2c26), 1.5 * s);
    c.Rect(x - 2 * s, y - 18 * s, x + 2 * s, y - 11 * s, Hex(0xff6010), 1.5 * s);
}

void ControllerFloat(Canvas& c, double x, double y, double s) {
    c.Ellipse(x, y, 6 * s, 9 * s, Hex(0xe8e4d8));
    c.Rect(x - 3 * s, y - 14 * s, x + 3 * s, y - 7 * s, Hex(0xff8a00), 1.5 * s);
}

Canvas Method(int m) {
    Canvas c = Tile(64);
    Rgba line = Hex(0x3a5a3a);
    switch (m) {
        case 1:  // semi-fixed inline lead
            c.Line(32, 4, 32, 22, 1.4, line);
            Lead(c, 32, 28, 1.2);
            c.Line(32, 36, 32, 42, 1.4, Hex(0x6a4a2a));
            Hook(c, 30, 52, 0.6, Hex(0x404448));
            break;
        case 2:  // running ledger
            c.Line(32, 4, 32, 44, 1.4, line);
            c.Line(32, 14, 20, 22, 1.2, Hex(0x505050));
            Lead(c, 18, 30, 1.0);
            c.Ellipse(32, 40, 2, 3, Hex(0x808080));
            Hook(c, 30, 54, 0.6, Hex(0x404448));
            break;
        case 3:  // chod rig
            c.Line(32, 4, 32, 26, 1.4, line);
            Lead(c, 32, 34, 1.0);
            c.Curve(32, 26, 46, 20, 48, 40, 2, 2, Hex(0x2a2a2a));
            Ball(c, 50, 46, 6, Hex(0xf0c020));
            break;
        case 4:  // swim feeder
            c.Line(32, 4, 32, 20, 1.4, line);
            Feeder(c, 32, 32, 1.0);
            Hook(c, 44, 54, 0.55, Hex(0x404448));
            c.Line(32, 42, 44, 46, 1.2, line);
            break;
        case 5:  // waggler
            c.Line(32, 24, 32, 56, 1.2, line);
            WagglerFloat(c, 32, 24, 1.1);
            c.Ellipse(32, 44, 2, 2, Hex(0x505050));
            Hook(c, 31, 58, 0.45, Hex(0x404448));
            break;
        case 6:  // surface controller
            ControllerFloat(c, 24, 30, 1.2);
            c.Line(28, 36, 50, 38, 1.2, line);
            Hook(c, 50, 46, 0.5, Hex(0x404448));
            break;
        case 7:  // free line
            c.Curve(10, 8, 40, 20, 32, 40, 1.4, 1.4, line);
            Hook(c, 32, 50, 0.8, Hex(0x404448));
            break;
        default: break;
    }
    return c;
}

// Horizontal rig drawing, 512 × 64, parts at fixed positions along u.
Canvas Rig(int m) {
    Canvas c(512, 64);
    c.Fill([](double x, double y) { return Mix(Hex(0xf2ead4), Hex(0xe0d6b8), Fbm(x / 90.0, y / 20.0, 3401u, 2)); });
    c.Rect(0, 0, 512, 2, Hex(0x9a8c6a));
    c.Rect(0, 62, 512, 64, Hex(0x9a8c6a));
    auto X = [](double u) { return u * 512; };
    const double y = 34;
    Rgba main = Hex(0x2e5a2e), hl = Hex(0x6a4a2a);
    auto hook = [&](double u) { Hook(c, X(u) - 2, y + 6, 1.3, Hex(0x3a3e42)); };
    switch (m) {
        case 1: case 2: case 4:
            c.Line(X(0.03), y, X(0.66), y, 2, main);
            c.Line(X(0.66), y, X(0.895), y, 2, hl);
            if (m == 1) Lead(c, X(0.59), y, 1.6);
            if (m == 2) { c.Line(X(0.59), y, X(0.59), y + 8, 1.5, Hex(0x606060)); Lead(c, X(0.59), y + 16, 1.1); c.Ellipse(X(0.66), y, 4, 3, Hex(0x707070)); }
            if (m == 4) Feeder(c, X(0.59), y, 1.3);
            c.Ring(X(0.66), y, 3, 1.5, Hex(0x505050));
            c.Line(X(0.69), y - 5, X(0.77), y - 5, 1, Hex(0x9a8c6a));
            hook(0.91);
            c.Line(X(0.91) + 2, y + 14, X(0.965), y + 14, 1.2, Hex(0x606060));
            Ball(c, X(0.97), y + 14, 6, Hex(0xe0a040));
            break;
        case 3:
            c.Line(X(0.2), y, X(0.5), y - 6, 2.5, Hex(0x2a2a2a));
            hook(0.56);
            Ball(c, X(0.56) + 4, y - 18, 7, Hex(0xf0c020));
            c.Line(X(0.5), y - 6, X(0.95), y, 2, main);
            c.Ring(X(0.62), y - 5, 3, 1.5, Hex(0x505050));
            Lead(c, X(0.91), y + 6, 1.4);
            break;
        case 5:
            c.Line(X(0.03), y - 10, X(0.73), y - 10, 2, main);
            c.Line(X(0.73), y - 10, X(0.9), y + 6, 1.5, main);
            for (int k = 0; k < 2; ++k) c.Ellipse(X(0.59) + k * 10, y - 10, 4, 4, Hex(0x505050));
            WagglerFloat(c, X(0.73), y - 10, 1.3);
            c.Line(0, y - 4, 512, y - 4, 1, C(0.3, 0.45, 0.7, 0.6));
            hook(0.91);
            break;
        case 6:
            c.Line(X(0.03), y - 8, X(0.59), y - 8, 2, main);
            ControllerFloat(c, X(0.59), y - 8, 1.2);
            c.Line(X(0.6), y - 8, X(0.9), y - 8, 1.5, hl);
            c.Line(0, y - 2, 512, y - 2, 1, C(0.3, 0.45, 0.7, 0.6));
            hook(0.91);
            c.Rect(X(0.91) + 4, y - 16, X(0.91) + 16, y - 6, Hex(0xf6f0e0), 3);
            break;
        case 7:
            c.Line(X(0.03), y, X(0.9), y, 2, main);
            hook(0.91);
            break;
        default: break;
    }
    return c;
}

}  // namespace

void MakeMapTextures(TextureList& out) {
    out.push_back(Finish("border.bmp", Border(), Store::Keyed32));
    out.push_back(Finish("move.bmp", MovePad(), Store::Keyed32));
    out.push_back(Finish("hud1.bmp", Hud(), Store::Keyed32));
    out.push_back(O("mode.bmp", Button()));
    const char* digits[9] = {"one", "two", "three", "four", "five", "six", "seven", "eight", "nine"};
    for (int d = 1; d <= 9; ++d) out.push_back(O(std::string(digits[d - 1]) + ".bmp", SwimNumber(d)));
    for (int k = 1; k <= 4; ++k) out.push_back(O("reel" + std::to_string(k) + ".bmp", Reel(k)));
    const char* baits[14] = {nullptr, "boilie1", "boilie2", "popup1", "popup2", "pellets", "tigers", nullptr,
                             "meat", "corn", "maggot", "casters", "worms", "bread"};
    for (int b = 1; b <= 13; ++b)
        if (baits[b]) out.push_back(O(std::string(baits[b]) + ".bmp", Baits(b)));
    out.push_back(O("mgbait.bmp", Groundbait(1)));
    out.push_back(O("fgbait.bmp", Groundbait(2)));
    out.push_back(O("hemp.bmp", Groundbait(3)));
    out.push_back(O("wheat.bmp", Grain(0)));
    out.push_back(O("barley.bmp", Grain(1)));
    out.push_back(O("groats.bmp", Grain(2)));
    const char* methods[8] = {nullptr, "inline", "ledger", "method", "feeder", "float", "controler", "hook1"};
    for (int m = 1; m <= 7; ++m) {
        out.push_back(O(std::string(methods[m]) + ".bmp", Method(m)));
        out.push_back(O("rig" + std::to_string(m) + ".bmp", Rig(m)));
    }
}

}  // namespace ag
