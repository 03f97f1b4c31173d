// The map screen's lookup tables: constants per zoom height, and the pictures and names of the
// tackle choices and billboard icons.
#pragma once
#include <cstdint>
#include "common/texture_ids.h"

// Constants of one zoom height of the overhead map.
struct MapZoom {
    double height;       // eyeY: 350, 200, 80 or 30
    float hudScale;      // the centre marker
    float signBase;      // swim signs: base size and pulse divisor
    float pulseDivisor;
    double kc, kr;       // pixels per terrain column / row, times the height
    int32_t r0;          // row offset of the cursor cell
    int32_t rowShift;    // trunc(350 / height / 3)
};
// The constants of a zoom height; any other height gets those of 350.
const MapZoom& MapZoomFor(double eyeY);

struct HookBaitInfo {
    TextureName picture;
    const char* line1;  // name on the panel, first line at x1 and second (or none) at x2
    double x1;
    const char* line2;
    double x2;
    const char* sentenceName;
};
// Hook baits 1..6 and 8..13; null for anything else.
const HookBaitInfo* HookBaitFor(int32_t hookBait);

struct GroundbaitInfo {
    TextureName picture;
    const char* line1;
    double x1;
    const char* line2;
    double x2;
    const char* sentenceName;
};
// Groundbaits 1..3; null for anything else.
const GroundbaitInfo* GroundbaitFor(int32_t groundbait);

struct MethodInfo {
    TextureName picture;
    const char* line1;  // upper line of the name, or none
    double x1;
    const char* line2;  // lower line
    double x2;
};
// Methods 1..7; null for anything else.
const MethodInfo* MethodFor(int32_t method);

// "1 x BB" .. "4 x AAA" for waggler shot 1..4, else null.
const char* ShotText(int32_t wagglerShot);
// "Shallow" .. "Over depth" (the tackle row) and "shallow" .. "over depth" (the rig sentence)
// for float depth 1..4, else null.
const char* DepthLabel(int32_t floatDepth);
const char* DepthWord(int32_t floatDepth);

struct BillboardIcon {
    TextureName picture;
    float sizeFactor;  // icon scale = sizeFactor * billboard size
};
// The map icon of billboard kinds 1..14; null for any other kind.
const BillboardIcon* BillboardIconFor(int32_t type);
