// Landing: the hook baits' taken flags, the landing net, the world drawing, the fish in the weigh
// sling and its best weight.
#include <cmath>
#include "common/angles.h"
#include "common/single_precision.h"
#include "gfx/geometry.h"
#include "platform/system.h"
#include "shell/game_app.h"
#include "world/cell_lookup.h"
#include "world/terrain_grid.h"

namespace {
constexpr int32_t NETTING_FRAMES = 10;
constexpr double NET_REACH = 3.5;

void StopClip(plat::SoundClip* clip) {
    if (clip) clip->Stop();
}

// netHeight steps toward one of its two literals and takes it exactly once near enough.
double StepNetHeight(double height, double target) {
    if (std::fabs(F32(height - target)) < 0.15) return target;
    return height < target ? F32(height + 0.05) : F32(height - 0.05);
}
}  // namespace

double GameApp::NetWaterProbe() const {
    const double px = F32(eyeX + F32(5.0 * F32(std::sin(heading))));
    const double pz = F32(eyeZ + F32(5.0 * F32(std::cos(heading))));
    const int32_t index = CellIndexAt(px, pz);
    float h[4];
    if (index == CELL_NONE || index >= TERRAIN_GRID_CELLS || !lakeView->CellHeights(px, pz, h)) return NET_PROBE_DRY;
    for (float corner : h)
        if (corner >= 0.0f) return NET_PROBE_DRY;
    return MeanCornerHeight(h);
}

const SwimRecord* GameApp::CurrentSwimRecord() const {
    if (currentSwim < 1 || currentSwim > SWIM_COUNT) return nullptr;
    return swims[currentSwim - 1];
}

void GameApp::UpdateHookBaitTakenFlags() {
    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        if (BaitAttraction* bait = RodHookBait(rod)) bait->taken = rodFish[rod] < NO_FISH;
    }
}

void GameApp::UpdateLandingNet() {
    if (!rodHasFish[0] && !rodHasFish[1]) return;
    if (fishingState == FISHING_FISH_LANDED || fishingState == FISHING_PHOTO_MODE) return;
    const Fish* played = playedFish >= 0 && playedFish < FISH_COUNT ? fish[playedFish] : nullptr;

    netRefPoint[0] = F32(eyeX + F32(2.0 * F32(std::sin(heading - 0.7))));
    netRefPoint[1] = F32(eyeZ + F32(2.0 * F32(std::cos(heading - 0.7))));
    netHead[0] = netRefPoint[0];
    netHead[1] = F32(eyeY - 1.5);
    netHead[2] = netRefPoint[1];

    // The angler's side of the net: its yaw is measured from here.
    const double standX = F32(eyeX + F32(std::sin(heading - 0.3)));
    const double standZ = F32(eyeZ + F32(std::cos(heading - 0.3)));
    double target = netYaw;
    if (!netWasOverWater) {
        target = WrapHeading(F32(heading - 0.6));
    } else if (played) {
        target = HeadingAndPitchTo(standX, 1.0, standZ, played->x, played->y, played->z).heading;
    }
    const TurnStepCounts steps = CountTurnSteps(netYaw, target, 0.01, 0.1);
    if (std::fabs(F32(netYaw - target)) > 0.15) {
        netYaw = steps.up > steps.down ? F32(netYaw - 0.05) : F32(netYaw + 0.05);
    } else {
        netYaw = target;
    }
    netYaw = WrapHeading(netYaw);

    if (NetWaterProbe() <= -0.2) {
        netWasOverWater = 1;
        netHeight = StepNetHeight(netHeight, LOWERED_NET_HEIGHT);
    } else {
        netWasOverWater = 0;
        netHeight = StepNetHeight(netHeight, RAISED_NET_HEIGHT);
    }

    const double anglerX = F32(eyeX + F32(2.0 * F32(std::sin(heading - 0.3))));
    const double anglerZ = F32(eyeZ + F32(2.0 * F32(std::cos(heading - 0.3))));
    if (netHeight == LOWERED_NET_HEIGHT && plat::GameRand() < 3000) {
        SpawnRippleRing(F32(anglerX + F32(3.2 * F32(std::sin(netYaw + 0.1)))), 0,
                        F32(anglerZ + F32(3.2 * F32(std::cos(netYaw + 0.1)))), 0.3);
    }
    if (!played) return;
    const double mouthX = F32(anglerX + F32(4.5 * F32(std::sin(netYaw))));
    const double mouthZ = F32(anglerZ + F32(4.5 * F32(std::cos(netYaw))));
    if (!(F32(Distance2D(mouthX, mouthZ, played->x, played->z)) < NET_REACH && netHeight == LOWERED_NET_HEIGHT)) {
        landingFrames = 0;
        return;
    }
    ++landingFrames;
    StopClip(reelSound);
    StopClip(clutchSound);
    if (landingFrames == NETTING_FRAMES) {
        fish[playedFish]->state = FISH_NETTED;
        fishingState = FISHING_FISH_LANDED;
        rodHasFish[0] = rodHasFish[1] = 0;
        landingFrames = 0;
        return;
    }
    const double splashX = F32(F32(F32(anglerX + F32(4.5 * F32(std::sin(heading + 0.15)))) - 0.3) +
                               F32(plat::GameRand() / 54611.67));
    const double splashZ = F32(F32(F32(anglerZ + F32(4.5 * F32(std::cos(heading + 0.15)))) - 0.3) +
                               F32(plat::GameRand() / 54611.67));
    SpawnRippleRing(splashX, 0, splashZ, F32(0.09999999999999998 + F32(plat::GameRand() / 81917.5)));
}

void GameApp::DrawFishingWorldAndGauge() {
    DrawLakeWorld(LAKE_WORLD_FISHING);
    linePull = F32(lineTension * 300.0);
    if (linePull < 1) linePull = 0;
    if (linePull > 300) linePull = 300;
}

void GameApp::DrawFishOnMat() {
    // A best weight waiting for a photo belongs to the fish on the mat; once that fish is back in
    // the water (released without a photo, or the angler left) it is recorded for that fish.
    if (fishingState != FISHING_FISH_LANDED && fishingState != FISHING_PHOTO_MODE) CommitPendingBestWeight();
    if (fishingState != FISHING_FISH_LANDED) return;
    biteSignal[0] = biteSignal[1] = 0;
    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        if (!rodStruck[rod]) continue;
        if (BaitAttraction* bait = RodHookBait(rod)) bait->active = 0;
        rodInWater[rod] = 0;
    }
    if (playedFish >= 0 && playedFish < FISH_COUNT) {
        Fish& f = *fish[playedFish];
        f.state = FISH_LANDED;
        const float weight = static_cast<float>(f.weight);
        // A best weight that is no number is beaten by any catch.
        if (!(weight <= bestWeight[playedFish])) {
            pendingBestWeight = weight;
            pendingBestFish = playedFish;
        }
    }
    const SwimRecord* swim = CurrentSwimRecord();
    if (!swim) return;
    const double facing = swim->facing;
    SetWorldTransform(F32(swim->x + F32(1.8 * F32(std::sin(facing + 4.4)))), 0.2,
                      F32(swim->z + F32(1.8 * F32(std::cos(facing + 4.4)))), 0, facing, 0, 1.2, 1.2, 1.2);
    DrawUprightQuad(TextureIdOf(TEX_SLING));
    eyeX = F32(swim->x + F32(6.0 * F32(std::sin(facing + 3.5))));
    eyeZ = F32(swim->z + F32(6.0 * F32(std::cos(facing + 3.5))));
    heading = facing;
}

void GameApp::CommitPendingBestWeight() {
    if (pendingBestWeight != NO_PENDING_WEIGHT && pendingBestFish >= 0 && pendingBestFish < FISH_COUNT)
        bestWeight[pendingBestFish] = pendingBestWeight;
    pendingBestWeight = NO_PENDING_WEIGHT;
    pendingBestFish = NO_FISH;
}
