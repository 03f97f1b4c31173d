// The angler on the bank: frame start and binoculars, walking with its bank lines, platforms,
// footsteps and wading, the nearest swim, and the binocular mask.
#include <algorithm>
#include <cmath>
#include "fishing/fishing_rules.h"
#include "common/single_precision.h"
#include "platform/system.h"
#include "shell/game_app.h"


namespace {

// The bank of Wendlow Lake as four lines the angler keeps more than 1.5 units from.
struct BankLine {
    float ax, az, bx, bz;
};
constexpr BankLine BANK_LINES[4] = {
    {-27, -11, 119, 209}, {-27, -11, 129, -11}, {258, 210, 129, -11}, {258, 210, 119, 209}};
constexpr double BANK_CLEARANCE = 1.5;
constexpr double WATER_BELOW = -0.3;   // ground lower than this is water for walking and wading

// Distance of (x, z) from the line through a and b.
float DistanceFromLine(const BankLine& l, float x, float z) {
    const float ab = static_cast<float>(Distance2D(l.ax, l.az, l.bx, l.bz));
    return DistanceFromLineByEnds(static_cast<float>(Distance2D(x, z, l.ax, l.az)),
                                  static_cast<float>(Distance2D(x, z, l.bx, l.bz)), ab * ab, ab);
}

int Rand() { return plat::GameRand(); }

}  // namespace

// Step 1: frame start and the binoculars' projection.
void GameApp::FishingFrameStart() {
    underwater = 0;
    plat::SetCursorVisible(false);
    if (tipsToggleDelay >= 1) --tipsToggleDelay;
    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 1);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 1);
    if (atSwim || fishingState == FISHING_CATAPULT_GROUNDBAIT || fishingState == FISHING_CATAPULT_HOOKBAITS) {
        moveSpeed = 0;
        moveForward = moveBack = 0;
    }
    if (binocularState >= 1) {
        SetProjectionFov(3.1415927f / static_cast<float>(viewZoom));
        if (binocularState == 1 && viewZoom < 18) viewZoom += 1;
        if (binocularState == 2) {
            binocularState = 0;
            SetProjectionFov(0.7853982f);
        }
    }
}

// Step 2: walking speed from the mouse buttons, heading wrap and pitch clamp.
void GameApp::UpdateWalkingSpeedAndAngles() {
    float speed = static_cast<float>(moveSpeed);
    if (moveBack && speed > -1.0f) speed -= 0.1f;
    if (moveForward && speed < 1.0f) speed += 0.1f;
    if (speed > 0.0f && !rightButtonDown) speed -= speed / 3.0f;
    if (speed < 0.0f && !leftButtonDown) speed += std::fabs(speed) / 3.0f;
    if (speed > -0.2f && speed < 0.2f && !leftButtonDown && !rightButtonDown) speed = 0.0f;
    moveSpeed = speed;
    moveForward = moveBack = 0;
    if (heading <= 0) heading = 6.2831853;
    else if (heading > 6.2831853) heading = 0;
    if (pitch < 5.9) pitch = 5.9;
    if (pitch > 6.8) pitch = 6.8;
}

// Step 3: the step along the view, refused at the water and the bank lines; platforms, footsteps
// and the view of the proposal.
void GameApp::StepAnglerAndView() {
    const float s = std::fabs(static_cast<float>(moveSpeed));
    const float e = static_cast<float>(pitch - 4.712388975);
    const float c = std::cos(static_cast<float>(1.570796325 - e));
    const float vertical = std::cos(e) * s;
    const float h = c * s;
    const float sinH = std::sin(static_cast<float>(heading));
    const float cosH = std::cos(static_cast<float>(heading));
    float px = static_cast<float>(eyeX), py = static_cast<float>(eyeY), pz = static_cast<float>(eyeZ);
    if (moveSpeed > 0) {
        px += sinH * h;
        pz += cosH * h;
        if (flyMode) py += vertical;
    } else if (moveSpeed < 0) {
        px -= sinH * h;
        pz -= cosH * h;
        if (flyMode) py -= vertical;
    }

    double groundAhead = 0.0;
    groundBeforeStep = 0.0;
    if (px >= 2 && px <= 198 && pz >= 2 && pz <= 198) {
        groundAhead = fishing::GroundUnder(*lakeView, px, pz, 0.0);
        groundBeforeStep = fishing::GroundUnder(*lakeView, eyeX, eyeZ, 0.0);
    }
    float nearest = DistanceFromLine(BANK_LINES[0], px, pz);
    for (const BankLine& line : BANK_LINES) nearest = std::min(nearest, DistanceFromLine(line, px, pz));
    if (groundAhead >= WATER_BELOW && nearest > BANK_CLEARANCE) {
        eyeX = px;
        eyeY = py;
        eyeZ = pz;
    }

    onPlatform = 0;
    for (const SceneryItem* item : sceneryItems)
        if (item && item->active && item->type == 1 && Distance2D(item->x, item->z, eyeX, eyeZ) < 4.0) onPlatform = 1;

    const bool stepped = std::fabs(px - savedEyeX) > 1.5 || std::fabs(pz - savedEyeZ) > 1.5;
    float lift = 0.0f;
    if (onPlatform) {
        lift = 0.2f;
        if (stepped) {
            savedEyeX = px;
            savedEyeZ = pz;
            if (!skipPlatformStep) PlayAtVolume(footstepPlatformSound, -1000);
            skipPlatformStep = 0;
        }
    } else if (stepped) {
        savedEyeX = px;
        savedEyeZ = pz;
        if (groundAhead >= WATER_BELOW)
            PlayAtVolume(Rand() < 17500 ? footstepLandSound : footstepLandSound2, -3000);
        else
            PlayAtVolume(Rand() < 17500 ? footstepWaterSound : footstepWaterSound2, -1000);
    }
    SetViewCamera(px, py + lift, pz, px + sinH * c, py + lift + std::cos(e), pz + cosH * c, 0, 1, 0);
}

// Step 4: rings and wakes round the angler's legs while wading.
void GameApp::SpawnWadingEffects() {
    if (!(groundBeforeStep < WATER_BELOW) || moveSpeed == 0) return;
    const double halfSpeed = std::fabs(moveSpeed / 2.0);
    if (Rand() < 20000)
        SpawnRippleRing(static_cast<float>(eyeX), 0.0f, static_cast<float>(eyeZ),
                        F32(Rand() / 109223.33333333334 + halfSpeed));
    if (Rand() < 10000)
        SpawnWake(static_cast<float>(eyeX), 0.0f, static_cast<float>(eyeZ), F32(Rand() / 655340.0 + halfSpeed),
                  moveSpeed > 0 ? heading : F32(heading + 3.142));
}

// Step 15: the swim within reach (the highest-numbered wins), and the walk to the chosen one.
void GameApp::FindNearbySwimAndWalk() {
    nearbySwim = NO_SWIM;
    for (int n = 1; n <= SWIM_COUNT; ++n) {
        const SwimRecord* s = swims[n - 1];
        if (s && Distance2D(s->x, s->z, eyeX, eyeZ) < 15.0) nearbySwim = n;
    }
    if (fishingState == FISHING_WALKING_TO_SWIM && currentSwim != NO_SWIM) WalkToSwim();
}

// Step 24: the binocular mask in front of the eye.
void GameApp::DrawBinocularMask() {
    if (binocularState <= 0) return;
    const double d = viewZoom / 10.0;
    const double e = pitch - 4.712388975;
    const double c = std::cos(1.570796325 - e);
    const double lift = onPlatform ? 0.2 : 0.0;
    SetWorldTransform(eyeX + std::sin(heading) * c * d, eyeY + std::cos(e) * d + lift, eyeZ + std::cos(heading) * c * d,
                      pitch, heading, 0, 0.3, 0.3, 0.3);
    DrawMeshPart(uprightQuadMesh, TEX_BINS1, plat::PT_TRIANGLESTRIP, 0, 2);
}
