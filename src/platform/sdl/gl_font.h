// Text fonts of the GL device: the sans face at the requested cell height, drawing straight
// to the back buffer, with rendered strings cached as textures.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include "gl_text.h"
#include "platform/device.h"

namespace plat {

class GlDevice;

class GlFont : public Font {
public:
    // Fails when no font file opens.
    static HResult Create(GlDevice* device, const FontDesc& desc, GlFont** out, std::string* error);
    ~GlFont() override;

    HResult Begin() override;
    int32_t DrawText(const char* text, int32_t count, const Rect* rect, uint32_t format, uint32_t argb) override;
    HResult End() override;
    int32_t Height() const override { return height_; }

    // The device is going away: drop the cached textures while its context still exists.
    void Detach();
    size_t CachedTexts() const { return cache_.size(); }
    static constexpr size_t CACHE_CAPACITY = 256;

private:
    GlFont(GlDevice* device, TTF_Font* font, int32_t height, int32_t topPad)
        : device_(device), font_(font), height_(height), topPad_(topPad) {}
    struct Entry {
        TextImage image;
        uint64_t lastUse;
    };
    const Entry& Lookup(const std::string& bytes);
    void EvictOldest();

    GlDevice* device_;
    TTF_Font* font_;
    int32_t height_;
    // Rows between the top of the cell and the top of the rendered line, so that the baseline
    // sits the cell's ascent below the top as the system places it.
    int32_t topPad_;
    // Keyed by the string's bytes; the colour is applied when drawing.
    std::unordered_map<std::string, Entry> cache_;
    uint64_t uses_ = 0;
};

}  // namespace plat
