// The guarded cell lookup shared by walking, casting, fish, the map and the duck.
#include "world/cell_lookup.h"
#include "world/terrain_grid.h"

int32_t CellIndexAt(double x, double z) {
    if (!(x > -2.0 && x < 201.0 && z > -2.0 && z < 201.0)) return CELL_NONE;  // also NaN
    int32_t column2 = static_cast<int32_t>(x);
    if (column2 % 2 != 0) column2 += 1;
    int32_t row2 = static_cast<int32_t>(z);
    if (row2 % 2 != 0) row2 += 1;
    const int32_t index = column2 / 2 + (200 - row2) / 2 * TERRAIN_GRID_SIZE;
    if (index < 0 || index > TERRAIN_SPARE_CELL) return CELL_NONE;
    return index;
}

float MeanCornerHeight(const float heights[4]) {
    return (heights[0] + heights[1] + heights[2] + heights[3]) / 4.0f;
}

float HighestCornerHeight(const float heights[4]) {
    float m = heights[0];
    for (int k = 1; k < 4; ++k)
        if (heights[k] > m) m = heights[k];
    return m;
}

float CellMeanHeight(const TerrainCellTable& table, double x, double z, float fallback) {
    const int32_t i = CellIndexAt(x, z);
    return i == CELL_NONE ? fallback : MeanCornerHeight(table[i].y);
}

float CellMaxHeight(const TerrainCellTable& table, double x, double z, float fallback) {
    const int32_t i = CellIndexAt(x, z);
    return i == CELL_NONE ? fallback : HighestCornerHeight(table[i].y);
}
