// Swim furniture and tackle: alarms, rests, swinger, floats, cast markers, catapult frames, weigh
// sling, mat, binocular mask, tension dial, landing net, rod, line and reel parts.
#include <vector>

#include "paint.h"
#include "textures.h"

namespace ag {

namespace {

const Rgba CLEAR{};
Texture K(const std::string& n, const Canvas& c) { return Finish(n, c, Store::Keyed32); }

void BankStick(Canvas& c, double top, double bottom) {
    c.Rect(61, top, 67, bottom, Hex(0x303234));
    c.Rect(62, top, 64, bottom, Hex(0x8a8e92));
    c.Polygon({60, bottom - 6, 68, bottom - 6, 64, bottom}, Hex(0x505458));
}

// Bite alarm seen from the angler: cradle at 26 % from the top, LED on the front.
Canvas Alarm(int led, bool back) {
    Canvas c(128, 128, CLEAR);
    BankStick(c, 70, 128);
    c.Rect(38, 38, 90, 74, Hex(0x1c1e20), 6);
    c.Rect(41, 41, 87, 71, Hex(0x2c2f33), 5);
    // rod cradle: a V of soft rubber
    c.Polygon({30, 22, 46, 22, 64, 34, 82, 22, 98, 22, 98, 30, 64, 42, 30, 30}, Hex(0x181818));
    c.Polygon({34, 24, 46, 24, 64, 36, 82, 24, 94, 24, 64, 38}, Hex(0x3a3a3a));
    if (!back) {
        Rgba ledCol = led == 0 ? Hex(0x5a1410) : led == 1 ? Hex(0xb04010) : Hex(0xff3020);
        if (led == 2) c.Ellipse(64, 58, 14, 14, C(1, 0.3, 0.2, 0.6));
        c.Ellipse(64, 58, 7, 7, Hex(0x101010));
        c.Ellipse(64, 58, 5.5, 5.5, ledCol);
        c.Ellipse(62, 56, 1.6, 1.6, led == 2 ? Hex(0xffe0d0) : Scale(ledCol, 1.5));
        c.Rect(48, 46, 56, 49, Hex(0x60646a), 1);
        c.Rect(72, 46, 80, 49, Hex(0x60646a), 1);
    } else {
        for (int k = 0; k < 5; ++k) c.Rect(50, 48 + k * 4, 78, 50 + k * 4, Hex(0x121314), 1);
        c.Ellipse(84, 64, 3, 3, Hex(0x8a8e92));
    }
    return c;
}

Canvas Rest(bool rear) {
    Canvas c(128, 128, CLEAR);
    double head = rear ? 32 : 33;
    BankStick(c, head + 6, 128);
    if (rear) {
        // butt grip: a deep U
        c.Polygon({40, head - 14, 48, head - 14, 48, head, 80, head, 80, head - 14, 88, head - 14, 88, head + 8, 40, head + 8},
                  Hex(0x1a1a1a));
        c.Rect(48, head - 4, 80, head, Hex(0x3a3a3a));
    } else {
        c.Polygon({36, head - 10, 44, head - 10, 64, head + 2, 84, head - 10, 92, head - 10, 64, head + 10}, Hex(0x1c1c1c));
    }
    return c;
}

Canvas Swinger() {
    Canvas c(64, 64, CLEAR);
    c.Line(32, 64, 32, 14, 2.5, Hex(0x2a2a2a));
    c.Ellipse(32, 62, 4, 3, Hex(0x505050));
    c.Rect(24, 2, 40, 18, Hex(0xd02020), 5);
    c.Rect(27, 4, 31, 16, Hex(0xf06050), 2);
    c.Line(28, 10, 36, 10, 2, Hex(0x1a1a1a));
    return c;
}

Canvas Waggler() {
    Canvas c(128, 64, CLEAR);
    c.Rect(61, 0, 67, 64, Hex(0x2a2a26), 2);
    c.Rect(62, 0, 64, 64, Hex(0x56564e));
    c.Rect(60.5, 0, 67.5, 13, Hex(0xff6a10), 3);
    c.Rect(61.5, 1, 63.5, 12, Hex(0xffb070), 1);
    c.Rect(60.5, 12, 67.5, 14, Hex(0x101010));
    return c;
}

Canvas Controller() {
    Canvas c(32, 32, CLEAR);
    c.Ellipse(16, 18, 8, 11, Hex(0xe8e4d8));
    c.Ellipse(13, 16, 2, 6, Hex(0xffffff));
    c.Rect(11, 0, 21, 5, Hex(0xff8a00), 2);
    c.Rect(15, 4, 17, 8, Hex(0x202020));
    return c;
}

Canvas CastRing(Rgba col) {
    Canvas c(64, 64, CLEAR);
    c.Ring(32, 32, 24, 4, Scale(col, 0.5));
    c.Ring(32, 32, 24, 2.4, col);
    for (int k = 0; k < 4; ++k) {
        double a = k * PI / 2;
        c.Line(32 + Sin(a) * 12, 32 + Cos(a) * 12, 32 + Sin(a) * 30, 32 + Cos(a) * 30, 3, col);
    }
    c.Ellipse(32, 32, 3, 3, col);
    return c;
}

Canvas CastPin(Rgba col) {
    Canvas c(64, 64, CLEAR);
    c.Polygon({32, 64, 18, 30, 46, 30}, Scale(col, 0.7));
    c.Ellipse(32, 22, 16, 16, Scale(col, 0.7));
    c.Ellipse(32, 22, 13, 13, col);
    c.Ellipse(32, 22, 5, 5, Hex(0xffffff));
    c.Polygon({32, 60, 21, 32, 43, 32}, col);
    return c;
}

// First-person catapult: fork up, elastic drawn back by `pull` 1 (rest) .. 4 (full).
Canvas Catapult(int pull) {
    Canvas c(256, 256, CLEAR);
    double py = 118 + (pull - 1) * 40.0, spread = 22 + (pull - 1) * 6.0;
    Rgba frame = Hex(0x2a2a2e), frameLit = Hex(0x6a6e74);
    // handle and fork
    c.Rect(112, 150, 144, 256, Hex(0x1a1a1a), 10);
    c.Rect(116, 154, 140, 256, Hex(0x3a3430), 8);
    for (int k = 0; k < 6; ++k) c.Rect(116, 170 + k * 14, 140, 173 + k * 14, Hex(0x252020));
    c.Curve(128, 160, 100, 130, 70, 60, 14, 10, frame);
    c.Curve(128, 160, 156, 130, 186, 60, 14, 10, frame);
    c.Curve(126, 156, 98, 128, 68, 62, 5, 3, frameLit);
    c.Curve(130, 156, 158, 128, 188, 62, 5, 3, frameLit);
    // elastic to the pouch
    Rgba band = Hex(0xd0a040);
    c.Line(70, 58, 128 - spread, py, 5, band);
    c.Line(186, 58, 128 + spread, py, 5, band);
    // pouch with bait in it
    c.Rect(128 - spread - 4, py - 8, 128 + spread + 4, py + 12, Hex(0x3a2a1a), 8);
    c.Ellipse(128, py - 2, spread * 0.6, 8, Hex(0xc88a3a));
    c.Ellipse(124, py - 5, 4, 3, Hex(0xe8b060));
    // the hand holding the handle
    c.Rect(100, 196, 156, 256, Hex(0xc8946c), 18);
    c.Rect(104, 200, 150, 212, Hex(0xd8a47c), 6);
    for (int k = 0; k < 3; ++k) c.Line(104, 216 + k * 12, 150, 216 + k * 12, 1.5, Hex(0x9a6a4a));
    return c;
}

Canvas Sling() {
    Canvas c(256, 256, CLEAR);
    // scales dial and hook
    c.Ellipse(128, 30, 26, 26, Hex(0x2a2a2a));
    c.Ellipse(128, 30, 22, 22, Hex(0xf0f0e8));
    for (int k = 0; k < 12; ++k) {
        double a = k * TWO_PI / 12;
        c.Line(128 + Sin(a) * 17, 30 - Cos(a) * 17, 128 + Sin(a) * 21, 30 - Cos(a) * 21, 1.5, Hex(0x202020));
    }
    c.Line(128, 30, 140, 20, 2, Hex(0xc01010));
    c.Line(128, 0, 128, 6, 4, Hex(0x808080));
    c.Curve(128, 56, 116, 66, 128, 76, 3, 3, Hex(0x909090));
    // sling bag hanging from two cords
    c.Line(128, 74, 40, 120, 2.5, Hex(0x303030));
    c.Line(128, 74, 216, 120, 2.5, Hex(0x303030));
    c.PolygonF({30, 118, 226, 118, 214, 170, 188, 196, 68, 196, 42, 170}, [](double x, double y) {
        double mesh = (static_cast<int>(x / 6) + static_cast<int>(y / 6)) % 2 ? 0.9 : 1.0;
        return Scale(Mix(Hex(0x2e4a2a), Hex(0x3e6034), SmoothStep(120, 190, y)), mesh);
    });
    c.Rect(30, 114, 226, 124, Hex(0x1a2a1a), 4);
    // the carp lying in it: head out on the left, tail on the right
    c.Ellipse(40, 136, 26, 16, Hex(0x9a7a34));
    c.Ellipse(32, 130, 4, 4, Hex(0x101010));
    c.Ellipse(18, 140, 6, 5, Hex(0xd89a78));
    c.Polygon({212, 130, 250, 104, 244, 134, 252, 166, 212, 146}, Hex(0x7a6230));
    for (int k = 0; k < 6; ++k) c.Line(214, 136, 250, 108 + k * 11, 1, Hex(0x5a4422));
    return c;
}

Canvas Mat() {
    Canvas c(256, 256, CLEAR);
    c.RectF(6, 20, 250, 236, 28, [](double x, double y) {
        double quilt = std::fabs(Sin((x + y) * PI / 40)) * std::fabs(Sin((x - y) * PI / 40));
        double n = ValueNoise(x / 6, y / 6, 1391u);
        return Scale(Mix(Hex(0x24401e), Hex(0x36582a), n), 0.85 + 0.2 * quilt);
    });
    c.RectF(6, 20, 250, 236, 28, [](double x, double y) {
        double edge = std::min(std::min(x - 6, 250 - x), std::min(y - 20, 236 - y));
        return C(0.08, 0.12, 0.06, edge < 8 ? 0.7 : 0.0);
    });
    c.Rect(20, 34, 236, 222, C(0.5, 0.7, 0.4, 0.15), 20);
    return c;
}

Canvas Binoculars() {
    Canvas c(512, 512, Hex(0x000000));
    // two overlapping eyepieces cut out of black, with a dark rim
    const double r = 104, cx0 = 256 - 74, cx1 = 256 + 74, cy = 256;  // inside the 70 % × 52 % on screen
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            double d0 = std::sqrt((x + 0.5 - cx0) * (x + 0.5 - cx0) + (y + 0.5 - cy) * (y + 0.5 - cy));
            double d1 = std::sqrt((x + 0.5 - cx1) * (x + 0.5 - cx1) + (y + 0.5 - cy) * (y + 0.5 - cy));
            double d = std::min(d0, d1);
            if (d < r) c.At(x, y) = CLEAR;
            else if (d < r + 6) c.At(x, y) = C(0.05, 0.05, 0.06);
        }
    return c;
}

// Tension dial: green to red counter-clockwise from 40° left of twelve; stored upside down.
Canvas Torque() {
    Canvas c(128, 128, CLEAR);
    c.Ellipse(64, 64, 62, 62, Hex(0x1a1a1c));
    c.Ellipse(64, 64, 58, 58, Hex(0x2c2e30));
    const double start = -40 * PI / 180, span = 270 * PI / 180;
    for (int i = 0; i < 180; ++i) {
        double t = i / 179.0;
        double a = start - t * span;  // counter-clockwise from the start (angle measured clockwise from up)
        Rgba col = t < 0.5 ? Mix(Hex(0x20c040), Hex(0xf0e020), t * 2) : Mix(Hex(0xf0e020), Hex(0xe02010), (t - 0.5) * 2);
        c.Line(64 + Sin(a) * 40, 64 - Cos(a) * 40, 64 + Sin(a) * 54, 64 - Cos(a) * 54, 3.2, col);
    }
    for (int k = 0; k <= 9; ++k) {
        double a = start - k * span / 9;
        c.Line(64 + Sin(a) * 34, 64 - Cos(a) * 34, 64 + Sin(a) * 40, 64 - Cos(a) * 40, 2, Hex(0xe8e8e8));
    }
    c.Ellipse(64, 64, 10, 10, Hex(0x505458));
    c.FlipVertical();
    return c;
}

Canvas Cap() {
    Canvas c(128, 128, CLEAR);
    c.Ring(64, 64, 60, 6, Hex(0x8a8e94));
    c.Ring(64, 64, 57, 1.5, Hex(0x3a3c40));
    c.Polygon({58, 0, 70, 0, 64, 22}, Hex(0xf4f4f4));
    c.Polygon({60, 1, 68, 1, 64, 18}, Hex(0xe02020));
    c.FlipVertical();
    return c;
}

Canvas Net() {
    Canvas c(256, 256, CLEAR);
    // head (triangular frame) at the top, handle down to v 1
    const double ax = 18, ay = 10, bx = 238, by = 10, tx = 128, ty = 176;
    std::vector<double> tri = {ax, ay, bx, by, tx, ty};
    c.Paint(0, 0, 256, 256,
            [&](double x, double y) {
                double inside = SdPolygon(tri, x, y);
                double mx = std::fmod(x + 1000, 10.0), my = std::fmod(y + 1000, 10.0);
                double mesh = std::min(std::fabs(mx - 5), std::fabs(my - 5)) - 0.9;
                return std::max(inside, mesh);
            },
            [](double, double) { return Hex(0x2a3a2a); });
    c.Line(ax, ay, bx, by, 5, Hex(0x2a2a2e));
    c.Line(ax, ay, tx, ty, 5, Hex(0x2a2a2e));
    c.Line(bx, by, tx, ty, 5, Hex(0x2a2a2e));
    c.Line(tx, ty - 8, tx, 256, 8, Hex(0x1c1c1c));
    c.Line(tx - 1, ty - 8, tx - 1, 256, 2.5, Hex(0x5a5e62));
    c.Rect(122, 226, 134, 256, Hex(0x4a3a2a), 3);
    return c;
}

Canvas Plain(int n, Rgba a, Rgba b, uint32_t seed, double freq, bool bands) {
    Canvas c(n, n);
    c.Fill([&](double x, double y) {
        double t = bands ? 0.5 + 0.5 * Sin(y / n * TWO_PI * freq) : Fbm(x / n * 4, y / n * 4, seed, 2, 4);
        double shade = 0.85 + 0.15 * Sin(x / n * TWO_PI);
        return Scale(Mix(a, b, t), shade);
    });
    return c;
}

Canvas Cork() {
    Canvas c(64, 64);
    c.Fill([](double x, double y) {
        double n = ValueNoise(x / 1.5, y / 1.5, 1551u) * 0.5 + ValueNoise(x / 5, y / 5, 1552u) * 0.5;
        return Mix(Hex(0x8a6a44), Hex(0xc8a478), n);
    });
    return c;
}

Canvas Ring() {
    Canvas c(32, 32, CLEAR);
    c.Ring(16, 16, 11, 5, Hex(0x3a3c40));
    c.Ring(16, 16, 10, 2.5, Hex(0xc8ccd0));
    return c;
}

}  // namespace

void MakeTackleTextures(TextureList& out) {
    out.push_back(K("alarm.bmp", Alarm(0, false)));
    out.push_back(K("alarmlat.bmp", Alarm(1, false)));
    out.push_back(K("alarmon.bmp", Alarm(2, false)));
    out.push_back(K("alarm2.bmp", Alarm(0, true)));
    out.push_back(K("rest.bmp", Rest(false)));
    out.push_back(K("rear.bmp", Rest(true)));
    out.push_back(K("swinger2.bmp", Swinger()));
    out.push_back(K("waggler.bmp", Waggler()));
    out.push_back(K("control.bmp", Controller()));
    out.push_back(K("cursor.bmp", CastRing(Hex(0xe04a2a))));
    out.push_back(K("cursor2.bmp", CastRing(Hex(0x40e060))));
    out.push_back(K("cursor3.bmp", CastPin(Hex(0xe04a2a))));
    out.push_back(K("cursor4.bmp", CastPin(Hex(0x40e060))));
    out.push_back(K("catapult.bmp", Catapult(4)));
    out.push_back(K("catapult2.bmp", Catapult(3)));
    out.push_back(K("catapult3.bmp", Catapult(2)));
    out.push_back(K("catapult4.bmp", Catapult(1)));
    out.push_back(K("sling.bmp", Sling()));
    out.push_back(K("mat.bmp", Mat()));
    out.push_back(K("bins1.bmp", Binoculars()));
    out.push_back(K("torque.bmp", Torque()));
    out.push_back(K("cap.bmp", Cap()));
    out.push_back(K("net.bmp", Net()));
    out.push_back(K("3drod.bmp", Plain(64, Hex(0x1a1c20), Hex(0x34383e), 1501, 8, true)));
    out.push_back(K("but.bmp", Cork()));
    out.push_back(K("ring.bmp", Ring()));
    {
        Canvas l(16, 16, Hex(0xd8e0d0));
        out.push_back(K("line.bmp", l));
        Canvas l2(16, 16, Hex(0xc8d4c0));
        out.push_back(K("line2.bmp", l2));
    }
    out.push_back(K("s1tex.bmp", Plain(32, Hex(0x6a7a5a), Hex(0xa8b894), 1511, 10, true)));
    out.push_back(K("sbacktex.bmp", Plain(32, Hex(0x2a2c30), Hex(0x5a5e64), 1512, 1, false)));
    out.push_back(K("sfronttex.bmp", Plain(32, Hex(0x8a8e94), Hex(0xc8ccd2), 1513, 1, false)));
    out.push_back(K("car1tex.bmp", Plain(64, Hex(0x1c1e22), Hex(0x3a3e44), 1514, 1, false)));
    out.push_back(K("car2tex.bmp", Plain(32, Hex(0x5a5e64), Hex(0x9aa0a8), 1515, 1, false)));
    out.push_back(K("car3tex.bmp", Plain(64, Hex(0x24262a), Hex(0x4a4e56), 1516, 1, false)));
    out.push_back(K("knobtex.bmp", Plain(32, Hex(0x101012), Hex(0x3a3a3e), 1517, 1, false)));
}

}  // namespace ag
