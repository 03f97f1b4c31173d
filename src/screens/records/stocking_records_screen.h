// The stocking records' pages: which fish each page lists, and the species column.
#pragma once
#include <cstdint>

// 75 fish in pages of at most 12 rows.
constexpr int32_t STOCKING_PAGE_COUNT = 7;

struct StockingPageRange {
    int32_t first;  // the page's first fish in stock order
    int32_t end;    // one past its last fish
};

// The fish of page 1..7; an empty range for any other page.
StockingPageRange StockingPageFish(int32_t page);

// "Ghost", "Common" or "Mirror" by the fish's kind.
const char* StockingSpecies(int32_t kind);
