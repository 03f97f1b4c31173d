// Each fish's weight for this run, its start data and where in the lake it starts.
#include <cmath>
#include "world/lake_view.h"
#include "common/single_precision.h"
#include "gfx/geometry.h"
#include "platform/system.h"
#include "fishing/stock/stock_file.h"

float StartingWeight(float stockingWeight, float recentWeight) {
    double w = F32(F32(recentWeight + 2.0) + F32(plat::GameRand() / 10922.0));
    if (w < 10) w = F32(F32(stockingWeight + 2.0) + F32(plat::GameRand() / 10922.0));
    return static_cast<float>(w);
}

void FillStartData(const StockRecord& record, FishPlacement* placement) {
    placement->size = F32(F32(record.currentWeight / 7.0) + 10.0);
    placement->weight = record.currentWeight;
    placement->heading = F32(plat::GameRand() / 5214.35391470401);
    placement->kind = record.kind;
    placement->shapeFactor = record.shapeFactor;
}

bool PlaceFish(const LakeView& lake, FishPlacement* placement) {
    for (int32_t draw = 0; draw < MAX_PLACEMENT_DRAWS; ++draw) {
        int32_t x = plat::GameRand() / 172 + 5;
        if (x % 2 != 0) ++x;
        int32_t z = plat::GameRand() / 172 + 5;
        if (z % 2 != 0) ++z;
        float mean;
        if (!MeanHeightUnder(lake, x, z, &mean)) continue;
        if (mean < -1.5 && F32(Distance2D(HUT_X, HUT_Z, x, z)) > 7.0) {
            placement->x = x;
            placement->z = z;
            placement->y = -1.5;
            return true;
        }
    }
    return false;
}
