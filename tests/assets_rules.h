// Game rules the asset tests apply to the generated lake and swims: fishing bank lines, walking
// ground, and the swim checks (dry stand, mat and sling on dry bank, water ahead, a clear line, no
// snags in the casting fan).
#pragma once
#include <cmath>
#include <string>
#include <vector>

#include "assets_files.h"

namespace assets {

inline double BankLineDistance(double x, double z) {
    const double L[4][4] = {{-27, -11, 119, 209}, {-27, -11, 129, -11}, {258, 210, 129, -11}, {258, 210, 119, 209}};
    double best = 1e30;
    for (const auto& q : L) {
        double dx = q[2] - q[0], dz = q[3] - q[1];
        best = std::fmin(best, std::fabs((x - q[0]) * dz - (z - q[1]) * dx) / std::sqrt(dx * dx + dz * dz));
    }
    return best;
}

inline bool InsideBankQuad(double x, double z) {
    const double q[8] = {-27, -11, 129, -11, 258, 210, 119, 209};
    bool in = false;
    for (int i = 0, j = 3; i < 4; j = i++) {
        double ax = q[2 * j], az = q[2 * j + 1], bx = q[2 * i], bz = q[2 * i + 1];
        if ((bz > z) != (az > z) && x < (ax - bx) * (z - bz) / (az - bz) + bx) in = !in;
    }
    return in;
}

inline float MeanAt(const Lake& l, double x, double z) { int c = CellAt(x, z); return c < 0 ? 0.f : l.Mean(c); }
inline float MaxAt(const Lake& l, double x, double z) { int c = CellAt(x, z); return c < 0 ? 0.f : l.Max(c); }

struct P2 { double x, z; };
inline P2 Ahead(P2 p, double h, double d) { return {p.x + d * std::sin(h), p.z + d * std::cos(h)}; }
inline P2 Standing(const SwimRecord& s) { return Ahead({s.x, s.z}, s.facing + 3.5, 4); }
inline double Dist(P2 a, P2 b) { return std::hypot(a.x - b.x, a.z - b.z); }
inline double SegDist(P2 p, P2 a, P2 b) {
    double dx = b.x - a.x, dz = b.z - a.z, l2 = dx * dx + dz * dz;
    double t = std::fmax(0.0, std::fmin(1.0, ((p.x - a.x) * dx + (p.z - a.z) * dz) / l2));
    return std::hypot(a.x + t * dx - p.x, a.z + t * dz - p.z);
}
inline bool InFan(const SwimRecord& s, P2 p) {
    P2 S = Standing(s);
    double d = Dist(S, p);
    if (d > 60) return false;
    double a = std::atan2(p.x - S.x, p.z - S.z) - s.facing;
    a = std::remainder(a, 2 * M_PI);
    return std::fabs(a) <= 0.6;
}

inline bool Walkable(const Lake& l, int x, int z) {
    if (!InsideBankQuad(x, z) || BankLineDistance(x, z) <= 1.5) return false;
    return ((x >= 2 && x <= 198 && z >= 2 && z <= 198) ? MeanAt(l, x, z) : 0.f) >= -0.3f;
}

// The points of a 1-unit lattice reachable on foot from one point.
struct Walk {
    static const int X0 = -40, X1 = 270, Z0 = -15, Z1 = 215, W = X1 - X0 + 1;
    std::vector<char> seen = std::vector<char>(W * (Z1 - Z0 + 1), 0);
    char& At(long x, long z) { return seen[(z - Z0) * W + (x - X0)]; }
    bool Reached(P2 p) { return At(std::lround(p.x), std::lround(p.z)); }
};

inline Walk FloodWalk(const Lake& l, P2 from) {
    Walk w;
    std::vector<std::pair<long, long>> stack{{std::lround(from.x), std::lround(from.z)}};
    while (!stack.empty()) {
        const auto [x, z] = stack.back();
        stack.pop_back();
        if (x < Walk::X0 || x > Walk::X1 || z < Walk::Z0 || z > Walk::Z1 || w.At(x, z) || !Walkable(l, x, z)) continue;
        w.At(x, z) = 1;
        stack.insert(stack.end(), {{x + 1, z}, {x - 1, z}, {x, z + 1}, {x, z - 1}});
    }
    return w;
}

// Every reason swim `s` fails (empty when it is good).
inline std::vector<std::string> SwimProblems(const Lake& l, const SwimRecord& s) {
    std::vector<std::string> why;
    P2 S = Standing(s), pod{s.x, s.z};
    double f = s.facing;
    if (!(s.x >= 10 && s.x <= 190 && s.z >= 10 && s.z <= 185)) why.push_back("sign outside the map window");
    if (!(S.x >= 2 && S.x <= 198 && S.z >= 2 && S.z <= 198)) why.push_back("standing point outside the grid");
    if (!(f >= 0.3f && f <= 5.9f)) why.push_back("facing outside 0.3..5.9");
    float sm = MeanAt(l, S.x, S.z);
    if (!(sm >= 0 && sm <= 0.5f)) why.push_back("standing point not on dry land");
    if (!(InsideBankQuad(S.x, S.z) && BankLineDistance(S.x, S.z) > 3)) why.push_back("standing point near a bank line");
    float pm = MaxAt(l, pod.x, pod.z);
    if (!(pm >= -0.45f && pm <= 0.3f)) why.push_back("rod pod not at the water's edge");
    for (double a : {3.0, 3.284}) {
        P2 r = Ahead(pod, f + a, 3);
        if (!(MaxAt(l, r.x, r.z) <= 0.3f && MeanAt(l, r.x, r.z) >= -0.3f)) why.push_back("rear rest in water or buried");
    }
    // Where the landed fish lies and hangs: the whole unhooking mat (2.6 square turned with the
    // facing, centred 1.8 from the pod at facing + 4.8) and the weigh sling (2.4 wide across the
    // facing, at facing + 4.4) over dry ground (every corner of the drawn cell at or above the
    // water, none above 0.3 where it would bury the mat at 0.2), and under no platform.
    std::vector<P2> footprint;
    const P2 mat = Ahead(pod, f + 4.8, 1.8), sling = Ahead(pod, f + 4.4, 1.8);
    for (double u = -1.3; u <= 1.3 + 1e-9; u += 0.1)
        for (double v = -1.3; v <= 1.3 + 1e-9; v += 0.1) footprint.push_back(Ahead(Ahead(mat, f, u), f + M_PI / 2, v));
    for (double v = -1.2; v <= 1.2 + 1e-9; v += 0.1) footprint.push_back(Ahead(sling, f + M_PI / 2, v));
    bool wet = false, buried = false, covered = false;
    for (const P2& p : footprint) {
        if (!(p.x >= 0 && p.x < 200 && p.z > 0 && p.z <= 200)) {
            wet = true;  // off the grid
            continue;
        }
        const TerrainCell& c = l.cells[static_cast<int>((200 - p.z) / 2) * 100 + static_cast<int>(p.x / 2)];
        for (float y : c.y) wet = wet || y < 0, buried = buried || y > 0.3f;
        for (const SceneryItem& it : l.items) {
            if (!it.active || it.type != 1) continue;
            const double dx = p.x - it.x, dz = p.z - it.z;
            const double along = dx * std::sin(it.heading) + dz * std::cos(it.heading);
            const double across = dx * std::cos(it.heading) - dz * std::sin(it.heading);
            covered = covered || (std::fabs(along) < 3.2 * it.size && std::fabs(across) < 3.1 * it.size);
        }
    }
    if (wet) why.push_back("mat or sling over water");
    if (buried) why.push_back("mat or sling buried");
    if (covered) why.push_back("mat or sling under a platform");
    // That dry bank lies where the net's water probe (5 ahead of the eye) falls from the standing
    // point: a few half-unit steps toward the water (each onto ground the step accepts) bring
    // the net out, and fish can swim up to it.
    double step = -1;
    for (double k = 0; k <= 4; k += 0.5) {
        P2 L = Ahead(S, f, k), Q = Ahead(L, f, 5);
        if (k > 0 && !(MeanAt(l, L.x, L.z) > -0.3f)) break;
        int qc = CellAt(Q.x, Q.z);
        if (qc >= 0 && l.Max(qc) < 0 && l.Mean(qc) <= -0.2f) { step = k; break; }
    }
    if (step < 0) why.push_back("no water at the net probe within 4 units' walk");
    for (double d = 7; step >= 0 && d <= 12; d += 0.5) {
        P2 p = Ahead(S, f, step + d);
        if (MaxAt(l, p.x, p.z) > -0.8f) { why.push_back("too shallow to net a fish"); break; }
    }
    P2 A = Ahead(S, f, 23.19);
    int ac = CellAt(A.x, A.z);
    if (ac < 0 || !(l.Max(ac) <= -0.25f && l.Mean(ac) <= -1.5f)) why.push_back("default cast not in deep water");
    if (Dist(A, {25, 24}) <= 15) why.push_back("default cast next to the hut");
    for (double a : {0.0, 0.2, 0.4}) {
        P2 r = Ahead(S, f + a, 15);
        int c = CellAt(r.x, r.z);
        if (c < 0 || !(l.Max(c) <= -0.25f && l.Mean(c) <= -1.0f)) why.push_back("re-cast point not in water");
    }
    P2 P0 = Ahead(S, f, 4);
    double yA = std::fmax((ac >= 0 ? l.Mean(ac) : 0) + 0.5, -1.5), len = Dist(P0, A);
    for (double t = 0; t <= len; t += 1) {
        double k = t / len;
        if (MeanAt(l, P0.x + (A.x - P0.x) * k, P0.z + (A.z - P0.z) * k) - 0.5 > 1.2 + (yA - 1.2) * k) {
            why.push_back("bank above the line");
            break;
        }
    }
    for (const Billboard& b : l.billboards) {
        if (!b.active) continue;
        bool snag = b.type == 1 || b.type == 2 || b.type == 3 || b.type == 10 || b.type == 11 || b.type == 13;
        P2 p{b.x, b.z};
        if (snag && (InFan(s, p) || SegDist(p, P0, A) < std::fmax(b.size, 1.0f) + 2)) why.push_back("snag billboard in the casting fan");
        double dd = Dist(S, p);
        if (dd < 10 && ((p.x - S.x) * std::sin(f) + (p.z - S.z) * std::cos(f)) > -1) why.push_back("billboard right in front");
    }
    for (const SceneryItem& it : l.items) {
        if (!it.active || it.type < 4 || it.type > 6) continue;
        if (InFan(s, {it.x, it.z}) || SegDist({it.x, it.z}, P0, A) < it.size / 3 + 2) why.push_back("snag item in the casting fan");
    }
    if (InFan(s, {24.9, 24.0}) || SegDist({24.9, 24.0}, P0, A) < 4) why.push_back("hut in the casting fan");
    bool platform = false;
    for (const SceneryItem& it : l.items)
        if (it.active && it.type == 1 && Dist({it.x, it.z}, S) <= 4) platform = true;
    if (!platform) why.push_back("no platform at the swim");
    return why;
}

}  // namespace assets
