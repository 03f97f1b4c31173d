// Weights as the game shows them: whole pounds and ounces by the weighing scale's ladder.
#pragma once
#include <cstdint>
#include <string>

struct PoundsOunces {
    int32_t pounds;   // truncated toward zero
    int32_t ounces;   // 0..15
};

// The ounce ladder is the scale's own: its steps are not sixteenths of a pound. Weights are kept
// in single precision and the fraction is taken of that value (12.9 lb is 12 lb 14 oz).
PoundsOunces WeightToPoundsOunces(float weight);

// A caught or photographed fish's weight: "12 lb's  4 ounces", or "12.0lb's" when the ounces are 0.
std::string CatchWeightText(float weight);
