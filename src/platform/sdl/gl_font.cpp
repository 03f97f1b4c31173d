// Text fonts: rendered strings cached per font, drawn as screen-space quads.
#include "gl_font.h"
#include <algorithm>
#include "gl_device.h"

namespace plat {

HResult GlFont::Create(GlDevice* device, const FontDesc& desc, GlFont** out, std::string* error) {
    *out = nullptr;
    int32_t cellAscent = 0;
    TTF_Font* font = OpenSansFont(desc.height, error, &cellAscent);
    if (!font) return FAIL;
    *out = new GlFont(device, font, desc.height, std::max(0, cellAscent - TTF_FontAscent(font)));
    return OK;
}

GlFont::~GlFont() {
    if (device_) {
        for (auto& kv : cache_) DeleteTextImage(&kv.second.image);
        device_->OnFontDestroyed(this);
    }
    if (font_ && TTF_WasInit()) TTF_CloseFont(font_);
}

void GlFont::Detach() {
    for (auto& kv : cache_) DeleteTextImage(&kv.second.image);
    cache_.clear();
    device_ = nullptr;
}

HResult GlFont::Begin() {
    if (!device_) return FAIL;
    device_->BeginOverlay();
    return OK;
}

HResult GlFont::End() {
    if (!device_) return FAIL;
    device_->EndOverlay();
    return OK;
}

void GlFont::EvictOldest() {
    auto oldest = cache_.begin();
    for (auto it = cache_.begin(); it != cache_.end(); ++it)
        if (it->second.lastUse < oldest->second.lastUse) oldest = it;
    if (oldest == cache_.end()) return;
    DeleteTextImage(&oldest->second.image);
    cache_.erase(oldest);
}

const GlFont::Entry& GlFont::Lookup(const std::string& bytes) {
    auto it = cache_.find(bytes);
    if (it == cache_.end()) {
        if (cache_.size() >= CACHE_CAPACITY) EvictOldest();
        Entry e{RenderTextImage(font_, Cp1252ToUtf8(bytes.data(), static_cast<int32_t>(bytes.size()))), 0};
        it = cache_.emplace(bytes, e).first;
    }
    it->second.lastUse = ++uses_;
    return it->second;
}

int32_t GlFont::DrawText(const char* text, int32_t count, const Rect* rect, uint32_t format, uint32_t argb) {
    if (!device_ || !text || !rect) return 0;
    std::string bytes = count < 0 ? std::string(text) : std::string(text, static_cast<size_t>(count));
    if (bytes.empty()) return 0;
    device_->BeginOverlay();
    const Entry& e = Lookup(bytes);
    const int32_t height = topPad_ + e.image.height;
    Point at = PlaceText(*rect, format, e.image.width, height);
    DrawTextImage(e.image, at.x, at.y + topPad_, *rect, argb);
    device_->EndOverlay();
    // One line is one cell high, as the system reports it.
    return bytes.find('\n') == std::string::npos ? height_ : height;
}

}  // namespace plat
