// Headings in radians: the game's full turn, the wrap back into it and the step-by-step turn search.
#pragma once
#include <cstdint>

// The game's full turn in radians (a little more than 2 pi); headings run 0..FULL_TURN.
constexpr double FULL_TURN = 6.284;

// A heading brought back into 0..FULL_TURN after a small turn (single precision).
double WrapHeading(double h);

// Steps of `step` needed round a full turn, with room to spare for the finest step (0.005); a
// search that runs longer was given a heading that is no number.
constexpr int32_t MAX_TURN_STEPS = 1300;

// How many turns of `step` radians bring `from` within `within` of `aim`, going down (wrapping
// below 0) and going up (wrapping above FULL_TURN), in single precision. Each count stops at
// MAX_TURN_STEPS, which only a NaN angle reaches.
struct TurnStepCounts {
    int32_t down;
    int32_t up;
};
TurnStepCounts CountTurnSteps(double from, double aim, double step, double within);
