// The lake model file models\lake.qd: its fixed layout and a strict reader.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>
#include "world/lake_records.h"
#include "world/terrain_grid.h"

constexpr int32_t LAKE_MODEL_NUMBER = 999;  // the only model: models\lake.qd
constexpr const char* LAKE_MODEL_PATH = "models\\lake.qd";
constexpr int32_t LAKE_MODEL_SWARM_RECORDS = 100;
constexpr int32_t LAKE_MODEL_BUBBLE_RECORDS = 500;
constexpr int32_t LAKE_MODEL_DRAGONFLY_RECORDS = 30;
// 10,000 cells of 13, 1,999 billboards of 6, 100 items of 7, then 100 x 5, 500 x 4 and 30 x 4.
constexpr int32_t LAKE_MODEL_VALUE_COUNT = 145314;
// The largest model file read: every number up to 70 characters long with a two-byte line end.
constexpr size_t LAKE_MODEL_MAX_BYTES = static_cast<size_t>(LAKE_MODEL_VALUE_COUNT) * 72;

// Everything a model file holds, read completely before any of it is put into play.
struct LakeModel {
    struct SwarmSpawn {
        float x, y, z;
        int32_t type;  // 1 or 2
    };
    struct PointSpawn {
        float x, y, z;
    };

    TerrainCell cells[TERRAIN_GRID_CELLS];   // heights already snapped at the water's edge
    Billboard billboards[BILLBOARD_COUNT];  // records 1..1,999 from the file; record 0 stays empty
    SceneryItem items[SCENERY_ITEM_COUNT];
    // The flagged spawn records, in file order (unflagged ones are skipped).
    std::vector<SwarmSpawn> swarms;
    std::vector<PointSpawn> bubbleSpots;
    std::vector<PointSpawn> dragonflies;
};

struct LakeModelResult {
    bool ok = false;
    std::string error;  // what was wrong, for the player; empty on success
};

// Reads model text. Every value must be a whole token of its type: an integer field must be a
// plain integer, a real field a finite number. Flags must be 0 or 1; an active billboard must be
// of kind 1..14, an active item of kind 1..8. A flagged swarm of a type other than 1 or 2 is
// skipped. Heights strictly between -0.2 and 0 are stored as 0. `out` is written only when the
// whole model is valid; text after the last value is ignored.
LakeModelResult ParseLakeModel(const char* text, size_t length, LakeModel* out);
// Reads the model file at a game path (relative to the working directory): a plain file of at
// most LAKE_MODEL_MAX_BYTES.
LakeModelResult ReadLakeModelFile(const char* gamePath, LakeModel* out);
