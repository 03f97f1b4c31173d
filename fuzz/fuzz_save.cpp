// Fuzz target: the save file, read as the game's start-up reads it (through a FILE), then its
// weights shown as pounds and ounces as the records screens and the album show them.
#include <cstdio>
#include <memory>
#include "fishing/weight.h"
#include "fuzz_target.h"
#include "shell/save_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = size ? fmemopen(const_cast<uint8_t*>(data), size, "r") : std::fopen("/dev/null", "r");
    if (!file) return 0;
    auto save = std::make_unique<SaveFileContents>();
    ReadSaveValues(file, save.get());
    std::fclose(file);
    for (const PhotoRecord& p : save->photos) WeightToPoundsOunces(p.fishWeight);
    for (float weight : save->bestWeight) WeightToPoundsOunces(weight);
    return 0;
}
