// Steering the game's random generator in tests: find a state whose next draws meet a need, and
// count the draws made between two states.
#pragma once
#include <cstdint>
#include <functional>
#include "platform/system.h"

namespace randscript {

inline int Next(uint32_t& state) {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

// Sets the generator to the first state (counting up from `from`) whose next `n` draws satisfy
// `wanted`(index, value).
inline void UseStateWhere(int n, const std::function<bool(int, int)>& wanted, uint32_t from = 1) {
    for (uint32_t s = from;; ++s) {
        uint32_t t = s;
        bool ok = true;
        for (int i = 0; i < n && ok; ++i) ok = wanted(i, Next(t));
        if (ok) {
            plat::SetGameRandState(s);
            return;
        }
    }
}

// Draws made since the generator was at `before` (up to `limit`; -1 beyond).
inline int DrawsSince(uint32_t before, int limit = 1000) {
    const uint32_t now = plat::GameRandState();
    for (int n = 0; n <= limit; ++n) {
        if (before == now) return n;
        Next(before);
    }
    return -1;
}

}  // namespace randscript
