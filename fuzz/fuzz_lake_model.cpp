// Fuzz target: the lake model text. The first byte chooses how much of a valid model (all zero,
// flat, nothing active) comes before the rest of the input, so that short inputs reach every
// block: '1' the terrain cells, '2' the cells and billboards, '3' also the scenery items; any
// other byte nothing (the quick case, which most mutations of that byte give).
#include <memory>
#include <string>
#include <vector>
#include "fuzz_target.h"
#include "world/lake_model.h"

namespace {

std::string Repeat(const char* record, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += record;
    return s;
}

const std::string& Prefix(int blocks) {
    static const std::vector<std::string> prefixes = [] {
        std::vector<std::string> p(4);
        p[1] = Repeat("0 0 0 0 0 0 0 0 0 0 0 0 44\n", TERRAIN_GRID_CELLS);
        p[2] = p[1] + Repeat("0 0 0 0 0 0\n", BILLBOARD_COUNT - 1);
        p[3] = p[2] + Repeat("0 0 0 0 0 0 0\n", SCENERY_ITEM_COUNT);
        return p;
    }();
    return prefixes[size_t(blocks)];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int blocks = data[0] >= '1' && data[0] <= '3' ? data[0] - '0' : 0;
    std::string text = Prefix(blocks);
    text.append(reinterpret_cast<const char*>(data + 1), size - 1);
    auto model = std::make_unique<LakeModel>();
    ParseLakeModel(text.data(), text.size(), model.get());
    return 0;
}
