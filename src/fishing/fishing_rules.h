// Small rules shared by the fishing screen's steps: headings and turning, the ground under the
// angler, the splash rings of a landing rig and playing a clip that may be missing.
#pragma once
#include "common/sound_cue.h"
#include <cstdint>
#include "common/angles.h"
#include "platform/sound.h"

class LakeView;

namespace fishing {

// A target angle brought into [0, 6.284) the way the walks wrap it (once up or down).
double WrapTurnTarget(double a);
// How far apart two headings are round the circle, 0..3.142, whatever turn either is given in.
double HeadingGap(double a, double b);
// One turn of `step` from `h` toward `target` (wrapped), the way with fewer 0.005 steps to come
// within 0.02; no turn when both ways need as many (each count stops at MAX_TURN_STEPS).
double TurnToward(double h, double target, double step);
// One step of `step` toward `target`: down when above it, then up when below it.
double StepToward(double v, double target, double step);

// Mean ground height under (x, z), `fallback` where the point has no terrain cell.
double GroundUnder(const LakeView& lake, double x, double z, double fallback);

// Splash rings of a rig landing: n by method and its weight (rod 0 or 1 for the cast waggler's
// own counts, -1 for the automatic re-cast's).
int32_t SplashRingCount(int32_t method, int32_t leadOz, int32_t wagglerShot, int32_t rod);
// Hook-bait height for a rig whose cell has mean corner height `mean`; false when the rig has no
// row (the height is then left as it was).
bool HookBaitHeightFor(int32_t method, int32_t floatDepth, double mean, double* height);
// Weight that goes with a hook bait of this rig, and its hooklength (0 for the float and free rigs).
double RigWeight(int32_t method, int32_t leadOz, int32_t wagglerShot, double controllerOz);
int32_t RigHooklength(int32_t method, int32_t hooklengthLb);


}  // namespace fishing
