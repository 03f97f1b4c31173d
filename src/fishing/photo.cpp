// Photo mode: the fish posed on the mat, the shutter, the photo record, and the release.
#include <algorithm>
#include <cmath>
#include <utility>
#include "common/single_precision.h"
#include "platform/system.h"
#include "shell/game_app.h"
#include "world/lake_view.h"

namespace {
constexpr uint32_t POSE_WIGGLE_MS = 101;
constexpr int32_t SHOT_AT = -1;
constexpr int32_t SHUTTER_AT = 2;
constexpr uint32_t FLASH_LIGHT = 1;
}  // namespace

double GameApp::MatHeight(double x, double z, double yaw, double halfAcross, double halfAlong) const {
    double ground = 0.0;  // over water the mat floats just above it
    const double c = std::cos(yaw), s = std::sin(yaw);
    for (const auto& [a, b] : {std::pair{0.0, 0.0}, {-1.0, -1.0}, {-1.0, 1.0}, {1.0, -1.0}, {1.0, 1.0}}) {
        const double across = a * halfAcross, along = b * halfAlong;
        ground = std::max(ground, static_cast<double>(HighestCornerUnder(*lakeView, x + across * c + along * s,
                                                                         z - across * s + along * c)));
    }
    return F32(ground + 0.02);
}

void GameApp::UpdatePhotoMode() {
    if (fishingState != FISHING_PHOTO_MODE) return;
    Fish* posed = playedFish >= 0 && playedFish < FISH_COUNT ? fish[playedFish] : nullptr;
    const SwimRecord* swim = CurrentSwimRecord();
    if (posed) {
        const uint32_t now = plat::GetTickCount();
        if (now - static_cast<uint32_t>(poseWiggleStamp) >= POSE_WIGGLE_MS) {
            poseWiggleStamp = static_cast<int32_t>(now);
            posed->tailSwing = posed->tailSwingUp ? F32(posed->tailSwing + posed->speed)
                                                  : F32(posed->tailSwing - posed->speed);
            if (posed->tailSwing > 0.4) posed->tailSwingUp = 0;
            if (posed->tailSwing < 0.1) posed->tailSwingUp = 1;
        }
        if (swim) {
            const double f = swim->facing;
            const double x = F32(swim->x + F32(1.8 * F32(std::sin(f + 4.8))));
            const double z = F32(swim->z + F32(1.8 * F32(std::cos(f + 4.8))));
            DrawFishFigure(x, F32(posed->size / 40.0), z, 6.2, F32(f - 1.571), posed->size, posed->shapeFactor,
                           posed->kind, posed->tailSwing);
            // The unhooking mat under the fish, a little longer and wider than it, lying on the
            // bank: just above the highest ground under its middle and its corners.
            const double length = F32(posed->size / 30.0);
            const double yaw = F32(f - 1.571);
            SetWorldTransform(x, MatHeight(x, z, yaw, length * 1.1, length * 2.4), z, 0, yaw, 0, length * 1.1, 1.0,
                              length * 2.4);
            DrawFlatQuad(TextureIdOf(TEX_MAT));
        }
    }

    if (photoCountdown == SHOT_AT) {
        photoShotPending = 0;
        if (posed) StorePhotoRecord(*posed);
        SwitchLight(FLASH_LIGHT, true);
        CommitPendingBestWeight();
        ReleaseLandedFish();
    }
    if (photoCountdown == SHUTTER_AT) {
        SwitchLight(FLASH_LIGHT, false);
        if (shutterSound) shutterSound->Play(0, 0, 0, 0, 0);
    }
    if (photoShotPending && photoCountdown >= SHOT_AT) --photoCountdown;
}

void GameApp::StorePhotoRecord(const Fish& posed) {
    for (PhotoRecord* record : photos) {
        if (!record || record->inUse) continue;
        record->inUse = 1;
        record->swim = currentSwim;
        record->fishSize = static_cast<float>(posed.size);
        record->fishWeight = static_cast<float>(posed.weight);
        record->fishKind = posed.kind;
        record->fishShape = static_cast<float>(posed.shapeFactor);
        record->waterScroll[0] = static_cast<float>(waterScroll1);
        record->waterScroll[1] = static_cast<float>(waterScroll2);
        record->waterScroll[2] = static_cast<float>(waterScroll3);
        record->eyeX = static_cast<float>(eyeX);
        record->eyeY = static_cast<float>(eyeY);
        record->eyeZ = static_cast<float>(eyeZ);
        record->heading = static_cast<float>(heading);
        record->pitch = static_cast<float>(pitch);
        record->rod1Shown = rodInWater[0] && !rodStruck[0];
        record->rod2Shown = rodInWater[1] && !rodStruck[1];
        record->alarmRig = (method >= 1 && method <= 4) || method == 7;
        return;
    }
    // Every slot is in use: the shot is not kept.
}

void GameApp::ReleaseLandedFish() {
    pitch = 6.4;
    clutch = 100;
    photoCountdown = 0;
    fishingState = FISHING_WALKING_BACK;
    aimPitch = 6.6;
    if (const SwimRecord* swim = CurrentSwimRecord()) aimYaw = swim->facing;
    fishLost = 0;
    ReleasePlayedFish();
}
