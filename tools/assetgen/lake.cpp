// Builds the lake: the height field, ground textures, swims, billboards, scenery items and
// wildlife spawns, and writes the model text.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "detmath.h"
#include "lake.h"

namespace ag {

namespace {

struct Basin { double cx, cz, r, maxDepth; };
// The lake is the union of these basins: a long water running from the hut in the south-west to
// the north-east corner, with a few bays.
const Basin BASINS[] = {
    {30, 28, 15, 3.3},  {55, 30, 18, 3.5},  {80, 32, 20, 3.6},  {100, 40, 22, 3.6}, {110, 62, 24, 3.7},
    {92, 72, 18, 3.5},  {82, 60, 10, 3.2},  {125, 80, 22, 3.7}, {110, 102, 22, 3.7}, {105, 122, 12, 3.0},
    {125, 120, 20, 3.6}, {148, 118, 12, 3.2}, {120, 140, 18, 3.6}, {140, 138, 22, 3.7}, {130, 155, 14, 3.3},
    {150, 162, 20, 3.5}, {135, 172, 14, 3.2},
    // shallow bays
    {64, 14, 7, 1.1},   {96, 136, 7, 1.0},   {165, 142, 7, 1.1},  {70, 84, 6, 1.0},
};

double ShoreNoise(double x, double z) { return (Fbm(x / 22.0, z / 22.0, 101u, 3) - 0.5) * 4.0; }

// Signed distance into the water (> 0 in the water) and the depth of the bed there.
void WaterField(double x, double z, double* dOut, double* depthOut) {
    double n = ShoreNoise(x, z);
    double d = -1e9, depth = 0;
    for (const Basin& b : BASINS) {
        double di = b.r - std::sqrt((x - b.cx) * (x - b.cx) + (z - b.cz) * (z - b.cz)) + n;
        d = std::max(d, di);
        if (di > 0) depth = std::max(depth, std::min(b.maxDepth, 0.4 + 0.3 * di));
    }
    *dOut = d;
    *depthOut = depth;
}

double HeightAt(double x, double z) {
    double d, depth;
    WaterField(x, z, &d, &depth);
    if (d > 0) {
        double bed = (Fbm(x / 14.0, z / 14.0, 202u, 3) - 0.5) * 0.8 * SmoothStep(2, 8, d);
        return -std::min(3.95, depth + bed);
    }
    double land = 0.1 + 0.02 * std::min(20.0, -d);
    land += 0.3 * Fbm(x / 30.0, z / 30.0, 303u, 2) * SmoothStep(4, 14, -d);
    double edge = std::min(std::min(x, 200 - x), std::min(z, 200 - z));
    return Lerp(0.08, land, SmoothStep(0, 8, edge));
}

double Dist(double ax, double az, double bx, double bz) { return std::sqrt((ax - bx) * (ax - bx) + (az - bz) * (az - bz)); }

double AngleDiff(double a, double b) {
    double d = std::fmod(a - b, TWO_PI);
    if (d > PI) d -= TWO_PI;
    if (d < -PI) d += TWO_PI;
    return std::fabs(d);
}

double HeadingTo(double fx, double fz, double tx, double tz) { return Atan2(tx - fx, tz - fz); }

bool InFan(const Swim& s, double x, double z, double radius = 60, double halfAngle = 0.6) {
    Pt S = StandingPoint(s);
    double d = Dist(S.x, S.z, x, z);
    if (d > radius) return false;
    if (d < 1e-6) return true;
    return AngleDiff(HeadingTo(S.x, S.z, x, z), s.facing) <= halfAngle;
}

// Within 10 units in front of the standing point (the view from the swim).
bool InFront(const Swim& s, double x, double z, double range = 10) {
    Pt S = StandingPoint(s);
    double d = Dist(S.x, S.z, x, z);
    if (d > range) return false;
    double dx = x - S.x, dz = z - S.z;
    return dx * Sin(s.facing) + dz * Cos(s.facing) > -1.0;
}

double DistToSegment(double px, double pz, Pt a, Pt b) {
    double dx = b.x - a.x, dz = b.z - a.z, l2 = dx * dx + dz * dz;
    double t = l2 > 0 ? Clamp(((px - a.x) * dx + (pz - a.z) * dz) / l2, 0, 1) : 0;
    return Dist(px, pz, a.x + t * dx, a.z + t * dz);
}

bool SnagBillboardType(int t) { return t == 1 || t == 2 || t == 3 || t == 10 || t == 11 || t == 13; }

// A rectangle on the ground: centre, the heading of its long side and half its sides along and
// across that heading.
struct Box { Pt c; double heading, halfAlong, halfAcross; };

// Separating-axis test of two boxes: true when their insides overlap (touching edges do not).
bool Overlap(const Box& p, const Box& q) {
    const Box* boxes[2] = {&p, &q};
    for (const Box* axisBox : boxes)
        for (double turn : {0.0, PI / 2}) {
            const double ax = Sin(axisBox->heading + turn), az = Cos(axisBox->heading + turn);
            double lo[2], hi[2];
            for (int k = 0; k < 2; ++k) {
                const Box& b = *boxes[k];
                const double along = std::fabs(Sin(b.heading) * ax + Cos(b.heading) * az);
                const double across = std::fabs(Cos(b.heading) * ax - Sin(b.heading) * az);
                const double centre = b.c.x * ax + b.c.z * az, half = b.halfAlong * along + b.halfAcross * across;
                lo[k] = centre - half;
                hi[k] = centre + half;
            }
            if (hi[0] <= lo[1] + 1e-9 || hi[1] <= lo[0] + 1e-9) return false;
        }
    return true;
}

// The ground a terrain cell covers (2 by 2, as drawn, not as the game's cell lookup finds it).
Box CellBox(int cell) {
    double xs[4], zs[4];
    Lake::CellCorners(cell, xs, zs);
    return Box{Pt{(xs[0] + xs[1] + xs[2] + xs[3]) / 4, (zs[0] + zs[1] + zs[2] + zs[3]) / 4}, 0, 1, 1};
}

// Where a landed fish lies and hangs beside the pod: the unhooking mat (2.6 square, centred 1.8
// from the pod at facing + 4.8) and the weigh sling (2.4 wide across the facing, at facing + 4.4).
Box MatBox(const Swim& s) { return Box{Ahead(Pt{s.x, s.z}, s.facing + 4.8, 1.8), s.facing, 1.3, 1.3}; }
Box SlingBox(const Swim& s) { return Box{Ahead(Pt{s.x, s.z}, s.facing + 4.4, 1.8), s.facing, 0.0, 1.2}; }
// A platform of size s: the deck (3s each way) inside its boards (out to 3.2s along, 3.1s across).
Box PlatformBox(double x, double z, double heading, double size) {
    return Box{Pt{x, z}, heading, 3.2 * size, 3.1 * size};
}

// The platforms at the swims: their size, and how far their centre stands behind the standing
// point, so that the front board stays clear of the mat (which starts 2.6 ahead of that point).
constexpr double PLATFORM_SIZE = 0.9;
constexpr double PLATFORM_SETBACK = 0.5;

// A swim's platform lies under the standing point, reaching forward to just short of the
// unhooking mat and the weigh sling, which lie on the bank in front of it.
Pt PlatformSpot(const Lake& l, const Swim& s) {
    Pt S = StandingPoint(s);
    for (double d = PLATFORM_SETBACK; d <= PLATFORM_SETBACK + 1.5 + 1e-9; d += 0.5) {
        Pt c = Ahead(S, s.facing, -d);
        if (MeanAt(l, c.x, c.z) >= -0.3) return c;
    }
    return S;
}

// Every terrain cell under the mat and the sling is dry (no corner below the water) and low
// enough (no corner above 0.3) that the mat at 0.2 lies on it rather than in it.
bool MatAndSlingOnDryBank(const Lake& l, const Swim& s) {
    const Box mat = MatBox(s), sling = SlingBox(s);
    const int col = static_cast<int>(std::floor(s.x / 2)), row = static_cast<int>(std::floor((200 - s.z) / 2));
    for (int r = row - 3; r <= row + 3; ++r)
        for (int c = col - 3; c <= col + 3; ++c) {
            if (r < 0 || r > 99 || c < 0 || c > 99) return false;
            const int cell = r * 100 + c;
            const Box ground = CellBox(cell);
            if ((Overlap(ground, mat) || Overlap(ground, sling)) && !(l.CellMin(cell) >= 0 && l.CellMax(cell) <= 0.3))
                return false;
        }
    return true;
}

// Terrain-only swim checks (SW-1..SW-9 without objects, SW-2).
bool SwimTerrainOk(const Lake& l, const Swim& s, std::vector<std::string>* why) {
    bool ok = true;
    auto fail = [&](const std::string& m) { ok = false; if (why) why->push_back(m); };
    Pt S = StandingPoint(s);
    double f = s.facing;
    // The map's default view shows z 5..196; the signs keep 12 units inside that, so that they
    // stay in view when the map is panned a little (the south bank is too low for swim 1 then:
    // it fishes from the west bank across the south-west basin).
    if (!(s.x >= 10 && s.x <= 190 && s.z >= 17 && s.z <= 184)) fail("SW-1 swim outside the map window");
    if (!(S.x >= 2 && S.x <= 198 && S.z >= 2 && S.z <= 198)) fail("SW-1 standing point outside the grid");
    if (!(f >= 0.3 && f <= 5.9)) fail("SW-2 facing");
    double sm = MeanAt(l, S.x, S.z);
    if (!(sm >= 0 && sm <= 0.5)) fail("SW-3 standing point not dry land");
    if (!(BankLineDistance(S.x, S.z) > 3 && InsideBankQuad(S.x, S.z))) fail("SW-3 standing point near a bank line");
    double pm = MaxAt(l, s.x, s.z);
    if (!(pm >= -0.45 && pm <= 0.3)) fail("SW-4 pod not at the edge");
    for (double a : {3.0, 3.284}) {
        Pt r = Ahead(Pt{s.x, s.z}, f + a, 3);
        if (!(MaxAt(l, r.x, r.z) <= 0.3 && MeanAt(l, r.x, r.z) >= -0.3)) fail("SW-4 rear rest");
    }
    if (!MatAndSlingOnDryBank(l, s)) fail("SW-4 mat or sling over water or buried");
    // The dry mat lies where the net probe (5 ahead of the eye) would fall from the standing
    // point, so the net comes out once the angler has stepped toward the water; a few half-unit
    // steps straight ahead (each on ground the step accepts) must bring it out.
    const double NET_STEPS_MAX = 4.0;
    double step = -1;
    for (double k = 0; k <= NET_STEPS_MAX + 1e-9; k += 0.5) {
        Pt L = Ahead(S, f, k);
        if (k > 0 && !(MeanAt(l, L.x, L.z) > -0.3)) break;
        Pt Q = Ahead(L, f, 5);
        int qc = CellAt(Q.x, Q.z);
        if (qc >= 0 && l.CellMax(qc) < 0 && l.CellMean(qc) <= -0.2) { step = k; break; }
    }
    if (step < 0) fail("SW-5 net probe");
    for (double d = 7; step >= 0 && d <= 12.001; d += 0.5) {
        Pt p = Ahead(S, f, step + d);
        if (!(MaxAt(l, p.x, p.z) <= -0.8)) { fail("SW-6 landing water"); break; }
    }
    Pt A = Ahead(S, f, 23.19);
    double ax = std::nearbyint(A.x), az = std::nearbyint(A.z);
    int ac = CellAt(A.x, A.z);
    if (!(ax > 0 && ax < 200 && az > 0 && az < 200) || ac < 0 || !(l.CellMax(ac) <= -0.25 && l.CellMean(ac) <= -1.5))
        fail("SW-7 default cast");
    if (Dist(A.x, A.z, 25, 24) <= 15) fail("SW-7 cast near the hut");
    for (double a : {0.0, 0.2, 0.4}) {
        Pt r = Ahead(S, f + a, 15);
        int c = CellAt(r.x, r.z);
        if (c < 0 || !(l.CellMax(c) <= -0.25 && l.CellMean(c) <= -1.0)) fail("SW-8 re-cast point");
    }
    Pt P0 = Ahead(S, f, 4);
    double yA = std::max((ac >= 0 ? l.CellMean(ac) : 0) + 0.5, -1.5);
    double len = Dist(P0.x, P0.z, A.x, A.z);
    for (double t = 0; t <= len + 1e-9; t += 1.0) {
        double k = t / len;
        double px = Lerp(P0.x, A.x, k), pz = Lerp(P0.z, A.z, k), py = Lerp(1.2, yA, k);
        if (MeanAt(l, px, pz) - 0.5 > py) { fail("SW-9 bank above the line"); break; }
    }
    if (InFan(s, 24.9, 24.0, 62, 0.6) || DistToSegment(24.9, 24.0, P0, A) < 4.0) fail("SW-9 hut in the fan");
    return ok;
}

// Flood fill of walkable ground on a 1-unit lattice; returns the lattice mask.
struct WalkMap {
    static const int X0 = -40, X1 = 270, Z0 = -15, Z1 = 215;
    int w = X1 - X0 + 1, h = Z1 - Z0 + 1;
    std::vector<char> walk, seen;
    bool Walkable(int x, int z) const {
        if (x < X0 || x > X1 || z < Z0 || z > Z1) return false;
        return walk[(z - Z0) * w + (x - X0)] != 0;
    }
};

WalkMap Flood(const Lake& l, Pt from) {
    WalkMap m;
    m.walk.assign(m.w * m.h, 0);
    m.seen.assign(m.w * m.h, 0);
    for (int z = WalkMap::Z0; z <= WalkMap::Z1; ++z)
        for (int x = WalkMap::X0; x <= WalkMap::X1; ++x)
            m.walk[(z - WalkMap::Z0) * m.w + (x - WalkMap::X0)] =
                InsideBankQuad(x, z) && BankLineDistance(x, z) > 1.5 && WalkGround(l, x, z) >= -0.3;
    int sx = static_cast<int>(std::nearbyint(from.x)), sz = static_cast<int>(std::nearbyint(from.z));
    if (!m.Walkable(sx, sz)) return m;
    std::vector<std::pair<int, int>> stack{{sx, sz}};
    m.seen[(sz - WalkMap::Z0) * m.w + (sx - WalkMap::X0)] = 1;
    while (!stack.empty()) {
        auto [x, z] = stack.back();
        stack.pop_back();
        const int dx[4] = {1, -1, 0, 0}, dz[4] = {0, 0, 1, -1};
        for (int k = 0; k < 4; ++k) {
            int nx = x + dx[k], nz = z + dz[k];
            if (!m.Walkable(nx, nz)) continue;
            char& s = m.seen[(nz - WalkMap::Z0) * m.w + (nx - WalkMap::X0)];
            if (s) continue;
            s = 1;
            stack.push_back({nx, nz});
        }
    }
    return m;
}

bool Reached(const WalkMap& m, Pt p) {
    int x = static_cast<int>(std::nearbyint(p.x)), z = static_cast<int>(std::nearbyint(p.z));
    if (x < WalkMap::X0 || x > WalkMap::X1 || z < WalkMap::Z0 || z > WalkMap::Z1) return false;
    return m.seen[(z - WalkMap::Z0) * m.w + (x - WalkMap::X0)] != 0;
}

// Nominal swims in walking order, clockwise from the south-west.
const Swim NOMINAL_SWIMS[9] = {
    {16.5, 38.5, 1.65}, {45.3, 46.8, 2.62}, {72.0, 62.6, 1.83}, {88.0, 106.6, 1.78}, {107.9, 154.8, 2.45},
    {123.8, 182.2, 2.31}, {154.6, 182.0, 3.37}, {158.4, 125.2, 5.32}, {134.2, 100.5, 3.56},
};

double R3(double v) { return std::nearbyint(v * 1000.0) / 1000.0; }
double R2(double v) { return std::nearbyint(v * 100.0) / 100.0; }

void PlaceSwims(Lake& l) {
    for (int n = 0; n < 9; ++n) {
        const Swim& nom = NOMINAL_SWIMS[n];
        Swim best{};
        double bestCost = 1e30;
        for (int ix = -12; ix <= 12; ++ix)
            for (int iz = -12; iz <= 12; ++iz)
                for (int ia = -8; ia <= 8; ++ia) {
                    Swim s{R2(nom.x + ix * 0.5), R2(nom.z + iz * 0.5), R2(nom.facing + ia * 0.05)};
                    double cost = ix * ix + iz * iz + 4.0 * ia * ia;
                    if (cost >= bestCost) continue;
                    bool spaced = true;
                    for (int k = 0; k < n; ++k)
                        if (Dist(s.x, s.z, l.swims[k].x, l.swims[k].z) < 22) spaced = false;
                    if (!spaced || !SwimTerrainOk(l, s, nullptr)) continue;
                    best = s;
                    bestCost = cost;
                }
        if (bestCost >= 1e30) {
            std::vector<std::string> why;
            SwimTerrainOk(l, nom, &why);
            std::fprintf(stderr, "assetgen: no place found for swim %d near (%.1f, %.1f):", n + 1, nom.x, nom.z);
            for (auto& w : why) std::fprintf(stderr, " [%s]", w.c_str());
            std::fprintf(stderr, "\n");
            best = nom;
        }
        l.swims[n] = best;
    }
}

// ---- ground textures ----
enum { GRASS1 = 44, WORN = 47, FIELD1 = 48, FIELD2 = 49, EDGE = 50, BED1 = 51, BLANK = 57 };

void PaintGround(Lake& l) {
    for (int c = 0; c < 10000; ++c) {
        double xs[4], zs[4];
        Lake::CellCorners(c, xs, zs);
        double cx = (xs[0] + xs[1] + xs[2] + xs[3]) / 4, cz = (zs[0] + zs[1] + zs[2] + zs[3]) / 4;
        double mx = l.CellMax(c), mn = l.CellMin(c), mean = l.CellMean(c);
        int t;
        if (mx < 0) {
            double depth = -mean;
            int band = depth < 0.8 ? 0 : depth < 1.4 ? 1 : depth < 2.0 ? 2 : depth < 2.6 ? 3 : depth < 3.2 ? 4 : 5;
            t = BED1 + band;
        } else if (mn < 0) {
            t = EDGE;
        } else if (!InsideBankQuad(cx, cz) || BankLineDistance(cx, cz) <= 1.5) {
            // field parcels beyond the fence
            t = Fbm(cx / 40.0, cz / 40.0, 77u, 1) < 0.5 ? FIELD1 : FIELD2;
        } else {
            double d, depth;
            WaterField(cx, cz, &d, &depth);
            double shore = -d;
            double worn = Fbm(cx / 6.0, cz / 6.0, 404u, 2);
            bool nearSwim = false;
            for (const Swim& s : l.swims) {
                Pt S = StandingPoint(s);
                if (Dist(S.x, S.z, cx, cz) < 4.5) nearSwim = true;
            }
            if (nearSwim || (shore > 4.0 && shore < 6.5 && worn > 0.42)) t = WORN;
            else {
                double v = Fbm(cx / 18.0, cz / 18.0, 505u, 2);
                t = GRASS1 + (v < 0.42 ? 0 : v < 0.58 ? 1 : 2);
            }
        }
        l.tex[c] = t;
    }
}

// ---- objects ----
struct Placer {
    Lake& l;
    Rng rng;
    int nextBillboard = 0;
    explicit Placer(Lake& lk, uint64_t seed) : l(lk), rng(seed) {}

    bool FrontOfAnySwim(double x, double z, double range = 10) const {
        for (const Swim& s : l.swims)
            if (InFront(s, x, z, range)) return true;
        return false;
    }
    // On or within a unit of a swim's platform.
    bool OnAnyPlatform(double x, double z) const {
        for (const Swim& s : l.swims) {
            Pt c = PlatformSpot(l, s);
            if (Overlap(Box{Pt{x, z}, 0, 1, 1}, PlatformBox(c.x, c.z, s.facing, PLATFORM_SIZE))) return true;
        }
        return false;
    }
    bool InAnyFan(double x, double z, double pad) const {
        for (const Swim& s : l.swims) {
            Pt S = StandingPoint(s);
            Pt A = Ahead(S, s.facing, 23.19);
            if (InFan(s, x, z, 60 + pad, 0.6 + pad / 20.0) || DistToSegment(x, z, Ahead(S, s.facing, 4), A) < 2 + pad)
                return true;
            if (Dist(S.x, S.z, x, z) < 3 + pad) return true;
        }
        return false;
    }
    bool NearTourAbove(double x, double z, double r) const {
        for (int i = 0; i + 1 < 5; ++i)
            if (DistToSegment(x, z, TOUR_ABOVE[i], TOUR_ABOVE[i + 1]) < r) return true;
        for (int i = 0; i + 1 < 3; ++i)
            if (DistToSegment(x, z, TOUR_ABOVE2[i], TOUR_ABOVE2[i + 1]) < r) return true;
        return false;
    }
    bool Add(int type, double x, double y, double z, double size) {
        if (nextBillboard >= 1999) return false;
        l.billboards[nextBillboard++] = BillboardRec{1, type, R3(x), R2(y), R3(z), R2(size)};
        return true;
    }
    bool TooClose(double x, double z, double r, int fromType, int toType) const {
        for (int i = 0; i < nextBillboard; ++i) {
            const BillboardRec& b = l.billboards[i];
            if (b.type >= fromType && b.type <= toType && Dist(b.x, b.z, x, z) < r) return true;
        }
        return false;
    }
};

double ShoreDist(double x, double z) {
    double d, depth;
    WaterField(x, z, &d, &depth);
    return d;
}

void PlaceBillboards(Lake& l) {
    Placer p(l, 0xB111B0A2Dull);
    Rng& r = p.rng;
    auto inside = [](double x, double z, double margin) {
        return x > 3 && x < 197 && z > 3 && z < 197 && InsideBankQuad(x, z) && BankLineDistance(x, z) > margin;
    };
    // Trees: snag types outside the swims' casting fans, tall non-snag trees (14) inside them.
    for (int tries = 0, trees = 0; tries < 200000 && trees < 300; ++tries) {
        double x = r.Range(4, 196), z = r.Range(4, 196);
        if (!inside(x, z, 2.5)) continue;
        double sd = ShoreDist(x, z);
        if (sd > -4.0) continue;
        // denser near the fence and in copses
        double copse = Fbm(x / 25.0, z / 25.0, 606u, 2);
        double fence = SmoothStep(14, 3, BankLineDistance(x, z));
        double dens = Clamp(0.15 + 1.2 * (copse - 0.45) + 0.6 * fence, 0, 1);
        if (sd > -7) dens *= 0.5;
        if (!r.Chance(dens)) continue;
        if (p.FrontOfAnySwim(x, z, 12) || p.OnAnyPlatform(x, z) || p.NearTourAbove(x, z, 5)) continue;
        if (p.TooClose(x, z, 5.5, 1, 3) || p.TooClose(x, z, 5.5, 10, 11) || p.TooClose(x, z, 5.5, 14, 14)) continue;
        double y = MeanAt(l, x, z) - 0.1;
        int type;
        double size;
        if (p.InAnyFan(x, z, 3)) {
            type = 14;
            size = r.Range(2.2, 3.2);
        } else {
            double k = r.Uniform();
            if (k < 0.34) { type = 1; size = r.Range(2.3, 3.4); }
            else if (k < 0.52) { type = 2; size = r.Range(2.2, 3.0); }
            else if (k < 0.72) { type = 3; size = r.Range(2.0, 3.0); }
            else if (k < 0.86) { type = 10; size = r.Range(1.2, 1.8); }
            else { type = 11; size = r.Range(1.3, 2.0); }
            // willows like the water's edge
            if (sd > -9 && r.Chance(0.5)) { type = 2; size = r.Range(2.2, 2.9); }
        }
        p.Add(type, x, y, z, size);
        ++trees;
    }
    // Overhanging bushes at the margin (snags), outside the fans.
    for (int tries = 0, bushes = 0; tries < 40000 && bushes < 45; ++tries) {
        double x = r.Range(4, 196), z = r.Range(4, 196);
        if (!inside(x, z, 2.5)) continue;
        double sd = ShoreDist(x, z);
        if (sd > -0.8 || sd < -3.5) continue;
        if (MeanAt(l, x, z) < 0) continue;
        if (p.InAnyFan(x, z, 6) || p.FrontOfAnySwim(x, z, 14) || p.OnAnyPlatform(x, z) || p.NearTourAbove(x, z, 3)) continue;
        if (p.TooClose(x, z, 6, 13, 13)) continue;
        p.Add(13, x, MeanAt(l, x, z) - 0.05, z, r.Range(1.6, 2.6));
        ++bushes;
    }
    // Reed beds in the margins: tall reeds (7..9) in the water, sedges (4..6) along the edge.
    for (int tries = 0, reeds = 0; tries < 300000 && reeds < 700; ++tries) {
        double x = r.Range(4, 196), z = r.Range(4, 196);
        if (!inside(x, z, 2.0)) continue;
        double bedNoise = Fbm(x / 9.0, z / 9.0, 707u, 2);
        if (bedNoise < 0.44) continue;
        double mean = MeanAt(l, x, z), mx = MaxAt(l, x, z);
        if (p.FrontOfAnySwim(x, z, 12) || p.OnAnyPlatform(x, z)) continue;
        bool swimNear = false;
        for (const Swim& s : l.swims)
            if (Dist(s.x, s.z, x, z) < 7) swimNear = true;
        if (swimNear) continue;
        if (mx < -0.3 && mean > -1.1 && mean < -0.3) {
            if (p.TooClose(x, z, 1.6, 7, 9)) continue;
            int type = 7 + r.Int(0, 2);
            p.Add(type, x, R2(std::max(mean, -1.0)), z, r.Range(0.6, 0.95));
            ++reeds;
        } else if (mean >= 0 && ShoreDist(x, z) > -2.5) {
            if (p.TooClose(x, z, 1.4, 4, 6)) continue;
            int type = 4 + r.Int(0, 2);
            p.Add(type, x, mean - 0.05, z, r.Range(0.6, 1.1));
            ++reeds;
        }
    }
    // Wild flowers and small plants on the banks.
    for (int tries = 0, flowers = 0; tries < 40000 && flowers < 220; ++tries) {
        double x = r.Range(4, 196), z = r.Range(4, 196);
        if (!inside(x, z, 2.0)) continue;
        double sd = ShoreDist(x, z);
        if (sd > -1.5 || sd < -14) continue;
        if (p.FrontOfAnySwim(x, z, 11) || p.OnAnyPlatform(x, z)) continue;
        if (Fbm(x / 7.0, z / 7.0, 808u, 2) < 0.47) continue;
        if (p.TooClose(x, z, 1.2, 12, 12)) continue;
        p.Add(12, x, MeanAt(l, x, z) - 0.02, z, r.Range(0.8, 1.4));
        ++flowers;
    }
}

void PlaceItems(Lake& l) {
    Rng r(0x17E35ull);
    int n = 0;
    auto add = [&](int type, double x, double y, double z, double size, double heading) {
        if (n >= 100) return;
        heading = std::fmod(heading, 6.284);
        if (heading < 0) heading += 6.284;
        l.items[n++] = ItemRec{1, type, R3(x), R2(y), R3(z), R2(size), R3(heading)};
    };
    Pt platforms[9];
    for (int i = 0; i < 9; ++i) {
        const Swim& s = l.swims[i];
        platforms[i] = PlatformSpot(l, s);
        add(1, platforms[i].x, MeanAt(l, platforms[i].x, platforms[i].z) - 0.7, platforms[i].z, PLATFORM_SIZE, s.facing);
    }
    // Boards beside a few platforms and on the path behind them.
    for (int i = 0; i < 9; i += 2) {
        const Swim& s = l.swims[i];
        Pt S = StandingPoint(s);
        Pt b = Ahead(S, s.facing + 1.571, 3.6);
        if (MeanAt(l, b.x, b.z) >= 0) add(2, b.x, MeanAt(l, b.x, b.z) - 0.25, b.z, 1.2, s.facing);
        Pt f = Ahead(platforms[i], s.facing + PI, 5.5);
        if (MeanAt(l, f.x, f.z) >= 0) add(3, f.x, MeanAt(l, f.x, f.z) - 0.05, f.z, 1.1, s.facing + 1.571);
    }
    auto freeOfFans = [&](double x, double z, double pad) {
        for (const Swim& s : l.swims) {
            Pt S = StandingPoint(s);
            if (InFan(s, x, z, 60 + pad, 0.6 + pad / 20.0) ||
                DistToSegment(x, z, Ahead(S, s.facing, 4), Ahead(S, s.facing, 23.19)) < 2 + pad ||
                Dist(S.x, S.z, x, z) < 12)
                return false;
        }
        for (const Pt* legs : {TOUR_WATER}) {
            for (int i = 0; i + 1 < 4; ++i)
                if (DistToSegment(x, z, legs[i], legs[i + 1]) < 6) return false;
        }
        return Dist(x, z, 25, 24) > 6;
    };
    // Snags in the margins: stumps, a branching snag, fallen trees.
    int snags = 0;
    for (int tries = 0; tries < 20000 && snags < 10; ++tries) {
        double x = r.Range(8, 192), z = r.Range(8, 192);
        double mean = MeanAt(l, x, z), mx = MaxAt(l, x, z);
        if (!(mx < -0.3 && mean > -1.6 && mean < -0.5)) continue;
        if (!freeOfFans(x, z, 6)) continue;
        bool clash = false;
        for (int i = 0; i < n; ++i)
            if (Dist(l.items[i].x, l.items[i].z, x, z) < 12) clash = true;
        if (clash) continue;
        int type = snags % 3 == 0 ? 6 : (snags % 3 == 1 ? 4 : 5);
        double size = type == 4 ? r.Range(2.6, 3.6) : type == 5 ? r.Range(1.0, 1.4) : r.Range(5.0, 7.0);
        // fallen trees lean out from the nearest bank
        double heading = r.Range(0, TWO_PI);
        if (type == 6) {
            double bestD = 1e9;
            for (int k = 0; k < 24; ++k) {
                double a = k * TWO_PI / 24;
                for (double d = 1; d < 12; d += 1) {
                    Pt q = Ahead(Pt{x, z}, a, d);
                    if (MeanAt(l, q.x, q.z) >= 0) { if (d < bestD) { bestD = d; heading = a + PI; } break; }
                }
            }
        }
        add(type, x, mean, z, size, heading);
        ++snags;
    }
    // Lily beds in the shallow bays and margins.
    int lilies = 0;
    for (int tries = 0; tries < 40000 && lilies < 36 && n < 100; ++tries) {
        double x = r.Range(8, 192), z = r.Range(8, 192);
        double s = r.Range(1.6, 3.4);
        bool water = true;
        for (double dx = -s; dx <= s + 1e-9 && water; dx += s / 2)
            for (double dz = -s; dz <= s + 1e-9 && water; dz += s / 2) {
                int c = CellAt(x + dx, z + dz);
                if (c < 0 || l.CellMax(c) > -0.25) water = false;
            }
        if (!water) continue;
        double mean = MeanAt(l, x, z);
        if (mean < -1.5 || mean > -0.3) continue;
        bool bad = false;
        for (const Swim& sw : l.swims) {
            Pt S = StandingPoint(sw);
            if (InFront(sw, x, z, 14) || Dist(S.x, S.z, x, z) < 10) bad = true;
            if (DistToSegment(x, z, Ahead(S, sw.facing, 4), Ahead(S, sw.facing, 23.19)) < s + 2) bad = true;
        }
        for (int i = 0; i < n && !bad; ++i)
            if (Dist(l.items[i].x, l.items[i].z, x, z) < s + 2.5) bad = true;
        if (bad) continue;
        add(r.Chance(0.5) ? 7 : 8, x, mean, z, s, r.Range(0, TWO_PI));
        ++lilies;
    }
}

void PlaceSpawns(Lake& l) {
    Rng r(0x5A3A5ull);
    // Insect swarms over the margins and reeds.
    int n = 0;
    for (int tries = 0; tries < 20000 && n < 40; ++tries) {
        const BillboardRec& b = l.billboards[r.Int(0, 1998)];
        if (!b.active || b.type < 4 || b.type > 9) continue;
        bool clash = false;
        for (int i = 0; i < n; ++i)
            if (Dist(l.swarms[i].x, l.swarms[i].z, b.x, b.z) < 8) clash = true;
        if (clash) continue;
        l.swarms[n++] = SpawnRec{1, 1 + r.Int(0, 1), R3(b.x + r.Range(-1, 1)), R2(r.Range(0.6, 1.4)), R3(b.z + r.Range(-1, 1))};
    }
    // Bubble spots over the deeper bed, more of them near the feed spots.
    n = 0;
    for (int tries = 0; tries < 40000 && n < 160; ++tries) {
        double x, z;
        if (r.Chance(0.35)) {
            const Pt& f = FEED_SPOTS[r.Int(0, 5)];
            x = f.x + r.Range(-8, 8); z = f.z + r.Range(-8, 8);
        } else {
            x = r.Range(8, 192); z = r.Range(8, 192);
        }
        int c = CellAt(x, z);
        if (c < 0 || l.CellMax(c) > -0.6 || l.CellMean(c) > -0.9) continue;
        l.bubbles[n++] = SpawnRec{1, 0, R3(x), R2(l.CellMean(c) + 0.05), R3(z)};
    }
    // Dragonflies by the reeds and lily beds.
    n = 0;
    for (int tries = 0; tries < 20000 && n < 30; ++tries) {
        double x, z;
        if (r.Chance(0.5)) {
            const ItemRec& it = l.items[r.Int(0, 99)];
            if (!it.active || it.type < 7) continue;
            x = it.x; z = it.z;
        } else {
            const BillboardRec& b = l.billboards[r.Int(0, 1998)];
            if (!b.active || b.type < 7 || b.type > 9) continue;
            x = b.x; z = b.z;
        }
        bool clash = false;
        for (int i = 0; i < n; ++i)
            if (Dist(l.dragonflies[i].x, l.dragonflies[i].z, x, z) < 10) clash = true;
        if (clash) continue;
        l.dragonflies[n++] = SpawnRec{1, 0, R3(x), R2(r.Range(0.6, 1.5)), R3(z)};
    }
}

}  // namespace

void BuildLake(Lake& l) {
    for (int i = 0; i <= 100; ++i)
        for (int j = 0; j <= 100; ++j) {
            double h = HeightAt(2.0 * i, 2.0 * j);
            int v = static_cast<int>(std::nearbyint(h * 100));
            if (v < 0 && v > -30) v = -30;  // keep the water's edge clear of the loader's snap band
            if (v >= 0 && v < 5) v = 5;
            l.hc[i][j] = v;
        }
    PlaceSwims(l);
    PaintGround(l);
    PlaceBillboards(l);
    PlaceItems(l);
    PlaceSpawns(l);
}

std::vector<std::string> CheckSwim(const Lake& l, int n) {
    std::vector<std::string> why;
    const Swim& s = l.swims[n];
    SwimTerrainOk(l, s, &why);
    Pt S = StandingPoint(s);
    Pt P0 = Ahead(S, s.facing, 4), A = Ahead(S, s.facing, 23.19);
    for (const BillboardRec& b : l.billboards) {
        if (!b.active) continue;
        double rr = std::max(b.size, 1.0);
        if (SnagBillboardType(b.type) && (InFan(s, b.x, b.z) || DistToSegment(b.x, b.z, P0, A) < rr + 2))
            why.push_back("SW-9 snag billboard in the fan");
        if (InFront(s, b.x, b.z)) why.push_back("SW-9 billboard in front of the swim");
    }
    for (const ItemRec& it : l.items) {
        if (!it.active || it.type < 4 || it.type > 6) continue;
        if (InFan(s, it.x, it.z) || DistToSegment(it.x, it.z, P0, A) < it.size / 3 + 2)
            why.push_back("SW-9 snag item in the fan");
    }
    for (int k = 0; k < 9; ++k)
        if (k != n && Dist(s.x, s.z, l.swims[k].x, l.swims[k].z) < 20) why.push_back("SW-10 swims too close");
    bool platform = false;
    const Box mat = MatBox(s), sling = SlingBox(s);
    for (const ItemRec& it : l.items) {
        if (!it.active || it.type != 1) continue;
        if (Dist(it.x, it.z, S.x, S.z) <= 4) platform = true;
        const Box deck = PlatformBox(it.x, it.z, it.heading, it.size);
        if (Overlap(deck, mat) || Overlap(deck, sling)) why.push_back("SW-4 a platform covers the mat or sling");
        if (Dist(it.x, it.z, S.x, S.z) > 4) continue;
        for (const BillboardRec& b : l.billboards)
            if (b.active && Overlap(Box{Pt{b.x, b.z}, 0, 0.5, 0.5}, deck)) why.push_back("SW-12 billboard on the platform");
    }
    if (!platform) why.push_back("SW-12 no platform");
    return why;
}

std::vector<std::string> CheckLake(const Lake& l) {
    std::vector<std::string> e;
    char buf[200];
    for (int n = 0; n < 9; ++n)
        for (const std::string& w : CheckSwim(l, n)) {
            std::snprintf(buf, sizeof buf, "swim %d: %s", n + 1, w.c_str());
            e.push_back(buf);
        }
    WalkMap m = Flood(l, StandingPoint(l.swims[0]));
    for (int n = 0; n < 9; ++n)
        if (!Reached(m, StandingPoint(l.swims[n]))) {
            std::snprintf(buf, sizeof buf, "swim %d: SW-11 not reachable on foot", n + 1);
            e.push_back(buf);
        }
    for (const Pt& f : FEED_SPOTS) {
        int c = CellAt(f.x, f.z);
        bool ok = l.CellMean(c) <= -1.5;
        for (double dx = -5; dx <= 5; dx += 1)
            for (double dz = -5; dz <= 5; dz += 1)
                if (dx * dx + dz * dz <= 25 && MaxAt(l, f.x + dx, f.z + dz) > -0.5) ok = false;
        if (!ok) { std::snprintf(buf, sizeof buf, "feed spot (%g, %g) not deep", f.x, f.z); e.push_back(buf); }
    }
    for (const Pt& a : AERATOR_POINTS)
        if (MaxAt(l, a.x, a.z) > -1.3) { std::snprintf(buf, sizeof buf, "aerator (%g, %g) not deep", a.x, a.z); e.push_back(buf); }
    for (double x = 22; x <= 28; x += 1)
        for (double z = 20; z <= 28; z += 1)
            if (MaxAt(l, x, z) > -1.0) { e.push_back("hut footprint not in the water"); x = z = 99; }
    auto legs = [&](const Pt* p, int count, bool water) {
        for (int i = 0; i + 1 < count; ++i) {
            double len = Dist(p[i].x, p[i].z, p[i + 1].x, p[i + 1].z);
            double ux = (p[i + 1].x - p[i].x) / len, uz = (p[i + 1].z - p[i].z) / len;
            for (double t = 0; t <= len; t += 1)
                for (double o = -3; o <= 3; o += 1) {
                    double x = p[i].x + ux * t - uz * o, z = p[i].z + uz * t + ux * o;
                    double m = MaxAt(l, x, z);
                    if (water ? m > -0.6 : m > 2.0) {
                        std::snprintf(buf, sizeof buf, "tour leg %s at (%.0f, %.0f): %.2f", water ? "under water" : "above water", x, z, m);
                        e.push_back(buf);
                        return;
                    }
                }
        }
    };
    legs(TOUR_WATER, 4, true);
    legs(TOUR_ABOVE, 5, false);
    legs(TOUR_ABOVE2, 3, false);
    int deep = 0, total = 0;
    for (int x = 6; x <= 196; x += 2)
        for (int z = 6; z <= 196; z += 2) {
            ++total;
            if (l.CellMean((200 - z) * 50 + x / 2) < -1.5 && Dist(25, 24, x, z) > 7) ++deep;
        }
    if (deep * 100 < total * 15) { std::snprintf(buf, sizeof buf, "only %d of %d placement cells deep", deep, total); e.push_back(buf); }
    for (int i = 0; i <= 100; ++i)
        for (int j = 0; j <= 100; ++j) {
            double h = l.V(i, j);
            bool nearEdge = i < 3 || j < 3 || i > 97 || j > 97;
            if (nearEdge && h < 0) { e.push_back("water within 6 units of the grid edge"); i = j = 200; }
        }
    return e;
}

// ---- text ----
namespace {
void Fixed(std::string& o, long long v, int decimals) {
    // v is the value times 10^decimals; trailing zeros are dropped
    char buf[48];
    long long p = 1;
    for (int i = 0; i < decimals; ++i) p *= 10;
    bool neg = v < 0;
    unsigned long long a = static_cast<unsigned long long>(neg ? -v : v);
    unsigned long long ip = a / p, fp = a % p;
    int dec = decimals;
    while (dec > 0 && fp % 10 == 0) { fp /= 10; --dec; }
    if (ip == 0 && dec == 0) neg = false;
    if (dec == 0) std::snprintf(buf, sizeof buf, "%s%llu", neg ? "-" : "", ip);
    else std::snprintf(buf, sizeof buf, "%s%llu.%0*llu", neg ? "-" : "", ip, dec, fp);
    o += buf;
}
void F3(std::string& o, double v) { Fixed(o, std::llround(v * 1000.0), 3); }
void I(std::string& o, int v) { o += std::to_string(v); }
}  // namespace

std::string LakeModelText(const Lake& l) {
    std::string o;
    o.reserve(2 << 20);
    for (int c = 0; c < 10000; ++c) {
        double xs[4], zs[4];
        Lake::CellCorners(c, xs, zs);
        for (int k = 0; k < 4; ++k) { I(o, static_cast<int>(xs[k])); o += ' '; }
        for (int k = 0; k < 4; ++k) {
            Fixed(o, l.hc[static_cast<int>(xs[k]) / 2][static_cast<int>(zs[k]) / 2], 2);
            o += ' ';
        }
        for (int k = 0; k < 4; ++k) { I(o, static_cast<int>(zs[k])); o += ' '; }
        I(o, l.tex[c]);
        o += '\n';
    }
    for (const BillboardRec& b : l.billboards) {
        I(o, b.active); o += ' '; I(o, b.type); o += ' ';
        F3(o, b.x); o += ' '; F3(o, b.y); o += ' '; F3(o, b.z); o += ' '; F3(o, b.size); o += '\n';
    }
    for (const ItemRec& it : l.items) {
        I(o, it.active); o += ' '; I(o, it.type); o += ' ';
        F3(o, it.x); o += ' '; F3(o, it.y); o += ' '; F3(o, it.z); o += ' '; F3(o, it.size); o += ' ';
        F3(o, it.heading); o += '\n';
    }
    for (const SpawnRec& s : l.swarms) {
        I(o, s.flag); o += ' '; I(o, s.type); o += ' ';
        F3(o, s.x); o += ' '; F3(o, s.y); o += ' '; F3(o, s.z); o += '\n';
    }
    for (const SpawnRec& s : l.bubbles) {
        I(o, s.flag); o += ' '; F3(o, s.x); o += ' '; F3(o, s.y); o += ' '; F3(o, s.z); o += '\n';
    }
    for (const SpawnRec& s : l.dragonflies) {
        I(o, s.flag); o += ' '; F3(o, s.x); o += ' '; F3(o, s.y); o += ' '; F3(o, s.z); o += '\n';
    }
    return o;
}

}  // namespace ag
