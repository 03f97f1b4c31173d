// The pounds-and-ounces ladder shared by the fishing screen, the records screens and the album.
#include "fishing/weight.h"
#include <cmath>
#include <cstdio>
#include <limits>

namespace {
// Weights from edited files may lie beyond any scale: the pounds stop at the ends of their range.
constexpr int32_t MOST_POUNDS = std::numeric_limits<int32_t>::max();
constexpr int32_t LEAST_POUNDS = std::numeric_limits<int32_t>::min();
}  // namespace

PoundsOunces WeightToPoundsOunces(float weight) {
    static const double UPPER_BOUNDS[15] = {0.05, 0.1, 0.15, 0.2, 0.3, 0.35, 0.45, 0.5,
                                            0.55, 0.6, 0.7,  0.75, 0.8, 0.85, 0.9};
    if (std::isnan(weight)) return {0, 0};
    if (weight >= static_cast<double>(MOST_POUNDS)) return {MOST_POUNDS, 15};
    if (weight <= static_cast<double>(LEAST_POUNDS)) return {LEAST_POUNDS, 0};
    PoundsOunces result{static_cast<int32_t>(weight), 15};
    const double fraction = static_cast<double>(weight) - result.pounds;
    for (int32_t i = 0; i < 15; ++i) {
        if (fraction < UPPER_BOUNDS[i]) {
            result.ounces = i;
            break;
        }
    }
    return result;
}

std::string CatchWeightText(float weight) {
    const PoundsOunces w = WeightToPoundsOunces(weight);
    char text[64];
    if (w.ounces > 0) {
        std::snprintf(text, sizeof text, "%d%s%d%s", w.pounds, " lb's  ", w.ounces, " ounces");
    } else {
        // The decimals of a weight past the pounds' range would be dozens of digits: it shows
        // at the end of the range, as its pounds do.
        double shown = weight;
        if (shown < LEAST_POUNDS) shown = LEAST_POUNDS;
        if (shown > MOST_POUNDS) shown = MOST_POUNDS;
        std::snprintf(text, sizeof text, "%.1f%s", shown, "lb's");
    }
    return text;
}
