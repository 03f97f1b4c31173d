// Readers for the generated game files (lake model, stock file, bitmaps, targas) and the game's
// cell lookup the asset tests check them against.
#pragma once
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <memory>
#include "screens/stock_file.h"
#include "world/cell_lookup.h"
#include "world/lake_model.h"

namespace assets {

inline std::string GameDir() { return LAKESIDE_GAME_DIR; }

inline bool ReadAll(const std::string& path, std::string* out) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    std::ostringstream s;
    s << f.rdbuf();
    *out = s.str();
    return true;
}

inline std::vector<std::string> Tokens(const std::string& text) {
    std::vector<std::string> t;
    std::istringstream s(text);
    std::string w;
    while (s >> w) t.push_back(w);
    return t;
}

struct Lake : LakeModel {
    std::string error;
    float Mean(int c) const { return MeanCornerHeight(cells[c].y); }
    float Max(int c) const { return HighestCornerHeight(cells[c].y); }
};

// The game's cell lookup; -1 outside x in [0, 199), z in [1, 201).
inline int CellAt(double x, double z) {
    if (!(x >= 0 && x < 199 && z >= 1 && z < 201)) return -1;
    return CellIndexAt(x, z);
}

// The generated lake model as the game reads it (read once).
inline const Lake& TheLake() {
    static const std::unique_ptr<Lake> lake = [] {
        auto l = std::make_unique<Lake>();
        std::string text;
        if (!ReadAll(GameDir() + "/models/lake.qd", &text)) l->error = "cannot read lake.qd";
        else l->error = ParseLakeModel(text.data(), text.size(), l.get()).error;
        return l;
    }();
    return *lake;
}

// The stock file as the game reads it, and its raw tokens.
struct Stock {
    StockFileContents contents;
    std::vector<std::string> tokens;
    std::string error;
};

inline Stock LoadStock() {
    Stock s;
    const std::string path = GameDir() + "/data/data.qd";
    std::string text;
    if (!ReadAll(path, &text)) {
        s.error = "cannot read data.qd";
        return s;
    }
    s.tokens = Tokens(text);
    FILE* f = std::fopen(path.c_str(), "rb");
    ReadStockFile(f, &s.contents, &s.error);
    std::fclose(f);
    return s;
}

// A decoded picture: ARGB texels, top row first.
struct Picture {
    int w = 0, h = 0, bpp = 0;
    bool hasAlphaMask = false;
    std::vector<uint32_t> argb;
    std::string error;
    uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * w + x]; }
    int Alpha(int x, int y) const { return At(x, y) >> 24; }
};

inline uint32_t U32(const std::string& b, size_t o) {
    return static_cast<uint8_t>(b[o]) | static_cast<uint8_t>(b[o + 1]) << 8 | static_cast<uint8_t>(b[o + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[o + 3])) << 24;
}
inline uint16_t U16(const std::string& b, size_t o) { return static_cast<uint16_t>(static_cast<uint8_t>(b[o]) | static_cast<uint8_t>(b[o + 1]) << 8); }

inline Picture LoadBmp(const std::string& path) {
    Picture p;
    std::string b;
    if (!ReadAll(path, &b) || b.size() < 54 || b[0] != 'B' || b[1] != 'M') { p.error = "not a bitmap"; return p; }
    uint32_t off = U32(b, 10), hsize = U32(b, 14);
    int32_t w = static_cast<int32_t>(U32(b, 18)), h = static_cast<int32_t>(U32(b, 22));
    p.bpp = U16(b, 28);
    uint32_t comp = U32(b, 30);
    bool topDown = h < 0;
    if (topDown) h = -h;
    p.w = w; p.h = h;
    if (p.bpp == 32 && comp == 3 && hsize >= 108) {
        p.hasAlphaMask = U32(b, 54 + 12) == 0xFF000000u && U32(b, 54) == 0x00FF0000u && U32(b, 58) == 0x0000FF00u &&
                         U32(b, 62) == 0x000000FFu;
    }
    if (!(p.bpp == 24 && comp == 0) && !(p.bpp == 32 && (comp == 0 || comp == 3))) { p.error = "unsupported format"; return p; }
    size_t row = p.bpp == 24 ? ((static_cast<size_t>(w) * 3 + 3) & ~size_t(3)) : static_cast<size_t>(w) * 4;
    if (off + row * h > b.size()) { p.error = "truncated"; return p; }
    p.argb.resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        size_t src = off + row * (topDown ? y : h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const uint8_t* q = reinterpret_cast<const uint8_t*>(b.data() + src + x * (p.bpp / 8));
            uint32_t a = (p.bpp == 32 && p.hasAlphaMask) ? q[3] : 0xFF;
            p.argb[static_cast<size_t>(y) * w + x] = a << 24 | q[2] << 16 | q[1] << 8 | q[0];
        }
    }
    return p;
}

inline Picture LoadTga(const std::string& path) {
    Picture p;
    std::string b;
    if (!ReadAll(path, &b) || b.size() < 18) { p.error = "cannot read"; return p; }
    if (b[2] != 2) { p.error = "not an uncompressed true-colour targa"; return p; }
    p.w = U16(b, 12); p.h = U16(b, 14); p.bpp = static_cast<uint8_t>(b[16]);
    uint8_t desc = static_cast<uint8_t>(b[17]);
    p.hasAlphaMask = (desc & 15) == 8;
    if (p.bpp != 32) { p.error = "not 32-bit"; return p; }
    size_t off = 18 + static_cast<uint8_t>(b[0]);
    if (off + static_cast<size_t>(p.w) * p.h * 4 > b.size()) { p.error = "truncated"; return p; }
    bool topDown = desc & 0x20;
    p.argb.resize(static_cast<size_t>(p.w) * p.h);
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
            const uint8_t* q = reinterpret_cast<const uint8_t*>(b.data() + off + (static_cast<size_t>(topDown ? y : p.h - 1 - y) * p.w + x) * 4);
            p.argb[static_cast<size_t>(y) * p.w + x] = static_cast<uint32_t>(q[3]) << 24 | q[2] << 16 | q[1] << 8 | q[0];
        }
    return p;
}

}  // namespace assets
