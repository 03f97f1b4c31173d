// Landing: the hook baits' taken flags, the landing net, the world drawing with the tension gauge
// and the fish in the weigh sling.
#include <cmath>
#include "fishing/single_precision.h"
#include "shell/game_app.h"
#include "world/cell_lookup.h"
#include "world/terrain_grid.h"

double GameApp::NetWaterProbe() const {
    const double px = F32(eyeX + F32(5.0 * F32(std::sin(heading))));
    const double pz = F32(eyeZ + F32(5.0 * F32(std::cos(heading))));
    const int32_t index = CellIndexAt(px, pz);
    float h[4];
    if (index == CELL_NONE || index >= TERRAIN_GRID_CELLS || !lakeView->CellHeights(px, pz, h)) return NET_PROBE_DRY;
    for (float corner : h)
        if (corner >= 0.0f) return NET_PROBE_DRY;
    return MeanCornerHeight(h);
}

void GameApp::UpdateHookBaitTakenFlags() {}
void GameApp::UpdateLandingNet() {}
void GameApp::DrawFishingWorldAndGauge() {}
void GameApp::DrawFishOnMat() {}
