// Texture files (BMP, TGA) decoded into power-of-two ARGB images: alpha defaulting, colour key,
// padding without scaling (FILTER_NONE) or scaling to the padded size, and the device upload.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>
#include "d3dx.h"
#include "file_bytes.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_TGA
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#define STBI_MAX_DIMENSIONS 4096  // MAX_SIDE below
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace plat {
namespace {

// Largest source side accepted: four times the game's largest texture. With it no file can make
// the loader hold more than a few 64 MB pictures.
constexpr uint32_t MAX_SIDE = 4096;
static_assert(MAX_SIDE == STBI_MAX_DIMENSIONS, "the decoder refuses what the header checks refuse");
// A file larger than the largest uncompressed picture plus room for headers and palettes.
constexpr size_t MAX_FILE_BYTES = size_t(MAX_SIDE) * MAX_SIDE * 4 + (size_t(1) << 20);

// A decoded source picture: ARGB texels, row 0 at the top.
struct Picture {
    uint32_t w = 0, h = 0;
    std::vector<uint32_t> argb;
};

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

uint32_t NextPow2(uint32_t v) {
    uint32_t p = 1;
    while (p < v) p <<= 1;
    return p;
}

// ---- BMP ----

constexpr uint32_t BI_RGB = 0, BI_BITFIELDS = 3, BI_ALPHABITFIELDS = 6;

struct BmpInfo {
    uint32_t offBits = 0;
    uint32_t headerSize = 0;
    uint32_t width = 0, height = 0;
    bool topDown = false;
    uint16_t bpp = 0;
    uint32_t compression = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha as written in the file
};

bool ReadBmpInfo(const uint8_t* d, size_t size, BmpInfo* bi) {
    if (size < 26 || d[0] != 'B' || d[1] != 'M') return false;
    bi->offBits = Le32(d + 10);
    bi->headerSize = Le32(d + 14);
    if (bi->headerSize == 12) {
        bi->width = Le16(d + 18);
        bi->height = Le16(d + 20);
        bi->bpp = Le16(d + 24);
        bi->compression = BI_RGB;
        return bi->width > 0 && bi->height > 0;
    }
    if (bi->headerSize < 40 || size < 14 + size_t(40)) return false;
    int32_t w = int32_t(Le32(d + 18));
    int32_t h = int32_t(Le32(d + 22));
    bi->bpp = Le16(d + 28);
    bi->compression = Le32(d + 30);
    if (w <= 0 || h == 0 || h == INT32_MIN) return false;
    bi->width = uint32_t(w);
    bi->topDown = h < 0;
    bi->height = uint32_t(h < 0 ? -h : h);
    // Channel masks: inside a V2+ header, or right after a plain 40-byte header.
    size_t maskCount = 0;
    if (bi->headerSize >= 56) maskCount = 4;
    else if (bi->headerSize >= 52) maskCount = 3;
    else if (bi->compression == BI_ALPHABITFIELDS) maskCount = 4;
    else if (bi->compression == BI_BITFIELDS) maskCount = 3;
    if (maskCount && size < 54 + 4 * maskCount) return false;
    for (size_t i = 0; i < maskCount; ++i) bi->masks[i] = Le32(d + 54 + 4 * i);
    return true;
}

struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
};

Channel MakeChannel(uint32_t mask) {
    Channel c;
    c.mask = mask;
    if (!mask) return c;
    while (!((mask >> c.shift) & 1u)) ++c.shift;
    for (uint32_t m = mask >> c.shift; m; m >>= 1) c.bits += int(m & 1u);
    return c;
}

uint32_t Extract(uint32_t px, const Channel& c) {
    if (!c.mask) return 0;
    uint32_t v = (px & c.mask) >> c.shift;
    if (c.bits >= 8) return (v >> (c.bits - 8)) & 0xFFu;
    return v * 255u / ((1u << c.bits) - 1u);
}

// 32-bit bitmaps are read here: alpha comes from the file only when the header declares an alpha
// mask (BI_RGB is X8R8G8B8 and reads opaque).
bool Decode32BitBmp(const uint8_t* d, const BmpInfo& bi, Picture* pic) {
    uint32_t rgb[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    uint32_t alphaMask = 0;
    switch (bi.compression) {
    case BI_RGB:
        if (bi.headerSize >= 108) alphaMask = bi.masks[3];
        break;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS:
        std::copy(bi.masks, bi.masks + 3, rgb);
        alphaMask = bi.masks[3];
        break;
    default:
        return false;
    }
    uint64_t stride = uint64_t(bi.width) * 4;
    Channel r = MakeChannel(rgb[0]), g = MakeChannel(rgb[1]), b = MakeChannel(rgb[2]);
    Channel a = MakeChannel(alphaMask);
    pic->w = bi.width;
    pic->h = bi.height;
    pic->argb.assign(size_t(pic->w) * pic->h, 0);
    for (uint32_t row = 0; row < bi.height; ++row) {
        const uint8_t* src = d + bi.offBits + stride * row;
        uint32_t y = bi.topDown ? row : bi.height - 1 - row;
        uint32_t* dst = &pic->argb[size_t(y) * pic->w];
        for (uint32_t x = 0; x < bi.width; ++x) {
            uint32_t px = Le32(src + 4 * size_t(x));
            uint32_t alpha = alphaMask ? Extract(px, a) : 0xFFu;
            dst[x] = (alpha << 24) | (Extract(px, r) << 16) | (Extract(px, g) << 8) | Extract(px, b);
        }
    }
    return true;
}

// The codings read here: plain rows of 1 to 32 bits, bit fields at 16 and 32 bits, and an alpha
// mask at 32 bits. Run-length and embedded JPEG/PNG bitmaps are refused.
bool BmpCodingKnown(const BmpInfo& bi) {
    switch (bi.compression) {
    case BI_RGB:
        return bi.bpp == 1 || bi.bpp == 4 || bi.bpp == 8 || bi.bpp == 16 || bi.bpp == 24 || bi.bpp == 32;
    case BI_BITFIELDS:
        return bi.bpp == 16 || bi.bpp == 32;
    case BI_ALPHABITFIELDS:
        return bi.bpp == 32;
    default:
        return false;
    }
}

// The pixel rows start after the headers and are all in the file.
bool BmpLongEnough(size_t size, const BmpInfo& bi) {
    uint64_t stride = (uint64_t(bi.width) * bi.bpp + 31) / 32 * 4;
    return bi.offBits >= 14u + bi.headerSize && uint64_t(bi.offBits) + stride * bi.height <= size;
}

// ---- TGA ----

// Checks a Targa header and that the file holds every pixel it promises (plain or run-length coded).
bool TgaLongEnough(const uint8_t* d, size_t size) {
    if (size < 18) return false;
    uint8_t idLength = d[0], mapType = d[1], type = d[2];
    uint16_t mapLength = Le16(d + 5);
    uint8_t mapBits = d[7];
    uint32_t w = Le16(d + 12), h = Le16(d + 14);
    uint8_t bpp = d[16];
    if (mapType > 1) return false;
    if (type != 1 && type != 2 && type != 3 && type != 9 && type != 10 && type != 11) return false;
    if (w == 0 || h == 0 || w > MAX_SIDE || h > MAX_SIDE) return false;
    if (bpp != 8 && bpp != 15 && bpp != 16 && bpp != 24 && bpp != 32) return false;
    uint64_t pixelBytes = (bpp + 7u) / 8u;
    uint64_t pos = 18u + idLength + (mapType ? uint64_t(mapLength) * ((mapBits + 7u) / 8u) : 0);
    uint64_t pixels = uint64_t(w) * h;
    if (type < 9) return pos + pixels * pixelBytes <= size;
    for (uint64_t done = 0; done < pixels;) {
        if (pos >= size) return false;
        uint8_t packet = d[pos++];
        uint64_t run = (packet & 0x7Fu) + 1u;
        pos += (packet & 0x80u) ? pixelBytes : run * pixelBytes;
        if (pos > size) return false;
        done += run;
    }
    return true;
}

// ---- decoding ----

// Decodes through stb_image into ARGB; `opaque` makes every texel's alpha 0xFF. The caller has
// checked the header's size against MAX_SIDE.
bool DecodeWithStb(const uint8_t* d, size_t size, bool opaque, Picture* pic) {
    if (size > size_t(INT_MAX)) return false;
    int w = 0, h = 0, comp = 0;
    stbi_uc* px = stbi_load_from_memory(d, int(size), &w, &h, &comp, 4);
    if (!px) return false;
    if (w <= 0 || h <= 0) {
        stbi_image_free(px);
        return false;
    }
    pic->w = uint32_t(w);
    pic->h = uint32_t(h);
    pic->argb.resize(size_t(w) * h);
    for (size_t i = 0; i < pic->argb.size(); ++i) {
        const stbi_uc* p = px + 4 * i;
        uint32_t a = opaque ? 0xFFu : p[3];
        pic->argb[i] = (a << 24) | (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
    }
    stbi_image_free(px);
    return true;
}

bool DecodePicture(const uint8_t* d, size_t size, Picture* pic) {
    if (!d || size < 18) return false;
    if (d[0] == 'B' && d[1] == 'M') {
        BmpInfo bi;
        if (!ReadBmpInfo(d, size, &bi)) return false;
        if (bi.width > MAX_SIDE || bi.height > MAX_SIDE) return false;
        if (!BmpCodingKnown(bi) || !BmpLongEnough(size, bi)) return false;
        if (bi.bpp == 32) return Decode32BitBmp(d, bi, pic);
        return DecodeWithStb(d, size, true, pic);  // 1/4/8/16/24-bit: no alpha channel
    }
    if (!TgaLongEnough(d, size)) return false;
    return DecodeWithStb(d, size, false, pic);
}

// One output sample's source taps along an axis.
struct Tap {
    uint32_t index;
    float weight;
};

// Triangle (tent) filter taps for resampling `src` samples to `dst`; edges clamp.
std::vector<std::vector<Tap>> TentTaps(uint32_t src, uint32_t dst) {
    std::vector<std::vector<Tap>> taps(dst);
    double scale = double(src) / double(dst);
    double radius = std::max(1.0, scale);
    for (uint32_t o = 0; o < dst; ++o) {
        double centre = (o + 0.5) * scale - 0.5;
        long first = long(std::ceil(centre - radius));
        long last = long(std::floor(centre + radius));
        double sum = 0;
        for (long i = first; i <= last; ++i) {
            double w = 1.0 - std::fabs(double(i) - centre) / radius;
            if (w <= 0) continue;
            long clamped = std::min(std::max(i, 0L), long(src) - 1);
            taps[o].push_back({uint32_t(clamped), float(w)});
            sum += w;
        }
        for (Tap& t : taps[o]) t.weight = float(t.weight / sum);
    }
    return taps;
}

// Scales a picture to w x h with the tent filter, each ARGB channel on its own. The horizontal pass
// of a source row is made when an output row first needs it and dropped once no later output row
// can (the taps only move down), so only a few rows are held at a time when enlarging.
void ScaleInto(const Picture& pic, uint32_t w, uint32_t h, std::vector<uint32_t>* out) {
    auto tx = TentTaps(pic.w, w);
    auto ty = TentTaps(pic.h, h);
    std::map<uint32_t, std::vector<float>> rows;
    auto row = [&](uint32_t y) -> const float* {
        auto found = rows.find(y);
        if (found != rows.end()) return found->second.data();
        std::vector<float>& r = rows[y];
        r.resize(size_t(w) * 4);
        for (uint32_t x = 0; x < w; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (const Tap& t : tx[x]) {
                uint32_t px = pic.argb[size_t(y) * pic.w + t.index];
                for (int c = 0; c < 4; ++c) acc[c] += t.weight * float((px >> (24 - 8 * c)) & 0xFFu);
            }
            std::copy(acc, acc + 4, &r[size_t(x) * 4]);
        }
        return r.data();
    };
    out->assign(size_t(w) * h, 0);
    std::vector<const float*> sources;
    for (uint32_t y = 0; y < h; ++y) {
        uint32_t lowest = pic.h;
        for (const Tap& t : ty[y]) lowest = std::min(lowest, t.index);
        rows.erase(rows.begin(), rows.lower_bound(lowest));
        sources.clear();
        for (const Tap& t : ty[y]) sources.push_back(row(t.index));
        for (uint32_t x = 0; x < w; ++x) {
            float acc[4] = {0, 0, 0, 0};
            for (size_t i = 0; i < ty[y].size(); ++i)
                for (int c = 0; c < 4; ++c) acc[c] += ty[y][i].weight * sources[i][size_t(x) * 4 + c];
            uint32_t px = 0;
            for (int c = 0; c < 4; ++c) {
                long v = std::lround(acc[c]);
                px |= uint32_t(std::min(std::max(v, 0L), 255L)) << (24 - 8 * c);
            }
            (*out)[size_t(y) * w + x] = px;
        }
    }
}

// Target side: DEFAULT (or 0) takes the source side; either way rounded up to a power of two.
uint32_t TargetSide(uint32_t requested, uint32_t source) {
    uint32_t side = (requested == DEFAULT_VALUE || requested == 0) ? source : requested;
    return NextPow2(std::min(side, MAX_SIDE));
}

}  // namespace

bool DecodeTextureMemory(const uint8_t* data, size_t size, uint32_t width, uint32_t height,
                         uint32_t mipLevels, uint32_t filter, uint32_t mipFilter, uint32_t colorKey,
                         TextureImage* out) {
    // Only the top level is produced: the game never samples mip levels.
    (void)mipLevels;
    (void)mipFilter;
    if (!out) return false;
    Picture pic;
    if (!DecodePicture(data, size, &pic)) return false;

    if (colorKey != 0)
        for (uint32_t& px : pic.argb)
            if (px == colorKey) px = 0x00000000u;

    TextureImage img;
    img.sourceWidth = pic.w;
    img.sourceHeight = pic.h;
    img.width = TargetSide(width, pic.w);
    img.height = TargetSide(height, pic.h);
    if (filter == FILTER_NONE) {
        // Unscaled at the top-left; the rest transparent black.
        img.argb.assign(size_t(img.width) * img.height, 0x00000000u);
        uint32_t cw = std::min(img.width, pic.w), ch = std::min(img.height, pic.h);
        for (uint32_t y = 0; y < ch; ++y)
            std::copy_n(&pic.argb[size_t(y) * pic.w], cw, &img.argb[size_t(y) * img.width]);
    } else if (img.width == pic.w && img.height == pic.h) {
        img.argb = std::move(pic.argb);  // already a power of two: the filter leaves it as it is
    } else {
        ScaleInto(pic, img.width, img.height, &img.argb);
    }
    *out = std::move(img);
    return true;
}

bool DecodeTextureFile(const char* path, uint32_t width, uint32_t height, uint32_t mipLevels,
                       uint32_t filter, uint32_t mipFilter, uint32_t colorKey, TextureImage* out) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, &bytes, MAX_FILE_BYTES)) return false;
    return DecodeTextureMemory(bytes.data(), bytes.size(), width, height, mipLevels, filter, mipFilter,
                               colorKey, out);
}

HResult CreateTextureFromFileEx(Device* device, const char* path, uint32_t width, uint32_t height,
                                uint32_t mipLevels, uint32_t usage, uint32_t format, Pool pool,
                                uint32_t filter, uint32_t mipFilter, uint32_t colorKey, Texture** out) {
    // Every texture is an ARGB image kept by the device across resets.
    (void)usage;
    (void)format;
    (void)pool;
    if (!out) return FAIL;
    *out = nullptr;
    if (!device || !path) return FAIL;
    std::vector<uint8_t> bytes;
    std::string why, file;
    if (ReadGameFile(path, MAX_FILE_BYTES, &bytes, &why, &file) != FileRead::OK) {
        ReportFileNotLoaded("texture", file, why);
        return FAIL;
    }
    TextureImage image;
    if (!DecodeTextureMemory(bytes.data(), bytes.size(), width, height, mipLevels, filter, mipFilter, colorKey,
                             &image)) {
        ReportFileNotLoaded("texture", file, "it is not a picture the game can read");
        return FAIL;
    }
    Texture* texture = nullptr;
    HResult r = device->CreateTextureFromImage(image, path, &texture);
    if (Failed(r) || !texture) {
        if (texture) texture->Release();
        return Failed(r) ? r : FAIL;
    }
    *out = texture;
    return OK;
}

}  // namespace plat
