// Vertex buffers and textures of the GL device. Both keep working as plain objects after the
// device is gone (the device detaches them), so a late Release is always safe.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "platform/device.h"

namespace plat {

class GlDevice;

class GlVertexBuffer : public VertexBuffer {
public:
    GlVertexBuffer(GlDevice* device, uint32_t length);
    ~GlVertexBuffer() override;
    HResult Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) override;
    HResult Unlock() override;
    uint32_t Length() const override { return static_cast<uint32_t>(data_.size()); }
    const uint8_t* Data() const override { return data_.data(); }

    // Where the data sits in the device's vertex arena (bytes; a multiple of 32).
    uint32_t ArenaOffset() const { return arenaOffset_; }
    uint32_t ArenaSize() const { return arenaSize_; }
    void SetArenaSlot(uint32_t offset, uint32_t size) { arenaOffset_ = offset; arenaSize_ = size; }
    bool Locked() const { return locked_; }
    void Detach() { device_ = nullptr; }

private:
    GlDevice* device_;
    std::vector<uint8_t> data_;
    uint32_t arenaOffset_ = 0, arenaSize_ = 0;
    bool locked_ = false;
};

class GlTexture : public Texture {
public:
    GlTexture(GlDevice* device, uint32_t name, uint32_t width, uint32_t height, std::string sourceFile,
              bool opaque);
    ~GlTexture() override;
    uint32_t Width() const override { return width_; }
    uint32_t Height() const override { return height_; }
    const std::string& SourceFile() const override { return sourceFile_; }

    uint32_t Name() const { return name_; }
    // Every texel has alpha 255.
    bool Opaque() const { return opaque_; }
    void Detach() { device_ = nullptr; name_ = 0; }
    // Sampler settings last given to this GL texture object (0 = not yet set).
    uint32_t magFilter = 0, minFilter = 0, addressU = 0, addressV = 0;

private:
    GlDevice* device_;
    uint32_t name_;
    uint32_t width_, height_;
    std::string sourceFile_;
    bool opaque_;
};

}  // namespace plat
