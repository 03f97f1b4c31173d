// Shared painting recipes for trees, reeds and wood.
#include "paint.h"

#include <algorithm>
#include <vector>

namespace ag {

void Crown(Canvas& c, Rng& r, double cx, double cy, double rx, double ry, int clumps, double clumpScale,
           const Foliage& f) {
    struct Clump { double x, y, rad; };
    std::vector<Clump> cl;
    for (int i = 0; i < clumps; ++i) {
        double a = r.Range(0, TWO_PI), d = std::sqrt(r.Uniform()) * 0.9;
        double rad = std::min(rx, ry) * clumpScale * r.Range(0.7, 1.15);
        cl.push_back({cx + Sin(a) * d * rx, cy + Cos(a) * d * ry, rad});
    }
    // lower clumps first, the upper ones overlap them
    std::sort(cl.begin(), cl.end(), [](const Clump& a, const Clump& b) { return a.y > b.y || (a.y == b.y && a.x < b.x); });
    double top = cy - ry, h = 2 * ry;
    for (const Clump& k : cl) {
        double R = k.rad;
        c.Paint(k.x - R * 1.4, k.y - R * 1.4, k.x + R * 1.4, k.y + R * 1.4,
                [&](double x, double y) {
                    double d = std::sqrt((x - k.x) * (x - k.x) + (y - k.y) * (y - k.y)) / R;
                    double n = ValueNoise(x / f.leafScale, y / f.leafScale, f.seed) - 0.5;
                    return (d - 1 + f.raggedness * n * 2 * SmoothStep(0.4, 1.0, d)) * R;
                },
                [&](double x, double y) {
                    double nx = (x - k.x) / R, ny = (y - k.y) / R;
                    double lit = Clamp(0.55 - 0.45 * (nx * 0.6 + ny * 0.8), 0, 1);
                    double speck = ValueNoise(x / (f.leafScale * 0.7), y / (f.leafScale * 0.7), f.seed + 7) - 0.5;
                    double shade = 0.72 + 0.28 * (1 - Clamp((y - top) / h, 0, 1));
                    Rgba col = Mix(f.dark, f.light, Clamp(lit + speck * 0.6, 0, 1));
                    return Scale(col, shade);
                });
    }
}

void Trunk(Canvas& c, double x0, double y0, double x1, double y1, double w0, double w1, Rgba dark, Rgba light,
           uint32_t seed) {
    double dx = x1 - x0, dy = y1 - y0, len = std::sqrt(dx * dx + dy * dy);
    double nx = -dy / len, ny = dx / len;
    std::vector<double> poly = {x0 + nx * w0 / 2, y0 + ny * w0 / 2, x1 + nx * w1 / 2, y1 + ny * w1 / 2,
                                x1 - nx * w1 / 2, y1 - ny * w1 / 2, x0 - nx * w0 / 2, y0 - ny * w0 / 2};
    c.PolygonF(poly, [&](double x, double y) {
        double t = Clamp(((x - x0) * dx + (y - y0) * dy) / (len * len), 0, 1);
        double w = Lerp(w0, w1, t);
        double s = ((x - x0) * nx + (y - y0) * ny) / (w / 2);  // -1..1 across
        double bark = ValueNoise(s * 3 + 10, t * len / 6, seed);
        double lit = Clamp(0.6 + 0.4 * s - 0.3 * s * s, 0, 1) * (0.75 + 0.25 * bark);
        return Mix(dark, light, lit);
    });
}

void Blade(Canvas& c, double x0, double y0, double cx, double cy, double x1, double y1, double w0, Rgba col) {
    const int n = 14;
    double px = x0, py = y0;
    for (int i = 1; i <= n; ++i) {
        double t = static_cast<double>(i) / n, u = 1 - t;
        double qx = u * u * x0 + 2 * u * t * cx + t * t * x1, qy = u * u * y0 + 2 * u * t * cy + t * t * y1;
        double w = w0 * (1 - (i - 0.5) / n) + 0.5;
        Rgba k = Scale(col, 0.85 + 0.3 * t);
        c.Line(px, py, qx, qy, w, k);
        px = qx; py = qy;
    }
}

void Planks(Canvas& c, Rgba dark, Rgba light, double plank, double gap, uint32_t seed, bool wrap) {
    int W = c.W();
    c.Fill([&](double x, double y) {
        int row = static_cast<int>(std::floor(y / plank));
        double fy = y - row * plank;
        double off = HashUnit(row, 0, seed) * W;
        double u = x + off;
        double grain = wrap ? Fbm(u / W * 4, (y / plank) * 2 + row * 13.1, seed + 1, 3, 4)
                            : Fbm(u / 40.0, y / 3.0 + row * 7.3, seed + 1, 3);
        double rings = 0.5 + 0.5 * Sin((y * 0.9 + grain * 18.0) * 1.3);
        double tone = HashUnit(row, 1, seed) * 0.25;
        Rgba col = Mix(dark, light, Clamp(0.25 + 0.45 * rings * 0.6 + grain * 0.5 - tone, 0, 1));
        if (fy < gap || fy > plank - gap * 0.5) col = Scale(col, 0.45);
        else if (fy < gap + 1.5) col = Scale(col, 1.1);
        return col;
    });
}

}  // namespace ag
