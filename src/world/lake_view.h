// What fish, bait items and fish placement read from the lake world: cell heights and billboards.
#pragma once
#include <cstdint>

class GameApp;

class LakeView {
public:
    virtual ~LakeView() = default;
    // Corner heights of the terrain cell under (x, z) by the shared cell lookup; false when the
    // point has no cell.
    virtual bool CellHeights(double x, double z, float heights[4]) const = 0;
    // Billboard record n (1..1999): its position and type; false when the record is not active.
    virtual bool Billboard(int32_t n, double* x, double* z, int32_t* type) const = 0;
};

// The game's own terrain grid and billboards.
class GameLakeView final : public LakeView {
public:
    explicit GameLakeView(const GameApp& app) : app_(app) {}
    bool CellHeights(double x, double z, float heights[4]) const override;
    bool Billboard(int32_t n, double* x, double* z, int32_t* type) const override;

private:
    const GameApp& app_;
};

constexpr int32_t LAST_BILLBOARD_RECORD = 1999;

// Highest corner height of the cell under (x, z). The sample is kept on the grid: a point east of
// the last column or south of the last row reads that column or row. 0 (dry) when there is no cell.
float HighestCornerUnder(const LakeView& lake, double x, double z);
// Mean of the four corner heights of the cell under (x, z); false when there is no cell.
bool MeanHeightUnder(const LakeView& lake, double x, double z, float* mean);
