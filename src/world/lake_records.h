// Billboard sprites and scenery items placed about the lake by the lake model.
#pragma once
#include <cmath>
#include <cstdint>

constexpr int32_t BILLBOARD_COUNT = 2000;     // record 0 is never filled
constexpr int32_t BILLBOARD_TYPE_MAX = 14;    // kinds 1..14
constexpr int32_t SCENERY_ITEM_COUNT = 100;
constexpr int32_t SCENERY_ITEM_TYPE_MAX = 8;  // kinds 1..8; kind 1 is a platform

// An upright picture (tree, bush, reeds, flowers) standing at its foot.
struct Billboard {
    float x = 0;
    float y = 0;  // height of the foot
    float z = 0;
    float size = 0;
    uint8_t active = 0;
    double yaw = 0.0;  // facing, kept by the scenery pass; not in the model file
    int32_t type = 0;
};

// A platform, plank, snag or lily bed.
struct SceneryItem {
    float x = 0;
    float y = 0;
    float z = 0;
    float size = 0;
    uint8_t active = 0;
    float heading = 0;  // turn about the vertical, radians
    int32_t type = 0;
};

// Whether a billboard or item at (x, y, z) of this size can be placed: places and sizes beyond
// 1e30 are no lake's, and their transforms would not fit a float.
inline bool PlaceableRecord(float x, float y, float z, float size) {
    for (float v : {x, y, z, size})
        if (!std::isfinite(v) || std::fabs(v) >= 1e30f) return false;
    return true;
}
