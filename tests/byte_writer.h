// Small wave, bitmap and targa files built in memory for tests (little-endian).
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

inline void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(uint8_t(x));
    v.push_back(uint8_t(x >> 8));
}
inline void Put32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i)));
}
inline void PutTag(std::vector<uint8_t>& v, const char* tag) { v.insert(v.end(), tag, tag + 4); }

// A PCM wave; `samples` are raw values (0..255 for 8 bits), interleaved. `extraChunk` puts an
// odd-sized chunk before the format chunk.
inline std::vector<uint8_t> MakeWav(uint32_t rate, uint16_t channels, uint16_t bits, const std::vector<int>& samples,
                                    bool extraChunk = false) {
    std::vector<uint8_t> f;
    PutTag(f, "RIFF");
    Put32(f, 0);
    PutTag(f, "WAVE");
    if (extraChunk) {
        PutTag(f, "LIST");
        Put32(f, 3);
        f.insert(f.end(), {'a', 'b', 'c', 0});  // three bytes and the pad byte
    }
    PutTag(f, "fmt ");
    for (uint32_t v : {16u, 1u | uint32_t(channels) << 16, rate, rate * channels * bits / 8,
                       uint32_t(channels * bits / 8) | uint32_t(bits) << 16})
        Put32(f, v);
    PutTag(f, "data");
    Put32(f, uint32_t(samples.size() * bits / 8));
    for (int s : samples) {
        if (bits == 8) f.push_back(uint8_t(s));
        else Put16(f, uint32_t(s));
    }
    const uint32_t riff = uint32_t(f.size() - 8);
    std::memcpy(&f[4], &riff, 4);
    return f;
}

enum class Bmp { Rgb16, Rgb24, Rgb32, Bitfields32Alpha, Pal8 };

// A bitmap of the picture (ARGB, top row first). The alpha kind stores its channels in A-B-G-R
// order, so a reader must honour the masks.
inline std::vector<uint8_t> MakeBmp(uint32_t w, uint32_t h, const std::vector<uint32_t>& argb, Bmp kind,
                                    bool topDown = false) {
    const uint32_t bpp = kind == Bmp::Rgb16 ? 16 : kind == Bmp::Rgb24 ? 24 : kind == Bmp::Pal8 ? 8 : 32;
    const uint32_t headerSize = kind == Bmp::Bitfields32Alpha ? 108 : 40;
    std::vector<uint32_t> palette;
    if (kind == Bmp::Pal8)
        for (uint32_t c : argb)
            if (std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
    const uint32_t stride = (w * bpp + 31) / 32 * 4;
    const uint32_t offBits = 14 + headerSize + 4 * uint32_t(palette.size());
    std::vector<uint8_t> f = {'B', 'M'};
    for (uint32_t v : {offBits + stride * h, 0u, offBits, headerSize, w, topDown ? uint32_t(-int32_t(h)) : h,
                       1u | bpp << 16, kind == Bmp::Bitfields32Alpha ? 3u : 0u, stride * h, 2835u, 2835u,
                       uint32_t(palette.size()), 0u})
        Put32(f, v);
    if (kind == Bmp::Bitfields32Alpha) {
        for (uint32_t mask : {0x000000FFu, 0x0000FF00u, 0x00FF0000u, 0xFF000000u}) Put32(f, mask);
        f.resize(14 + headerSize, 0);
    }
    for (uint32_t c : palette) Put32(f, c & 0x00FFFFFF);
    for (uint32_t r = 0; r < h; ++r) {
        const uint32_t y = topDown ? r : h - 1 - r;
        const size_t rowStart = f.size();
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t c = argb[y * w + x];
            const uint8_t a = uint8_t(c >> 24), red = uint8_t(c >> 16), g = uint8_t(c >> 8), b = uint8_t(c);
            switch (kind) {
            case Bmp::Rgb16: Put16(f, uint32_t((red >> 3) << 10 | (g >> 3) << 5 | (b >> 3))); break;
            case Bmp::Rgb24: f.insert(f.end(), {b, g, red}); break;
            case Bmp::Rgb32: f.insert(f.end(), {b, g, red, a}); break;
            case Bmp::Bitfields32Alpha: f.insert(f.end(), {red, g, b, a}); break;
            case Bmp::Pal8: f.push_back(uint8_t(std::find(palette.begin(), palette.end(), c) - palette.begin())); break;
            }
        }
        f.resize(rowStart + stride, 0);
    }
    return f;
}

// An uncompressed targa of the picture (ARGB, top row first).
inline std::vector<uint8_t> MakeTga(uint32_t w, uint32_t h, const std::vector<uint32_t>& argb, int bpp,
                                    bool topOrigin) {
    std::vector<uint8_t> f = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16(f, w);
    Put16(f, h);
    f.push_back(uint8_t(bpp));
    f.push_back(uint8_t((bpp == 32 ? 8 : 0) | (topOrigin ? 0x20 : 0)));
    for (uint32_t r = 0; r < h; ++r) {
        const uint32_t y = topOrigin ? r : h - 1 - r;
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t c = argb[y * w + x];
            f.insert(f.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
            if (bpp == 32) f.push_back(uint8_t(c >> 24));
        }
    }
    return f;
}
