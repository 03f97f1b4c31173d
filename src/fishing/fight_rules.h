// Rules of the fight that tests check on constructed fish: the strike's pick and threshold, and
// the rod-and-reel factors of the held rod.
#pragma once
#include <cstdint>

class Fish;
class BaitAttraction;

// Stiffness and tension factor of rod and reel 1..4 (others count as 1).
struct RodReelFactors {
    double stiffness;
    double tension;
};
RodReelFactors RodReelFactorsFor(int32_t rodReel);

// The cruising fish with the greatest take measure on `rod` (above 0; ties keep the lower
// index), or NO_FISH.
int32_t PickStrikeFish(Fish* const* school, int32_t count, int rod);
// A strike hooks the pick when this is strictly below its take measure.
double StrikeThreshold(const Fish& f, const BaitAttraction& bait);
