// Weights as the game shows them: whole pounds and ounces by the weighing scale's ladder.
#pragma once
#include <cstdint>

struct PoundsOunces {
    int32_t pounds;   // truncated toward zero
    int32_t ounces;   // 0..15
};

// The ounce ladder is the scale's own: its steps are not sixteenths of a pound.
PoundsOunces WeightToPoundsOunces(double weight);
