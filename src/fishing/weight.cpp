// The pounds-and-ounces ladder shared by the fishing screen, the records screens and the album.
#include "fishing/weight.h"
#include <cstdio>

PoundsOunces WeightToPoundsOunces(float weight) {
    static const double UPPER_BOUNDS[15] = {0.05, 0.1, 0.15, 0.2, 0.3, 0.35, 0.45, 0.5,
                                            0.55, 0.6, 0.7,  0.75, 0.8, 0.85, 0.9};
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
        std::snprintf(text, sizeof text, "%.1f%s", static_cast<double>(weight), "lb's");
    }
    return text;
}
