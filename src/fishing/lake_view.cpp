// Height samples of the lake bed and the game's own lake view.
#include "fishing/lake_view.h"
#include <algorithm>

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
    return std::max(std::max(h[0], h[1]), std::max(h[2], h[3]));
}

bool MeanHeightUnder(const LakeView& lake, double x, double z, float* mean) {
    float h[4];
    if (!lake.CellHeights(x, z, h)) return false;
    float sum = h[0] + h[1];
    sum = sum + h[2];
    sum = sum + h[3];
    *mean = sum / 4.0f;
    return true;
}

// The terrain grid and the billboards belong to the lake world, which this build does not have
// yet: every point reads as off the grid and every billboard as inactive.
bool GameLakeView::CellHeights(double, double, float*) const {
    (void)app_;
    return false;
}

bool GameLakeView::Billboard(int32_t, double*, double*, int32_t*) const { return false; }
