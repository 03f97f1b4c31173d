// The rod in the angler's hand: clutch, drag, bend and line tension while a fish is played, the
// surges of a thrashing fish, the rod drawn segment by segment, and the tension dial.
#include <algorithm>
#include <cmath>
#include "fishing/fight_rules.h"
#include "common/angles.h"
#include "common/single_precision.h"
#include "gfx/geometry.h"
#include "platform/system.h"
#include "shell/game_app.h"

namespace {
constexpr int32_t ROD_SEGMENTS = 12;
constexpr uint32_t ROD_TICK_MS = 101;
// Segment i (1..11) to i + 1: its length and the divisor of its lag toward the fish.
constexpr double SEGMENT_LENGTH[11] = {0.24, 0.24, 0.24, 0.24, 0.24, 0.24, 0.23, 0.21, 0.2, 0.19, 0.18};
constexpr double LAG_DIVISOR[11] = {13, 12, 11, 10, 9, 8, 7, 6, 5.5, 5, 4.5};
// Segment scales, segments 1..12: across (x and z) and along (y).
constexpr double SEGMENT_SCALE[12][2] = {{0.012, 0.025}, {0.011, 0.0245}, {0.01, 0.024},  {0.009, 0.0245},
                                         {0.008, 0.0245}, {0.0075, 0.024}, {0.007, 0.023}, {0.006, 0.021},
                                         {0.005, 0.02},   {0.004, 0.019},  {0.003, 0.0175}, {0.002, 0.0165}};
constexpr double TIP_LENGTH = 0.17;

bool SegmentHasRing(int segment) { return segment == 12 || (segment >= 3 && segment <= 11 && segment % 2 == 1); }
}  // namespace

RodReelFactors RodReelFactorsFor(int32_t rodReel) {
    static const RodReelFactors FACTORS[4] = {{1.0, 1.0}, {1.1, 1.25}, {1.2, 1.5}, {1.3, 1.75}};
    if (rodReel < 1 || rodReel > 4) return FACTORS[0];
    return FACTORS[rodReel - 1];
}

void GameApp::UpdateAndDrawPlayingRod() {
    const uint32_t now = plat::GetTickCount();
    const bool tick = now - rodTickStamp >= ROD_TICK_MS;
    if (tick) rodTickStamp = now;

    const double buttX = F32(eyeX + F32(2.0 * F32(std::sin(heading + 0.2))));
    const double buttY = F32(F32(eyeY - 1.3) + (onPlatform ? 0.2 : 0.0));
    const double buttZ = F32(eyeZ + F32(2.0 * F32(std::cos(heading + 0.2))));

    int32_t played = NO_FISH;
    if (rodHasFish[0]) played = rodFish[0];
    if (rodHasFish[1]) played = rodFish[1];
    playedFish = played;

    const double entryPitch = rodPitch;
    const RodReelFactors factors = RodReelFactorsFor(rodReel);
    double bend = 0.0001;
    double surge = 1.0;
    double stiffness = 0.0;
    if (played < 0 || played >= FISH_COUNT) {
        fishBearing = rodYaw;
        rodPitch = 0.4;
    } else {
        const Fish& f = *fish[played];
        const HeadingPitch toFish = HeadingAndPitchTo(buttX, buttY, buttZ, f.x, f.y, f.z);
        fishBearing = F32(toFish.heading - heading);
        if (fishBearing > 0) fishBearing = F32(fishBearing - FULL_TURN);
        const double d = F32(Distance3D(buttX, buttY, buttZ, f.x, f.y, f.z));
        const double load = F32(F32((7.0 - toFish.pitch) / 12.0) + F32((200.0 - d) / 5000.0));
        const double step = F32(F32(load * 100.0) + 1.0);
        if (leftButtonDown == 1 && clutch > 0) clutch = F32(clutch - step);
        if (rightButtonDown == 1 && clutch < 300) clutch = F32(clutch + step);
        dragEffective = F32(F32(std::min(clutch, 200.0) / 10.0) + F32(dragBase / 10.0));
        bend = F32(F32(F32(dragEffective / 300.0) + F32((7.0 - toFish.pitch) / 30.0)) + F32((200.0 - d) / 30000.0));
        const double pull = F32(F32(F32(std::fabs(F32(fishBearing - rodYaw)) / 20.0) + F32((1.0 - rodPitch) / 30.0)) +
                                F32(dragEffective / 300.0));
        lineTension = F32(F32(F32(2.0 * pull) * factors.tension) / 3.0);

        if (f.thrashing && surgeTarget == 0 && tick) {
            const double reach = F32(F32(Distance3D(eyeX, 2.0, eyeZ, f.x, f.y, f.z)) * 30.0);
            surgeTarget = reach > 0 ? F32(F32(1.0 - F32(F32(rodPitch + rodYaw) / 2.0)) / reach) : 0.0;
            surgeDirection = plat::GameRand() < 17500;
            surgeProgress = 0;
        }
        if (surgeProgress >= surgeTarget) {
            surgeTarget = 0;
        } else {
            surgeProgress = F32(surgeProgress + 0.0005);
            const double g = F32((0.7 - rodPitch) / 50.0);
            const double lift = F32(F32(2.0 * F32(1.0 - rodPitch)) * surgeProgress);
            const double sway = F32(F32(std::fabs(rodYaw) * surgeProgress) * 100.0);
            if (surgeDirection) {
                bend = F32(bend + lift);
                surge = F32(1.0 - sway);
            } else {
                bend = F32(bend - lift);
                surge = F32(1.0 + sway);
            }
            if (surge > 1) surge = F32(surge + g);
            if (surge < 1) surge = F32(surge - g);
        }
        bend = F32(std::min(bend, load) - F32(rodPitch / 10.0));
        stiffness = F32(factors.stiffness * surge);
    }
    if (bend < 0) bend = 0;
    DrawHeldRod(buttX, buttY, buttZ, entryPitch, bend, stiffness);
}

void GameApp::DrawHeldRod(double x, double y, double z, double q, double bend, double stiffness) {
    double w = rodYaw;
    auto drawSegment = [&](int segment) {
        const double across = SEGMENT_SCALE[segment - 1][0];
        SetWorldTransform(x, y, z, q, w + heading, 0, across, SEGMENT_SCALE[segment - 1][1], across);
        DrawMeshPart(rodSectionMesh, TEX_3DROD, plat::PT_TRIANGLESTRIP, 0, 16);
        if (SegmentHasRing(segment)) DrawMeshPart(rodSectionMesh, TEX_RING, plat::PT_TRIANGLESTRIP, 18, 2);
        DrawMeshPart(rodSectionMesh, TEX_LINE2, plat::PT_TRIANGLESTRIP, 22, 2);
        DrawMeshPart(rodSectionMesh, TEX_LINE2, plat::PT_TRIANGLESTRIP, 26, 2);
    };
    drawSegment(1);
    for (int i = 1; i < ROD_SEGMENTS; ++i) {
        const double len = SEGMENT_LENGTH[i - 1];
        y = F32(y + F32(F32(std::sin(F32(1.571 - q))) * len));
        const double hz = F32(F32(std::sin(q)) * len);
        if (i >= 4) bend = F32(bend + 0.02);
        q = F32(q + bend);
        x = F32(x + F32(F32(std::sin(w + heading)) * hz));
        z = F32(z + F32(F32(std::cos(w + heading)) * hz));
        // A surge can take the stiffness through 0: that segment does not lag.
        const double divisor = F32(stiffness * LAG_DIVISOR[i - 1]);
        if (std::fabs(divisor) > 1e-6) {
            if (w < fishBearing) {
                w = F32(w + F32(F32(F32(dragEffective / 100.0) + F32(fishBearing - w)) / divisor));
            } else if (w > fishBearing) {
                w = F32(w - F32(F32(F32(dragEffective / 100.0) + F32(w - fishBearing)) / divisor));
            }
        }
        drawSegment(i + 1);
    }
    q = F32(q + F32(bend / 2.0));
    y = F32(y + F32(F32(std::sin(F32(1.571 - q))) * TIP_LENGTH));
    const double hz = F32(F32(std::sin(q)) * TIP_LENGTH);
    rodTipX = F32(x + F32(F32(std::sin(w + heading)) * hz));
    rodTipY = y;
    rodTipZ = F32(z + F32(F32(std::cos(w + heading)) * hz));
    device->SetTexture(0, nullptr);
}

void GameApp::UpdateTensionDialAndViewLock() {
    const bool fishOn = rodHasFish[0] || rodHasFish[1];
    if (!fishOn) return;
    if (fishingState < FISHING_FISH_LANDED) {
        const double a = F32(7.855 - pitch);
        const double dx = F32(std::sin(heading + 0.4));
        const double dz = F32(std::cos(heading + 0.4));
        auto quad = [&](double reach, double lift, double roll, double scale, TextureName texture) {
            const double out = F32(F32(std::sin(a)) * reach);
            SetWorldTransform(F32(eyeX + F32(dx * out)), F32(F32(eyeY - F32(F32(std::cos(a)) * reach)) + lift),
                              F32(eyeZ + F32(dz * out)), pitch, heading, roll, scale, scale, scale);
            DrawMeshPart(uprightQuadMesh, texture, plat::PT_TRIANGLESTRIP, 0, 2);
        };
        quad(10, 2.73, F32(F32(-15.0 * lineTension) - 0.7), 0.46, TEX_TORQUE);
        quad(9, 2.45, 0, 0.41, TEX_CAP);
        device->SetTexture(0, nullptr);
    }
    if (fishingState != FISHING_PHOTO_MODE) {
        const int32_t onLine = rodHasFish[1] ? rodFish[1] : rodFish[0];
        if (onLine >= 0 && onLine < FISH_COUNT) {
            const Fish& f = *fish[onLine];
            heading = HeadingAndPitchTo(eyeX, 0, eyeZ, f.x, 0, f.z).heading;
        }
    }
}
