// The soak's per-frame look at the game: floats finite, pool and table indices in range.
#include "soak/soak_checks.h"
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include "screens/records/stocking_records_screen.h"

namespace soak {
namespace {

// Collects the first wrong value with its name; names are only put together for that one, so
// that the whole check costs little per frame. `At` names the pool item the next names belong to.
class Checker {
public:
    bool Failed() const { return !found_.empty(); }
    const std::string& Found() const { return found_; }
    void At(const char* pool, int index = -1) {
        pool_ = pool;
        index_ = index;
    }

    void Finite(const char* name, double v, int element = -1) {
        if (!found_.empty() || std::isfinite(v)) return;
        found_ = Name(name, element) + " = " + Number(v);
    }
    template <size_t N, class T>
    void Finite(const char* name, const T (&values)[N]) {
        for (size_t i = 0; i < N; ++i) Finite(name, values[i], static_cast<int>(i));
    }
    // `v` in [lo, hi], or one of the sentinels.
    void InRange(const char* name, int64_t v, int64_t lo, int64_t hi, std::initializer_list<int64_t> also = {}) {
        if (!found_.empty() || (v >= lo && v <= hi)) return;
        for (int64_t s : also)
            if (v == s) return;
        found_ = Name(name, -1) + " = " + std::to_string(v) + " (expected " + std::to_string(lo) + ".." +
                 std::to_string(hi) + ")";
    }
    void OneOf(const char* name, int64_t v, std::initializer_list<int64_t> allowed) {
        if (!found_.empty()) return;
        for (int64_t a : allowed)
            if (v == a) return;
        found_ = Name(name, -1) + " = " + std::to_string(v) + " (not a value it may hold)";
    }
    void True(const char* what, bool ok) {
        if (found_.empty() && !ok) found_ = Name(what, -1);
    }

private:
    std::string Name(const char* name, int element) const {
        std::string n;
        if (pool_) {
            n = pool_;
            if (index_ >= 0) n += "[" + std::to_string(index_) + "]";
            n += ".";
        }
        n += name;
        if (element >= 0) n += "[" + std::to_string(element) + "]";
        return n;
    }
    static std::string Number(double v) {
        char s[48];
        std::snprintf(s, sizeof s, "%g", v);
        return s;
    }
    std::string found_;
    const char* pool_ = nullptr;
    int index_ = -1;
};

// Runs `check` on every object of a pool, each named by the pool and its slot.
template <class T, size_t N, class Check>
void EachOf(Checker& c, const char* pool, T* const (&objects)[N], Check check) {
    for (size_t i = 0; i < N && !c.Failed(); ++i) {
        c.At(pool, static_cast<int>(i));
        check(*objects[i]);
    }
}

void CheckFish(Checker& c, const GameApp& app) {
    EachOf(c, "fish", app.fish, [&](const Fish& f) {
        for (auto [name, v] : {std::pair{"x", f.x}, {"y", f.y}, {"z", f.z}, {"size", f.size}, {"heading", f.heading},
                               {"pitch", f.pitch}, {"tailSwing", f.tailSwing}, {"speed", f.speed}, {"nextX", f.nextX},
                               {"nextZ", f.nextZ}, {"bottomY", f.bottomY}, {"bodyDepth", f.bodyDepth}, {"fear", f.fear},
                               {"confidence", f.confidence}, {"calmSpeed", f.calmSpeed}, {"lineLoad", f.lineLoad},
                               {"appetite", f.appetite}, {"climbRate", f.climbRate}, {"tiltRate", f.tiltRate},
                               {"depthLayer", f.depthLayer}, {"runHeading", f.runHeading}, {"stamina", f.stamina},
                               {"strength", f.strength}, {"weight", f.weight}, {"shapeFactor", f.shapeFactor},
                               {"lastX", f.lastX}, {"lastY", f.lastY}, {"lastZ", f.lastZ}})
            c.Finite(name, v);
        c.Finite("takeValue", f.takeValue);
        c.InRange("targetItem", f.targetItem, 0, BAIT_ITEM_COUNT - 1, {NO_ITEM});
        c.OneOf("state", f.state,
                {FISH_CRUISE, FISH_FLEE, FISH_ROLL, FISH_LEAP, FISH_HOOKED, FISH_NETTED, FISH_LANDED});
        if (f.active) c.InRange("kind", f.kind, 1, 32);
    });
}

void CheckWildlife(Checker& c, const GameApp& app) {
    EachOf(c, "gulls", app.gulls, [&](const Gull& g) {
        for (auto [name, v] : {std::pair{"x", g.x}, {"altitude", g.altitude}, {"z", g.z}, {"heading", g.heading},
                               {"headingToCentre", g.headingToCentre}, {"stepsDown", g.stepsDown}, {"stepsUp", g.stepsUp}})
            c.Finite(name, v);
    });
    EachOf(c, "insectSwarms", app.insectSwarms, [&](const InsectSwarm& s) {
        for (auto [name, v] : {std::pair{"centreX", double(s.centreX)}, {"centreY", double(s.centreY)},
                               {"centreZ", double(s.centreZ)}, {"spread", double(s.spread)},
                               {"sizeBase", double(s.sizeBase)}, {"targetHeading", s.targetHeading},
                               {"targetPitch", s.targetPitch}})
            c.Finite(name, v);
        c.Finite("x", s.x);
        c.Finite("y", s.y);
        c.Finite("z", s.z);
        c.Finite("size", s.size);
        c.Finite("lag", s.lag);
        c.Finite("heading", s.heading);
        c.Finite("pitch", s.pitch);
        c.Finite("speed", s.speed);
        c.InRange("leader", s.leader, 0, SWARM_MEMBERS - 1);
    });
    EachOf(c, "bubbleSpots", app.bubbleSpots, [&](const BubbleSpot& b) {
        for (auto [name, v] : {std::pair{"x", b.x}, {"y", b.y}, {"z", b.z}, {"riseSpeed", b.riseSpeed},
                               {"startY", b.startY}, {"wait", b.wait}})
            c.Finite(name, v);
    });
    EachOf(c, "dragonflies", app.dragonflies, [&](const Dragonfly& d) {
        for (auto [name, v] : {std::pair{"x", d.x}, {"y", d.y}, {"z", d.z}, {"homeX", d.homeX}, {"homeY", d.homeY},
                               {"homeZ", d.homeZ}, {"vx", d.vx}, {"vy", d.vy}, {"vz", d.vz}, {"range", d.range}})
            c.Finite(name, v);
    });
}

void CheckWaterEffects(Checker& c, const GameApp& app) {
    EachOf(c, "rippleRings", app.rippleRings, [&](const RippleRing& r) {
        for (auto [name, v] : {std::pair{"x", r.x}, {"y", r.y}, {"z", r.z}, {"radius", r.radius},
                               {"maxRadius", r.maxRadius}, {"spinAngle", r.spinAngle}})
            c.Finite(name, v);
        c.InRange("stage", r.stage, 1, 3);
    });
    EachOf(c, "wakes", app.wakes, [&](const Wake& w) {
        for (auto [name, v] : {std::pair{"x", w.x}, {"y", w.y}, {"z", w.z}, {"radius", w.radius},
                               {"maxRadius", w.maxRadius}, {"heading", w.heading}})
            c.Finite(name, v);
        c.InRange("stage", w.stage, 1, 3);
    });
    EachOf(c, "feedingBubbles", app.feedingBubbles, [&](const FeedingBubble& b) {
        for (auto [name, v] : {std::pair{"x", b.x}, {"y", b.y}, {"z", b.z}, {"speed", b.speed}}) c.Finite(name, v);
    });
    EachOf(c, "soundSlots", app.soundSlots, [&](const SoundSlot& slot) { c.Finite("framesLeft", slot.framesLeft); });
    EachOf(c, "baitAttractions", app.baitAttractions, [&](const BaitAttraction& b) {
        for (auto [name, v] : {std::pair{"x", double(b.x)}, {"y", double(b.y)}, {"z", double(b.z)}, {"scare", b.scare},
                               {"coverBonus", b.coverBonus}, {"strength", b.strength},
                               {"strengthDecay", b.strengthDecay}, {"scareDecay", b.scareDecay},
                               {"scareRadius", b.scareRadius}, {"attractRadius", b.attractRadius},
                               {"tackleScare", b.tackleScare}, {"takeEase", b.takeEase}, {"pullRisk", b.pullRisk},
                               {"hookWear", b.hookWear}})
            c.Finite(name, v);
    });
}

void CheckCamera(Checker& c, const GameApp& a) {
    c.At(nullptr);
    for (auto [name, v] :
         {std::pair{"eyeX", a.eyeX}, {"eyeY", a.eyeY}, {"eyeZ", a.eyeZ}, {"heading", a.heading}, {"pitch", a.pitch},
          {"viewZoom", a.viewZoom}, {"moveSpeed", a.moveSpeed}, {"viewRoll", a.viewRoll}, {"orbitAngle", a.orbitAngle},
          {"orbitHeight", a.orbitHeight}, {"orbitZoom", a.orbitZoom}, {"orbitEyeX", a.orbitEyeX},
          {"orbitEyeZ", a.orbitEyeZ}, {"savedEyeX", a.savedEyeX}, {"savedEyeY", a.savedEyeY},
          {"savedEyeZ", a.savedEyeZ}, {"savedHeading", a.savedHeading}, {"savedPitch", a.savedPitch},
          {"savedMapHeight", a.savedMapHeight}, {"waterScroll1", a.waterScroll1}, {"waterScroll2", a.waterScroll2},
          {"waterScroll3", a.waterScroll3}, {"titleSpinAngle", a.titleSpinAngle}, {"titleTileScale", a.titleTileScale},
          {"titleFlipAngle", a.titleFlipAngle}, {"tourFade", double(a.tourFade)},
          {"swimMarkerPulse", a.swimMarkerPulse}, {"recordsModelAngle", a.recordsModelAngle},
          {"verticalAxis", double(a.verticalAxis)}, {"horizontalAxis", double(a.horizontalAxis)},
          {"groundBeforeStep", a.groundBeforeStep}})
        c.Finite(name, v);
    c.Finite("titleTilePos", a.titleTilePos);
}

void CheckRods(Checker& c, const GameApp& a) {
    c.At(nullptr);
    for (auto [name, v] :
         {std::pair{"aimTargetX", a.aimTargetX}, {"aimTargetZ", a.aimTargetZ}, {"aimYaw", a.aimYaw},
          {"aimPitch", a.aimPitch}, {"maxRange", a.maxRange}, {"castPower", a.castPower},
          {"lineLength", a.lineLength}, {"lastLineLength", a.lastLineLength}, {"rodPitch", a.rodPitch},
          {"rodYaw", a.rodYaw}, {"clutch", a.clutch}, {"dragEffective", a.dragEffective},
          {"fishBearing", a.fishBearing}, {"lineTension", a.lineTension}, {"surgeProgress", a.surgeProgress},
          {"surgeTarget", a.surgeTarget}, {"rodTipX", a.rodTipX}, {"rodTipY", a.rodTipY}, {"rodTipZ", a.rodTipZ},
          {"netYaw", a.netYaw}, {"netHeight", a.netHeight}, {"linePull", a.linePull}, {"podYaw", a.podYaw},
          {"rodPodX", a.rodPodX}, {"rodPodZ", a.rodPodZ}, {"dragBase", a.dragBase},
          {"pendingBestWeight", double(a.pendingBestWeight)}})
        c.Finite(name, v);
    for (int r = 0; r < ROD_COUNT; ++r) {
        c.At("rods", r);
        c.Finite("hookBaitPos", a.hookBaitPos[r]);
        c.InRange("rodFish", a.rodFish[r], 0, FISH_COUNT - 1, {NO_FISH});
        c.InRange("rodBaitItem", a.rodBaitItem[r], 0, BAIT_ITEM_COUNT - 1);
    }
    c.At(nullptr);
    c.Finite("hookBaitHeight", a.hookBaitHeight);
    c.Finite("lineEnd", a.lineEnd);
    c.Finite("netHead", a.netHead);
    c.Finite("netRefPoint", a.netRefPoint);
    c.Finite("floatDip", a.floatDip);
    c.Finite("spoolTurn", a.spoolTurn);
    c.Finite("biteIndicatorUpper", a.biteIndicatorUpper);
    c.Finite("biteIndicatorLower", a.biteIndicatorLower);
    c.InRange("playedFish", a.playedFish, 0, FISH_COUNT - 1, {NO_FISH});
    c.InRange("pendingBestFish", a.pendingBestFish, 0, FISH_COUNT - 1, {NO_FISH});
}

void CheckScreens(Checker& c, const GameApp& a) {
    c.OneOf("gameMode", a.gameMode,
            {MODE_TITLE, MODE_MAP, MODE_FISHING, MODE_PHOTO_ALBUM, MODE_TOUR, MODE_DUCK, MODE_CATCH_RECORDS,
             MODE_INSTRUCTIONS, MODE_STOCKING_RECORDS});
    c.OneOf("fishingState", a.fishingState,
            {FISHING_ROAMING, FISHING_WALKING_TO_SWIM, FISHING_CASTING_ROD1, FISHING_ROD1_IN_FLIGHT,
             FISHING_ROD2_IN_FLIGHT, FISHING_BOTH_RODS_OUT, FISHING_CATAPULT_GROUNDBAIT, FISHING_CATAPULT_HOOKBAITS,
             FISHING_ROD_IN_HAND, FISHING_WALKING_BACK, FISHING_RECASTING_ROD1, FISHING_RECASTING_ROD2,
             FISHING_LINE_SNAPPED, FISHING_BACK_RECAST2_STRIKE1, FISHING_BACK_RECAST1_STRIKE2, FISHING_BACK_AFTER_SNAP,
             FISHING_FISH_LANDED, FISHING_PHOTO_MODE});
    c.InRange("currentSwim", a.currentSwim, 1, SWIM_COUNT, {NO_SWIM});
    c.InRange("nearbySwim", a.nearbySwim, 1, SWIM_COUNT, {NO_SWIM});
    c.InRange("currentPhoto", a.currentPhoto, 0, PHOTO_SLOT_COUNT - 1);
    c.InRange("recordsSelection", a.recordsSelection, 0, NAMED_FISH_COUNT - 1);
    c.InRange("tourWaypoint", a.tourWaypoint, 0, GameApp::TOUR_WAYPOINT_COUNT - 1);
    c.InRange("stockingPage", a.stockingPage, 1, STOCKING_PAGE_COUNT);
    c.InRange("instructionsPage", a.instructionsPage, 1, 3);
    c.InRange("titleState", a.titleState, 0, 13);
    c.InRange("hoveredCell", a.hoveredCell, 0, TERRAIN_SPARE_CELL);
    c.InRange("method", a.method, 1, 7);
    c.InRange("hookBait", a.hookBait, 1, 13);
    c.InRange("groundbait", a.groundbait, 1, 3);
    c.InRange("rodReel", a.rodReel, 1, 4);
    c.InRange("binocularState", a.binocularState, 0, 2);

    // The photos in use are packed at the front, and each names a swim.
    bool gap = false;
    for (int i = 0; i < PHOTO_SLOT_COUNT && !c.Failed(); ++i) {
        const PhotoRecord& p = *a.photos[i];
        c.At("photos", i);
        if (!p.inUse) {
            gap = true;
            continue;
        }
        c.True("inUse after an empty slot", !gap);
        c.InRange("swim", p.swim, 1, SWIM_COUNT);
        for (auto [name, v] : {std::pair{"fishSize", p.fishSize}, {"fishWeight", p.fishWeight},
                               {"fishShape", p.fishShape}, {"eyeX", p.eyeX}, {"eyeY", p.eyeY}, {"eyeZ", p.eyeZ},
                               {"heading", p.heading}, {"pitch", p.pitch}})
            c.Finite(name, v);
        c.Finite("waterScroll", p.waterScroll);
    }
    c.At(nullptr);
    c.Finite("bestWeight", a.bestWeight);
}

}  // namespace

std::string FindBadValue(const GameApp& app) {
    Checker c;
    CheckScreens(c, app);
    CheckCamera(c, app);
    CheckRods(c, app);
    CheckFish(c, app);
    CheckWildlife(c, app);
    CheckWaterEffects(c, app);
    return c.Found();
}

}  // namespace soak
