// Time-step gate and heading wrap shared by the wildlife and the water-surface effects.
#pragma once
#include <cmath>
#include <cstdint>
#include "fishing/single_precision.h"
#include "platform/system.h"

// True, with the stamp renewed, once more than `stepMs` have passed since the last step; a long
// pause still gives one step only.
inline bool StepDue(uint32_t& lastTick, uint32_t stepMs) {
    if (plat::GetTickCount() - lastTick <= stepMs) return false;
    lastTick = plat::GetTickCount();
    return true;
}

// A heading brought back into 0..6.284 after a small turn.
inline double WrapHeading(double h) {
    if (h > 6.284) return F32(h - 6.284);
    if (h < 0) return F32(6.284 - std::fabs(h));
    return h;
}

// Steps of 0.005 or 0.01 needed round a full turn, with room to spare; a search that runs longer
// was given a heading that is no number.
constexpr int32_t MAX_TURN_STEPS = 1300;
