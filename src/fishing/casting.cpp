// Casting: a rig landing with its hook bait, splash and rings; aiming within the tackle's range
// with the target marker; the flight and pull count-downs.
#include <algorithm>
#include <cmath>
#include "fishing/fishing_rules.h"
#include "common/single_precision.h"
#include "platform/system.h"
#include "shell/game_app.h"


namespace {
int Rand() { return plat::GameRand(); }

// The aim's pace (mouse to pitch and yaw) at 199 units out and beyond.
constexpr double SLOWEST_AIM = 0.02;

// Splash loudness of each rig against a ledger lead.
int32_t CastVolumeFactor(int32_t method) {
    switch (method) {
        case 5: return 4;
        case 6: return 3;
        case 7: return 6;
        default: return 1;
    }
}
}  // namespace

void GameApp::PlaceHookBait(int32_t rod, double x, double z) {
    hookBaitPos[rod][0] = x;
    hookBaitPos[rod][1] = z;
    const int32_t item = SpawnBaitAttraction(static_cast<float>(x), 0.0f, static_cast<float>(z), BAIT_HOOK, method,
                                             mainlineLb, fishing::RigWeight(method, leadOz, wagglerShot, controllerOz),
                                             fishing::RigHooklength(method, hooklengthLb), hookSize, hookBait);
    if (item < BAIT_ITEM_COUNT) rodBaitItem[rod] = item;
    double height;
    if (fishing::HookBaitHeightFor(method, floatDepth, fishing::GroundUnder(*lakeView, x, z, 0.0), &height))
        hookBaitHeight[rod] = height;
}

// n + 1 rings round a splash at (x, z), each up to half a unit off in x and z.
void GameApp::SpawnSplashRings(double x, double z, int32_t n) {
    const double size = n / 50.0;
    for (int32_t i = 0; i <= n; ++i) {
        const float rx = static_cast<float>(x + F32(Rand() / 32767.0 - 0.5));
        const float rz = static_cast<float>(z + F32(Rand() / 32767.0 - 0.5));
        SpawnRippleRing(rx, 0.0f, rz, F32(size + Rand() / F32(32767.0 / size)));
    }
}

// Step 9: a rod's rig lands in the frame its flight count-down reaches 1.
void GameApp::LandCasts() {
    for (int32_t rod = 0; rod < ROD_COUNT; ++rod) {
        const bool flying = rod == 0 ? fishingState == FISHING_ROD1_IN_FLIGHT || fishingState == FISHING_RECASTING_ROD1
                                     : fishingState == FISHING_ROD2_IN_FLIGHT || fishingState == FISHING_RECASTING_ROD2;
        if (!flying || castFlight[rod] != 1) continue;
        int32_t volume = static_cast<int32_t>(-Distance3D(eyeX, 0, eyeZ, aimTargetX, 0, aimTargetZ) * 20.0);
        biteIndicatorUpper[rod] = 4.5;
        biteIndicatorLower[rod] = 5.5;
        rodInWater[rod] = 1;
        PlaceHookBait(rod, aimTargetX, aimTargetZ);
        volume = volume * CastVolumeFactor(method) / (leadOz >= 1 ? leadOz : 1);
        PlayAtVolume(splashSound, volume);
        SpawnSplashRings(aimTargetX, aimTargetZ, fishing::SplashRingCount(method, leadOz, wagglerShot, rod));
        if (rod == 0 && fishingState == FISHING_RECASTING_ROD1) fishingState = FISHING_BOTH_RODS_OUT;
        if (rod == 1) fishingState = FISHING_BOTH_RODS_OUT;
    }
}

void GameApp::MoveAimAndDrawMarker(uint8_t* inGrid) {
    const double startPitch = aimPitch;
    // The aim slows as it goes out; past 199 it keeps its slowest pace (at 200 and beyond the
    // pace would stop, then turn the mouse round).
    const double k = std::max(F32((200.0 - Distance2D(eyeX, eyeZ, aimTargetX, aimTargetZ)) / 50.0), SLOWEST_AIM);
    const double pitchStep = std::min(F32(std::fabs(verticalAxis) * k), 0.015);
    const double yawStep = std::min(F32(std::fabs(horizontalAxis) * k * 2.0), 0.03);
    const bool noFlight = castFlight[0] == 0 && castFlight[1] == 0;
    if (noFlight) {
        if (verticalAxis < 0) aimPitch = F32(aimPitch - pitchStep);
        else if (verticalAxis > 0) aimPitch = F32(aimPitch + pitchStep);
        if (horizontalAxis > 0) aimYaw = F32(aimYaw + yawStep);
        else if (horizontalAxis < 0) aimYaw = F32(aimYaw - yawStep);
    }
    double d = F32(std::tan(static_cast<float>(aimPitch - 5.2)) * 4.0f);
    // Past either end of the tangent the aim would come round to the other end of the range. Such
    // a pitch is refused: pulled in, the aim stays at its nearest; pushed out, it is a pitch past
    // the range.
    if (aimPitch - 5.2 <= -1.5707963) {
        aimPitch = startPitch;
        d = F32(std::tan(static_cast<float>(aimPitch - 5.2)) * 4.0f);
    }
    if (d > maxRange || aimPitch - 5.2 >= 1.5707963) {
        aimPitch = startPitch;
        d = maxRange;
    }
    if (d < 15) d = 15;
    aimTargetX = F32(eyeX + d * std::sin(aimYaw));
    aimTargetZ = F32(eyeZ + d * std::cos(aimYaw));

    // The aim point's cell: on the grid when its even coordinates lie strictly inside 0..200.
    auto even = [](double v) {
        int32_t n = static_cast<int32_t>(v);
        return n % 2 != 0 ? n + 1 : n;
    };
    const bool finite = std::isfinite(aimTargetX) && std::isfinite(aimTargetZ);
    const int32_t cx = finite ? even(aimTargetX) : 0, cz = finite ? even(aimTargetZ) : 0;
    float corners[4];
    if (cx <= 0 || cx >= 200 || cz <= 0 || cz >= 200 || !lakeView->CellHeights(aimTargetX, aimTargetZ, corners)) {
        *inGrid = 0;
        return;
    }
    const float top = std::max(HighestCornerHeight(corners), 0.0f);
    const bool water = HighestCornerHeight(corners) <= -0.25f;
    targetOverWater = water ? 1 : 0;
    const double yaw = HeadingAndPitchTo(aimTargetX, 0, aimTargetZ, eyeX, eyeY, eyeZ).heading + 3.142;
    SetWorldTransform(aimTargetX, water ? 0.05 : top + 0.15, aimTargetZ, 0, yaw, 0, 2, 2, 2);
    if (noFlight) {
        if (k > 3) {
            DrawFlatQuad(water ? TextureIdOf(TEX_CURSOR2) : TextureIdOf(TEX_CURSOR));
        } else {
            SetWorldTransform(aimTargetX, top + 0.15, aimTargetZ, 0, yaw, 0, 1, 1, 1);
            DrawUprightQuad(water ? TextureIdOf(TEX_CURSOR4) : TextureIdOf(TEX_CURSOR3));
        }
    }
    *inGrid = 1;
    castPower = F32(Distance2D(aimTargetX, aimTargetZ, eyeX, eyeZ) / 2.0);
}

// Step 11: aiming a cast within the range of the tackle.
void GameApp::AimCast() {
    if (fishingState != FISHING_CASTING_ROD1 && fishingState != FISHING_ROD1_IN_FLIGHT &&
        fishingState != FISHING_RECASTING_ROD1 && fishingState != FISHING_RECASTING_ROD2)
        return;
    const int32_t line2 = 2 * (mainlineLb >= 1 ? mainlineLb : 1);
    static const int32_t WAGGLER_REACH[4] = {600, 700, 800, 900};
    if (method >= 1 && method <= 4) {
        maxRange = (leadOz * 500 / line2) * rodReel;
    } else if (method == 5) {
        maxRange = (WAGGLER_REACH[wagglerShot >= 1 && wagglerShot <= 4 ? wagglerShot - 1 : 0] / line2) * rodReel;
    } else if (method == 6) {
        maxRange = F32(F32(F32(controllerOz * 600.0) / line2) * rodReel);
    } else if (method == 7) {
        maxRange = (500 / line2) * rodReel;
    }
    MoveAimAndDrawMarker(&castTargetInGrid);
}

// Step 13: the pull, each rod's flight (with the line running off the spool) and the shot.
void GameApp::CountDownFlightAndPull() {
    if (catapultPull >= 1) --catapultPull;
    for (int32_t rod = 0; rod < ROD_COUNT; ++rod) {
        if (castFlight[rod] < 1) continue;
        --castFlight[rod];
        PlayAtVolume(lineSound, -3000, true);
    }
    if (catapultPhase >= 1) --catapultPhase;
}
