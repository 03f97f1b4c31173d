// The order in which each lake screen draws its world.
#pragma once
#include <cstdint>

enum LakeWorldOrder : int32_t { LAKE_WORLD_FISHING, LAKE_WORLD_TOUR, LAKE_WORLD_DUCK, LAKE_WORLD_ALBUM };
