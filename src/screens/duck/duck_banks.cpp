// The duck's bank lines and the hut.
#include "screens/duck/duck_banks.h"
#include <algorithm>
#include "gfx/geometry.h"

namespace {

// A bank line by its two ends, with its squared length and length as the game has them.
struct DuckBankLine {
    float firstX, firstZ, secondX, secondZ;
    float lengthSquared, length;
};

const DuckBankLine DUCK_BANK_LINES[2] = {
    {2, 30, 113, 198, 40545.8f, 201.36f},
    {198, 109, 135, 2, 15418.2f, 124.17f},
};

constexpr double HUT_X = 25.0;
constexpr double HUT_Z = 24.0;
constexpr double HUT_CLEARANCE = 2.5;

float DistanceFromLine(const DuckBankLine& line, double x, double z) {
    return DistanceFromLineByEnds(static_cast<float>(Distance2D(line.firstX, line.firstZ, x, z)),
                                  static_cast<float>(Distance2D(line.secondX, line.secondZ, x, z)),
                                  line.lengthSquared, line.length);
}

}  // namespace

float DuckBankDistance(double x, double z) {
    return std::min(DistanceFromLine(DUCK_BANK_LINES[0], x, z), DistanceFromLine(DUCK_BANK_LINES[1], x, z));
}

bool TooCloseToHut(double x, double z) { return Distance2D(HUT_X, HUT_Z, x, z) <= HUT_CLEARANCE; }
