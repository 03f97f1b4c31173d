// BaitAttraction: start values by rig, bait and type, and the fading of attraction and scare.
#include "fishing/school/bait_attraction.h"
#include <cmath>
#include "world/lake_view.h"
#include "common/single_precision.h"
#include "gfx/geometry.h"
#include "platform/system.h"
#include "common/step_gate.h"
#include "shell/game_app.h"

namespace {
// Attraction of a hook bait by bait: strength, its decay, attraction radius before doubling.
struct HookBaitRow {
    double strength, strengthDecay, attractRadius;
};
bool HookBaitTerms(int32_t bait, HookBaitRow* row) {
    switch (bait) {
        case 1: case 2: *row = {12, 0.001, 0.5}; return true;
        case 3: case 4: *row = {10, 0.0005, 0.5}; return true;
        case 5: *row = {10, 0.002, 0.7}; return true;
        case 6: *row = {12, 0.004, 1}; return true;
        case 8: *row = {15, 0.003, 0.9}; return true;
        case 9: *row = {13, 0.0002, 0.35}; return true;
        case 10: *row = {15, 0.002, 0.3}; return true;
        case 11: *row = {10, 0.0005, 0.3}; return true;
        case 12: *row = {20, 0.0025, 0.4}; return true;
        case 13: *row = {15, 0.006, 0.3}; return true;
        default: return false;
    }
}

// A pouch: strength, its decay, scare, its decay, scare and attraction radii before doubling.
struct PouchRow {
    double strength, strengthDecay, scare, scareDecay, scareRadius, attractRadius;
};
bool GroundbaitTerms(int32_t groundbait, PouchRow* row) {
    switch (groundbait) {
        case 1: case 2: *row = {80, 0.05, 100, 200, 4, 10}; return true;
        case 3: *row = {120, 0.02, 20, 100, 1, 5}; return true;
        default: return false;
    }
}
bool LooseFeedTerms(int32_t bait, PouchRow* row) {
    switch (bait) {
        case 1: case 2: *row = {60, 0.01, 155, 150, 1, 7}; return true;
        case 3: case 4: *row = {50, 0.02, 125, 120, 1, 9}; return true;
        case 5: *row = {60, 0.025, 125, 180, 1, 10}; return true;
        case 6: *row = {60, 0.025, 125, 180, 1, 10}; return true;
        case 8: *row = {80, 0.05, 105, 100, 1, 5}; return true;
        case 9: *row = {50, 0.01, 75, 70, 0.5, 2}; return true;
        case 10: *row = {50, 0.02, 105, 100, 0.5, 2}; return true;
        case 11: *row = {50, 0.02, 115, 110, 0.5, 2}; return true;
        case 12: *row = {100, 0.02, 125, 120, 0.5, 4}; return true;
        case 13: *row = {50, 0.1, 175, 170, 0.5, 2}; return true;
        default: return false;
    }
}

int32_t Trunc(double v) { return static_cast<int32_t>(v); }
}  // namespace

BaitAttraction::BaitAttraction() : lastTick(plat::GetTickCount()) {}

void BaitAttraction::Start(double x_, double y_, double z_, int32_t type_, int32_t method_,
                           int32_t lineLb, double weight, int32_t linkLb, int32_t hookSize,
                           int32_t bait_) {
    hookWear = 0;
    active = 1;
    x = static_cast<float>(x_);
    y = static_cast<float>(y_);
    z = static_cast<float>(z_);
    type = type_;
    bait = bait_;
    if (type == BAIT_HOOK) method = method_;
    tackleScare = takeEase = pullRisk = coverBonus = 0;
    // Terms without a row in the tables stay 0: such an item ends at its first update.
    scare = strength = strengthDecay = scareDecay = scareRadius = attractRadius = 0;

    if (type == BAIT_HOOK) {
        const int32_t base = lineLb + 2 * linkLb - hookSize;
        int32_t s = 0;
        bool rig = true;
        switch (method) {
            case 1: s = base + Trunc(F32(weight * 10.0)); scareRadius = 2; scareDecay = 10; break;
            case 2: s = base + Trunc(F32(weight * 5.0)); scareRadius = 2; scareDecay = 10; break;
            case 3: s = base + Trunc(F32(weight * 10.0)); scareRadius = 2; scareDecay = 10; break;
            case 4: s = base + Trunc(F32(weight * 8.0)); scareRadius = 2; scareDecay = 10; break;
            case 5: s = 2 * lineLb - hookSize + 2 * Trunc(weight); scareRadius = 0.5; scareDecay = 15; break;
            case 6: s = 2 * lineLb - hookSize + Trunc(weight); scareRadius = 1; scareDecay = 15; break;
            case 7: s = lineLb - hookSize / 2; scareRadius = 0.25; scareDecay = 20; break;
            default: rig = false; break;
        }
        if (rig) {
            if (s < 0) s = 1;
            scare = s;
        }
        HookBaitRow row;
        if (HookBaitTerms(bait, &row)) {
            strength = row.strength;
            strengthDecay = row.strengthDecay;
            attractRadius = row.attractRadius;
        }
        tackleScare = scare;
        double terms = linkLb - hookSize + 12;
        if (method == 1 || method == 3 || method == 4) terms = F32(terms + F32(weight * 5.0));
        takeEase = F32(60.0 - terms);
        pullRisk = F32((hookSize + (20 - linkLb)) / 2.0);
    } else if (type == BAIT_GROUNDBAIT || type == BAIT_LOOSE_FEED) {
        PouchRow row;
        const bool known = type == BAIT_GROUNDBAIT ? GroundbaitTerms(bait, &row) : LooseFeedTerms(bait, &row);
        if (known) {
            strength = row.strength;
            strengthDecay = row.strengthDecay;
            scare = row.scare;
            scareDecay = row.scareDecay;
            scareRadius = row.scareRadius;
            attractRadius = row.attractRadius;
        }
    }
    scareRadius = F32(scareRadius * 2.0);
    attractRadius = F32(attractRadius * 2.0);
}

void BaitAttraction::Update() {
    if (!StepDue(lastTick, 50)) return;
    if (strength > 5) {
        strength = F32(strength - F32(strengthDecay / 10.0));
    } else {
        strength = F32(strength - strengthDecay);
    }
    if (strength <= 0) active = 0;
    scare = F32(scare - scareDecay);
    if (scare < 0) scare = 0;
}

double CoverBonusAt(const LakeView& lake, double x, double z, int32_t method) {
    double bonus = 0;
    for (int32_t n = 1; n <= LAST_BILLBOARD_RECORD; ++n) {
        double bx, bz;
        int32_t type;
        if (!lake.Billboard(n, &bx, &bz, &type) || type <= 5) continue;
        const double d = F32(Distance2D(bx, bz, x, z));
        if (d < 6) {
            bonus = F32(6.0 - d);
            if (method == 3) bonus = F32(bonus / 5.0);
        }
    }
    return bonus;
}

int32_t GameApp::SpawnBaitAttraction(float x, float y, float z, int32_t type, int32_t method,
                                     int32_t lineLb, double weight, int32_t linkLb, int32_t hookSize,
                                     int32_t bait) {
    for (int32_t i = 0; i < BAIT_ITEM_COUNT; ++i) {
        BaitAttraction& item = *baitAttractions[i];
        if (item.active) continue;
        item.Start(x, y, z, type, method, lineLb, weight, linkLb, hookSize, bait);
        if (type == BAIT_HOOK) item.coverBonus = CoverBonusAt(*lakeView, x, z, method);
        return i;
    }
    return BAIT_ITEM_COUNT;
}
