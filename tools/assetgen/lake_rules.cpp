// The game's lookup rules for the lake: cell layout and lookup, bank lines, walking ground, and the
// fixed coordinates the lake has to agree with.
#include <algorithm>
#include <cmath>

#include "detmath.h"
#include "lake.h"

namespace ag {

const Pt FEED_SPOTS[6] = {{121, 142}, {145, 125}, {105, 95}, {120, 85}, {85, 66}, {100, 46}};
const Pt AERATOR_POINTS[3] = {{130, 136}, {114, 90}, {94, 58}};
const Pt TOUR_WATER[4] = {{140, 170}, {100, 110}, {130, 70}, {90, 25}};
const Pt TOUR_ABOVE[5] = {{60, 0}, {80, 40}, {115, 100}, {160, 165}, {140, 170}};
const Pt TOUR_ABOVE2[3] = {{90, 25}, {40, 20}, {80, 40}};

void Lake::CellCorners(int cell, double xs[4], double zs[4]) {
    int row = cell / 100, col = cell % 100;
    double W = 2.0 * col, E = W + 2, N = 200.0 - 2 * row, S = N - 2;
    if ((row + col) % 2 == 0) {
        xs[0] = W; zs[0] = S; xs[1] = W; zs[1] = N; xs[2] = E; zs[2] = S; xs[3] = E; zs[3] = N;
    } else {
        xs[0] = E; zs[0] = S; xs[1] = W; zs[1] = S; xs[2] = E; zs[2] = N; xs[3] = W; zs[3] = N;
    }
}

void Lake::CellHeights(int cell, double ys[4]) const {
    double xs[4], zs[4];
    CellCorners(cell, xs, zs);
    for (int k = 0; k < 4; ++k) ys[k] = V(static_cast<int>(xs[k]) / 2, static_cast<int>(zs[k]) / 2);
}
double Lake::CellMean(int cell) const {
    double y[4];
    CellHeights(cell, y);
    return (y[0] + y[1] + y[2] + y[3]) / 4;
}
double Lake::CellMax(int cell) const {
    double y[4];
    CellHeights(cell, y);
    return std::max(std::max(y[0], y[1]), std::max(y[2], y[3]));
}
double Lake::CellMin(int cell) const {
    double y[4];
    CellHeights(cell, y);
    return std::min(std::min(y[0], y[1]), std::min(y[2], y[3]));
}

int CellAt(double x, double z) {
    if (!(x >= 0 && x < 199 && z >= 1 && z < 201)) return -1;
    int X = static_cast<int>(x), Z = static_cast<int>(z);
    if (X % 2) ++X;
    if (Z % 2) ++Z;
    return X / 2 + (200 - Z) / 2 * 100;
}
double MeanAt(const Lake& l, double x, double z) {
    int c = CellAt(x, z);
    return c < 0 || c >= 10000 ? 0.0 : l.CellMean(c);
}
double MaxAt(const Lake& l, double x, double z) {
    int c = CellAt(x, z);
    return c < 0 || c >= 10000 ? 0.0 : l.CellMax(c);
}

namespace {
const double LINES[4][4] = {{-27, -11, 119, 209}, {-27, -11, 129, -11}, {258, 210, 129, -11}, {258, 210, 119, 209}};
}

double BankLineDistance(double x, double z) {
    double best = 1e30;
    for (const auto& L : LINES) {
        double dx = L[2] - L[0], dz = L[3] - L[1];
        double d = std::fabs((x - L[0]) * dz - (z - L[1]) * dx) / std::sqrt(dx * dx + dz * dz);
        best = std::min(best, d);
    }
    return best;
}

bool InsideBankQuad(double x, double z) {
    const double q[8] = {-27, -11, 129, -11, 258, 210, 119, 209};
    bool in = false;
    for (int i = 0, j = 3; i < 4; j = i++) {
        double ax = q[2 * j], az = q[2 * j + 1], bx = q[2 * i], bz = q[2 * i + 1];
        if ((bz > z) != (az > z) && x < (ax - bx) * (z - bz) / (az - bz) + bx) in = !in;
    }
    return in;
}

double WalkGround(const Lake& l, double x, double z) {
    if (x >= 2 && x <= 198 && z >= 2 && z <= 198) return MeanAt(l, x, z);
    return 0.0;
}

Pt StandingPoint(const Swim& s) {
    return Pt{s.x + 4 * Sin(s.facing + 3.5), s.z + 4 * Cos(s.facing + 3.5)};
}
Pt Ahead(Pt from, double heading, double d) {
    return Pt{from.x + d * Sin(heading), from.z + d * Cos(heading)};
}

}  // namespace ag
