// Painting canvas for generated textures: float RGBA pixels, anti-aliased shapes from signed
// distances, a small bitmap font, and the BMP/TGA writers.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "detmath.h"

namespace ag {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};
inline Rgba C(double r, double g, double b, double a = 1.0) {
    return Rgba{static_cast<float>(r), static_cast<float>(g), static_cast<float>(b), static_cast<float>(a)};
}
// 0xRRGGBB
inline Rgba Hex(uint32_t rgb, double a = 1.0) {
    return C(((rgb >> 16) & 255) / 255.0, ((rgb >> 8) & 255) / 255.0, (rgb & 255) / 255.0, a);
}
inline Rgba Mix(Rgba a, Rgba b, double t) {
    return C(Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t), Lerp(a.a, b.a, t));
}
inline Rgba Scale(Rgba c, double k) { return C(c.r * k, c.g * k, c.b * k, c.a); }
inline double Luma(Rgba c) { return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b; }

class Canvas {
public:
    Canvas() = default;
    Canvas(int w, int h, Rgba fill = Rgba{}) : w_(w), h_(h), px_(static_cast<size_t>(w) * h, fill) {}
    int W() const { return w_; }
    int H() const { return h_; }
    Rgba& At(int x, int y) { return px_[static_cast<size_t>(y) * w_ + x]; }
    const Rgba& At(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
    Rgba AtWrap(int x, int y) const { return At(PMod(x, w_), PMod(y, h_)); }
    // Bilinear sample, coordinates in pixels, wrapping.
    Rgba Sample(double x, double y) const;

    // Sets every pixel from a function of the pixel centre.
    void Fill(const std::function<Rgba(double x, double y)>& f);
    // Composites `colour` over the canvas with coverage from a signed distance in pixels
    // (negative inside). Only the box [x0,x1)×[y0,y1) is visited; ss = supersampling.
    void Paint(double x0, double y0, double x1, double y1, const std::function<double(double x, double y)>& sdf,
               const std::function<Rgba(double x, double y)>& colour, int ss = 1);
    void Over(int x, int y, Rgba c, double cov);

    // Shapes (coordinates in pixels).
    void Ellipse(double cx, double cy, double rx, double ry, Rgba c, double angle = 0);
    void EllipseF(double cx, double cy, double rx, double ry, double angle,
                  const std::function<Rgba(double x, double y)>& colour);
    void Ring(double cx, double cy, double r, double width, Rgba c);
    void Line(double x0, double y0, double x1, double y1, double width, Rgba c);
    void Rect(double x0, double y0, double x1, double y1, Rgba c, double radius = 0);
    void RectF(double x0, double y0, double x1, double y1, double radius,
               const std::function<Rgba(double x, double y)>& colour);
    void Polygon(const std::vector<double>& xy, Rgba c);
    void PolygonF(const std::vector<double>& xy, const std::function<Rgba(double x, double y)>& colour);
    // Quadratic Bézier as a stroke with widths from w0 to w1.
    void Curve(double x0, double y0, double cx, double cy, double x1, double y1, double w0, double w1, Rgba c);

    // Text in the built-in 5×7 font; `scale` pixels per font dot; returns the drawn width.
    double Text(const std::string& s, double x, double y, double scale, Rgba c, double boldness = 0.0);
    static double TextWidth(const std::string& s, double scale);

    // Utilities.
    void BlurAlpha(int radius);
    void Blur(int radius, bool wrap);
    void FlipVertical();
    // Makes the image tile under quarter turns: mean of the four rotations (square canvases).
    void SymmetriseRotations();
    // Stretches colours so the mean stays and the spread grows by `k`.
    void Contrast(double k);
    void Draw(const Canvas& src, int dx, int dy);  // composite src over this at an offset

private:
    int w_ = 0, h_ = 0;
    std::vector<Rgba> px_;
};

// Signed distances.
double SdSegment(double px, double py, double ax, double ay, double bx, double by);
double SdPolygon(const std::vector<double>& xy, double px, double py);

// Final texel conversion.
enum class Store { Opaque24, Keyed32, Tga32 };
struct Texture {
    std::string name;  // file name with extension
    int w = 0, h = 0;
    std::vector<uint32_t> argb;  // top row first
    Store store = Store::Opaque24;
};
Texture Finish(const std::string& name, const Canvas& c, Store store);
std::vector<uint8_t> EncodeBmp(const Texture& t);
std::vector<uint8_t> EncodeTga(const Texture& t);

// 5×7 glyph lookup: returns 7 rows of 5 bits (bit 4 = left), or null.
const uint8_t* Glyph(char ch);

}  // namespace ag
