// Strikes, the line from the rod tip to the played fish, the reel and clutch sounds, and the snag
// test that snaps the line.
#include <cmath>
#include "world/lake_view.h"
#include "fishing/fight_rules.h"
#include "common/angles.h"
#include "common/single_precision.h"
#include "common/sound_cue.h"
#include "gfx/geometry.h"
#include "platform/system.h"
#include "shell/game_app.h"

namespace {
// Line points drawn and tested at most: a line of any length ends here.
constexpr int32_t MAX_LINE_POINTS = 2000;
// The hut's underwater footings snag a line within this distance.
constexpr double HUT_SNAG_X = 24.9, HUT_SNAG_Y = -1.7, HUT_SNAG_Z = 24.0, HUT_SNAG_RADIUS = 2.0;

bool SnagsOnBillboard(int32_t type) {
    return type == 1 || type == 2 || type == 3 || type == 10 || type == 11 || type == 13;
}
}  // namespace

double StrikeThreshold(const Fish& f, const BaitAttraction& bait) {
    return F32(F32(42.0 + F32(f.size / 10.0)) - F32(F32(50.0 - bait.takeEase) / 10.0));
}

int32_t PickStrikeFish(Fish* const* school, int32_t count, int rod) {
    int32_t pick = NO_FISH;
    double best = 0.0;
    for (int32_t i = 0; i < count; ++i) {
        const Fish& f = *school[i];
        if (!f.active || f.state != FISH_CRUISE) continue;
        if (f.takeValue[rod] > best) {
            best = f.takeValue[rod];
            pick = i;
        }
    }
    return pick;
}

void GameApp::ResolveStrikes() {
    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        if (!rodStruck[rod]) continue;
        if (rodFish[rod] < NO_FISH) {
            rodHasFish[rod] = 1;
            continue;
        }
        const int32_t pick = PickStrikeFish(fish, FISH_COUNT, rod);
        const BaitAttraction* bait = RodHookBait(rod);
        if (pick == NO_FISH || !bait) continue;
        Fish& f = *fish[pick];
        if (StrikeThreshold(f, *bait) < f.takeValue[rod] && !bait->taken) {
            rodFish[rod] = pick;
            rodHasFish[rod] = 1;
            f.state = FISH_HOOKED;
        }
    }
}

void GameApp::RunSchoolPassAndHeldRod() {
    UpdateFishSchool();
    if (fishingState >= FISHING_FISH_LANDED) return;
    if (rodHasFish[0] || rodHasFish[1] || rodStruck[0] || rodStruck[1] || fishLost) UpdateAndDrawPlayingRod();
}

void GameApp::UpdateLineEndAndReelSounds() {
    if (playedFish < 0 || playedFish >= FISH_COUNT) return;
    const Fish& f = *fish[playedFish];
    if (rodHasFish[0] || rodHasFish[1]) {
        const double r = F32(f.size / 20.0);
        const double tilt = F32(f.pitch - FULL_TURN);
        const double level = F32(std::cos(tilt));
        lineEnd[0] = F32(f.x + F32(F32(F32(std::sin(f.heading)) * level) * r));
        lineEnd[2] = F32(f.z + F32(F32(F32(std::cos(f.heading)) * level) * r));
        lineEnd[1] = F32(f.y - F32(F32(std::sin(tilt)) * r));
        const HeadingPitch toMouth = HeadingAndPitchTo(rodTipX, rodTipY, rodTipZ, lineEnd[0], lineEnd[1], lineEnd[2]);
        const double d = F32(F32(std::tan(F32(F32(toMouth.pitch - FULL_TURN) + 1.571))) * rodTipY);
        if (std::isfinite(d)) {
            const double wx = F32(rodTipX + F32(F32(std::sin(toMouth.heading)) * d));
            const double wz = F32(rodTipZ + F32(F32(std::cos(toMouth.heading)) * d));
            for (int k = 0; k < 3; ++k) SpawnRippleRing(wx, 0, wz, F32(0.06 + F32(plat::GameRand() / 2730583.33)));
        }
    }
    lineLength = F32(F32(Distance3D(f.x, f.y, f.z, rodTipX, rodTipY, rodTipZ)) / 2.0);
    const double change = F32(lineLength - lastLineLength);
    if (std::fabs(change) > 0.1) {
        PlayFromStart(change > 0 ? clutchSound : reelSound);
        lastLineLength = lineLength;
    }
}

bool GameApp::LinePointSnags(double x, double y, double z) const {
    float ground = 0.0f;  // off the grid: level ground at the surface
    if (!MeanHeightUnder(*lakeView, x, z, &ground)) ground = 0.0f;
    if (F32(ground - 0.5) > y) return true;
    for (int32_t n = 1; n <= LAST_BILLBOARD_RECORD && n < BILLBOARD_COUNT; ++n) {
        const Billboard* b = billboards[n];
        if (!b || !b->active || !SnagsOnBillboard(b->type)) continue;
        const double r = b->size < 1.0f ? 1.0 : b->size;
        const double cy = F32(b->y + r);
        // Each axis alone already reaches the radius: no need for the distance.
        if (std::fabs(b->x - x) >= r || std::fabs(b->z - z) >= r || std::fabs(cy - y) >= r) continue;
        if (F32(Distance3D(b->x, cy, b->z, x, y, z)) < r) return true;
    }
    if (F32(Distance3D(x, y, z, HUT_SNAG_X, HUT_SNAG_Y, HUT_SNAG_Z)) < HUT_SNAG_RADIUS) return true;
    for (const SceneryItem* item : sceneryItems) {
        if (!item || !item->active) continue;
        const double d = F32(Distance2D(item->x, item->z, x, z));
        const double size = item->size;
        switch (item->type) {
            case 4: if (d < F32(size / 4.0) && y < F32(item->y + size)) return true; break;
            case 5: if (d < F32(size / 3.0) && y < F32(item->y + F32(2.0 * size))) return true; break;
            case 6: if (d < F32(size / 3.0) && y < F32(item->y + F32(size / 1.5))) return true; break;
            default: break;
        }
    }
    return false;
}

void GameApp::DrawLineAndTestSnags() {
    if (playedFish < 0 || playedFish >= FISH_COUNT || fishingState >= FISHING_FISH_LANDED) return;
    if (!rodHasFish[0] && !rodHasFish[1]) return;
    const HeadingPitch toEnd = HeadingAndPitchTo(rodTipX, rodTipY, rodTipZ, lineEnd[0], lineEnd[1], lineEnd[2]);
    const double a = F32(FULL_TURN - toEnd.pitch);
    const double b = F32(1.571 - a);
    const double across = F32(std::sin(b));
    const double down = F32(std::cos(b));
    const double dirX = F32(std::sin(toEnd.heading));
    const double dirZ = F32(std::cos(toEnd.heading));
    const double points = F32(2.0 * lineLength);
    bool snagged = false;
    for (int32_t k = 1; k < points && k <= MAX_LINE_POINTS; ++k) {
        const double h = F32(across * k);
        const double px = F32(rodTipX + F32(dirX * h));
        const double pz = F32(rodTipZ + F32(dirZ * h));
        const double py = F32(rodTipY - F32(down * k));
        SetWorldTransform(px, py, pz, 0, toEnd.heading + 1.571, a, 1.0, 0.002, 0.1);
        DrawTwoSidedQuad(TextureIdOf(TEX_LINE));
        if (!snagged && LinePointSnags(px, py, pz)) snagged = true;
    }
    if (snagged) SnapLine();
}

void GameApp::SnapLine() {
    Fish& f = *fish[playedFish];
    PutToFlight(f, 100);
    lineSnapped = 1;
    if (snapSound) snapSound->Play(0, 0, -1000, 0, 0);
    fishingState = FISHING_LINE_SNAPPED;
    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        if (!rodHasFish[rod]) continue;
        if (BaitAttraction* bait = RodHookBait(rod)) {
            bait->x = static_cast<float>(f.x);
            bait->z = static_cast<float>(f.z);
        }
        rodHasFish[rod] = 0;
        rodFish[rod] = NO_FISH;
        rodStruck[rod] = 0;
        fishLost = 1;
    }
    LetGoOfUnplayedTakes(playedFish);
    playedFish = NO_FISH;
}
