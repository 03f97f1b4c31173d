// Fuzz target: bitmap and Targa textures, decoded with both parameter sets the game loads with
// (bitmaps: padded, keyed; Targas: scaled to the padded size).
#include "fuzz_target.h"
#include "platform/d3dx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr uint32_t D = plat::DEFAULT_VALUE;
    plat::TextureImage image;
    plat::DecodeTextureMemory(data, size, D, D, 1, plat::FILTER_NONE, plat::FILTER_NONE, 0x01000000u, &image);
    plat::DecodeTextureMemory(data, size, D, D, D, D, D, 0, &image);
    return 0;
}
