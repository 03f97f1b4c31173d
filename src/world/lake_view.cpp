// Height samples of the lake bed and the game's own lake view.
#include "world/lake_view.h"
#include <algorithm>
#include "shell/game_app.h"
#include "world/cell_lookup.h"

namespace {
// Column 99 is the last for x up to 198 and row 99 the last for z down to 2 under the cell
// lookup; points beyond (and NaN) are brought back to those edges.
double KeepX(double x) {
    if (!(x >= 0.0)) return 0.0;
    return std::min(x, 198.0);
}
double KeepZ(double z) {
    if (!(z >= 2.0)) return 2.0;
    return std::min(z, 200.0);
}
}  // namespace

float HighestCornerUnder(const LakeView& lake, double x, double z) {
    float h[4];
    if (!lake.CellHeights(KeepX(x), KeepZ(z), h)) return 0.0f;
    return HighestCornerHeight(h);
}

bool MeanHeightUnder(const LakeView& lake, double x, double z, float* mean) {
    float h[4];
    if (!lake.CellHeights(x, z, h)) return false;
    *mean = MeanCornerHeight(h);
    return true;
}

bool GameLakeView::CellHeights(double x, double z, float* heights) const {
    const int32_t index = CellIndexAt(x, z);
    if (index == CELL_NONE || !app_.terrainCells) return false;
    const TerrainCell& cell = (*app_.terrainCells)[index];
    for (int k = 0; k < 4; ++k) heights[k] = cell.y[k];
    return true;
}

bool GameLakeView::Billboard(int32_t n, double* x, double* z, int32_t* type) const {
    if (n < 1 || n >= BILLBOARD_COUNT) return false;
    const ::Billboard* b = app_.billboards[n];
    if (!b || !b->active) return false;
    *x = b->x;
    *z = b->z;
    *type = b->type;
    return true;
}
