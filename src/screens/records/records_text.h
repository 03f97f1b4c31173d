// Texts shared by the catch and stocking records screens: colours and a weight in pounds and ounces.
#pragma once
#include <cstdint>
#include <string>
#include "fishing/stock/stock_file.h"

// The named fish are the first 27 of the stock, kinds 1..27.
constexpr int32_t NAMED_FISH_COUNT = 27;

constexpr uint32_t RECORDS_TITLE_COLOUR = 0xFF6432FAu;
constexpr uint32_t RECORDS_WHITE = 0xFFFAFAFAu;

// "12 lb's  8 ounces." or, when the ounces are 0, "12 lb's  ".
std::string RecordsWeightText(float weight);

// A catch-records row: the named fish with its tag and, when caught, its best weight.
std::string CatchRecordRowText(const StockRecord& record, float best);

// The best weights of the biggest unnamed common and mirror, 0 when none is caught.
struct UnnamedBests {
    float common;
    float mirror;
};
