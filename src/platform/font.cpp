// Text font creation: packs the system-font parameters and lets the device build the font.
#include "d3dx.h"

namespace plat {

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
