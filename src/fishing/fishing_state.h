// The fishing screen's states (GameApp::fishingState) and the per-rod sentinels.
#pragma once
#include <cstdint>
#include "fishing/school/fish.h"     // NO_FISH
#include "fishing/stock/stock_file.h"     // NO_SWIM

enum FishingStateValue : int32_t {
    FISHING_ROAMING = -2,               // walking the bank freely
    FISHING_WALKING_TO_SWIM = -1,       // WalkToSwim each frame, toward currentSwim
    FISHING_CASTING_ROD1 = 1,           // aiming rod 1
    FISHING_ROD1_IN_FLIGHT = 2,         // rod 1 flying, aiming rod 2
    FISHING_ROD2_IN_FLIGHT = 3,
    FISHING_BOTH_RODS_OUT = 4,
    FISHING_CATAPULT_GROUNDBAIT = 5,
    FISHING_CATAPULT_HOOKBAITS = 6,
    FISHING_ROD_IN_HAND = 7,            // struck: playing a fish, or missed
    FISHING_WALKING_BACK = 8,           // to the standing point, then re-cast
    FISHING_RECASTING_ROD1 = 9,
    FISHING_RECASTING_ROD2 = 10,
    FISHING_LINE_SNAPPED = 11,
    FISHING_BACK_RECAST2_STRIKE1 = 12,  // walk back, re-cast rod 2, strike rod 1
    FISHING_BACK_RECAST1_STRIKE2 = 13,  // walk back, re-cast rod 1, strike rod 2
    FISHING_BACK_AFTER_SNAP = 19,
    FISHING_FISH_LANDED = 20,           // in the weigh sling
    FISHING_PHOTO_MODE = 30,
};

constexpr int32_t ROD_COUNT = 2;        // element 0 is rod 1 (key 1), element 1 rod 2 (key 2)
constexpr float NO_PENDING_WEIGHT = 999.0f;
