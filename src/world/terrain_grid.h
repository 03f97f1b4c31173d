// The terrain height grid: 100 by 100 cells of 2 by 2 units over x 0..200, z 0..200.
#pragma once
#include <cstdint>

constexpr int32_t TERRAIN_GRID_SIZE = 100;     // cells per row and per column
constexpr int32_t TERRAIN_GRID_CELLS = 10000;  // cells 0..9,999
constexpr int32_t TERRAIN_SPARE_CELL = 10000;  // the record past the grid, zero-filled
constexpr int32_t TERRAIN_FIRST_GROUND_TEXTURE = 44;  // TEX_GRASS1
constexpr int32_t TERRAIN_LAST_GROUND_TEXTURE = 57;   // TEX_BLANK

// DrawTerrain's fill mode (any other value keeps the device's current fill mode).
constexpr int32_t TERRAIN_FILL_SOLID = 0;
constexpr int32_t TERRAIN_FILL_WIREFRAME = 1;

// One cell: two triangles drawn as the strip of corners 0, 1, 2, 3. Cells alternate their shared
// edge like a checkerboard (see TerrainCellTable).
struct TerrainCell {
    float x[4];
    float y[4];  // height; the water surface is 0, the lake bed negative
    float z[4];
    int32_t groundTexture;  // texture id 44..57; any other value draws the cell untextured
};

// Cell index = row * 100 + column; row 0 is the north edge (z 200), column 0 the west edge (x 0).
// With W = 2 * column, E = W + 2, N = 200 - 2 * row, S = N - 2 the corners 0..3 are
//   even cells (row + column even): (W, S) (W, N) (E, S) (E, N)
//   odd cells:                      (E, S) (W, S) (E, N) (W, N)
class TerrainCellTable {
public:
    static constexpr int32_t RECORDS = TERRAIN_GRID_CELLS + 1;

    // The flat grid: every height 0, ground texture 44; the spare record zero-filled.
    TerrainCellTable();
    ~TerrainCellTable();
    TerrainCellTable(const TerrainCellTable&) = delete;
    TerrainCellTable& operator=(const TerrainCellTable&) = delete;

    TerrainCell& operator[](int32_t index) { return *cells[index]; }
    const TerrainCell& operator[](int32_t index) const { return *cells[index]; }

    TerrainCell* cells[RECORDS];
};

// The flat layout of one cell (heights 0, texture 44), as the table's constructor makes it.
void LayOutFlatCell(int32_t index, TerrainCell* cell);
// True when the cell's row + column is even (its shared edge runs north-west to south-east).
inline bool IsEvenCell(int32_t index) { return ((index / TERRAIN_GRID_SIZE + index % TERRAIN_GRID_SIZE) & 1) == 0; }
