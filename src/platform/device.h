// The fixed-function 3-D device the game draws through, shaped like the device of the
// original platform: state persists across frames until it is set again or the device is reset.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "d3d_types.h"

namespace plat {

// Reference-counted device object (vertex buffer, texture, font).
class DeviceObject {
public:
    virtual ~DeviceObject() = default;
    void AddRef() { ++refCount_; }
    // Drops one reference; the object deletes itself at zero. Returns the remaining count.
    uint32_t Release() {
        uint32_t left = --refCount_;
        if (left == 0) delete this;
        return left;
    }
protected:
    uint32_t refCount_ = 1;
};

class VertexBuffer : public DeviceObject {
public:
    // Locks the whole buffer (offset 0, size 0 mean everything); the pointer stays valid until Unlock.
    virtual HResult Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) = 0;
    virtual HResult Unlock() = 0;
    virtual uint32_t Length() const = 0;
    // CPU copy of the contents (kept for every buffer: the managed pool survives a reset).
    virtual const uint8_t* Data() const = 0;
};

// A decoded texture image in the layout the loader produces: 32-bit ARGB texels,
// row 0 at the top of the picture (v = 0), width and height powers of two.
struct TextureImage {
    uint32_t width = 0, height = 0;
    uint32_t sourceWidth = 0, sourceHeight = 0;
    std::vector<uint32_t> argb;
};

class Texture : public DeviceObject {
public:
    virtual uint32_t Width() const = 0;
    virtual uint32_t Height() const = 0;
    virtual const std::string& SourceFile() const = 0;
};

class Font : public DeviceObject {
public:
    virtual HResult Begin() = 0;
    // Draws text (count -1: up to the terminating zero) in Windows-1252 into rect, clipped.
    virtual int32_t DrawText(const char* text, int32_t count, const Rect* rect, uint32_t format,
                             uint32_t argb) = 0;
    virtual HResult End() = 0;
    virtual int32_t Height() const = 0;
};

struct FontDesc {
    int32_t height = 0;       // cell height in pixels
    uint32_t width = 0;
    int32_t weight = FW_NORMAL;
    uint32_t mipLevels = 1;
    bool italic = false;
    uint32_t charSet = DEFAULT_CHARSET;
    uint32_t outputPrecision = 0;
    uint32_t quality = DEFAULT_QUALITY;
    uint32_t pitchAndFamily = 0;
    std::string faceName;
};

class Device {
public:
    virtual ~Device() = default;

    virtual HResult SetTransform(TransformType type, const Matrix* matrix) = 0;
    virtual HResult SetRenderState(RenderStateType state, uint32_t value) = 0;
    virtual HResult SetTextureStageState(uint32_t stage, TextureStageStateType type, uint32_t value) = 0;
    virtual HResult SetSamplerState(uint32_t sampler, SamplerStateType type, uint32_t value) = 0;
    virtual HResult SetMaterial(const Material* material) = 0;
    virtual HResult SetLight(uint32_t index, const Light* light) = 0;
    virtual HResult LightEnable(uint32_t index, bool enable) = 0;
    virtual HResult SetTexture(uint32_t stage, Texture* texture) = 0;
    virtual HResult SetFVF(uint32_t fvf) = 0;
    virtual HResult SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride) = 0;
    virtual HResult DrawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t primitiveCount) = 0;
    virtual HResult CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, Pool pool,
                                       VertexBuffer** out) = 0;
    virtual HResult Clear(uint32_t rectCount, const Rect* rects, uint32_t flags, uint32_t argb, float z,
                          uint32_t stencil) = 0;
    virtual HResult BeginScene() = 0;
    virtual HResult EndScene() = 0;

    // Device objects made from already-decoded data (used by the texture and font helpers).
    virtual HResult CreateTextureFromImage(const TextureImage& image, const std::string& sourceFile,
                                           Texture** out) = 0;
    virtual HResult CreateFontObject(const FontDesc& desc, Font** out) = 0;
};

}  // namespace plat
