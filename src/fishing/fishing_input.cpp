// UpdateFishingScreen (the fishing screen's keys and clicks), WalkToSwim and the walks back to
// the standing point, the strike requests and the automatic re-cast of a rod.
//
// The input step runs once per input device and frame (keyboard first, then the mouse), so the
// walks and other per-call work below run on each device's pass.
#include <algorithm>
#include <cmath>
#include "fishing/fishing_rules.h"
#include "common/single_precision.h"
#include "shell/game_app.h"

using fishing::HeadingGap;
using fishing::StepToward;

namespace {
bool NoFishOn(const GameApp& a) { return !a.rodHasFish[0] && !a.rodHasFish[1]; }
bool NoRequest(const GameApp& a) { return !a.rodKeyLatch[0] && !a.rodKeyLatch[1]; }
bool BothRodsOut(const GameApp& a) { return a.rodInWater[0] && a.rodInWater[1]; }
}  // namespace

bool GameApp::StandingPoint(double* x, double* z, double* facing) const {
    if (currentSwim < 1 || currentSwim > SWIM_COUNT || !swims[currentSwim - 1]) return false;
    const SwimRecord& s = *swims[currentSwim - 1];
    if (!std::isfinite(s.x) || !std::isfinite(s.z) || !std::isfinite(s.facing)) return false;
    *x = F32(s.x + std::sin(s.facing + 3.5f) * 4.0f);
    *z = F32(s.z + std::cos(s.facing + 3.5f) * 4.0f);
    *facing = s.facing;
    return true;
}

void GameApp::PutEyeOnStandingPoint(double x, double z, double facing) {
    eyeX = x;
    eyeZ = z;
    heading = facing;
    pitch = 6.4;
}

void GameApp::CentreAimAhead() {
    aimTargetX = F32(eyeX + 10.0 * std::sin(heading));
    aimTargetZ = F32(eyeZ + 10.0 * std::cos(heading));
    aimYaw = heading;
    aimPitch = 6.6;
}

bool GameApp::WalkTowardStand(double pace, double aim, double turn, double turnTolerance, bool setWhenClose,
                              double pitchAim, double pitchStep, double reach) {
    double x, z, facing;
    if (!StandingPoint(&x, &z, &facing)) return false;
    const HeadingPitch to = HeadingAndPitchTo(eyeX, eyeY, eyeZ, x, eyeY, z);
    eyeX = F32(eyeX + pace * std::sin(to.heading));
    eyeZ = F32(eyeZ + pace * std::cos(to.heading));
    if (HeadingGap(heading, aim) > turnTolerance) heading = fishing::TurnToward(heading, aim, turn);
    else if (setWhenClose) heading = fishing::WrapTurnTarget(aim);
    pitch = StepToward(pitch, pitchAim, pitchStep);
    return std::fabs(eyeX - x) < reach && std::fabs(eyeZ - z) < reach;
}

// Each frame of the walk to the chosen swim; on arrival the rod pod is set up and rod 1 is aimed.
void GameApp::WalkToSwim() {
    double x, z, facing;
    if (!StandingPoint(&x, &z, &facing)) {
        fishingState = FISHING_ROAMING;  // a swim with no usable numbers: the walk ends where it is
        return;
    }
    const bool near = WalkTowardStand(0.3, facing, 0.05, 0.25, true, FULL_TURN, 0.05, 1.5);
    if (!near || std::fabs(pitch - 6.4) >= 0.3 || HeadingGap(heading, facing) >= 0.15) return;
    ArriveAtStand(FISHING_CASTING_ROD1, x, z, facing);
}

void GameApp::ArriveAtStand(int32_t state, double x, double z, double facing) {
    fishingState = state;
    moveSpeed = 0;
    moveForward = moveBack = 0;
    PutEyeOnStandingPoint(x, z, facing);
    podYaw = facing;
    rodPodX = swims[currentSwim - 1]->x;
    rodPodZ = swims[currentSwim - 1]->z;
    CentreAimAhead();
}

void GameApp::ReleasePlayedFish() {
    if (playedFish >= 0 && playedFish < FISH_COUNT && fish[playedFish] && fishPlacements[playedFish]) {
        Fish& f = *fish[playedFish];
        const FishPlacement& home = *fishPlacements[playedFish];
        f.state = FISH_CRUISE;
        f.fear = 100;
        f.confidence = 10;
        f.appetite = 0;
        f.speed = 0.1;
        f.x = home.x;
        f.y = home.y;
        f.z = home.z;
    }
    rodHasFish[0] = rodHasFish[1] = 0;
    rodStruck[0] = rodStruck[1] = 0;
    playedFish = NO_FISH;
    rodFish[0] = rodFish[1] = NO_FISH;
}

void GameApp::LeaveLakeForMap() {
    clutch = 100;
    netHead[1] = eyeY - 3.5;
    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        if (rodInWater[rod] && rodBaitItem[rod] >= 0 && rodBaitItem[rod] < BAIT_ITEM_COUNT)
            baitAttractions[rodBaitItem[rod]]->active = 0;
        biteIndicatorUpper[rod] = biteIndicatorLower[rod] = 3.7;
        castFlight[rod] = 0;
        rodInWater[rod] = rodHasFish[rod] = rodKeyLatch[rod] = rodStruck[rod] = 0;
        biteSignal[rod] = 0;
    }
    fishingState = FISHING_ROAMING;
    fishLost = lineSnapped = 0;
    atSwim = 0;
    photoCountdown = 0;
    photoShotPending = 0;  // a photo left during its count-down is not taken of the next fish
    // A shot still in the air would otherwise land at the old aim point on the next visit.
    catapultPhase = catapultPull = 0;
    aimPitch = 6.6;
    ReturnToMap(9);
    ReleasePlayedFish();
}

int32_t GameApp::AutoRecast(int32_t rod, double angle) {
    rodInWater[rod] = 1;
    double sx, sz, facing = podYaw;
    StandingPoint(&sx, &sz, &facing);
    const double x = F32(eyeX + 15.0 * std::sin(facing + angle));
    const double z = F32(eyeZ + 15.0 * std::cos(facing + angle));
    PlaceHookBait(rod, x, z);
    int32_t volume = -1000;
    if (method == 5 || method == 6) volume *= 2;
    if (method == 7) volume *= 3;
    volume /= leadOz >= 1 ? leadOz : 1;
    PlayAtVolume(splashSound, volume);
    SpawnSplashRings(x, z, fishing::SplashRingCount(method, leadOz, wagglerShot, -1));
    return volume;
}

// Keys 1 and 2: strikes on a rod whose alarm sounds, after a lost fish, and in the rod in hand.
void GameApp::HandleStrikeKeys(InputDeviceState* input) {
    // A strike on either rod while both are fishing.
    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        const int32_t key = rod == 0 ? input->key1 : input->key2;
        if (key && fishingState == FISHING_BOTH_RODS_OUT && BothRodsOut(*this) && NoRequest(*this) &&
            NoFishOn(*this)) {
            rodKeyLatch[rod] = 1;
            fishingState = FISHING_ROD_IN_HAND;
        }
    }
    // After a lost fish: walk back, re-cast the other rod, strike this one.
    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        const int32_t key = rod == 0 ? input->key1 : input->key2;
        if (key && fishLost && rodInWater[rod] && !rodKeyLatch[rod] && NoFishOn(*this)) {
            fishingState = rod == 0 ? FISHING_BACK_RECAST2_STRIKE1 : FISHING_BACK_RECAST1_STRIKE2;
            lineSnapped = fishLost = 0;
        }
    }
    // With one rod in the hand (or the other being re-cast), strike the rod still on its rest:
    // the rod in the hand is re-cast on the spot. Key 2 while rod 1 waits for its re-cast
    // (state 9) mirrors key 1 while rod 2 waits (state 10).
    if (input->key1 && (fishingState == FISHING_ROD_IN_HAND || fishingState == FISHING_RECASTING_ROD2) &&
        rodInWater[0] && NoRequest(*this) && NoFishOn(*this)) {
        AutoRecast(1, 0.4);
        rodStruck[1] = 0;
        rodKeyLatch[0] = 1;
        fishingState = FISHING_ROD_IN_HAND;
    }
    if (input->key2 && (fishingState == FISHING_ROD_IN_HAND || fishingState == FISHING_RECASTING_ROD1) &&
        rodInWater[1] && NoRequest(*this) && NoFishOn(*this)) {
        AutoRecast(0, 0.2);
        rodStruck[0] = 0;
        rodKeyLatch[1] = 1;
        fishingState = FISHING_ROD_IN_HAND;
    }
}

void GameApp::WalkBackAfterSnap() {
    double x, z, facing;
    if (!StandingPoint(&x, &z, &facing)) return;
    const bool near = WalkTowardStand(0.4, facing + 0.25, 0.1, 0.25, true, FULL_TURN, 0.05, 3.0);
    if (!near || std::fabs(pitch - 6.4) >= 0.2 || HeadingGap(heading, facing + 0.2) >= 0.2) return;
    ArriveAtStand(FISHING_WALKING_BACK, x, z, facing);
    rodHasFish[0] = rodHasFish[1] = 0;
    fishLost = 0;
}

// States 8, 12 and 13: back to the standing point, binoculars away, clutch reset.
void GameApp::WalkBackToStand() {
    clutch = 100;
    binocularState = 2;
    viewZoom = 4;
    double x, z, facing;
    if (!StandingPoint(&x, &z, &facing)) return;
    const double pace = fishingState == FISHING_WALKING_BACK ? 0.3 : 0.4;
    const bool near = WalkTowardStand(pace, facing + 0.25, 0.05, 0.0, false, FULL_TURN, 0.04, 1.0);
    if (fishingState == FISHING_WALKING_BACK) {
        if (near && std::fabs(pitch - 6.4) < 0.2 && HeadingGap(heading, facing + 0.2) < 0.2) {
            PutEyeOnStandingPoint(x, z, facing);
            if (!rodInWater[0]) fishingState = FISHING_RECASTING_ROD1;
            if (!rodInWater[1]) fishingState = FISHING_RECASTING_ROD2;
            // Nothing to re-cast: the walk would never end (no key is read while it lasts).
            if (BothRodsOut(*this)) fishingState = FISHING_BOTH_RODS_OUT;
        }
        CentreAimAhead();
        return;
    }
    if (!near) return;
    const int32_t struck = fishingState == FISHING_BACK_RECAST2_STRIKE1 ? 0 : 1;
    rodInWater[struck] = 0;
    eyeX = x;  // only the eye: heading and pitch stay as the walk left them
    eyeZ = z;
    const int32_t volume = struck == 0 ? AutoRecast(1, 0.4) : AutoRecast(0, 0.0);
    // The struck rod's hook bait leaves the water with it (after the re-cast, so that the other
    // rod's new bait cannot take its slot while this rod still names it).
    if (BaitAttraction* bait = RodHookBait(struck)) bait->active = 0;
    fishingState = FISHING_ROD_IN_HAND;
    rodStruck[struck] = 1;
    PlayAtVolume(rodSound, volume);
}

// A strike request becomes the rod's strike: rod 1 at once, rod 2 after the walk to the pod.
void GameApp::ServeStrikeRequests() {
    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        if (!rodKeyLatch[rod]) continue;
        binocularState = 2;
        viewZoom = 4;
        double x, z, facing;
        if (!StandingPoint(&x, &z, &facing)) continue;  // stays pending
        if (rod == 0) {
            eyeX = x;
            eyeZ = z;
        } else {
            const bool near = WalkTowardStand(0.4, podYaw, 0.1, 0.2, false, 6.4, 0.04, 1.0);
            if (!near) continue;
            eyeX = x;
            eyeZ = z;
        }
        pitch = 6.4;
        heading = podYaw;
        rodKeyLatch[rod] = 0;
        rodStruck[rod] = 1;
        if (rodBaitItem[rod] >= 0 && rodBaitItem[rod] < BAIT_ITEM_COUNT) baitAttractions[rodBaitItem[rod]]->active = 0;
        rodInWater[rod] = 0;
        PlayAtVolume(rodSound, -1000);
    }
}

void GameApp::TurnWithMouse() {
    heading = F32(heading + horizontalAxis / F32(viewZoom * 0.02));
    pitch = F32(pitch - verticalAxis / F32(viewZoom * 0.02));
}

// The arrow keys step the angler half a unit while a fish is played or a photo is posed.
void GameApp::StepWithArrowKeys(InputDeviceState* input) {
    static const double STEP_DIRECTIONS[8] = {0, 0.7855, 1.571, 2.3565, 3.142, 3.9275, 4.713, 5.4985};
    int32_t k = 0;
    if (input->keyUp) k = 1;
    if (input->keyRight) k = 3;
    if (input->keyDown) k = 5;
    if (input->keyLeft) k = 7;
    if (input->keyUp && input->keyRight) k = 2;
    if (input->keyDown && input->keyRight) k = 4;
    if (input->keyDown && input->keyLeft) k = 6;
    if (input->keyUp && input->keyLeft) k = 8;
    if (k > 0) {
        double direction = F32(heading + STEP_DIRECTIONS[k - 1]);
        if (direction > FULL_TURN) direction = F32(direction - FULL_TURN);
        const double x = F32(eyeX + 0.5 * std::sin(direction));
        const double z = F32(eyeZ + 0.5 * std::cos(direction));
        const bool inside = x > 1 && x < 199 && z > 1 && z < 199;
        const double ground = inside ? fishing::GroundUnder(*lakeView, x, z, 0.0) : 0.0;
        if (ground > -0.3) {
            eyeX = x;
            eyeZ = z;
        }
        const double e = pitch - 4.712388975;
        const double c = std::cos(1.570796325 - e);
        SetViewCamera(eyeX, eyeY, eyeZ, eyeX + std::sin(heading) * c, eyeY + std::cos(e), eyeZ + std::cos(heading) * c,
                      0, 1, 0);
    }
    if (fishingState == FISHING_PHOTO_MODE) TurnWithMouse();
}

// Roaming or with both rods out: the mouse and the arrows look round, the buttons walk.
void GameApp::LookAround(InputDeviceState* input) {
    TurnWithMouse();
    const double turn = F32(0.05 - viewZoom / 400.0);
    if (input->keyLeft) heading = F32(heading - turn);
    if (input->keyRight) heading = F32(heading + turn);
    if (input->keyUp) pitch = F32(pitch - turn);
    if (input->keyDown) pitch = F32(pitch + turn);
    moveForward = rightButtonDown ? 1 : 0;
    moveBack = leftButtonDown ? 1 : 0;
}

// A left click casts the rod being aimed or fires the catapult.
void GameApp::CastOnClick() {
    if (!leftButtonDown || inputLock != 0 || !targetOverWater) return;
    const int32_t castVolume = std::max(-3000, std::min(0, static_cast<int32_t>(F32(castPower * 100.0 - 3000.0))));
    auto cast = [&](int32_t rod, double flight) {
        inputLock = 3;
        castFlight[rod] = static_cast<int32_t>(flight);
        spoolTurn[rod] = 0;
        PlayAtVolume(rodSound, castVolume);
    };
    switch (fishingState) {
        case FISHING_CASTING_ROD1:
            if (!castTargetInGrid) break;
            fishingState = FISHING_ROD1_IN_FLIGHT;
            cast(0, F32(castPower / 2.0));
            break;
        case FISHING_ROD1_IN_FLIGHT:
            if (!castTargetInGrid || castFlight[0] != 0) break;
            fishingState = FISHING_ROD2_IN_FLIGHT;
            cast(1, F32(castPower / 2.0));
            break;
        case FISHING_RECASTING_ROD1:
            if (castTargetInGrid) cast(0, castPower);
            break;
        case FISHING_RECASTING_ROD2:
            if (castTargetInGrid) cast(1, castPower);
            break;
        case FISHING_CATAPULT_GROUNDBAIT:
        case FISHING_CATAPULT_HOOKBAITS:
            if (catapultPhase != 0 || !catapultTargetValid) break;
            inputLock = 3;
            catapultPhase = static_cast<int32_t>(castPower);
            catapultPull = 4;
            catapultShotState = fishingState;
            catapultShotBait = fishingState == FISHING_CATAPULT_GROUNDBAIT ? groundbait : hookBait;
            break;
        default:
            break;
    }
}

void GameApp::UpdateFishingScreen(InputDeviceState* input) {
    if (arrivalCountdown > 0) --arrivalCountdown;
    if (fishingState == FISHING_WALKING_TO_SWIM && currentSwim != NO_SWIM) return;
    // 1. Tips on and off, once per press: the key is taken, so holding it (a normal press lasts
    // several frames) does not toggle again once the delay has run out.
    if (input->keyT && tipsToggleDelay == 0) {
        tipsOn = tipsOn ? 0 : 1;
        tipsToggleDelay = 5;
        input->keyT = 0;
    }

    // 2-4. Strikes.
    HandleStrikeKeys(input);

    // 5. R: walk back after a snapped line, or release the fish in the sling.
    if (input->keyR && fishingState == FISHING_LINE_SNAPPED) fishingState = FISHING_BACK_AFTER_SNAP;
    if (input->keyR && fishingState == FISHING_FISH_LANDED) {
        pitch = 6.4;
        clutch = 100;
        photoCountdown = 0;
        fishingState = FISHING_WALKING_BACK;
        aimPitch = 6.6;
        double x, z, facing;
        if (StandingPoint(&x, &z, &facing)) aimYaw = facing;
        fishLost = 0;
        ReleasePlayedFish();
    }

    // 6. The walk back after a snapped line.
    if (fishingState == FISHING_BACK_AFTER_SNAP) WalkBackAfterSnap();

    // 7. R re-centres the aim of a cast or the catapult.
    if (input->keyR && (fishingState == FISHING_CASTING_ROD1 || fishingState == FISHING_ROD1_IN_FLIGHT ||
                        fishingState == FISHING_CATAPULT_GROUNDBAIT || fishingState == FISHING_CATAPULT_HOOKBAITS))
        CentreAimAhead();

    // 8. Strikes from the catapult.
    if (input->key1 && (fishingState == FISHING_CATAPULT_GROUNDBAIT || fishingState == FISHING_CATAPULT_HOOKBAITS) &&
        BothRodsOut(*this) && !rodKeyLatch[1] && NoFishOn(*this)) {
        rodKeyLatch[0] = 1;
        fishingState = FISHING_ROD_IN_HAND;
        inputLock = 3;
    }
    if (input->key2 && (fishingState == FISHING_CATAPULT_GROUNDBAIT || fishingState == FISHING_CATAPULT_HOOKBAITS) &&
        BothRodsOut(*this) && !rodKeyLatch[0] && NoFishOn(*this)) {
        rodKeyLatch[1] = 1;
        fishingState = FISHING_ROD_IN_HAND;
    }

    // 9. F: walk to the swim close by.
    if (input->keyF && fishingState == FISHING_ROAMING && binocularState == 0 && nearbySwim != NO_SWIM &&
        arrivalCountdown == 0) {
        fishingState = FISHING_WALKING_TO_SWIM;
        currentSwim = nearbySwim;
        atSwim = 1;
    }

    // 10. B: binoculars up, and away again (back to the normal zoom).
    if (input->keyB && binocularState == 0 && NoRequest(*this) && NoFishOn(*this) &&
        fishingState != FISHING_CASTING_ROD1 && fishingState != FISHING_ROD1_IN_FLIGHT &&
        fishingState != FISHING_CATAPULT_GROUNDBAIT && fishingState != FISHING_CATAPULT_HOOKBAITS &&
        fishingState != FISHING_ROD_IN_HAND) {
        binocularState = 1;
        viewZoom = 10;
        input->keyB = 0;
    } else if (input->keyB && binocularState == 1) {
        binocularState = 2;
        viewZoom = 4;
        input->keyB = 0;
    }

    // 11. G and H raise the catapult with groundbait or hook baits, and lower it again.
    const struct {
        int32_t key;
        int32_t state;
    } catapults[2] = {{input->keyG, FISHING_CATAPULT_GROUNDBAIT}, {input->keyH, FISHING_CATAPULT_HOOKBAITS}};
    for (const auto& c : catapults) {
        if (!c.key) continue;
        if (inputLock == 0 && (fishingState == FISHING_ROAMING || fishingState == FISHING_BOTH_RODS_OUT) &&
            binocularState == 0 && NoRequest(*this) && NoFishOn(*this)) {
            inputLock = 3;
            stateBeforeCatapult = fishingState;
            fishingState = c.state;
            CentreAimAhead();
        } else if (fishingState == c.state) {
            inputLock = 3;
            fishingState = stateBeforeCatapult;
        }
    }

    // 12. P in the sling: the best weight is kept and photo mode begins.
    if (input->keyP && fishingState == FISHING_FISH_LANDED && photoCountdown == 0) {
        CommitPendingBestWeight();
        photoCountdown = 3;
        photoShotPending = 0;  // the shot waits for this photo's own second P
        photoModeStamp = static_cast<int32_t>(plat::GetTickCount());
        fishingState = FISHING_PHOTO_MODE;
    }

    // 13. P and C on the bank: the photo album and the catch records.
    if (input->keyP && fishingState < 0 && inputLock == 0) EnterPhotoAlbum();
    if (input->keyC && fishingState < 0 && inputLock == 0 && binocularState == 0) EnterCatchRecords();

    // 14. The walks back to the standing point.
    if (fishingState == FISHING_WALKING_BACK || fishingState == FISHING_BACK_RECAST2_STRIKE1 ||
        fishingState == FISHING_BACK_RECAST1_STRIKE2)
        WalkBackToStand();

    // 15. Strike requests.
    ServeStrikeRequests();

    // 16. The held rod follows the mouse.
    if (!NoFishOn(*this)) {
        rodYaw = std::max(-1.3, std::min(1.3, F32(rodYaw + horizontalAxis / 0.1)));
        rodPitch = std::max(0.4, std::min(1.0, F32(rodPitch + verticalAxis / 0.1)));
        if (fishingState != FISHING_PHOTO_MODE) pitch = 6.4;
    }

    // 17. Stepping with the arrows while playing a fish or posing one for a photo.
    if ((fishingState < FISHING_FISH_LANDED && !NoFishOn(*this)) || fishingState == FISHING_PHOTO_MODE)
        StepWithArrowKeys(input);

    // 18. P in photo mode asks for the shot, a second after the mode began.
    if (input->keyP && fishingState == FISHING_PHOTO_MODE && !photoShotPending &&
        plat::GetTickCount() - static_cast<uint32_t>(photoModeStamp) > 1000) {
        photoShotPending = 1;
        input->keyP = 0;
    }

    // 19. Looking round and walking.
    if ((fishingState < 0 || fishingState == FISHING_BOTH_RODS_OUT) && NoRequest(*this) && NoFishOn(*this))
        LookAround(input);

    // 20. R with the rod in the hand: back to the standing point to re-cast. Not while a fish is
    // on: the walk back would re-cast with the fish still hooked, or never end at all when the
    // view, held on the fish, keeps the angler from facing the water (and with a fish on X cannot
    // leave the lake either).
    if (input->keyR && binocularState == 0 && fishingState >= FISHING_ROD_IN_HAND &&
        fishingState <= FISHING_LINE_SNAPPED && NoFishOn(*this)) {
        aimYaw = heading;
        clutch = 100;
        fishingState = FISHING_WALKING_BACK;
        aimPitch = 6.6;
        rodStruck[0] = rodStruck[1] = 0;
        fishLost = lineSnapped = 0;
    }

    // 21. X: back to the map.
    if (input->keyX && binocularState == 0 &&
        ((fishingState == FISHING_PHOTO_MODE && photoCountdown <= 4) || NoFishOn(*this)))
        LeaveLakeForMap();

    // 22. Left click: cast or fire the catapult.
    CastOnClick();
}
