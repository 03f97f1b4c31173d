// The heading wrap and the turn search.
#include "common/angles.h"
#include <cmath>
#include "common/single_precision.h"

double WrapHeading(double h) {
    if (h > FULL_TURN) return F32(h - FULL_TURN);
    if (h < 0) return F32(FULL_TURN - std::fabs(h));
    return h;
}

TurnStepCounts CountTurnSteps(double from, double aim, double step, double within) {
    TurnStepCounts steps{0, 0};
    double h = from;
    while (std::fabs(F32(h - aim)) > within && steps.down < MAX_TURN_STEPS) {
        h = F32(h - step);
        if (h < 0) h = F32(FULL_TURN - std::fabs(h));
        ++steps.down;
    }
    h = from;
    while (std::fabs(F32(h - aim)) > within && steps.up < MAX_TURN_STEPS) {
        h = F32(h + step);
        if (h > FULL_TURN) h = F32(h - FULL_TURN);
        ++steps.up;
    }
    return steps;
}
