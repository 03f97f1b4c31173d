// Canvas painting, the bitmap font and the BMP/TGA encoders.
#include "image.h"

#include <algorithm>
#include <cstring>

namespace ag {

Rgba Canvas::Sample(double x, double y) const {
    x -= 0.5; y -= 0.5;
    int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    double fx = x - ix, fy = y - iy;
    Rgba a = Mix(AtWrap(ix, iy), AtWrap(ix + 1, iy), fx);
    Rgba b = Mix(AtWrap(ix, iy + 1), AtWrap(ix + 1, iy + 1), fx);
    return Mix(a, b, fy);
}

void Canvas::Fill(const std::function<Rgba(double, double)>& f) {
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) At(x, y) = f(x + 0.5, y + 0.5);
}

void Canvas::Over(int x, int y, Rgba c, double cov) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_ || cov <= 0) return;
    double sa = Clamp(c.a * cov, 0, 1);
    Rgba& d = At(x, y);
    double oa = sa + d.a * (1 - sa);
    if (oa <= 1e-9) { d = Rgba{}; return; }
    d.r = static_cast<float>((c.r * sa + d.r * d.a * (1 - sa)) / oa);
    d.g = static_cast<float>((c.g * sa + d.g * d.a * (1 - sa)) / oa);
    d.b = static_cast<float>((c.b * sa + d.b * d.a * (1 - sa)) / oa);
    d.a = static_cast<float>(oa);
}

void Canvas::Paint(double x0, double y0, double x1, double y1, const std::function<double(double, double)>& sdf,
                   const std::function<Rgba(double, double)>& colour, int ss) {
    int ix0 = std::max(0, static_cast<int>(std::floor(x0)) - 1), iy0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
    int ix1 = std::min(w_, static_cast<int>(std::ceil(x1)) + 1), iy1 = std::min(h_, static_cast<int>(std::ceil(y1)) + 1);
    for (int y = iy0; y < iy1; ++y)
        for (int x = ix0; x < ix1; ++x) {
            double cov = 0;
            if (ss <= 1) {
                cov = Clamp(0.5 - sdf(x + 0.5, y + 0.5), 0, 1);
            } else {
                for (int sy = 0; sy < ss; ++sy)
                    for (int sx = 0; sx < ss; ++sx) {
                        double px = x + (sx + 0.5) / ss, py = y + (sy + 0.5) / ss;
                        cov += Clamp(0.5 - sdf(px, py) * ss, 0, 1);
                    }
                cov /= ss * ss;
            }
            if (cov > 0) Over(x, y, colour(x + 0.5, y + 0.5), cov);
        }
}

static double SdEllipse(double px, double py, double rx, double ry) {
    double k0 = std::sqrt((px / rx) * (px / rx) + (py / ry) * (py / ry));
    double k1 = std::sqrt((px / (rx * rx)) * (px / (rx * rx)) + (py / (ry * ry)) * (py / (ry * ry)));
    if (k1 < 1e-12) return -std::min(rx, ry);
    return k0 * (k0 - 1.0) / k1;
}

void Canvas::EllipseF(double cx, double cy, double rx, double ry, double angle,
                      const std::function<Rgba(double, double)>& colour) {
    double ca = Cos(angle), sa = Sin(angle), r = std::max(rx, ry);
    Paint(cx - r, cy - r, cx + r, cy + r,
          [=](double x, double y) {
              double dx = x - cx, dy = y - cy;
              return SdEllipse(dx * ca + dy * sa, -dx * sa + dy * ca, rx, ry);
          },
          colour);
}
void Canvas::Ellipse(double cx, double cy, double rx, double ry, Rgba c, double angle) {
    EllipseF(cx, cy, rx, ry, angle, [c](double, double) { return c; });
}
void Canvas::Ring(double cx, double cy, double r, double width, Rgba c) {
    Paint(cx - r - width, cy - r - width, cx + r + width, cy + r + width,
          [=](double x, double y) { return std::fabs(std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) - r) - width / 2; },
          [c](double, double) { return c; });
}

double SdSegment(double px, double py, double ax, double ay, double bx, double by) {
    double dx = bx - ax, dy = by - ay, l2 = dx * dx + dy * dy;
    double t = l2 > 0 ? Clamp(((px - ax) * dx + (py - ay) * dy) / l2, 0, 1) : 0;
    double qx = ax + t * dx - px, qy = ay + t * dy - py;
    return std::sqrt(qx * qx + qy * qy);
}

void Canvas::Line(double x0, double y0, double x1, double y1, double width, Rgba c) {
    double r = width / 2;
    Paint(std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r, std::max(y0, y1) + r,
          [=](double x, double y) { return SdSegment(x, y, x0, y0, x1, y1) - r; }, [c](double, double) { return c; });
}

void Canvas::RectF(double x0, double y0, double x1, double y1, double radius,
                   const std::function<Rgba(double, double)>& colour) {
    double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    Paint(x0, y0, x1, y1,
          [=](double x, double y) {
              double qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
              double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
              return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - radius;
          },
          colour);
}
void Canvas::Rect(double x0, double y0, double x1, double y1, Rgba c, double radius) {
    RectF(x0, y0, x1, y1, radius, [c](double, double) { return c; });
}

double SdPolygon(const std::vector<double>& v, double px, double py) {
    size_t n = v.size() / 2;
    double d = 1e30;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        double ax = v[2 * j], ay = v[2 * j + 1], bx = v[2 * i], by = v[2 * i + 1];
        d = std::min(d, SdSegment(px, py, ax, ay, bx, by));
        if ((by > py) != (ay > py) && px < (ax - bx) * (py - by) / (ay - by) + bx) inside = !inside;
    }
    return inside ? -d : d;
}

void Canvas::PolygonF(const std::vector<double>& xy, const std::function<Rgba(double, double)>& colour) {
    double x0 = 1e30, y0 = 1e30, x1 = -1e30, y1 = -1e30;
    for (size_t i = 0; i + 1 < xy.size(); i += 2) {
        x0 = std::min(x0, xy[i]); x1 = std::max(x1, xy[i]);
        y0 = std::min(y0, xy[i + 1]); y1 = std::max(y1, xy[i + 1]);
    }
    Paint(x0, y0, x1, y1, [&xy](double x, double y) { return SdPolygon(xy, x, y); }, colour);
}
void Canvas::Polygon(const std::vector<double>& xy, Rgba c) { PolygonF(xy, [c](double, double) { return c; }); }

void Canvas::Curve(double x0, double y0, double cx, double cy, double x1, double y1, double w0, double w1, Rgba c) {
    const int n = 16;
    double px = x0, py = y0;
    for (int i = 1; i <= n; ++i) {
        double t = static_cast<double>(i) / n, u = 1 - t;
        double qx = u * u * x0 + 2 * u * t * cx + t * t * x1, qy = u * u * y0 + 2 * u * t * cy + t * t * y1;
        double w = Lerp(w0, w1, (i - 0.5) / n);
        double r = w / 2;
        double ax = px, ay = py;
        Paint(std::min(ax, qx) - r, std::min(ay, qy) - r, std::max(ax, qx) + r, std::max(ay, qy) + r,
              [=](double x, double y) { return SdSegment(x, y, ax, ay, qx, qy) - r; },
              [c](double, double) { return c; });
        px = qx; py = qy;
    }
}

// ---- font ----
namespace {
struct GlyphDef { char ch; const char* rows[7]; };
const GlyphDef GLYPHS[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
    {',', {".....", ".....", ".....", ".....", ".##..", "..#..", ".#..."}},
    {'-', {".....", ".....", ".....", ".###.", ".....", ".....", "....."}},
    {'_', {".....", ".....", ".....", ".....", ".....", ".....", "#####"}},
    {':', {".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."}},
    {'(', {"...#.", "..#..", ".#...", ".#...", ".#...", "..#..", "...#."}},
    {')', {".#...", "..#..", "...#.", "...#.", "...#.", "..#..", ".#..."}},
    {'\'', {"..#..", "..#..", ".#...", ".....", ".....", ".....", "....."}},
    {'!', {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."}},
    {'/', {".....", "....#", "...#.", "..#..", ".#...", "#....", "....."}},
    {'&', {".##..", "#..#.", "#.#..", ".#...", "#.#.#", "#..#.", ".##.#"}},
    {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
    {'#', {".#.#.", ".#.#.", "#####", ".#.#.", "#####", ".#.#.", ".#.#."}},
};
}  // namespace

const uint8_t* Glyph(char ch) {
    static uint8_t table[128][7];
    static bool built = false;
    if (!built) {
        std::memset(table, 0, sizeof table);
        for (const GlyphDef& g : GLYPHS)
            for (int r = 0; r < 7; ++r) {
                uint8_t bits = 0;
                for (int c = 0; c < 5; ++c)
                    if (g.rows[r][c] == '#') bits |= static_cast<uint8_t>(1 << (4 - c));
                table[static_cast<int>(g.ch)][r] = bits;
            }
        built = true;
    }
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    if (ch < 0 || ch == ' ') return nullptr;
    return table[static_cast<int>(ch)];
}

double Canvas::TextWidth(const std::string& s, double scale) {
    return s.empty() ? 0 : (s.size() * 6.0 - 1.0) * scale;
}

double Canvas::Text(const std::string& s, double x, double y, double scale, Rgba c, double boldness) {
    double width = TextWidth(s, scale);
    if (scale < 2.5) {
        // small text: plain dots
        for (size_t i = 0; i < s.size(); ++i) {
            const uint8_t* g = Glyph(s[i]);
            if (!g) continue;
            for (int r = 0; r < 7; ++r)
                for (int col = 0; col < 5; ++col)
                    if (g[r] & (1 << (4 - col))) {
                        double gx = x + (i * 6 + col) * scale, gy = y + r * scale;
                        Rect(gx, gy, gx + scale, gy + scale, c);
                    }
        }
        return width;
    }
    // larger text: blurred dot mask thresholded, which rounds the corners
    int pad = static_cast<int>(scale) + 2;
    int bw = static_cast<int>(std::ceil(width)) + 2 * pad, bh = static_cast<int>(std::ceil(7 * scale)) + 2 * pad;
    const int ss = 2;
    int mw = bw * ss, mh = bh * ss;
    std::vector<float> m(static_cast<size_t>(mw) * mh, 0.f);
    for (size_t i = 0; i < s.size(); ++i) {
        const uint8_t* g = Glyph(s[i]);
        if (!g) continue;
        for (int r = 0; r < 7; ++r)
            for (int col = 0; col < 5; ++col)
                if (g[r] & (1 << (4 - col))) {
                    int gx0 = static_cast<int>((pad + (i * 6 + col) * scale) * ss);
                    int gy0 = static_cast<int>((pad + r * scale) * ss);
                    int gx1 = static_cast<int>((pad + (i * 6 + col + 1) * scale) * ss);
                    int gy1 = static_cast<int>((pad + (r + 1) * scale) * ss);
                    for (int yy = gy0; yy < gy1 && yy < mh; ++yy)
                        for (int xx = gx0; xx < gx1 && xx < mw; ++xx) m[static_cast<size_t>(yy) * mw + xx] = 1.f;
                }
    }
    int rad = std::max(1, static_cast<int>(scale * ss * 0.35));
    std::vector<float> t(m.size());
    for (int pass = 0; pass < 2; ++pass) {
        for (int yy = 0; yy < mh; ++yy)
            for (int xx = 0; xx < mw; ++xx) {
                double sum = 0; int n = 0;
                for (int k = -rad; k <= rad; ++k) {
                    int q = xx + k;
                    if (q >= 0 && q < mw) sum += m[static_cast<size_t>(yy) * mw + q];
                    ++n;
                }
                t[static_cast<size_t>(yy) * mw + xx] = static_cast<float>(sum / n);
            }
        for (int yy = 0; yy < mh; ++yy)
            for (int xx = 0; xx < mw; ++xx) {
                double sum = 0; int n = 0;
                for (int k = -rad; k <= rad; ++k) {
                    int q = yy + k;
                    if (q >= 0 && q < mh) sum += t[static_cast<size_t>(q) * mw + xx];
                    ++n;
                }
                m[static_cast<size_t>(yy) * mw + xx] = static_cast<float>(sum / n);
            }
    }
    double thr = 0.5 - boldness * 0.25;
    int ox = static_cast<int>(std::floor(x)) - pad, oy = static_cast<int>(std::floor(y)) - pad;
    double fx = x - std::floor(x), fy = y - std::floor(y);
    (void)fx; (void)fy;
    for (int py = 0; py < bh; ++py)
        for (int px = 0; px < bw; ++px) {
            double cov = 0;
            for (int sy = 0; sy < ss; ++sy)
                for (int sx = 0; sx < ss; ++sx)
                    cov += m[static_cast<size_t>(py * ss + sy) * mw + px * ss + sx] >= thr ? 1.0 : 0.0;
            cov /= ss * ss;
            if (cov > 0) Over(ox + px, oy + py, c, cov);
        }
    return width;
}

// ---- utilities ----
void Canvas::BlurAlpha(int radius) {
    Canvas copy = *this;
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            double s = 0; int n = 0;
            for (int dy = -radius; dy <= radius; ++dy)
                for (int dx = -radius; dx <= radius; ++dx) {
                    int xx = x + dx, yy = y + dy;
                    if (xx < 0 || yy < 0 || xx >= w_ || yy >= h_) { ++n; continue; }
                    s += copy.At(xx, yy).a; ++n;
                }
            At(x, y).a = static_cast<float>(s / n);
        }
}

void Canvas::Blur(int radius, bool wrap) {
    for (int pass = 0; pass < 2; ++pass) {
        Canvas copy = *this;
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                double r = 0, g = 0, b = 0, a = 0; int n = 0;
                for (int k = -radius; k <= radius; ++k) {
                    int xx = pass == 0 ? x + k : x, yy = pass == 0 ? y : y + k;
                    if (wrap) { xx = PMod(xx, w_); yy = PMod(yy, h_); }
                    else { xx = std::clamp(xx, 0, w_ - 1); yy = std::clamp(yy, 0, h_ - 1); }
                    const Rgba& p = copy.At(xx, yy);
                    r += p.r; g += p.g; b += p.b; a += p.a; ++n;
                }
                At(x, y) = C(r / n, g / n, b / n, a / n);
            }
    }
}

void Canvas::FlipVertical() {
    for (int y = 0; y < h_ / 2; ++y)
        for (int x = 0; x < w_; ++x) std::swap(At(x, y), At(x, h_ - 1 - y));
}

void Canvas::SymmetriseRotations() {
    Canvas c = *this;
    int n = w_;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            const Rgba& a = c.At(x, y);
            const Rgba& b = c.At(n - 1 - y, x);
            const Rgba& d = c.At(n - 1 - x, n - 1 - y);
            const Rgba& e = c.At(y, n - 1 - x);
            At(x, y) = C((a.r + b.r + d.r + e.r) / 4, (a.g + b.g + d.g + e.g) / 4, (a.b + b.b + d.b + e.b) / 4,
                         (a.a + b.a + d.a + e.a) / 4);
        }
}

void Canvas::Contrast(double k) {
    double mr = 0, mg = 0, mb = 0;
    for (const Rgba& p : px_) { mr += p.r; mg += p.g; mb += p.b; }
    double n = static_cast<double>(px_.size());
    mr /= n; mg /= n; mb /= n;
    for (Rgba& p : px_) {
        p.r = static_cast<float>(Clamp(mr + (p.r - mr) * k, 0, 1));
        p.g = static_cast<float>(Clamp(mg + (p.g - mg) * k, 0, 1));
        p.b = static_cast<float>(Clamp(mb + (p.b - mb) * k, 0, 1));
    }
}

void Canvas::Draw(const Canvas& src, int dx, int dy) {
    for (int y = 0; y < src.H(); ++y)
        for (int x = 0; x < src.W(); ++x) {
            const Rgba& p = src.At(x, y);
            if (p.a > 0) Over(x + dx, y + dy, C(p.r, p.g, p.b, 1), p.a);
        }
}

// ---- final texels and encoders ----
static uint32_t Byte(double v) { return static_cast<uint32_t>(std::lround(Clamp(v, 0, 1) * 255.0)); }

Texture Finish(const std::string& name, const Canvas& c, Store store) {
    Texture t;
    t.name = name; t.w = c.W(); t.h = c.H(); t.store = store;
    t.argb.resize(static_cast<size_t>(t.w) * t.h);
    for (int y = 0; y < t.h; ++y)
        for (int x = 0; x < t.w; ++x) {
            const Rgba& p = c.At(x, y);
            uint32_t rgb = (Byte(p.r) << 16) | (Byte(p.g) << 8) | Byte(p.b);
            uint32_t v;
            if (store == Store::Keyed32) v = p.a < 0.5f ? 0x01000000u : (0xFF000000u | rgb);
            else if (store == Store::Tga32) v = (Byte(p.a) << 24) | rgb;
            else v = 0xFF000000u | rgb;
            t.argb[static_cast<size_t>(y) * t.w + x] = v;
        }
    return t;
}

static void Put16(std::vector<uint8_t>& o, uint32_t v) { o.push_back(v & 255); o.push_back((v >> 8) & 255); }
static void Put32(std::vector<uint8_t>& o, uint32_t v) { Put16(o, v & 0xFFFF); Put16(o, v >> 16); }

std::vector<uint8_t> EncodeBmp(const Texture& t) {
    std::vector<uint8_t> o;
    bool keyed = t.store == Store::Keyed32;
    uint32_t headerSize = keyed ? 108 : 40;
    uint32_t rowBytes = keyed ? t.w * 4 : ((t.w * 3 + 3) & ~3u);
    uint32_t dataOffset = 14 + headerSize;
    uint32_t fileSize = dataOffset + rowBytes * t.h;
    o.push_back('B'); o.push_back('M');
    Put32(o, fileSize); Put32(o, 0); Put32(o, dataOffset);
    Put32(o, headerSize); Put32(o, t.w); Put32(o, t.h);  // positive height: bottom-up rows
    Put16(o, 1); Put16(o, keyed ? 32 : 24);
    Put32(o, keyed ? 3 : 0);  // BI_BITFIELDS / BI_RGB
    Put32(o, rowBytes * t.h); Put32(o, 2835); Put32(o, 2835); Put32(o, 0); Put32(o, 0);
    if (keyed) {
        Put32(o, 0x00FF0000u); Put32(o, 0x0000FF00u); Put32(o, 0x000000FFu); Put32(o, 0xFF000000u);
        Put32(o, 0x73524742u);  // 'sRGB'
        for (int i = 0; i < 12; ++i) Put32(o, 0);  // endpoints (9) and gamma (3)
    }
    for (int y = t.h - 1; y >= 0; --y) {
        size_t start = o.size();
        for (int x = 0; x < t.w; ++x) {
            uint32_t v = t.argb[static_cast<size_t>(y) * t.w + x];
            o.push_back(v & 255); o.push_back((v >> 8) & 255); o.push_back((v >> 16) & 255);
            if (keyed) o.push_back(v >> 24);
        }
        while (o.size() - start < rowBytes) o.push_back(0);
    }
    return o;
}

std::vector<uint8_t> EncodeTga(const Texture& t) {
    uint8_t head[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                        static_cast<uint8_t>(t.w & 255), static_cast<uint8_t>(t.w >> 8),
                        static_cast<uint8_t>(t.h & 255), static_cast<uint8_t>(t.h >> 8), 32, 0x28};
    std::vector<uint8_t> o(head, head + 18);
    o.reserve(18 + t.argb.size() * 4);
    for (uint32_t v : t.argb) { o.push_back(v & 255); o.push_back((v >> 8) & 255); o.push_back((v >> 16) & 255); o.push_back(v >> 24); }
    return o;
}

}  // namespace ag
