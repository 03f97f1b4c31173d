// Fuzz target: the stock file, read as the game reads it (through a FILE), then turned into each
// fish's start data and shown as pounds and ounces as the records screens show it.
#include <cstdio>
#include <memory>
#include <string>
#include "fishing/weight.h"
#include "fuzz_target.h"
#include "platform/system.h"
#include "fishing/stock/stock_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = size ? fmemopen(const_cast<uint8_t*>(data), size, "r") : std::fopen("/dev/null", "r");
    if (!file) return 0;
    auto stock = std::make_unique<StockFileContents>();
    std::string error;
    const bool read = ReadStockFile(file, stock.get(), &error);
    std::fclose(file);
    if (!read) return 0;

    plat::GameSrand(1);
    for (StockRecord& r : stock->fish) {
        r.currentWeight = StartingWeight(r.stockingWeight, r.recentWeight);
        FishPlacement placement;
        FillStartData(r, &placement);
        WeightToPoundsOunces(r.stockingWeight);
        WeightToPoundsOunces(r.recentWeight);
        WeightToPoundsOunces(placement.weight);
    }
    return 0;
}
