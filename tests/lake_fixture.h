// Lake-world test helpers: a synthetic lake model, a scratch game folder and stand-in textures
// for the slots a headless game leaves empty.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>
#include "scratch_dir.h"
#include "shell/game_app.h"
#include "test_support.h"

namespace lakefix {

// Where each record's values start in a model file (values counted from 0).
inline int CellValue(int cell, int field) { return cell * 13 + field; }
inline int BillboardValue(int record, int field) { return 130000 + (record - 1) * 6 + field; }
inline int ItemValue(int item, int field) { return 141994 + item * 7 + field; }
inline int SwarmValue(int record, int field) { return 142694 + record * 5 + field; }
inline int BubbleValue(int record, int field) { return 143194 + record * 4 + field; }
inline int DragonflyValue(int record, int field) { return 145194 + record * 4 + field; }

inline std::string Num(double v, int decimals = 2) {
    char s[48];
    std::snprintf(s, sizeof s, "%.*f", decimals, v);
    return s;
}

// Height of the synthetic lake at a grid corner: a round lake 3.8 deep in the middle, its
// banks rising gently from 0.2.
inline double SyntheticHeight(double x, double z) {
    const double d = std::sqrt((x - 100) * (x - 100) + (z - 100) * (z - 100));
    const double h = d < 70 ? -0.3 - 3.5 * (1 - (d / 70) * (d / 70)) : 0.2 + (d - 70) * 0.005;
    return std::round(h * 100) / 100;
}

// A complete, valid model of 145,314 values: the round lake, 400 billboards on its banks,
// 10 scenery items, 20 insect swarms (types 1 and 2 in turn), 60 bubble spots, 10 dragonflies.
inline std::vector<std::string> SyntheticLakeValues() {
    std::vector<std::string> v;
    v.reserve(145314);
    for (int i = 0; i < 10000; ++i) {
        TerrainCell c{};
        LayOutFlatCell(i, &c);
        double mean = 0;
        for (int k = 0; k < 4; ++k) v.push_back(Num(c.x[k], 0));
        for (int k = 0; k < 4; ++k) {
            const double h = SyntheticHeight(c.x[k], c.z[k]);
            mean += h / 4;
            v.push_back(Num(h));
        }
        for (int k = 0; k < 4; ++k) v.push_back(Num(c.z[k], 0));
        const int texture = mean >= 0 ? 44 + i % 3 : 51 + std::min(5, static_cast<int>(-mean / 0.7));
        v.push_back(std::to_string(texture));
    }
    // `count` records of `width` values; the first `used` are made by `make`, the rest are zeros.
    auto records = [&v](int count, int used, int width, auto make) {
        for (int i = 0; i < count; ++i) {
            if (i < used) make(i);
            else v.insert(v.end(), width, "0");
        }
    };
    records(1999, 400, 6, [&](int i) {
        const double a = (i + 1) * 0.0157;
        v.insert(v.end(), {"1", std::to_string(1 + (i + 1) % 14), Num(100 + 80 * std::sin(a), 3), "0.3",
                           Num(100 + 80 * std::cos(a), 3), Num(1 + (i + 1) % 3)});
    });
    records(100, 10, 7, [&](int i) {
        const double a = i * 0.6;
        v.insert(v.end(), {"1", std::to_string(1 + i % 8), Num(100 + 72 * std::sin(a), 3), "-0.5",
                           Num(100 + 72 * std::cos(a), 3), "0.9", Num(a, 3)});
    });
    records(100, 20, 5, [&](int i) {
        v.insert(v.end(), {"1", std::to_string(1 + i % 2), Num(30 + i * 7), "1.0", Num(100 + i)});
    });
    records(500, 60, 4, [&](int i) { v.insert(v.end(), {"1", Num(80 + i % 10 * 4), "-2.5", Num(80 + i / 10 * 4)}); });
    records(30, 10, 4, [&](int i) { v.insert(v.end(), {"1", Num(40 + i * 12), "0.8", Num(35)}); });
    return v;
}

// The values as model text: one record a line, the way a tool would write it.
inline std::string ModelText(const std::vector<std::string>& values, const char* lineEnd = "\n") {
    std::string text;
    text.reserve(values.size() * 6);
    auto line = [&](size_t from, size_t count) {
        for (size_t k = 0; k < count && from + k < values.size(); ++k) {
            if (k) text += ' ';
            text += values[from + k];
        }
        text += lineEnd;
    };
    size_t at = 0;
    const size_t blocks[][2] = {{10000, 13}, {1999, 6}, {100, 7}, {100, 5}, {500, 4}, {30, 4}};
    for (const auto& b : blocks)
        for (size_t r = 0; r < b[0] && at < values.size(); ++r, at += b[1]) line(at, b[1]);
    return text;
}

// A fresh empty game folder for the test, and the lake model in it.
struct ScratchFolder : ScratchDir {
    void WriteModel(const std::string& text) const { WriteText("models/lake.qd", text); }
};

// Fills the empty texture slots the lake world draws with, and empties them again. Declare it
// after the game so that it goes first.
class WorldStandIns {
public:
    explicit WorldStandIns(GameApp& app) : app_(app) {
        const TextureName names[] = {TEX_WATER, TEX_WATER2, TEX_WATER3, TEX_WATER3B, TEX_SKY2, TEX_SKY,
                                     TEX_SURFACE, TEX_BORDER1, TEX_BORDER1B, TEX_BORDER1C, TEX_BORDER1D};
        for (TextureName n : names) Texture(n);
        for (int n = TEX_GRASS1; n <= TEX_BLANK; ++n) Texture(static_cast<TextureName>(n));
    }
    ~WorldStandIns() {
        for (auto& [name, made] : made_)
            if (app_.textures[name] == made) {
                made->Release();
                app_.textures[name] = nullptr;
            }
    }
    // Every other empty slot as well (the scenery, wildlife and effect textures).
    void FillEverySlot() {
        for (int n = 0; n < TEXTURE_COUNT; ++n) Texture(static_cast<TextureName>(n));
    }
    WorldStandIns(const WorldStandIns&) = delete;
    WorldStandIns& operator=(const WorldStandIns&) = delete;

private:
    void Texture(TextureName name) {
        if (app_.textures[name]) return;
        app_.textures[name] = StandInTexture(app_.Device(), TEXTURE_TABLE[name].file);
        made_.emplace_back(name, app_.textures[name]);
    }

    GameApp& app_;
    std::vector<std::pair<TextureName, plat::Texture*>> made_;
};

}  // namespace lakefix
