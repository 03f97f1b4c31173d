// Heading, turning, ground, splash and sound rules shared by the fishing screen's steps.
#include "fishing/fishing_rules.h"
#include <cmath>
#include "world/lake_view.h"
#include "common/single_precision.h"

namespace fishing {

double WrapTurnTarget(double a) {
    // One turn off either way is brought back as the walks always did; an angle further out
    // (a bad swim record) is brought all the way into the turn, or no count could reach it.
    if (a > 2 * FULL_TURN || a < -FULL_TURN) {
        a = std::fmod(a, FULL_TURN);
        if (a < 0) a += FULL_TURN;
        return F32(a);
    }
    if (a > FULL_TURN) return F32(a - FULL_TURN);
    if (a < 0) return F32(FULL_TURN - std::fabs(a));
    return a;
}

double HeadingGap(double a, double b) {
    double d = std::fmod(a - b, FULL_TURN);
    if (d < 0) d += FULL_TURN;
    if (d > FULL_TURN / 2) d = FULL_TURN - d;
    return std::isnan(d) ? FULL_TURN / 2 : d;
}

double TurnToward(double h, double target, double step) {
    const TurnStepCounts counts = CountTurnSteps(h, WrapTurnTarget(target), 0.005, 0.02);
    if (counts.down > counts.up) return F32(h + step);
    if (counts.down < counts.up) return F32(h - step);
    return h;
}

double StepToward(double v, double target, double step) {
    if (v > target) v = F32(v - step);
    if (v < target) v = F32(v + step);
    return v;
}

double GroundUnder(const LakeView& lake, double x, double z, double fallback) {
    float mean = 0;
    return MeanHeightUnder(lake, x, z, &mean) ? mean : fallback;
}

int32_t SplashRingCount(int32_t method, int32_t leadOz, int32_t wagglerShot, int32_t rod) {
    static const int32_t LEDGER_RINGS[4] = {10, 15, 20, 25};
    static const int32_t CHOD_RINGS[4] = {15, 20, 25, 30};
    static const int32_t LIGHT_RIG_RINGS[4] = {7, 10, 15, 20};
    static const int32_t WAGGLER_RINGS[4] = {4, 5, 6, 8};
    static const int32_t WAGGLER_ROD2_RINGS[4] = {2, 4, 6, 10};
    const int32_t lead = leadOz >= 1 && leadOz <= 4 ? leadOz - 1 : -1;
    const int32_t shot = wagglerShot >= 1 && wagglerShot <= 4 ? wagglerShot - 1 : -1;
    switch (method) {
        case 1: case 2: return lead < 0 ? 0 : LEDGER_RINGS[lead];
        case 3: return lead < 0 ? 0 : CHOD_RINGS[lead];
        case 4: case 6: return lead < 0 ? 0 : LIGHT_RIG_RINGS[lead];
        case 5: return shot < 0 ? 0 : (rod == 1 ? WAGGLER_ROD2_RINGS[shot] : WAGGLER_RINGS[shot]);
        case 7: return 5;
        default: return 0;
    }
}

bool HookBaitHeightFor(int32_t method, int32_t floatDepth, double mean, double* height) {
    if ((method >= 1 && method <= 4) || method == 7) {
        *height = F32(mean * 0.5);
    } else if (method == 5) {
        if (floatDepth == 1) *height = F32(mean * 0.25);
        else if (floatDepth == 2) *height = F32(mean / 3.0);
        else *height = F32(mean * 0.5);
    } else if (method == 6) {
        *height = -0.25;
    } else {
        return false;
    }
    return true;
}

double RigWeight(int32_t method, int32_t leadOz, int32_t wagglerShot, double controllerOz) {
    if (method >= 1 && method <= 4) return leadOz;
    if (method == 5) return wagglerShot;
    if (method == 6) return controllerOz;
    return 0.0;
}

int32_t RigHooklength(int32_t method, int32_t hooklengthLb) {
    return method >= 1 && method <= 4 ? hooklengthLb : 0;
}

}  // namespace fishing
