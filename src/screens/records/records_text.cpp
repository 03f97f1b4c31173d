// The records screens' weight text, through the shared pounds-and-ounces ladder.
#include "screens/records/records_text.h"
#include <cstdio>
#include "fishing/weight.h"

std::string RecordsWeightText(float weight) {
    const PoundsOunces w = WeightToPoundsOunces(weight);
    char text[64];
    if (w.ounces != 0)
        std::snprintf(text, sizeof text, "%d%s%d%s", w.pounds, " lb's  ", w.ounces, " ounces.");
    else
        std::snprintf(text, sizeof text, "%d%s", w.pounds, " lb's  ");
    return text;
}
