// The terrain grid's flat layout, construction and destruction.
#include "world/terrain_grid.h"

void LayOutFlatCell(int32_t index, TerrainCell* cell) {
    const int32_t row = index / TERRAIN_GRID_SIZE;
    const int32_t column = index % TERRAIN_GRID_SIZE;
    const float w = static_cast<float>(2 * column);
    const float e = w + 2.0f;
    const float n = static_cast<float>(200 - 2 * row);
    const float s = n - 2.0f;
    if (IsEvenCell(index)) {
        const float xs[4] = {w, w, e, e};
        const float zs[4] = {s, n, s, n};
        for (int k = 0; k < 4; ++k) {
            cell->x[k] = xs[k];
            cell->z[k] = zs[k];
        }
    } else {
        const float xs[4] = {e, w, e, w};
        const float zs[4] = {s, s, n, n};
        for (int k = 0; k < 4; ++k) {
            cell->x[k] = xs[k];
            cell->z[k] = zs[k];
        }
    }
    for (float& h : cell->y) h = 0.0f;
    cell->groundTexture = TERRAIN_FIRST_GROUND_TEXTURE;
}

TerrainCellTable::TerrainCellTable() {
    for (int32_t i = 0; i < RECORDS; ++i) cells[i] = new TerrainCell{};
    for (int32_t i = 0; i < TERRAIN_GRID_CELLS; ++i) LayOutFlatCell(i, cells[i]);
}

TerrainCellTable::~TerrainCellTable() {
    for (TerrainCell*& c : cells) {
        delete c;
        c = nullptr;
    }
}
