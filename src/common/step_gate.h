// The tick-step gate: movements that advance once per so many milliseconds of the tick count.
#pragma once
#include <cstdint>
#include "platform/system.h"

// True, with the stamp renewed, once more than `stepMs` have passed since the last step; a long
// pause still gives one step only.
inline bool StepDue(uint32_t& lastTick, uint32_t stepMs) {
    const uint32_t now = plat::GetTickCount();
    if (now - lastTick <= stepMs) return false;
    lastTick = now;
    return true;
}
