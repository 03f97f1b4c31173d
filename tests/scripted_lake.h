// A lake for tests: corner heights from a function of position, billboards from a list.
#pragma once
#include <cmath>
#include <functional>
#include <vector>
#include "world/lake_view.h"
#include "world/cell_lookup.h"
#include "world/terrain_grid.h"

class ScriptedLake : public LakeView {
public:
    struct Board {
        double x, z;
        int32_t type;
        bool active;
    };

    // Height of the ground at a grid corner.
    std::function<float(double x, double z)> height = [](double, double) { return -3.0f; };
    std::vector<Board> boards;  // billboard records 1, 2, ...
    mutable std::vector<std::pair<double, double>> asked;

    // A bowl: `deepest` at (cx, cz), rising to `rim` at `radius` and beyond.
    static ScriptedLake Bowl(double cx = 100, double cz = 100, double radius = 60, float deepest = -6,
                             float rim = 1) {
        ScriptedLake lake;
        lake.height = [=](double x, double z) {
            double r = std::sqrt((x - cx) * (x - cx) + (z - cz) * (z - cz)) / radius;
            if (r > 1) r = 1;
            return static_cast<float>(deepest + (rim - deepest) * r * r);
        };
        return lake;
    }

    // Cells are found by the game's own lookup; the spare record past the grid is all zeros.
    bool CellHeights(double x, double z, float h[4]) const override {
        asked.emplace_back(x, z);
        const int32_t index = CellIndexAt(x, z);
        if (index == CELL_NONE) return false;
        if (index == TERRAIN_SPARE_CELL) {
            for (int k = 0; k < 4; ++k) h[k] = 0.0f;
            return true;
        }
        const double w = 2.0 * (index % 100), e = w + 2;
        const double n = 200.0 - 2.0 * (index / 100), s = n - 2;
        h[0] = height(w, s);
        h[1] = height(w, n);
        h[2] = height(e, s);
        h[3] = height(e, n);
        return true;
    }

    bool Billboard(int32_t n, double* x, double* z, int32_t* type) const override {
        if (n < 1 || n > static_cast<int32_t>(boards.size())) return false;
        const Board& b = boards[n - 1];
        if (!b.active) return false;
        *x = b.x;
        *z = b.z;
        *type = b.type;
        return true;
    }
};
