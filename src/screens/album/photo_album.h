// The photo album's captions: the fish's weight and its name.
#pragma once
#include <cstdint>
#include <string>
#include "fishing/stock/stock_file.h"

// The name of the named fish of this kind, "Unnamed Common", "Unnamed Mirror" or "Unknown Mirror!",
// or "" for a kind no photo can hold.
const char* PhotoFishCaption(const StockRecord* const* stock, int32_t kind);

// "12 lb's  8 ounces", or the weight to one decimal ("12.0lb's") when the ounces are 0.
std::string PhotoWeightText(float weight);
