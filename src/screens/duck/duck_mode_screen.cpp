// Duck mode: entry from the map, the duck's swim, dive and waddle with its bank lines and the hut,
// its keys and X back to the map.
#include <algorithm>
#include <cmath>
#include "common/single_precision.h"
#include "common/sound_cue.h"
#include "common/step_gate.h"
#include "platform/system.h"
#include "screens/duck/duck_banks.h"
#include "shell/game_app.h"

namespace {

constexpr uint32_t DUCK_STEP_MS = 100;
constexpr float DUCK_TOP_SPEED = 0.3f;
constexpr float DUCK_SPEED_STEP = 0.05f;
// The map's highest view, where leaving duck mode puts the camera.
constexpr double MAP_TOP_HEIGHT = 350.0;
constexpr double DUCK_LEFT_EDGE = 2.0;
constexpr double DUCK_RIGHT_EDGE = 198.0;
// Level gaze: looking further down than this on the water dives.
constexpr double LEVEL_PITCH = 6.284;
constexpr double HEADING_WRAP = 6.2831853;
constexpr int32_t SCENERY_PLATFORM = 1;
constexpr double PLATFORM_REACH = 4.0;

bool OnDuckStep(uint32_t& stamp) { return StepDue(stamp, DUCK_STEP_MS); }

}  // namespace

void GameApp::EnterDuckMode() {
    playClickSound = 1;
    EnterLakeScreen(MODE_DUCK, 67.5, 1.0, 32.5, 4.5, 6.3);
}

void GameApp::UpdateDuckModeScreen(InputDeviceState* input) {
    if (input->keyF && inputLock == 0) {
        flyMode = flyMode ? 0 : 1;
        inputLock = 3;
    }
    if (!input->keyO) {
        if (input->keyLeft) heading = F32(heading - 0.05);
        if (input->keyRight) heading = F32(heading + 0.05);
        if (input->keyUp) pitch = F32(pitch - 0.05);
        if (input->keyDown) pitch = F32(pitch + 0.05);
        moveForward = rightButtonDown == 1 ? 1 : 0;
        moveBack = leftButtonDown == 1 ? 1 : 0;
        if (input->keyMinus) moveBack = 1;
        if (input->keyEquals) moveForward = 1;
    }
    if (binocularState == 0 && input->keyX) {
        waterSurfaceVisible = 1;
        ReturnToMap(9);
        eyeY = MAP_TOP_HEIGHT;  // duck mode keeps no zoom of its own to go back to
    }
}

// The duck step: speed from the buttons, the mouse's look, and the paddle forward or back,
// never into the hut.
void GameApp::StepDuck() {
    float speed = static_cast<float>(moveSpeed);
    if (moveBack && speed > -DUCK_TOP_SPEED) speed -= DUCK_SPEED_STEP;
    if (moveForward && speed < DUCK_TOP_SPEED) speed += DUCK_SPEED_STEP;
    if (speed > 0.0f && !rightButtonDown) speed -= speed / 3.0f;
    if (speed < 0.0f && !leftButtonDown) speed += std::fabs(speed) / 3.0f;
    if (speed > -0.1f && speed < 0.1f && !rightButtonDown && !leftButtonDown) speed = 0.0f;
    moveSpeed = speed;

    heading = F32(heading + horizontalAxis / 0.2);
    pitch = F32(pitch - verticalAxis / 0.2);
    if (heading <= 0) heading = HEADING_WRAP;
    else if (heading > HEADING_WRAP) heading = 0;
    pitch = std::clamp(pitch, 5.9, 6.8);

    if (speed == 0.0f) return;
    const float reach = std::cos(static_cast<float>(1.570796325 - F32(pitch - 4.712388975))) * std::fabs(speed);
    const float dx = std::sin(static_cast<float>(heading)) * reach;
    const float dz = std::cos(static_cast<float>(heading)) * reach;
    const double x = speed > 0 ? F32(eyeX + dx) : F32(eyeX - dx);
    const double z = speed > 0 ? F32(eyeZ + dz) : F32(eyeZ - dz);
    if (!TooCloseToHut(x, z)) {
        eyeX = x;
        eyeZ = z;
    }
}

// A step that ends on or too close to a bank line (or where no distance can be had) is undone.
void GameApp::KeepDuckOffTheBanks() {
    if (!(DuckBankDistance(eyeX, eyeZ) > DUCK_BANK_CLEARANCE)) {
        eyeX = savedEyeX;
        eyeZ = savedEyeZ;
    }
}

// On land the eye stands 1.25 over the ground and rocks while the duck walks; on the water it
// swims at 0.3, or dives to -0.2 while the duck looks down.
void GameApp::SetDuckHeightAndRoll(float ground, bool duckStep) {
    if (!duckStep) return;
    if (ground >= 0.0f) {
        eyeY = F32(ground + 1.25);
        if (moveForward || moveBack) {
            if (duckRollDirection == 1) {
                if (viewRoll > -0.05) viewRoll = F32(viewRoll - 0.05);
                else duckRollDirection = 0;
            } else {
                if (viewRoll < 0.05) viewRoll = F32(viewRoll + 0.05);
                else duckRollDirection = 1;
            }
        } else {
            viewRoll = 0.0;
        }
    } else {
        viewRoll = 0.0;
        eyeY = pitch <= LEVEL_PITCH ? 0.3 : -0.2;
    }
}

// The view from the duck's head, 0.02 higher off the platforms, tilted by the waddle.
void GameApp::SetDuckCamera() {
    const double a = F32(pitch - 4.712388975);
    const double c = F32(std::cos(F32(1.570796325 - a)));
    const double lift = onPlatform ? 0.0 : 0.02;
    const double side = F32(heading + 1.571);
    SetViewCamera(eyeX, F32(eyeY + lift), eyeZ, eyeX + std::sin(heading) * c, eyeY + std::cos(a),
                  eyeZ + std::cos(heading) * c, std::sin(side) * viewRoll, 1, std::cos(side) * viewRoll);
}

void GameApp::DrawDuckModeScreen() {
    plat::SetCursorVisible(false);                                                            //  1
    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 1);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 1);
    waterSurfaceVisible = 1;
    savedEyeX = eyeX;
    savedEyeZ = eyeZ;

    const bool duckStep = OnDuckStep(duckTickStamp);                                           //  2
    if (duckStep) StepDuck();
    eyeX = std::clamp(eyeX, DUCK_LEFT_EDGE, DUCK_RIGHT_EDGE);                                  //  3
    eyeZ = std::clamp(eyeZ, DUCK_LEFT_EDGE, DUCK_RIGHT_EDGE);
    const float ground = HighestCornerUnder(*lakeView, eyeX, eyeZ);                            //  4

    if (duckOnLand && ground < 0.0f) {                                                         //  5
        PlayAtVolume(splashSound, -2000);
        duckOnLand = 0;
    } else if (!duckOnLand && ground >= 0.0f) {
        duckOnLand = 1;
    }

    onPlatform = 0;                                                                            //  6
    for (const SceneryItem* item : sceneryItems)
        if (item && item->active && item->type == SCENERY_PLATFORM &&
            Distance2D(item->x, item->z, eyeX, eyeZ) < PLATFORM_REACH)
            onPlatform = 1;

    KeepDuckOffTheBanks();                                                                     //  7

    if ((std::fabs(eyeX - savedEyeX) > 0.2 || std::fabs(eyeZ - savedEyeZ) > 0.2) && ground >= 0.0f)
        PlayAtVolume(duckFootSound, -1000);                                                    //  8

    SetDuckHeightAndRoll(ground, duckStep);                                                    //  9
    moveForward = 0;                                                                           // 10
    moveBack = 0;
    SetDuckCamera();                                                                           // 11
    DrawLakeWorld(LAKE_WORLD_DUCK);                                                            // 12

    underwater = 0;                                                                            // 13
    if (pitch > LEVEL_PITCH && ground < 0.0f) {
        waterSurfaceVisible = 0;
        underwater = 1;
        DrawUnderwaterSheet();
    }

    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 0);                                      // 14
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 0);
    DrawTextAt(2, 3, 0xFFFAFAFA, "Press X to return to game screen.", 1);

    if (plat::GameRand() < 2000 && waterSurfaceVisible != 0) PlayAtVolume(quackSound, -1000);  // 15
    UpdateAmbientSound();                                                                      // 16
}
