// Ripple rings, wakes and feeding bubbles: their steps and their spawners.
#include "world/water_effects.h"
#include <algorithm>
#include "shell/game_app.h"
#include "common/angles.h"
#include "common/single_precision.h"
#include "common/step_gate.h"

namespace {

// Stage 2 past a third of the full size, stage 3 past two thirds (both may pass in one step).
void AdvanceStage(int32_t& stage, double radius, double maxRadius) {
    if (radius > F32(maxRadius * 0.3333333333333333) && stage == 1) stage = 2;
    if (radius > F32(maxRadius * 0.6666666666666666) && stage == 2) stage = 3;
}

// The start shared by ripple rings and wakes: a tenth of `size` across, growing to five times it.
template <class Ring>
void StartRing(Ring& ring, double x, double y, double z, double size) {
    ring.active = 1;
    ring.x = x;
    ring.y = y;
    ring.z = z;
    ring.radius = F32(size / 10);
    ring.maxRadius = F32(size * 5);
    ring.stage = 1;
}

}  // namespace

// ---- ripple ring ----

RippleRing::RippleRing() : lastTick(plat::GetTickCount()) {}

void RippleRing::Start(double x_, double y_, double z_, double size) {
    StartRing(*this, x_, y_, z_, size);
    spinAngle = F32(plat::GameRand() / 5214.35391470401);
    spinUp = plat::GameRand() < 16383 ? 1 : 0;
}

void RippleRing::Update() {
    if (!StepDue(lastTick, 50)) return;
    spinAngle = WrapHeading(F32(spinUp ? spinAngle + 0.06 : spinAngle - 0.06));
    radius = F32(radius + F32(maxRadius / 10));
    AdvanceStage(stage, radius, maxRadius);
    if (radius > maxRadius) active = 0;
}

// ---- wake ----

Wake::Wake() : lastTick(plat::GetTickCount()) {}

void Wake::Start(double x_, double y_, double z_, double size, double heading_) {
    StartRing(*this, x_, y_, z_, size);
    heading = heading_;
}

void Wake::Update() {
    if (!StepDue(lastTick, 50)) return;
    radius = F32(radius + F32(maxRadius / 30));
    AdvanceStage(stage, radius, maxRadius);
    if (radius > maxRadius) active = 0;
}

// ---- feeding bubble ----

FeedingBubble::FeedingBubble() : lastTick(plat::GetTickCount()) {}

void FeedingBubble::Start(double x_, double y_, double z_, double speed_) {
    x = x_;
    y = y_;
    z = z_;
    speed = speed_;
    surfaced = 0;
    active = 1;
}

void FeedingBubble::Update() {
    if (!StepDue(lastTick, 50)) return;
    y = F32(y + F32(speed / 2));
    if (y > -1.2) {
        surfaced = 1;
        active = 0;
    }
}

int32_t SploshVolume(double distance) {
    return -static_cast<int32_t>(std::min(F32(50 * distance), 5000.0));
}

// ---- spawners ----

void GameApp::SpawnRippleRing(float x, float y, float z, double size) {
    for (RippleRing* r : rippleRings) {
        if (r->active) continue;
        r->Start(x, y, z, size);
        return;
    }
}

void GameApp::SpawnWake(float x, float y, float z, double size, double heading_) {
    for (Wake* w : wakes) {
        if (w->active) continue;
        w->Start(x, y, z, size, heading_);
        return;
    }
}

void GameApp::SpawnFeedingBubble(double x, double y, double z, double speed) {
    for (FeedingBubble* b : feedingBubbles) {
        if (b->active) continue;
        b->Start(x, y, z, speed);
        return;
    }
}
