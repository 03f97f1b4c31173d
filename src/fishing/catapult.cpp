// The catapult: raised in the hand with its pull, aimed within the range of what it throws, and
// the pouch landing as a spread of rings and a bait attraction.
#include <cmath>
#include "fishing/fishing_rules.h"
#include "common/single_precision.h"
#include "platform/system.h"
#include "shell/game_app.h"


namespace {
int Rand() { return plat::GameRand(); }

// How a pouch spreads: rings, spread per unit of cast power, ring size, splash loudness.
struct Spread {
    int32_t rings;
    double spread;
    double ringSize;
    int32_t volumeFactor;
};

// The spread of a groundbait pouch (state 5) or a pouch of hook baits (state 6); false for a bait
// the catapult cannot throw.
bool SpreadOf(int32_t shotState, int32_t bait, Spread* s) {
    if (shotState == FISHING_CATAPULT_GROUNDBAIT) {
        if (bait == 1 || bait == 2) *s = {40, 0.002, 0.4, 1};
        else if (bait == 3) *s = {40, 0.02, 0.05, 4};
        else return false;
        return true;
    }
    if (bait == 1 || bait == 2) *s = {20, 0.01, 0.2, 4};
    else if (bait == 3 || bait == 4) *s = {20, 0.015, 0.15, 4};
    else if (bait == 5 || bait == 6) *s = {30, 0.015, 0.1, 4};
    else if (bait == 8) *s = {10, 0.015, 0.2, 4};
    else if (bait >= 9 && bait <= 13) *s = {40, 0.02, 0.05, 4};
    else return false;
    return true;
}

bool Catapulting(int32_t state) {
    return state == FISHING_CATAPULT_GROUNDBAIT || state == FISHING_CATAPULT_HOOKBAITS;
}
}  // namespace

// Step 10: the catapult raised before the eye, drawn back frame by frame when a shot is fired.
void GameApp::DrawCatapultInHand() {
    if (!Catapulting(fishingState)) return;
    if (std::fabs(pitch - 6.4) > 0.1) {
        pitch = fishing::StepToward(pitch, 6.4, 0.04);
    } else {
        pitch = 6.4;
        TextureName texture = TEXTURE_COUNT;  // none: the catapult is not drawn
        if (catapultPhase == 0 || catapultPull == 4) texture = TEX_CATAPULT;
        else if (catapultPull == 3) texture = TEX_CATAPULT2;
        else if (catapultPull == 2) texture = TEX_CATAPULT3;
        else if (catapultPull == 1) texture = TEX_CATAPULT4;
        if (catapultPhase > 0 && catapultPull == 3) PlayAtVolume(elasticSound, -1000, true);
        if (texture != TEXTURE_COUNT) {
            const double x = eyeX + 2.0 * std::sin(heading - 0.2);
            const double z = eyeZ + 2.0 * std::cos(heading - 0.2);
            const double y = eyeY - (onPlatform ? 1.2 : 1.4);
            const double yaw = HeadingAndPitchTo(x, y, z, eyeX, eyeY, eyeZ).heading + 3.142 - (heading - aimYaw) + 0.3;
            SetWorldTransform(x, y, z, 6.7 - aimPitch, yaw, 0, 0.5, 0.5, 0.5);
            DrawUprightQuad(TextureIdOf(texture));
        }
    }
    // A pouch of hook baits has flown: back to fishing, or to roaming when the rods are not out.
    if (fishingState == FISHING_CATAPULT_HOOKBAITS && catapultShotState == FISHING_CATAPULT_HOOKBAITS &&
        catapultPhase == 1)
        fishingState = rodInWater[1] ? FISHING_BOTH_RODS_OUT : FISHING_ROAMING;
}

// Step 12: aiming the catapult within the range of what it holds.
void GameApp::AimCatapult() {
    if (!Catapulting(fishingState) || catapultPhase != 0) return;
    if (fishingState == FISHING_CATAPULT_GROUNDBAIT) {
        if (groundbait == 1 || groundbait == 2) maxRange = 100;
        else if (groundbait == 3) maxRange = 30;
    } else {
        switch (hookBait) {
            case 1: case 2: maxRange = 100; break;
            case 3: case 4: maxRange = 80; break;
            case 5: case 6: maxRange = 60; break;
            case 8: case 12: maxRange = 50; break;
            case 9: case 10: case 11: maxRange = 40; break;
            case 13: maxRange = 30; break;
            default: break;  // no bait: the range stays as it was
        }
    }
    MoveAimAndDrawMarker(&catapultTargetValid);
}

// Step 14: the pouch lands when its count-down reaches 3. What lands is what was fired, whatever
// the state has become since.
void GameApp::LandCatapultShot() {
    Spread spread;
    if (catapultPhase == 3 && Catapulting(catapultShotState) && SpreadOf(catapultShotState, catapultShotBait, &spread)) {
        const int32_t volume = static_cast<int32_t>(-Distance3D(eyeX, 0, eyeZ, aimTargetX, 0, aimTargetZ) * 20.0);
        const bool groundbaitShot = catapultShotState == FISHING_CATAPULT_GROUNDBAIT;
        SpawnBaitAttraction(static_cast<float>(aimTargetX), 0.0f, static_cast<float>(aimTargetZ),
                            groundbaitShot ? BAIT_GROUNDBAIT : BAIT_LOOSE_FEED, 0, 0, 0.0, 0, 0, catapultShotBait);
        const double w = F32(castPower * 30.0 * spread.spread);
        if (groundbaitShot && fishingState == FISHING_CATAPULT_GROUNDBAIT && !atSwim) fishingState = FISHING_ROAMING;
        PlayAtVolume(splashSound, volume * spread.volumeFactor);
        const double r = spread.ringSize;
        for (int32_t i = 0; i <= spread.rings; ++i) {
            const float x = static_cast<float>(aimTargetX + F32(Rand() / F32(32767.0 / w) - w / 2.0));
            const float z = static_cast<float>(aimTargetZ + F32(Rand() / F32(32767.0 / w) - w / 2.0));
            SpawnRippleRing(x, 0.0f, z, F32(r + Rand() / F32(32767.0 / (2.0 * r))));
        }
    }
    // The end of a groundbait shot at the swim: back to the rods.
    if (fishingState == FISHING_CATAPULT_GROUNDBAIT && catapultShotState == FISHING_CATAPULT_GROUNDBAIT &&
        catapultPhase == 1 && rodInWater[1])
        fishingState = FISHING_BOTH_RODS_OUT;
}
