// The pounds-and-ounces ladder at the ends of the number range (weights read from edited files).
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include "fishing/weight.h"

TEST(WeightLadder, WeightsBeyondAnyScaleStopAtTheEndsOfTheRange) {
    constexpr int32_t MOST_POUNDS = std::numeric_limits<int32_t>::max();
    constexpr int32_t LEAST_POUNDS = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(WeightToPoundsOunces(1e30).pounds, MOST_POUNDS);
    EXPECT_EQ(WeightToPoundsOunces(3.4e38).ounces, 15);
    EXPECT_EQ(WeightToPoundsOunces(-1e30).pounds, LEAST_POUNDS);
    EXPECT_EQ(WeightToPoundsOunces(std::nan("")).pounds, 0);
    // Just inside the range the ladder works as for any weight.
    const PoundsOunces big = WeightToPoundsOunces(2147483646.5);
    EXPECT_EQ(big.pounds, 2147483646);
    EXPECT_EQ(big.ounces, 8);
    const PoundsOunces usual = WeightToPoundsOunces(21.95);
    EXPECT_EQ(usual.pounds, 21);
    EXPECT_EQ(usual.ounces, 15);
}
