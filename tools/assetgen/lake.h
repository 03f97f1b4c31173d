// The lake model: height field, ground textures, billboards, scenery items, wildlife spawns and
// the nine swims, with the game's own lookup rules needed to check them.
#pragma once
#include <string>
#include <vector>

namespace ag {

struct BillboardRec { int active = 0, type = 0; double x = 0, y = 0, z = 0, size = 0; };
struct ItemRec { int active = 0, type = 0; double x = 0, y = 0, z = 0, size = 0, heading = 0; };
struct SpawnRec { int flag = 0, type = 0; double x = 0, y = 0, z = 0; };
struct Swim { double x = 0, z = 0, facing = 0; };

struct Lake {
    // Vertex heights in hundredths of a unit, vertex (i, j) at x = 2i, z = 2j.
    int hc[101][101] = {};
    int tex[10000] = {};
    std::vector<BillboardRec> billboards = std::vector<BillboardRec>(1999);  // file records 1..1999
    std::vector<ItemRec> items = std::vector<ItemRec>(100);
    std::vector<SpawnRec> swarms = std::vector<SpawnRec>(100);
    std::vector<SpawnRec> bubbles = std::vector<SpawnRec>(500);
    std::vector<SpawnRec> dragonflies = std::vector<SpawnRec>(30);
    Swim swims[9];

    double V(int i, int j) const { return hc[i][j] / 100.0; }
    // Cell (row, col) corners in file order: x, z per corner.
    static void CellCorners(int cell, double xs[4], double zs[4]);
    void CellHeights(int cell, double ys[4]) const;
    double CellMean(int cell) const;
    double CellMax(int cell) const;
    double CellMin(int cell) const;
};

// The game's cell lookup: X = trunc(x) (odd → +1), likewise Z; index = X/2 + (200 - Z)/2 × 100.
// Returns -1 for points outside x ∈ [0, 199), z ∈ [1, 201).
int CellAt(double x, double z);
// Mean / max corner height under a point (0 outside the lookup bounds).
double MeanAt(const Lake& l, double x, double z);
double MaxAt(const Lake& l, double x, double z);

// Fishing bank lines: smallest distance of a point from the four infinite lines.
double BankLineDistance(double x, double z);
bool InsideBankQuad(double x, double z);
// Walking ground: cell mean, counted 0 outside [2, 198]².
double WalkGround(const Lake& l, double x, double z);

// Fixed coordinates the lake must agree with.
struct Pt { double x, z; };
extern const Pt FEED_SPOTS[6];
extern const Pt AERATOR_POINTS[3];
extern const Pt TOUR_WATER[4];
extern const Pt TOUR_ABOVE[5];
extern const Pt TOUR_ABOVE2[3];

// Swim-derived points.
Pt StandingPoint(const Swim& s);
Pt Ahead(Pt from, double heading, double d);

void BuildLake(Lake& lake);
// Every rule the lake and swims must meet; returns the failures (empty = good).
std::vector<std::string> CheckLake(const Lake& lake);
std::vector<std::string> CheckSwim(const Lake& lake, int n);
std::string LakeModelText(const Lake& lake);

}  // namespace ag
