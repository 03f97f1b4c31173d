// The generated game files (lake model, stock file) as the game reads them, and the game's cell
// lookup the asset tests check them against.
#pragma once
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>
#include "fishing/stock/stock_file.h"
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

}  // namespace assets
