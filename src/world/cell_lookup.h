// The one rule that finds the terrain cell under a point, with its off-grid guard.
#pragma once
#include <cstdint>

class TerrainCellTable;

constexpr int32_t CELL_NONE = -1;

// The cell under (x, z): X = truncate(x), raised by 1 when odd, Z likewise,
// index = X / 2 + (200 - Z) / 2 * 100. The rule is exact for x in [0, 199) and z in [1, 201).
// Wherever the rule's even coordinates X and Z lie in 0..200 (x and z in (-2, 201)) it is applied
// as it stands: x from 199 gives the first cell of the next row, z below 1 the spare record
// 10,000 or nothing. Points beyond, NaN, and results that are no record of the table give CELL_NONE, for
// which each caller uses the fallback its own rules name.
int32_t CellIndexAt(double x, double z);

// A cell's ground from its four corner heights: the mean (summed in corner order, then / 4) or
// the largest.
float MeanCornerHeight(const float heights[4]);
float HighestCornerHeight(const float heights[4]);

// The mean and the largest corner height of the cell under (x, z), or `fallback` when the point
// has no cell.
float CellMeanHeight(const TerrainCellTable& table, double x, double z, float fallback);
float CellMaxHeight(const TerrainCellTable& table, double x, double z, float fallback);
