// Review pictures: the contact sheet of every texture and an optional overhead preview of the lake.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <stb_image_write.h>

#include "image.h"
#include "lake.h"

namespace ag {

namespace {
Rgba Unpack(uint32_t v) {
    return C(((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0, (v >> 24) / 255.0);
}
bool SavePng(const Canvas& c, const std::string& path) {
    std::vector<uint8_t> rgb(static_cast<size_t>(c.W()) * c.H() * 3);
    for (int y = 0; y < c.H(); ++y)
        for (int x = 0; x < c.W(); ++x) {
            const Rgba& p = c.At(x, y);
            uint8_t* d = &rgb[(static_cast<size_t>(y) * c.W() + x) * 3];
            d[0] = static_cast<uint8_t>(std::lround(Clamp(p.r, 0, 1) * 255));
            d[1] = static_cast<uint8_t>(std::lround(Clamp(p.g, 0, 1) * 255));
            d[2] = static_cast<uint8_t>(std::lround(Clamp(p.b, 0, 1) * 255));
        }
    stbi_write_png_compression_level = 6;
    return stbi_write_png(path.c_str(), c.W(), c.H(), 3, rgb.data(), c.W() * 3) != 0;
}
}  // namespace

// Every texture as a thumbnail over a checkerboard (transparent texels show the board), named.
void WriteContactSheet(const std::vector<Texture>& textures, const std::string& path) {
    const int cell = 136, thumb = 128, label = 12, cols = 12;
    // wide panoramas get a full row each, squeezed
    std::vector<const Texture*> normal, wide;
    for (const Texture& t : textures) (t.w >= 8 * t.h ? wide : normal).push_back(&t);
    int rows = static_cast<int>((normal.size() + cols - 1) / cols);
    int wideH = 80 + label;
    int W = cols * cell, H = rows * (cell + label) + static_cast<int>(wide.size()) * (wideH + 4) + 8;
    Canvas sheet(W, H, C(0.16, 0.16, 0.18));
    auto drawThumb = [&](const Texture& t, int x0, int y0, int tw, int th) {
        for (int y = 0; y < th; ++y)
            for (int x = 0; x < tw; ++x) {
                int sx = std::min(t.w - 1, x * t.w / tw), sy = std::min(t.h - 1, y * t.h / th);
                Rgba p = Unpack(t.argb[static_cast<size_t>(sy) * t.w + sx]);
                bool keyed = t.store == Store::Keyed32;
                double a = keyed ? (p.a < 0.5 ? 0.0 : 1.0) : (t.store == Store::Tga32 ? p.a : 1.0);
                Rgba board = ((x / 8 + y / 8) % 2) ? C(0.55, 0.25, 0.55) : C(0.35, 0.15, 0.35);
                sheet.At(x0 + x, y0 + y) = Mix(board, p, a);
            }
    };
    for (size_t i = 0; i < normal.size(); ++i) {
        const Texture& t = *normal[i];
        int cx = static_cast<int>(i % cols) * cell, cy = static_cast<int>(i / cols) * (cell + label);
        double k = std::min(static_cast<double>(thumb) / t.w, static_cast<double>(thumb) / t.h);
        int tw = std::max(1, static_cast<int>(t.w * k)), th = std::max(1, static_cast<int>(t.h * k));
        drawThumb(t, cx + (cell - tw) / 2, cy + 2 + (thumb - th) / 2, tw, th);
        std::string name = t.name.substr(0, t.name.find('.'));
        if (t.name.find(".tga") != std::string::npos) name += ".TGA";
        sheet.Text(name, cx + 4, cy + cell - 4, 1, C(0.95, 0.95, 0.85));
    }
    int y = rows * (cell + label) + 4;
    for (const Texture* t : wide) {
        drawThumb(*t, 4, y, W - 8, 80);
        sheet.Text(t->name.substr(0, t->name.find('.')), 6, y + 82, 1, C(0.95, 0.95, 0.85));
        y += wideH + 4;
    }
    if (!SavePng(sheet, path)) std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
}

// Overhead picture of the lake: depth colours, billboards, items, swims with their fans.
void WriteLakePreview(const Lake& l, const std::string& path) {
    const int S = 4;
    Canvas c(200 * S, 200 * S, C(0, 0, 0));
    for (int cell = 0; cell < 10000; ++cell) {
        int row = cell / 100, col = cell % 100;
        double m = l.CellMean(cell), mx = l.CellMax(cell);
        Rgba col0 = mx < 0 ? Mix(Hex(0x6fa8b8), Hex(0x0b2740), Clamp(-m / 4.0, 0, 1)) : Mix(Hex(0x7fa852), Hex(0x4d6b2a), Clamp(m / 0.8, 0, 1));
        if (l.tex[cell] == 50) col0 = Hex(0xb0a07a);
        if (l.tex[cell] == 47) col0 = Hex(0x9c9a5a);
        if (l.tex[cell] >= 48 && l.tex[cell] <= 49) col0 = Hex(0x5a7a3a);
        c.Rect(col * 2 * S, row * 2 * S, col * 2 * S + 2 * S, row * 2 * S + 2 * S, col0);
    }
    auto P = [&](double x, double z, double* px, double* py) { *px = x * S; *py = (200 - z) * S; };
    for (const BillboardRec& b : l.billboards) {
        if (!b.active) continue;
        double px, py;
        P(b.x, b.z, &px, &py);
        Rgba k = b.type <= 3 || b.type == 10 || b.type == 11 ? Hex(0x1f4a14) : b.type == 14 ? Hex(0x2f6a6a)
               : b.type == 13 ? Hex(0x5a3a14) : b.type == 12 ? Hex(0xe0d040) : Hex(0xc0c070);
        double r = b.type <= 3 || (b.type >= 10 && b.type != 12) ? b.size * S * 0.8 : 1.5;
        c.Ellipse(px, py, r, r, k);
    }
    for (const ItemRec& it : l.items) {
        if (!it.active) continue;
        double px, py;
        P(it.x, it.z, &px, &py);
        Rgba k = it.type == 1 ? Hex(0xa06030) : it.type >= 7 ? Hex(0x40a040) : it.type <= 3 ? Hex(0xc08040) : Hex(0x402010);
        double r = it.type >= 7 ? it.size * S : it.type == 1 ? 2.7 * S : 1.5 * S;
        c.Ellipse(px, py, r, r, k);
    }
    for (int n = 0; n < 9; ++n) {
        const Swim& s = l.swims[n];
        Pt St = StandingPoint(s);
        double x0, y0, x1, y1;
        P(St.x, St.z, &x0, &y0);
        for (double a : {-0.6, 0.0, 0.6}) {
            Pt e = Ahead(St, s.facing + a, a == 0 ? 23.19 : 60);
            P(e.x, e.z, &x1, &y1);
            c.Line(x0, y0, x1, y1, 1, C(1, 1, 1, 0.5));
        }
        c.Ellipse(x0, y0, 4, 4, C(1, 0.2, 0.2));
        c.Text(std::to_string(n + 1), x0 + 6, y0 - 6, 2, C(1, 1, 1));
    }
    for (const Pt& f : FEED_SPOTS) { double x, y; P(f.x, f.z, &x, &y); c.Ring(x, y, 6, 2, C(1, 0.6, 0)); }
    for (const Pt& a : AERATOR_POINTS) { double x, y; P(a.x, a.z, &x, &y); c.Ring(x, y, 4, 2, C(0.8, 0.8, 0.8)); }
    SavePng(c, path);
}

}  // namespace ag
