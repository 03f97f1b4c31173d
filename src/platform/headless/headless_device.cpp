// The recording device of the headless backend.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "headless_backend.h"

namespace plat {

namespace {

class HeadlessVertexBuffer : public VertexBuffer {
public:
    HeadlessVertexBuffer(HeadlessDevice* owner, uint32_t length) : owner_(owner), data_(length, 0) {}
    ~HeadlessVertexBuffer() override { --owner_->liveVertexBuffers; }
    HResult Lock(uint32_t offset, uint32_t size, void** data, uint32_t) override {
        if (!data || offset > data_.size() || (size && offset + size > data_.size())) return FAIL;
        *data = data_.data() + offset;
        locked_ = true;
        return OK;
    }
    HResult Unlock() override {
        locked_ = false;
        return OK;
    }
    uint32_t Length() const override { return static_cast<uint32_t>(data_.size()); }
    const uint8_t* Data() const override { return data_.data(); }
private:
    HeadlessDevice* owner_;
    std::vector<uint8_t> data_;
    bool locked_ = false;
};

class HeadlessTexture : public Texture {
public:
    HeadlessTexture(HeadlessDevice* owner, const TextureImage& image, const std::string& file)
        : owner_(owner), width_(image.width), height_(image.height), file_(file) {}
    ~HeadlessTexture() override {
        --owner_->liveTextures;
        ++owner_->texturesReleased;
    }
    uint32_t Width() const override { return width_; }
    uint32_t Height() const override { return height_; }
    const std::string& SourceFile() const override { return file_; }
private:
    HeadlessDevice* owner_;
    uint32_t width_, height_;
    std::string file_;
};

class HeadlessFont : public Font {
public:
    HeadlessFont(HeadlessDevice* owner, const FontDesc& desc) : owner_(owner), desc_(desc) {}
    ~HeadlessFont() override { --owner_->liveFonts; }
    HResult Begin() override { return OK; }
    int32_t DrawText(const char* text, int32_t count, const Rect* rect, uint32_t, uint32_t argb) override {
        if (!text || !rect) return 0;
        std::string s = count < 0 ? std::string(text) : std::string(text, static_cast<size_t>(count));
        owner_->texts.push_back(TextRecord{s, *rect, argb, desc_.height});
        return desc_.height;
    }
    HResult End() override { return OK; }
    int32_t Height() const override { return desc_.height; }
private:
    HeadlessDevice* owner_;
    FontDesc desc_;
};

}  // namespace

HeadlessDevice::HeadlessDevice() = default;
HeadlessDevice::~HeadlessDevice() = default;

void HeadlessDevice::ClearLog() {
    calls.clear();
    draws.clear();
    texts.clear();
    clears.clear();
}

#define LOG_CALL(...)                                          \
    do {                                                       \
        if (recordCallLines) {                                 \
            char line[160];                                    \
            std::snprintf(line, sizeof line, __VA_ARGS__);     \
            calls.emplace_back(line);                          \
        }                                                      \
    } while (0)

HResult HeadlessDevice::SetTransform(TransformType type, const Matrix* matrix) {
    if (!matrix) return FAIL;
    LOG_CALL("SetTransform %u", type);
    switch (type) {
        case TS_WORLD: state_.world = *matrix; break;
        case TS_VIEW: state_.view = *matrix; break;
        case TS_PROJECTION: state_.projection = *matrix; break;
        default: return FAIL;
    }
    return OK;
}

HResult HeadlessDevice::SetRenderState(RenderStateType s, uint32_t value) {
    if (s >= RENDER_STATE_COUNT) return FAIL;
    LOG_CALL("SetRenderState %u %u", s, value);
    state_.renderState[s] = value;
    return OK;
}

HResult HeadlessDevice::SetTextureStageState(uint32_t stage, TextureStageStateType type, uint32_t value) {
    if (stage != 0 || type >= 8) return FAIL;
    LOG_CALL("SetTextureStageState %u %u %u", stage, type, value);
    state_.stageState[type] = value;
    return OK;
}

HResult HeadlessDevice::SetSamplerState(uint32_t sampler, SamplerStateType type, uint32_t value) {
    if (sampler != 0 || type >= 16) return FAIL;
    LOG_CALL("SetSamplerState %u %u %u", sampler, type, value);
    state_.samplerState[type] = value;
    return OK;
}

HResult HeadlessDevice::SetMaterial(const Material* material) {
    if (!material) return FAIL;
    LOG_CALL("SetMaterial");
    state_.material = *material;
    return OK;
}

HResult HeadlessDevice::SetLight(uint32_t index, const Light* light) {
    if (!light || index >= MAX_LIGHTS) return FAIL;
    LOG_CALL("SetLight %u", index);
    state_.lights[index] = *light;
    state_.lightSet[index] = true;
    return OK;
}

HResult HeadlessDevice::LightEnable(uint32_t index, bool enable) {
    if (index >= MAX_LIGHTS) return FAIL;
    LOG_CALL("LightEnable %u %d", index, enable ? 1 : 0);
    state_.lightEnabled[index] = enable;
    return OK;
}

HResult HeadlessDevice::SetTexture(uint32_t stage, Texture* texture) {
    if (stage != 0) return FAIL;
    LOG_CALL("SetTexture %s", texture ? texture->SourceFile().c_str() : "none");
    state_.texture = texture;
    return OK;
}

HResult HeadlessDevice::SetFVF(uint32_t fvf) {
    LOG_CALL("SetFVF 0x%x", fvf);
    state_.fvf = fvf;
    return OK;
}

HResult HeadlessDevice::SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride) {
    if (stream != 0) return FAIL;
    LOG_CALL("SetStreamSource %u", stride);
    state_.stream = buffer;
    state_.streamOffset = offset;
    state_.streamStride = stride;
    return OK;
}

HResult HeadlessDevice::DrawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t primitiveCount) {
    LOG_CALL("DrawPrimitive %u %u %u", type, startVertex, primitiveCount);
    if (!state_.stream) return FAIL;
    uint32_t stride = state_.streamStride ? state_.streamStride : 32;
    if ((startVertex + primitiveCount + 2) * stride > state_.stream->Length()) return FAIL;
    if (!recordDraws) return OK;
    DrawRecord r;
    r.type = type;
    r.startVertex = startVertex;
    r.primitiveCount = primitiveCount;
    r.buffer = state_.stream;
    r.texture = state_.texture;
    r.textureFile = state_.texture ? state_.texture->SourceFile() : std::string();
    r.fvf = state_.fvf;
    r.fillMode = state_.renderState[RS_FILLMODE];
    r.alphaBlend = state_.renderState[RS_ALPHABLENDENABLE] != 0;
    r.alphaTest = state_.renderState[RS_ALPHATESTENABLE] != 0;
    r.alphaRef = state_.renderState[RS_ALPHAREF];
    r.lighting = state_.renderState[RS_LIGHTING] != 0;
    std::memcpy(r.lightEnabled, state_.lightEnabled, sizeof r.lightEnabled);
    r.world = state_.world;
    r.view = state_.view;
    r.projection = state_.projection;
    draws.push_back(std::move(r));
    return OK;
}

HResult HeadlessDevice::CreateVertexBuffer(uint32_t length, uint32_t, uint32_t, Pool, VertexBuffer** out) {
    if (!out) return FAIL;
    *out = new HeadlessVertexBuffer(this, length);
    ++liveVertexBuffers;
    return OK;
}

HResult HeadlessDevice::Clear(uint32_t, const Rect*, uint32_t flags, uint32_t argb, float z, uint32_t) {
    LOG_CALL("Clear %u 0x%08x", flags, argb);
    clears.push_back(ClearRecord{flags, argb, z});
    return OK;
}

HResult HeadlessDevice::BeginScene() {
    LOG_CALL("BeginScene");
    if (inScene) return FAIL;
    inScene = true;
    return OK;
}

HResult HeadlessDevice::EndScene() {
    LOG_CALL("EndScene");
    if (!inScene) return FAIL;
    inScene = false;
    return OK;
}

HResult HeadlessDevice::CreateTextureFromImage(const TextureImage& image, const std::string& sourceFile,
                                               Texture** out) {
    if (!out) return FAIL;
    *out = new HeadlessTexture(this, image, sourceFile);
    ++liveTextures;
    ++texturesCreated;
    return OK;
}

HResult HeadlessDevice::CreateFontObject(const FontDesc& desc, Font** out) {
    if (!out) return FAIL;
    *out = nullptr;
    if (failFontCreation) return FAIL;
    *out = new HeadlessFont(this, desc);
    ++liveFonts;
    fontsCreated.push_back(desc);
    return OK;
}

}  // namespace plat
