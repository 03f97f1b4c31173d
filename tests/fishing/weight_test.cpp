// The weighing scale's pounds-and-ounces ladder and the catch message's weight.
#include <gtest/gtest.h>
#include <cmath>
#include <limits>
#include "fishing/weight.h"

namespace {
int Ounces(float w) { return WeightToPoundsOunces(w).ounces; }
}  // namespace

TEST(WeightLadder, FractionsClimbTheLadderAtItsOwnSteps) {
    // Fraction -> ounces at both sides of each step (sixteen results from fifteen bounds).
    const struct {
        float weight;
        int ounces;
    } rungs[] = {{10.0f, 0},  {10.04f, 0}, {10.07f, 1},  {10.12f, 2},  {10.17f, 3},  {10.25f, 4},
                 {10.32f, 5}, {10.4f, 6},  {10.47f, 7},  {10.52f, 8},  {10.57f, 9},  {10.65f, 10},
                 {10.72f, 11}, {10.77f, 12}, {10.82f, 13}, {10.87f, 14}, {10.95f, 15}, {10.999f, 15}};
    for (const auto& r : rungs) EXPECT_EQ(Ounces(r.weight), r.ounces) << r.weight;
    EXPECT_EQ(WeightToPoundsOunces(12.25f).pounds, 12);
    EXPECT_EQ(Ounces(12.25f), 4);
    EXPECT_EQ(Ounces(12.03f), 0);
    EXPECT_EQ(WeightToPoundsOunces(9.95f).pounds, 9);
    EXPECT_EQ(Ounces(9.95f), 15);
    // Exact binary fractions on a step: the step is the first value of the next rung.
    EXPECT_EQ(Ounces(3.5f), 8);
    EXPECT_EQ(Ounces(3.75f), 12);
}

TEST(WeightLadder, TheFractionIsTakenOfTheSinglePrecisionWeight) {
    // Weights are stored as floats; a decimal weight lands just under or over its step.
    EXPECT_EQ(Ounces(12.9f), 14);
    EXPECT_EQ(Ounces(10.1f), 2);
    EXPECT_EQ(Ounces(12.15f), 2);
    EXPECT_EQ(Ounces(16.05f), 0);
    EXPECT_EQ(Ounces(16.3f), 4);
    EXPECT_EQ(Ounces(32.9f), 15);
    // A double weight passed in is first rounded to the float the game keeps.
    EXPECT_EQ(WeightToPoundsOunces(static_cast<float>(12.9)).ounces, 14);
}

TEST(WeightLadder, CatchMessageShowsOuncesOrOneDecimal) {
    EXPECT_EQ(CatchWeightText(12.25f), "12 lb's  4 ounces");
    EXPECT_EQ(CatchWeightText(12.03f), "12.0lb's");
    EXPECT_EQ(CatchWeightText(9.95f), "9 lb's  15 ounces");
    EXPECT_EQ(CatchWeightText(12.9f), "12 lb's  14 ounces");
}

TEST(WeightLadder, WeightsBeyondAnyScaleStopAtTheEndsOfTheRange) {
    // Weights read from edited files: no conversion past the integer range, NaN weighs nothing.
    constexpr int32_t MOST_POUNDS = std::numeric_limits<int32_t>::max();
    constexpr int32_t LEAST_POUNDS = std::numeric_limits<int32_t>::min();
    EXPECT_EQ(WeightToPoundsOunces(1e30f).pounds, MOST_POUNDS);
    EXPECT_EQ(WeightToPoundsOunces(3.4e38f).ounces, 15);
    EXPECT_EQ(WeightToPoundsOunces(-1e30f).pounds, LEAST_POUNDS);
    EXPECT_EQ(WeightToPoundsOunces(std::nanf("")).pounds, 0);
    EXPECT_EQ(WeightToPoundsOunces(std::numeric_limits<float>::infinity()).pounds, MOST_POUNDS);
    // Far out but inside the range the ladder works as for any weight.
    const PoundsOunces big = WeightToPoundsOunces(8388607.5f);
    EXPECT_EQ(big.pounds, 8388607);
    EXPECT_EQ(big.ounces, 8);
    EXPECT_EQ(CatchWeightText(std::nanf("")).substr(0, 3), "nan");
    // The one-decimal text of a weight past the range stops where its pounds stop.
    EXPECT_EQ(CatchWeightText(-1e30f), "-2147483648.0lb's");
    EXPECT_EQ(CatchWeightText(-5e9f), "-2147483648.0lb's");
    EXPECT_EQ(CatchWeightText(1e30f), "2147483647 lb's  15 ounces");
}
