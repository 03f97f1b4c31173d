// The per-frame fish school pass (spooking, feeding, takes, hook pulls, bite indication), and the
// drawing of fish bodies with their fins, mouth and tail.
#include <cmath>
#include "world/lake_view.h"
#include "common/angles.h"
#include "common/single_precision.h"
#include "gfx/geometry.h"
#include "platform/system.h"
#include "shell/game_app.h"

namespace {
int R() { return plat::GameRand(); }

constexpr int32_t SPOOK_RADIUS = 5;
constexpr int32_t SPOOK_RADIUS_PLAYING = 10;
constexpr int32_t BITE_FRAMES = 50;

// Fear of a fish that lost the hook or dropped a take.
constexpr double HOOK_FRIGHT = 1000;

// The shape factor as a drawing divisor: a fish without one is drawn at an even scale.
double ShapeDivisor(double shapeFactor) { return shapeFactor == 0.0 ? 30.0 : shapeFactor; }

// Preferred depth level of a fish drawn to `item`.
double DepthLayerFor(const BaitAttraction& item, int32_t method, int32_t floatDepth) {
    auto byBait = [](int32_t bait) {
        switch (bait) {
            case 3: case 4: return 1.0;
            case 10: case 11: return 5.0;
            case 12: case 13: return 3.0;
            default: return 10.0;  // 1, 2, 5..9
        }
    };
    if (item.type == BAIT_HOOK) {
        if (method >= 1 && method <= 4) return 10;
        if (method == 5) return floatDepth == 1 ? 1 : floatDepth == 2 ? 5 : 10;
        if (method == 6) return 1;
        return byBait(item.bait);
    }
    if (item.type == BAIT_LOOSE_FEED) return byBait(item.bait);
    // groundbait and natural feed
    if (item.bait == 1 || item.bait == 2) return 10;
    return item.bait == 3 ? 7 : 9;
}
}  // namespace

void GameApp::UpdateFishSchool() {
    biteSignal[0] = biteSignal[1] = 0;

    for (const auto& spot : NATURAL_FEED_SPOTS) {
        if (R() < 10) SpawnBaitAttraction(spot[0], 0.0f, spot[1], BAIT_GROUNDBAIT, 0, 0, 0.0, 0, 0, NATURAL_FEED_BAIT);
    }
    const double spookRadius = playedFish >= NO_FISH ? SPOOK_RADIUS : SPOOK_RADIUS_PLAYING;

    for (int32_t i = 0; i < FISH_COUNT; ++i) {
        Fish& f = *fish[i];
        if (!f.active || f.state == FISH_LANDED) continue;

        if (f.state == FISH_CRUISE && gameMode == MODE_FISHING) {
            const double d = F32(Distance3D(f.x, f.y, f.z, eyeX, eyeY, eyeZ));
            if (d < spookRadius) {
                f.fear = F32(d * 200.0);
                f.state = FISH_FLEE;
                f.calmSpeed = 0.1;
                f.speed = 0.3;
            }
        }
        if (f.feedCount > 50) {
            f.feedCount = 0;
            f.feedPause = 50;
        }
        f.takeValue[0] = f.takeValue[1] = 0;
        f.lineLoad = linePull;

        if (i == rodFish[0] || i == rodFish[1]) UpdateFishOnLine(i);

        f.nextX = F32(f.x + F32(F32(std::sin(f.heading)) * f.speed));
        f.nextZ = F32(f.z + F32(F32(std::cos(f.heading)) * f.speed));
        f.bottomY = HighestCornerUnder(*lakeView, f.nextX, f.nextZ);

        f.Update();

        SpawnFishSurfaceEffects(f);
        SpawnFeedingBubblesOf(f);
        if (f.y > -1 || viewZoom > 4 || gameMode == MODE_DUCK || gameMode == MODE_TOUR) DrawSchoolFish(f);

        for (int rod = 0; rod < ROD_COUNT; ++rod) {
            if (!rodHasFish[rod]) continue;
            BaitAttraction* item = RodHookBait(rod);
            if (item) item->hookWear = F32(item->hookWear + F32(F32(R() / 3276700.0) * F32(lineTension / 5.0)));
        }
        if (f.fear <= 0 && !f.hasBeenHooked) ChooseBait(f);
        DisturbByItems(f);
        if (f.appetite > 10 && f.state == FISH_CRUISE) {
            for (int rod = 0; rod < ROD_COUNT; ++rod) TryTake(i, rod);
        }
    }

    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        if (rodFish[rod] < NO_FISH && !rodHasFish[rod] && fishingState < FISHING_FISH_LANDED) {
            biteSignal[rod] = 1;
            biteCountdown[rod] = BITE_FRAMES;
        }
    }
    for (int rod = 0; rod < ROD_COUNT; ++rod) MoveBiteIndicator(rod);
    for (int rod = ROD_COUNT - 1; rod >= 0; --rod)
        if (biteCountdown[rod] > 0) --biteCountdown[rod];
    device->SetTexture(0, nullptr);
    for (BaitAttraction* item : baitAttractions)
        if (item->active) item->Update();
}

BaitAttraction* GameApp::RodHookBait(int rod) const {
    const int32_t item = rodBaitItem[rod];
    return item >= 0 && item < BAIT_ITEM_COUNT ? baitAttractions[item] : nullptr;
}

void GameApp::UpdateFishOnLine(int32_t i) {
    Fish& f = *fish[i];
    if (!f.runSwitched && R() < 5000) {
        const HeadingPitch away = HeadingAndPitchTo(eyeX, 0, eyeZ, f.x, 0, f.z);
        f.runHeading = F32(F32(away.heading - 0.3) + F32(R() / 54611.66666666667));
    }
    // A take nobody struck may be dropped. A fish that took both hook baits and is played on the
    // other rod only lets go of this one's: it stays on the line it is played on. Otherwise it
    // flees, and lets go of the other rod's take too.
    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        if (rodFish[rod] != i || rodHasFish[rod]) continue;
        const BaitAttraction* item = RodHookBait(rod);
        if (item && R() < F32(item->takeEase * 10.0)) {
            const int other = 1 - rod;
            rodFish[rod] = NO_FISH;
            if (!(rodFish[other] == i && rodHasFish[other])) {
                PutToFlight(f, HOOK_FRIGHT);
                LetGoOfUnplayedTakes(i);
            }
        }
    }
    // A played fish may shed the hook: worn hold, or the line's tension.
    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        if (i != playedFish || !rodHasFish[rod]) continue;
        BaitAttraction* item = RodHookBait(rod);
        if (!item) continue;
        int32_t reason = 0;
        if (R() < F32(item->hookWear / 4.0)) reason = 1;
        if (R() < F32(F32(item->pullRisk / 4.0) * F32(lineTension * 5.0))) reason = 2;
        if (reason == 0) continue;
        PutToFlight(f, HOOK_FRIGHT);
        item->x = static_cast<float>(f.x);
        item->z = static_cast<float>(f.z);
        rodHasFish[rod] = 0;
        rodStruck[rod] = 0;
        rodFish[rod] = NO_FISH;
        LetGoOfUnplayedTakes(i);
        fishLost = 1;
        lossReason = reason;
    }
}

void GameApp::LetGoOfUnplayedTakes(int32_t i) {
    for (int rod = 0; rod < ROD_COUNT; ++rod)
        if (rodFish[rod] == i && !rodHasFish[rod]) rodFish[rod] = NO_FISH;
}

void GameApp::SpawnFishSurfaceEffects(Fish& f) {
    if ((f.state == FISH_ROLL || f.state == FISH_LEAP) && f.climbRate < 0 && f.y > -1 && f.breached) {
        for (int k = 0; k < 6; ++k) SpawnRippleRing(f.x, 0, f.z, F32(0.25 + F32(R() / 32767.0)));
        if (f.splashCooldown == 0) {
            double d = F32(50.0 * F32(Distance3D(eyeX, 0, eyeZ, f.x, 0, f.z)));
            if (d > 5000) d = 5000;
            PlaySplosh(-static_cast<int32_t>(d));
            f.splashCooldown = 20;
        }
    } else if (f.state == FISH_NETTED) {
        for (int k = 0; k < 3; ++k) SpawnRippleRing(f.x, 0, f.z, F32(0.25 + F32(R() / 65534.0)));
    } else if (f.state == FISH_HOOKED && f.longRunTicks > 0 && f.y > -1.5) {
        for (int k = 0; k < 3; ++k) SpawnRippleRing(f.x, 0, f.z, F32(0.25 + F32(R() / 32767.0)));
    }
    if (f.y > F32(-f.bodyDepth / 1.55) && R() < 15000 && !f.blocked) {
        SpawnWake(f.x, 0, f.z, F32(0.05 + F32(R() / 163835.0)), f.heading);
    }
}

void GameApp::SpawnFeedingBubblesOf(Fish& f) {
    if (!(R() < F32(f.appetite * 20.0))) return;
    if (f.hasBeenHooked || !(f.y < F32(f.bottomY + 3.0))) return;
    if (f.targetItem < 0 || f.targetItem >= BAIT_ITEM_COUNT) return;
    const BaitAttraction& item = *baitAttractions[f.targetItem];
    if (!(F32(Distance2D(f.x, f.z, item.x, item.z)) < 5)) return;
    const int32_t n = R() / 6553 + 3;
    const double reach = F32(f.size / 35.0);
    for (int32_t k = 0; k <= n; ++k) {
        if (R() < 16383) {
            const double speed = F32(0.1 + F32(R() / 131068.0));
            const double dz = F32(F32(-0.025) + F32(R() / 655340.0));
            const double dx = F32(F32(-0.025) + F32(R() / 655340.0));
            SpawnFeedingBubble(F32(F32(f.x + F32(F32(std::sin(f.heading - 0.1)) * reach)) + dx), f.y,
                               F32(F32(f.z + F32(F32(std::cos(f.heading - 0.1)) * reach)) + dz), speed);
        } else {
            const double speed = F32(0.1 + F32(R() / 131068.0));
            SpawnFeedingBubble(F32(f.x + F32(F32(std::sin(f.heading + 0.1)) * reach)), f.y,
                               F32(f.z + F32(F32(std::cos(f.heading + 0.1)) * reach)), speed);
        }
    }
}

void GameApp::ChooseBait(Fish& f) {
    int32_t best = NO_ITEM;
    double bestScore = 0;
    double bestDistance = 0;
    for (int32_t n = 0; n < BAIT_ITEM_COUNT; ++n) {
        const BaitAttraction& item = *baitAttractions[n];
        if (!item.active || !(item.strength > 0) || item.taken || f.feedPause != 0) continue;
        const double d = F32(Distance2D(item.x, item.z, f.x, f.z));
        if (!(d < item.attractRadius)) continue;
        const double score = F32(F32(50.0 - d) + F32(item.strength / 5.0));
        if (score > bestScore) {
            bestScore = score;
            best = n;
            bestDistance = d;
        }
    }
    f.targetItem = best;
    if (best == NO_ITEM) return;
    f.feeding = 1;
    BaitAttraction& item = *baitAttractions[best];
    if (!(F32(item.strength * 5.0) > item.scare) || f.turningLeft || f.turningRight) return;

    const double d = bestDistance;
    f.depthLayer = DepthLayerFor(item, method, floatDepth);
    const double aim = HeadingAndPitchTo(f.x, 0, f.z, item.x, 0, item.z).heading;
    const TurnStepCounts steps = CountTurnSteps(f.heading, aim, 0.01, 0.1);
    double rate = F32(d / 20.0);
    if (rate < 0.02) rate = 0.02;
    if (rate > 0.3) rate = 0.3;
    if (std::fabs(F32(f.heading - aim)) > 0.3) {
        f.heading = steps.down < steps.up ? F32(f.heading - rate) : F32(f.heading + rate);
    } else {
        f.heading = F32(aim);
    }
    f.speed = F32((101.0 - d) / 1000.0);
    f.appetite = F32(F32(f.appetite + F32((100.0 - d) / 100.0)) + F32(item.strength / 10.0));
    if (f.appetite > item.strength) f.appetite = item.strength;
    if (f.appetite < -10) f.appetite = -10;
    if ((item.type == BAIT_GROUNDBAIT || item.type == BAIT_LOOSE_FEED) && d < 10) {
        // A fish standing on the item eats without a distance to divide by.
        if (d > 0) item.strength = F32(item.strength - F32(f.appetite / F32(d * 2000.0)));
        f.feedPause = 0;
        f.feedCount = 0;
        f.feeding = 0;
    }
}

void GameApp::DisturbByItems(Fish& f) {
    for (int32_t n = 0; n < BAIT_ITEM_COUNT; ++n) {
        const BaitAttraction& item = *baitAttractions[n];
        if (!item.active || !(item.strength > 0) || item.taken) continue;
        const double d = F32(Distance2D(item.x, item.z, f.x, f.z));
        if (d == 0 || !(d < item.scareRadius)) continue;  // no distance to divide by
        const double fright = F32(item.scare / F32(5.0 * d));
        const double lure = F32(item.strength / F32(5.0 * d));
        const int32_t k = static_cast<int32_t>(F32(F32(item.scareRadius + 1.0) - d));
        if (fright > lure && f.state == FISH_FLEE && item.type != BAIT_HOOK && lure > 0) {
            f.speed = F32(f.calmSpeed * 5.0);
            f.fear = F32(f.fear + F32(k * F32(item.scare - item.strength)));
        }
        // A fish on a line (hooked by its own take, before its first fighting tick) or in the net
        // is not put to flight by an item.
        const bool onLine = f.state == FISH_HOOKED || f.state == FISH_NETTED;
        if (fright > lure && f.state != FISH_FLEE && lure > 0 && !f.hasBeenHooked && !onLine) {
            f.calmSpeed = f.speed;
            f.speed = F32(f.speed * 5.0);
            f.state = FISH_FLEE;
            f.fear = F32(2.0 * k * F32(item.scare - item.strength));
            f.confidence = F32(f.confidence + F32((k / 30) - f.fear));
        }
        if (lure > fright && d < item.attractRadius) f.confidence = F32(f.confidence + F32((k / 10) - f.fear));
    }
}

void GameApp::TryTake(int32_t i, int rod) {
    Fish& f = *fish[i];
    if (!rodInWater[rod] || rodHasFish[rod] || rodFish[rod] != NO_FISH || fishingState == FISHING_ROD_IN_HAND) return;
    const BaitAttraction* bait = RodHookBait(rod);
    if (!bait) return;
    const double d = F32(Distance2D(f.x, f.z, hookBaitPos[rod][0], hookBaitPos[rod][1]));
    const double dy = std::fabs(F32(hookBaitHeight[rod] - f.y));
    if (!(d < 2)) return;
    const double score = TakeScore(f, *bait, d, dy, R());
    auto threshold = [&](double a, double b) { return TakeThreshold(f, *bait, a, b); };
    if (!(score > threshold(40, 50)) || bait->taken) return;
    f.takeValue[rod] = score;
    biteSignal[rod] = 1;
    biteCountdown[rod] = BITE_FRAMES;
    bool hooks = score > threshold(48, 50);
    if (method >= 1 && method <= 3 && score > (rod == 0 ? threshold(46, 43) : threshold(43, 50))) hooks = true;
    if (method == 6 && score > (rod == 0 ? threshold(50, 45) : threshold(45, 50))) hooks = true;
    if (hooks) {
        rodFish[rod] = i;
        f.state = FISH_HOOKED;
    }
}

double TakeScore(const Fish& f, const BaitAttraction& bait, double d, double dy, int r) {
    double score = F32(F32(10.0 - F32(d + dy)) * 5.0);
    score = F32(score + F32(f.appetite / 10.0));
    score = F32(score + F32(bait.strength / 2.0));
    score = F32(score + F32(r / 6553.4));
    score = F32(score - F32(bait.tackleScare / 5.0));
    return F32(score - bait.coverBonus);
}

double TakeThreshold(const Fish& f, const BaitAttraction& bait, double a, double b) {
    const double s = f.size > 30 ? F32(f.size / 4.0) : F32(f.size / 5.0);
    return F32(F32(a + s) - F32(F32(b - bait.takeEase) / 10.0));
}

void GameApp::MoveBiteIndicator(int rod) {
    const BaitAttraction* bait = RodHookBait(rod);
    if ((method >= 1 && method <= 4) || method == 7) {
        double& upper = biteIndicatorUpper[rod];
        double& lower = biteIndicatorLower[rod];
        if (biteSignal[rod]) {
            if (upper < 5.3) upper = F32(upper + 0.3);
            if (lower > 4.5) lower = F32(lower - 0.3);
        } else {
            if (upper > 4.5) upper = F32(upper - 0.2);
            if (lower < 5.5) lower = F32(lower + 0.2);
        }
    } else if (method == 5 || method == 6) {
        double& dip = floatDip[rod];
        if (biteSignal[rod]) {
            if (dip < 0.4) {
                dip = F32(dip + 0.03);
                const int rings = method == 5 ? 2 : 4;
                for (int k = 0; k < rings; ++k) {
                    const double size = method == 5 ? F32(0.2 + F32(R() / 163835.0)) : F32(0.4 + F32(R() / 81917.5));
                    if (bait) SpawnRippleRing(bait->x, 0, bait->z, size);
                }
            }
        } else if (dip > 0) {
            dip = F32(dip - 0.06);
        } else {
            dip = 0;
        }
    }
}

void GameApp::DrawFishBody(int32_t kind) {
    TextureName skin = TEXTURE_COUNT;
    static const TextureName NAMED_SKINS[27] = {
        TEX_CARP1,  TEX_CARP2,  TEX_CARP3,  TEX_CARP4,  TEX_CARP5,  TEX_CARP6,  TEX_CARP7,  TEX_CARP8,  TEX_CARP9,
        TEX_CARP10, TEX_CARP11, TEX_CARP12, TEX_CARP13, TEX_CARP14, TEX_CARP15, TEX_CARP16, TEX_CARP17, TEX_CARP18,
        TEX_CARP19, TEX_CARP20, TEX_CARP21, TEX_CARP22, TEX_CARP23, TEX_CARP24, TEX_CARP25, TEX_CARP26, TEX_CARP27};
    static const TextureName OTHER_SKINS[5] = {TEX_COMMON, TEX_MIRROR, TEX_MIRROR2, TEX_MIRROR3, TEX_MIRROR4};
    if (kind >= 1 && kind <= 27) skin = NAMED_SKINS[kind - 1];
    if (kind >= 28 && kind <= 32) skin = OTHER_SKINS[kind - 28];
    if (skin != TEXTURE_COUNT) device->SetTexture(0, textures[skin]);
    device->SetFVF(plat::FVF_MESH);
    if (!fishBodyMesh) return;
    device->SetStreamSource(0, fishBodyMesh, 0, 32);
    for (int s = 0; s < 6; ++s) device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 12 * s, 10);
    for (int s = 0; s < 6; ++s) device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 72 + 4 * s, 2);
}

void GameApp::DrawFishParts(plat::VertexBuffer* mesh, TextureName texture, bool bindTexture, FishPart part) {
    if (bindTexture) device->SetTexture(0, textures[texture]);
    if (!mesh) return;
    device->SetFVF(plat::FVF_MESH);
    device->SetStreamSource(0, mesh, 0, 32);
    switch (part) {
        case FISH_PART_FIN: device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 0, 2); break;
        case FISH_PART_MOUTH: device->DrawPrimitive(plat::PT_TRIANGLEFAN, 0, 6); break;
        case FISH_PART_TAIL:
            device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 0, 2);
            device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 4, 2);
            break;
    }
}

void GameApp::DrawSchoolFish(const Fish& f) {
    DrawFishFigure(f.x, f.y, f.z, f.pitch, f.heading, f.size, f.shapeFactor, f.kind, f.tailSwing);
}

void GameApp::DrawFishFigure(double x, double y, double z, double pitch_, double heading_, double size,
                             double shapeFactor, int32_t kind, double tailSwing) {
    const double across = size / ShapeDivisor(shapeFactor);
    const double along = size / 30.0;
    const double tilt = pitch_ - 4.712388975;
    const double a = std::cos(tilt) * size / 60.0;
    const double c = std::cos(1.570796325 - tilt) * size / 60.0;
    const double a2 = std::cos(tilt) * size / 22.3;
    const double c2 = std::cos(1.570796325 - tilt) * size / 22.3;

    SetWorldTransform(x, y, z, pitch_, heading_, 0, across, across, along);
    DrawFishBody(kind);
    SetWorldTransform(x + std::sin(heading_ + 6.15) * c, y - size / 200.0 + a, z + std::cos(heading_ + 6.15) * c, pitch_,
                      heading_, tailSwing, along, across, along);
    DrawFishParts(fishLeftFinMesh, TEX_PEC1, true, FISH_PART_FIN);
    SetWorldTransform(x + std::sin(heading_ + 0.179) * c, y - size / 200.0 + a, z + std::cos(heading_ + 0.179) * c, 0,
                      heading_, -tailSwing, along, across, along);
    DrawFishParts(fishRightFinMesh, TEX_PEC1, false, FISH_PART_FIN);
    SetWorldTransform(x, y, z, pitch_, heading_, 0, along, across, along);
    DrawFishParts(fishMouthMesh, TEX_MOUTH, true, FISH_PART_MOUTH);
    SetWorldTransform(x - std::sin(heading_) * c2, y + size / 200.0 - a2, z - std::cos(heading_) * c2, pitch_,
                      heading_ + 2.0 * tailSwing - 0.4, 0, along, across, along);
    DrawFishParts(fishTailMesh, TEX_TAIL, true, FISH_PART_TAIL);
}

void GameApp::DrawRecordsFishModel(int32_t kind, double shapeFactor, double size) {
    const double s = 2.0 * size;
    const double angle = recordsModelAngle;
    const double sf = ShapeDivisor(shapeFactor);
    if (!(s > 0.0)) {  // nothing to draw without a size (0, negative or no number); the model still turns
        recordsModelAngle = F32(recordsModelAngle + 0.01);
        return;
    }
    const double h = std::cos(-0.0008147) * s / 2.0 / 60.0;
    const double t = std::cos(-0.0008147) * 15.0 / (s / 1.35);
    const double length = 15.0 / (s / 1.5);
    const double fin = 15.0 / s;

    SetWorldTransform(101, 1000, 103, 0, angle, 0, length, 15.0 / sf, fin);
    DrawFishBody(kind);
    const double finY = 1000.0 - (30.0 / sf) / 15.0;
    SetWorldTransform(101 + std::sin(angle + 6.15) * h, finY, 103 + std::cos(angle + 6.15) * h, FULL_TURN, angle, 0.3,
                      fin, fin, fin);
    DrawFishParts(fishLeftFinMesh, TEX_PEC1, true, FISH_PART_FIN);
    SetWorldTransform(101 + std::sin(angle + 0.179) * h, finY, 103 + std::cos(angle + 0.179) * h, 0, angle, -0.3, fin,
                      fin, fin);
    DrawFishParts(fishRightFinMesh, TEX_PEC1, false, FISH_PART_FIN);
    SetWorldTransform(101, 1000, 103, FULL_TURN, angle, 0, length, 15.0 / sf, fin);
    DrawFishParts(fishMouthMesh, TEX_MOUTH, true, FISH_PART_MOUTH);
    const double tailY = 1000.0 + 15.0 / ((30.0 / s) * 200.0) + std::cos(1.5716110250000002) * 1.35;
    SetWorldTransform(101 - std::sin(angle) * t, tailY, 103 - std::cos(angle) * t, FULL_TURN, angle, 0, length,
                      15.0 / sf, fin);
    DrawFishParts(fishTailMesh, TEX_TAIL, true, FISH_PART_TAIL);
    recordsModelAngle = F32(recordsModelAngle + 0.01);
}
