// UpdateMapScreen: the map's keys and buttons, the tackle selection, the swim pick, the ways off.
#include <cmath>
#include "common/angles.h"
#include "common/single_precision.h"
#include "common/sound_cue.h"
#include "gfx/geometry.h"
#include "shell/game_app.h"

namespace {

// Sets a choice; clicks only when it changes, locks either way.
template <typename T>
void Choose(GameApp& app, T& member, T value) {
    if (member != value) app.playClickSound = 1;
    member = value;
    app.inputLock = CLICK_LOCK;
}

// The parts of the rig row, and which lies under each button of the row for each method.
enum RigPart { NO_PART, MAIN_LINE, HOOKLENGTH, LEAD, HOOK, SHOT, DEPTH, CONTROLLER };
constexpr float RIG_ROW_KX[6] = {4.05f, 2.6f, 2.48f, 2.13f, 2.01f, 1.78f};
constexpr RigPart RIG_ROW[8][6] = {
    {},
    {MAIN_LINE, NO_PART, LEAD, HOOKLENGTH, NO_PART, HOOK},
    {MAIN_LINE, NO_PART, LEAD, HOOKLENGTH, NO_PART, HOOK},
    {HOOKLENGTH, HOOK, NO_PART, NO_PART, MAIN_LINE, LEAD},
    {MAIN_LINE, NO_PART, LEAD, HOOKLENGTH, NO_PART, HOOK},
    {MAIN_LINE, NO_PART, SHOT, DEPTH, NO_PART, HOOK},
    {MAIN_LINE, NO_PART, CONTROLLER, HOOKLENGTH, NO_PART, HOOK},
    {MAIN_LINE, NO_PART, NO_PART, NO_PART, NO_PART, HOOK},
};

// One step round a part's cycle.
void StepRigPart(GameApp& app, RigPart part) {
    switch (part) {
        case MAIN_LINE: app.mainlineLb = app.mainlineLb >= 16 ? 10 : app.mainlineLb + 1; break;
        case HOOKLENGTH: app.hooklengthLb = app.hooklengthLb >= 16 ? 10 : app.hooklengthLb + 1; break;
        case LEAD: app.leadOz = app.leadOz >= 4 ? 1 : app.leadOz + 1; break;
        case HOOK: app.hookSize = app.hookSize <= 4 ? 10 : app.hookSize - 2; break;
        case SHOT: app.wagglerShot = app.wagglerShot >= 4 ? 1 : app.wagglerShot + 1; break;
        case DEPTH: app.floatDepth = app.floatDepth >= 4 ? 1 : app.floatDepth + 1; break;
        case CONTROLLER: app.controllerOz = app.controllerOz >= 2.0 ? 0.5 : app.controllerOz + 0.5; break;
        case NO_PART: break;
    }
}

struct Choice {
    int32_t value;
    float kx, ky;
};
const Choice METHOD_BUTTONS[] = {{1, 30, 1.31f},   {2, 14.5f, 1.31f}, {3, 30, 1.24f}, {4, 14.5f, 1.24f},
                                 {5, 30, 1.17f},   {6, 14.5f, 1.17f}, {7, 19, 1.11f}};
const Choice HOOK_BAIT_BUTTONS[] = {{1, 1.08f, 3.9f},   {2, 1.08f, 3.3f},   {3, 1.08f, 2.87f}, {4, 1.08f, 2.53f},
                                   {5, 1.08f, 2.27f},  {6, 1.08f, 2.05f},  {8, 1.04f, 3.9f},  {9, 1.04f, 3.3f},
                                   {10, 1.04f, 2.87f}, {11, 1.04f, 2.53f}, {12, 1.04f, 2.27f}, {13, 1.04f, 2.05f}};
const Choice GROUNDBAIT_BUTTONS[] = {{1, 1.08f, 1.285f}, {2, 1.04f, 1.285f}, {3, 1.06f, 1.21f}};
const Choice ROD_REEL_BUTTONS[] = {{1, 1.52f, 1.09f}, {2, 1.44f, 1.09f}, {3, 1.52f, 1.05f}, {4, 1.44f, 1.05f}};
const Choice ZOOM_BUTTONS[] = {{350, 35, 5.6f}, {200, 13, 5.6f}, {80, 35, 4.25f}, {30, 13, 4.25f}};

// The pan arrows: button and the step of the map centre.
struct PanArrow {
    float kx, ky;
    int32_t dx, dz;
};
const PanArrow PAN_ARROWS[] = {{20, 3.35f, 0, 1},  {20, 2.85f, 0, -1}, {29, 3.06f, -1, 0},  {14, 3.06f, 1, 0},
                               {29, 2.85f, -1, -1}, {14, 2.85f, 1, -1}, {14, 3.35f, 1, 1}, {29, 3.35f, -1, 1}};

}  // namespace

void GameApp::UpdateMapScreen(InputDeviceState* input, int32_t screenX, int32_t screenY) {
    // Nothing here acts before the lake and its swims have been prepared (the first map frame).
    if (!lakeInitialised || !input) return;

    const float x = static_cast<float>(screenX - clientOriginX);
    const float y = static_cast<float>(screenY - clientOriginY);
    const float width = static_cast<float>(clientWidth);
    const float height = static_cast<float>(clientHeight);
    auto hit = [&](float kx, float ky, float radius) { return Distance2D(x, y, width / kx, height / ky) < radius; };
    bool held = leftButtonDown == 1;

    if (orbitView) {
        if (held && hit(2, 1.1f, 100)) {  // back to the overhead map, which waits for a fresh press
            held = false;
            leftButtonDown = 0;
            orbitView = 0;
            orbitAngle = 3.142;
            orbitTurnSpeed = 0.005;
            orbitClimbSpeed = 1.0;
            orbitHoldFrames = 0;
            orbitZoom = 4;
            orbitHeight = 50;
            SetProjectionFov(NORMAL_FIELD_OF_VIEW);
        }
        // Each held arrow steps, and speeds up the steps that follow.
        auto turn = [&](double direction) {
            orbitAngle = F32(orbitAngle + direction * orbitTurnSpeed);
            orbitHoldFrames = 3;
            if (orbitTurnSpeed < 0.5) orbitTurnSpeed = F32(orbitTurnSpeed + 0.01);
        };
        auto climb = [&](double direction) {
            orbitHeight = F32(orbitHeight + direction * orbitClimbSpeed);
            orbitHoldFrames = 3;
            if (orbitClimbSpeed < 15) orbitClimbSpeed = F32(orbitClimbSpeed + 0.5);
        };
        if (input->keyRight) turn(-1);
        if (input->keyLeft) turn(1);
        if (input->keyUp) climb(1);
        if (input->keyDown) climb(-1);
        if (input->keyEquals) {
            if (orbitZoom < 20) orbitZoom = F32(orbitZoom + 0.5);
            orbitHoldFrames = 3;
        }
        if (input->keyMinus) {
            if (orbitZoom > 4) orbitZoom = F32(orbitZoom - 0.5);
            orbitHoldFrames = 3;
        }
        if (!input->keyLeft && !input->keyRight && !input->keyUp && !input->keyDown) {
            if (orbitHoldFrames > 0) orbitHoldFrames -= 1;
            if (orbitHoldFrames == 0) {
                orbitTurnSpeed = 0.005;
                orbitClimbSpeed = 1.0;
            }
        }
        orbitAngle = WrapHeading(orbitAngle);
        if (orbitHeight < 5) orbitHeight = 5;
        if (orbitHeight > 500) orbitHeight = 500;
        if (orbitView) return;
    }

    // Overhead map: the arrows pan (the draw keeps the centre on the grid).
    if (input->keyLeft) eyeX -= 1;
    if (input->keyRight) eyeX += 1;
    if (input->keyUp) eyeZ += 1;
    if (input->keyDown) eyeZ -= 1;

    if (held) {
        // Swim pick: the nearest swim within 25 of the cell under the mouse; ties keep the lower number.
        if (cursorOverMap) {
            int32_t candidate = 0;
            double best = 999;
            for (int32_t n = 1; n <= SWIM_COUNT; ++n) {
                const double d = Distance2D(mapCursorColumn * 2, 200 - mapCursorRow * 2, swims[n - 1]->x, swims[n - 1]->z);
                if (d < best && d < 25 && inputLock == 0) {
                    best = d;
                    candidate = n;
                }
            }
            if (candidate) {
                inputLock = CLICK_LOCK;
                if (candidate != currentSwim) playClickSound = 1;
                currentSwim = candidate;
            }
        }

        // The rig row: each button steps the part of the current method that lies under it.
        if (method >= 1 && method <= 7) {
            for (int column = 0; column < 6; ++column) {
                const RigPart part = RIG_ROW[method][column];
                if (part == NO_PART || !hit(RIG_ROW_KX[column], 1.08f, 15)) continue;
                StepRigPart(*this, part);
                inputLock = CLICK_LOCK;
                playClickSound = 1;
            }
        }

        for (const Choice& c : METHOD_BUTTONS)
            if (hit(c.kx, c.ky, 10)) Choose(*this, method, c.value);
        for (const Choice& c : HOOK_BAIT_BUTTONS)
            if (hit(c.kx, c.ky, 10)) Choose(*this, hookBait, c.value);
        for (const Choice& c : GROUNDBAIT_BUTTONS)
            if (hit(c.kx, c.ky, 10)) Choose(*this, groundbait, c.value);

        if (hit(1.06f, 1.1f, 15)) EnterStockingRecords();
        if (hit(1.06f, 1.04f, 15)) orbitView = 1;  // contours

        for (const Choice& c : ROD_REEL_BUTTONS)
            if (hit(c.kx, c.ky, 10)) Choose(*this, rodReel, c.value);
        for (const Choice& c : ZOOM_BUTTONS)
            if (hit(c.kx, c.ky, 10)) Choose(*this, eyeY, static_cast<double>(c.value));

        // The pan pad: the centre button re-centres the map, the arrows pan while held.
        if (hit(19, 3.06f, 8) && !(eyeX == 100 && eyeZ == 92)) {
            eyeX = 100;
            eyeZ = 92;
            playClickSound = 1;
        }
        for (const PanArrow& a : PAN_ARROWS) {
            if (!hit(a.kx, a.ky, 8)) continue;
            eyeX += a.dx;
            eyeZ += a.dz;
            playPanSound = 1;
        }

        if (hit(20, 11, 25)) EnterFishingScreen();  // at the current swim
        if (hit(8.8f, 11, 25)) EnterInstructions();
        if (hit(20, 2.57f, 14)) EnterTour();
        if (hit(20, 2.28f, 14)) EnterDuckMode();
    }

    if (playClickSound) PlayRequestedClick();
    if (playPanSound) {
        playPanSound = 0;
        PlayFromStart(panSound);
    }
}
