// How the gulls, insect swarms, bubble spots and dragonflies start and move, step by step.
#include "world/wildlife.h"
#include <cmath>
#include "gfx/geometry.h"
#include "common/angles.h"
#include "common/single_precision.h"
#include "common/step_gate.h"

namespace {

int Rand() { return plat::GameRand(); }

double Clamp(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }

// The turn state (or climb state) after the three chance draws; later draws win.
int32_t DrawState(int32_t state) {
    if (Rand() < 2000) state = 0;
    if (Rand() < 1000) state = 1;
    if (Rand() < 1000) state = 2;
    return state;
}

// How far a heading is ahead of and behind another, each within one turn.
void AheadBehind(double from, double to, double* ahead, double* behind) {
    *ahead = F32(F32(FULL_TURN - to) + from);
    if (*ahead > FULL_TURN) *ahead = F32(*ahead - FULL_TURN);
    *behind = F32(F32(FULL_TURN - from) + to);
    if (*behind > FULL_TURN) *behind = F32(*behind - FULL_TURN);
}

}  // namespace

// ---- gull ----

Gull::Gull(double x_, double altitude_, double z_)
    : x(x_), altitude(altitude_), z(z_), lastTick(plat::GetTickCount()) {
    heading = Rand() / 5214.35391470401;
}

void Gull::Update() {
    if (!StepDue(lastTick, 50)) return;
    homing = F32(Distance2D(x, z, 100, 100)) > 150 ? 1 : 0;
    if (homing) turnState = 0;
    if (Rand() < 5000 && !homing) turnState = DrawState(turnState);
    if (Rand() < 5000) climbState = DrawState(climbState);

    if (turnState == 1) heading = F32(heading - 0.1);
    if (turnState == 2) heading = F32(heading + 0.1);
    if (climbState == 1) altitude = F32(altitude + 0.5);
    if (climbState == 2) altitude = F32(altitude - 0.5);
    altitude = Clamp(altitude, 30, 48);

    stepsDown = stepsUp = 0;
    if (homing) {
        HeadingPitch hp;
        headingToCentre = F32(HeadingAndPitchBetween(&hp, x, 0, z, 100, 0, 100)->heading);
        const TurnStepCounts steps = CountTurnSteps(heading, headingToCentre, 0.005, 0.02);
        stepsUp = steps.up;
        stepsDown = steps.down;
        heading = F32(stepsDown > stepsUp ? heading + 0.1 : heading - 0.1);  // a tie turns down
    }

    x = F32(x + F32(F32(std::sin(heading)) * 0.5));
    z = F32(z + F32(F32(std::cos(heading)) * 0.5));
    heading = WrapHeading(heading);
}

// ---- insect swarm ----

InsectSwarm::InsectSwarm() : lastTick(plat::GetTickCount()) {}

void InsectSwarm::Start(float x_, float y_, float z_, int32_t type_) {
    if (type_ != 1 && type_ != 2) return;
    leader = 1;
    active = 1;
    centreX = x_;
    centreY = y_;
    centreZ = z_;
    spread = type_ == 1 ? 1.0f : 2.0f;
    sizeBase = 10.0f;
    type = type_;
    const float h0 = static_cast<float>(Rand() / 5214.354);
    for (int i = 0; i < SWARM_MEMBERS; ++i) {
        x[i] = F32(F32(Rand() / 16383.5) + F32(centreX - 1.0));
        z[i] = F32(F32(Rand() / 16383.5) + F32(centreZ - 1.0));
        y[i] = F32(F32(Rand() / 81917.5) + F32(centreY - 0.2));
        size[i] = F32(F32(F32(Rand() / 3276700.0) + 0.02) * sizeBase);
        heading[i] = F32(F32(Rand() / 81917.5) + F32(h0 - 0.4));
        pitch[i] = FULL_TURN;
        lag[i] = 0;
    }
}

void InsectSwarm::Update() {
    if (type != 1 && type != 2) return;  // no spread to keep to
    if (!StepDue(lastTick, 100)) return;

    if (Rand() < 5000) targetPitch = F32(F32(Rand() / 57688.380281690144) + 6.0);
    if (Rand() < 5000) {
        leader = Rand() / 8191;
        if (leader >= SWARM_MEMBERS) leader = SWARM_MEMBERS - 1;
        targetHeading = F32(Rand() / 5214.35391470401);
        for (int q = 0; q < SWARM_MEMBERS; ++q) {
            const double d = F32(Distance3D(x[q], y[q], z[q], x[leader], y[leader], z[leader]));
            lag[q] = d > 1.0 ? 1.0 : d;
        }
    }
    const double divisor = type == 1 ? 5.0 : 10.0;
    const int L = leader;

    for (int q = 0; q < SWARM_MEMBERS; ++q) {
        speed[q] = F32(F32(Distance3D(x[q], y[q], z[q], x[L], y[L], z[L])) / divisor);
        if (lag[q] > 0) lag[q] = F32(lag[q] - F32(speed[q] * 100));
        if (lag[q] > 0) continue;
        double ahead, behind;
        AheadBehind(heading[q], heading[L], &ahead, &behind);
        if (ahead > 0.1 && behind > 0.1) {
            if (ahead > behind) heading[q] = F32(heading[q] + speed[q]);
            else if (ahead < behind) heading[q] = F32(heading[q] - speed[q]);
            else heading[q] = heading[L];
        } else {
            heading[q] = heading[L];
        }
        heading[q] = WrapHeading(heading[q]);
        if (pitch[q] < targetPitch) pitch[q] = F32(pitch[q] + speed[q]);
        else if (pitch[q] > targetPitch) pitch[q] = F32(pitch[q] - speed[q]);
    }

    // Pitch FULL_TURN is level flight: the vertical part is cos(pitch - 3/2 pi).
    auto move = [this](int q, double s, double horizontalScale) {
        const double tilt = F32(pitch[q] - 4.712388975);
        const double vertical = F32(F32(std::cos(tilt)) * s);
        const double horizontal = F32(F32(std::cos(F32(1.570796325 - tilt))) * F32(horizontalScale * s));
        x[q] = F32(x[q] + F32(F32(std::sin(heading[q])) * horizontal));
        y[q] = F32(y[q] + vertical);
        z[q] = F32(z[q] + F32(F32(std::cos(heading[q])) * horizontal));
    };
    for (int q = 0; q < SWARM_MEMBERS; ++q)
        if (q != L) move(q, speed[q], 1.0);

    double ahead, behind;
    AheadBehind(heading[L], targetHeading, &ahead, &behind);
    if (ahead > 0.1 && behind > 0.1 && y[L] < -0.5) {
        const double turn = F32(10 * speed[1]);
        if (ahead > behind) heading[L] = F32(heading[L] + turn);
        else if (ahead < behind) heading[L] = F32(heading[L] - turn);
    } else {
        heading[L] = targetHeading;
    }
    // The leader moves at member 1's step, whichever member leads.
    move(L, speed[1], 2.0);

    if (x[L] < centreX - spread || x[L] > centreX + spread || z[L] < centreZ - spread ||
        z[L] > centreZ + spread) {
        HeadingPitch hp;
        targetHeading = F32(HeadingAndPitchBetween(&hp, x[L], y[L], z[L], centreX, centreY, centreZ)->heading);
        if (targetHeading > FULL_TURN) targetHeading = F32(targetHeading - FULL_TURN);
    }

    const double top = F32(centreY + F32(3.0 * spread));
    for (int q = 0; q < SWARM_MEMBERS; ++q) {
        x[q] = Clamp(x[q], centreX - spread, centreX + spread);
        z[q] = Clamp(z[q], centreZ - spread, centreZ + spread);
        if (y[q] > top) {
            pitch[q] = F32(pitch[q] + 0.1);
            y[q] = F32(y[q] - speed[q]);
            targetPitch = 6.4;
        }
        if (y[q] < -0.2) {
            y[q] = -0.2;
            pitch[q] = F32(pitch[q] - 0.1);
            y[q] = F32(y[q] + speed[q]);
            targetPitch = 6.0;
        }
    }
}

// ---- bubble spot ----

BubbleSpot::BubbleSpot() : lastTick(plat::GetTickCount()) {}

void BubbleSpot::Start(double x_, double y_, double z_) {
    x = x_;
    y = y_;
    z = z_;
    startY = y_;
    riseSpeed = F32(F32(Rand() / 163835.0) + 0.1);
    active = 1;
    wait = F32(F32(Rand() / 655.0) + 50);
    surfaced = 0;
}

void BubbleSpot::Update() {
    if (!StepDue(lastTick, 50)) return;
    wait = F32(wait - 1);
    if (wait < 0) y = F32(y + F32(riseSpeed / 2));
    if (y > -0.2) {
        y = startY;
        wait = F32(F32(Rand() / 655.0) + 50);
        surfaced = 1;
    } else {
        surfaced = 0;
    }
}

// ---- dragonfly ----

Dragonfly::Dragonfly() : lastTick(plat::GetTickCount()) {}

void Dragonfly::Start(double x_, double y_, double z_) {
    active = 1;
    x = homeX = x_;
    y = homeY = y_;
    z = homeZ = z_;
    range = 3.0;
    vx = F32(Rand() / 327670.0);
    vy = F32(Rand() / 327670.0);
    vz = F32(Rand() / 327670.0);
}

void Dragonfly::Update() {
    if (!StepDue(lastTick, 100)) return;
    x = F32(x + vx);
    y = F32(y + vy);
    z = F32(z + vz);
    if (Rand() < 10000) {
        vx = F32(F32(Rand() / 16383.0) - 1);
        vy = F32(F32(Rand() / 16383.0) - 1);
        vz = F32(F32(Rand() / 16383.0) - 1);
    }
    x = Clamp(x, F32(homeX - range), F32(homeX + range));
    z = Clamp(z, F32(homeZ - range), F32(homeZ + range));
    y = Clamp(y, 0.2, 4);
}
