// The map screen's lookup tables.
#include "screens/map/map_tables.h"

namespace {

const MapZoom ZOOMS[4] = {
    {350.0, 0.1f, 2.7f, 10.0f, 1405.0, 1400.0, 51, 0},
    {200.0, 0.2f, 1.7f, 15.0f, 1405.0, 1400.0, 52, 0},
    {80.0, 0.3f, 1.0f, 25.0f, 1375.0, 1400.0, 53, 1},
    {30.0, 0.4f, 0.4f, 50.0f, 1290.0, 1200.0, 51, 3},
};

// Index = hook bait - 1; 7 (no bait) has no row.
const HookBaitInfo HOOK_BAITS[13] = {
    {TEX_BOILIE1, "Fruity", 92.0, "boilies", 91.5, "fruity boilies"},
    {TEX_BOILIE2, "Fishmeal", 90.0, "boilies", 91.5, "fishmeal boilies"},
    {TEX_POPUP1, "Fruity", 92.0, "popups", 91.0, "fruity popups"},
    {TEX_POPUP2, "Fishmeal", 90.0, "popups", 91.0, "fishmeal popups"},
    {TEX_PELLETS, "Hard", 92.0, "Pellets", 91.5, "hard pellets"},
    {TEX_TIGERS, "Soft", 92.5, "Pellets", 91.5, "soft pellets"},
    {TEX_BLANK, nullptr, 0, nullptr, 0, nullptr},
    {TEX_MEAT, "Meat", 92.0, nullptr, 0, "luncheon meat"},
    {TEX_CORN, "Sweet", 91.5, "corn", 92.0, "sweet corn"},
    {TEX_MAGGOT, "Maggots", 90.0, nullptr, 0, "maggots"},
    {TEX_CASTERS, "Casters", 91.0, nullptr, 0, "casters"},
    {TEX_WORMS, "Worms", 91.0, nullptr, 0, "worms"},
    {TEX_BREAD, "Bread", 91.5, nullptr, 0, "bread"},
};

const GroundbaitInfo GROUNDBAITS[3] = {
    {TEX_MGBAIT, "Fishmeal", 90.0, "g-bait", 91.5, "fishmeal groundbait"},
    {TEX_FGBAIT, "Fruity", 91.8, "g-bait", 91.5, "fruity groundbait"},
    {TEX_HEMP, "Hemp", 91.7, nullptr, 0, "hemp seed"},
};

const MethodInfo METHODS[7] = {
    {TEX_INLINE, "Semi fixed", 1.1, "lead", 3.0},   {TEX_LEDGER, "Running", 1.8, "ledger", 2.3},
    {TEX_METHOD, "Chod", 2.5, "rig", 4.0},          {TEX_FEEDER, "Swim", 2.5, "feeder", 2.3},
    {TEX_FLOAT, nullptr, 0, "Waggler", 1.3},        {TEX_CONTROLER, "Surface", 1.8, "controler", 1.4},
    {TEX_HOOK1, nullptr, 0, "Free line", 1.5},
};

const BillboardIcon ICONS[14] = {
    {TEX_DECAL1, 3.0f},  {TEX_DECAL2, 3.0f},  {TEX_DECAL3, 3.0f},  {TEX_DECAL4, 2.0f},  {TEX_DECAL5, 1.0f},
    {TEX_DECAL8, 1.0f},  {TEX_DECAL9, 1.0f},  {TEX_DECAL10, 1.0f}, {TEX_DECAL14, 1.0f}, {TEX_DECAL7, 1.0f},
    {TEX_DECAL6, 0.5f},  {TEX_DECAL11, 0.5f}, {TEX_DECAL12, 0.5f}, {TEX_DECAL13, 1.0f},
};

const char* const SHOTS[4] = {"1 x BB", "2 x BB", "2 x AAA", "4 x AAA"};
const char* const DEPTH_LABELS[4] = {"Shallow", "Medium", "Deep", "Over depth"};
const char* const DEPTH_WORDS[4] = {"shallow", "medium", "deep", "over depth"};

}  // namespace

const MapZoom& MapZoomFor(double eyeY) {
    for (const MapZoom& z : ZOOMS)
        if (z.height == eyeY) return z;
    return ZOOMS[0];
}

const HookBaitInfo* HookBaitFor(int32_t hookBait) {
    if (hookBait < 1 || hookBait > 13 || hookBait == 7) return nullptr;
    return &HOOK_BAITS[hookBait - 1];
}

const GroundbaitInfo* GroundbaitFor(int32_t groundbait) {
    return groundbait >= 1 && groundbait <= 3 ? &GROUNDBAITS[groundbait - 1] : nullptr;
}

const MethodInfo* MethodFor(int32_t method) { return method >= 1 && method <= 7 ? &METHODS[method - 1] : nullptr; }

const char* ShotText(int32_t wagglerShot) {
    return wagglerShot >= 1 && wagglerShot <= 4 ? SHOTS[wagglerShot - 1] : nullptr;
}

const char* DepthLabel(int32_t floatDepth) {
    return floatDepth >= 1 && floatDepth <= 4 ? DEPTH_LABELS[floatDepth - 1] : nullptr;
}

const char* DepthWord(int32_t floatDepth) {
    return floatDepth >= 1 && floatDepth <= 4 ? DEPTH_WORDS[floatDepth - 1] : nullptr;
}

const BillboardIcon* BillboardIconFor(int32_t type) { return type >= 1 && type <= 14 ? &ICONS[type - 1] : nullptr; }
