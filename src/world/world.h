// The lake world's public header: terrain grid and lookup, lake model records, wildlife and
// water-surface effects.
#pragma once
#include "world/cell_lookup.h"
#include "world/lake_model.h"
#include "world/lake_records.h"
#include "world/terrain_grid.h"
#include "world/water_effects.h"
#include "world/wildlife.h"
