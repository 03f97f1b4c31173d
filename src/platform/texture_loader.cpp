// Texture decoding (placeholder until the loader lands).
#include "d3dx.h"

namespace plat {
bool DecodeTextureFile(const char*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, TextureImage*) {
    return false;
}
bool DecodeTextureMemory(const uint8_t*, size_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                         TextureImage*) {
    return false;
}
HResult CreateTextureFromFileEx(Device*, const char*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, Pool,
                                uint32_t, uint32_t, uint32_t, Texture** out) {
    *out = nullptr;
    return FAIL;
}
HResult CreateFont(Device* device, int32_t height, uint32_t width, int32_t weight, uint32_t mipLevels,
                   bool italic, uint32_t charSet, uint32_t outputPrecision, uint32_t quality,
                   uint32_t pitchAndFamily, const char* faceName, Font** out) {
    FontDesc d;
    d.height = height; d.width = width; d.weight = weight; d.mipLevels = mipLevels; d.italic = italic;
    d.charSet = charSet; d.outputPrecision = outputPrecision; d.quality = quality;
    d.pitchAndFamily = pitchAndFamily; d.faceName = faceName ? faceName : "";
    return device->CreateFontObject(d, out);
}
}  // namespace plat
