// The stock file: the 27 named fish, 48 unnamed commons and mirrors, then the nine swims.
#include "stock.h"

#include <cstdio>

#include "detmath.h"

namespace ag {

namespace {

struct Named { const char* name; double stocking, recent, shape; };
// kind = index + 1; 2 and 24 are ghosts, 4, 8 and 15 commons, the rest mirrors.
const Named NAMED[27] = {
    {"Marrowgold", 18.50, 38.75, 30.0},  {"Palewisp", 12.25, 27.50, 33.0},    {"Tanglefin", 14.00, 29.25, 31.0},
    {"Bronzeback", 11.75, 26.50, 36.0},  {"Dapplejack", 16.25, 31.00, 30.0},  {"Sootflank", 9.50, 23.75, 32.0},
    {"Quillon", 13.00, 25.50, 31.5},     {"Copperkeel", 10.25, 24.00, 37.0},  {"Thistlebelly", 15.50, 34.25, 28.5},
    {"Rustplate", 12.75, 28.00, 30.5},   {"Gravelmouth", 17.00, 35.50, 29.0}, {"Amberlock", 11.00, 22.75, 32.5},
    {"Knotscale", 14.75, 27.00, 31.0},   {"Silthump", 19.25, 36.75, 28.0},    {"Brasswhorl", 12.50, 25.25, 36.5},
    {"Oakenjowl", 16.00, 30.50, 29.5},   {"Gloamfin", 10.75, 21.50, 33.0},    {"Cinderlip", 13.50, 26.75, 31.5},
    {"Peatrunner", 9.75, 20.25, 34.0},   {"Crookback", 15.25, 32.00, 29.0},   {"Lanternjaw", 17.75, 33.50, 30.0},
    {"Fernpatch", 11.50, 24.50, 32.0},   {"Scallopside", 14.25, 28.75, 30.5}, {"Mistwhite", 13.75, 29.50, 33.5},
    {"Burlbelly", 18.00, 37.25, 28.5},   {"Tinderscale", 10.50, 23.25, 32.5}, {"Wrenfold", 12.00, 26.00, 31.0},
};

void Num(std::string& o, double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.2f", std::nearbyint(v * 100) / 100);
    o += b;
}

// Tag numbers of eight digits: the records screens leave room for about eight characters
// between a fish's name and its weight. Fourteen digits are drawn as ever, so that the rest of
// the stock comes out of the generator unchanged; the last seven are not used.
std::string Tag(Rng& r) {
    std::string t = "9";
    for (int i = 0; i < 14; ++i) {
        const char digit = static_cast<char>('0' + r.Int(0, 9));
        if (t.size() < 8) t += digit;
    }
    return t;
}

}  // namespace

std::string StockFileText(const Lake& lake) {
    Rng r(0x57006Bull);
    std::string o;
    auto record = [&](const std::string& name, double stocking, double recent, int kind, double shape) {
        o += name; o += ' '; o += Tag(r); o += ' ';
        Num(o, stocking); o += ' '; Num(o, recent); o += ' ';
        o += std::to_string(kind); o += ' '; Num(o, shape); o += '\n';
    };
    for (int i = 0; i < 27; ++i) record(NAMED[i].name, NAMED[i].stocking, NAMED[i].recent, i + 1, NAMED[i].shape);
    // 48 unnamed fish: 20 commons, 9 of each mirror skin, one unknown mirror.
    int kinds[48];
    for (int i = 0; i < 48; ++i) kinds[i] = i < 20 ? 28 : i < 29 ? 29 : i < 38 ? 30 : i < 47 ? 31 : 32;
    for (int i = 47; i > 0; --i) { int j = r.Int(0, i); int t = kinds[i]; kinds[i] = kinds[j]; kinds[j] = t; }
    for (int i = 0; i < 48; ++i) {
        int kind = kinds[i];
        double stocking = std::nearbyint(r.Range(8.0, 20.0) * 4) / 4;
        double recent = 0;
        if (kind == 32) recent = 31.5;
        else if (r.Chance(0.25)) recent = std::nearbyint(r.Range(stocking + 4, stocking + 9) * 4) / 4;
        double shape = kind == 28 ? r.Range(35.0, 38.0) : r.Range(28.0, 33.0);
        record("Unnamed", stocking, recent, kind, std::nearbyint(shape * 2) / 2);
    }
    for (const Swim& s : lake.swims) {
        Num(o, s.x); o += ' '; Num(o, s.z); o += ' '; Num(o, s.facing); o += '\n';
    }
    return o;
}

}  // namespace ag
