// The photo album's fish caption (its weight is shown as the catch message shows it).
#pragma once
#include <cstdint>
#include "fishing/stock/stock_file.h"

// The name of the named fish of this kind, "Unnamed Common", "Unnamed Mirror" or "Unknown Mirror!",
// or "" for a kind no photo can hold.
const char* PhotoFishCaption(const StockRecord* const* stock, int32_t kind);
