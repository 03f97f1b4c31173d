// Vertex buffers (CPU copy + a slot in the device's GL vertex arena) and GL textures.
#include "gl_objects.h"
#include "gl_device.h"

namespace plat {

GlVertexBuffer::GlVertexBuffer(GlDevice* device, uint32_t length) : device_(device), data_(length, 0) {}

GlVertexBuffer::~GlVertexBuffer() {
    if (device_) device_->OnVertexBufferDestroyed(this);
}

HResult GlVertexBuffer::Lock(uint32_t offset, uint32_t size, void** data, uint32_t) {
    if (!data) return FAIL;
    *data = nullptr;
    if (offset > data_.size()) return FAIL;
    if (size != 0 && size > data_.size() - offset) return FAIL;
    // Draws still waiting in a batch must see the old contents.
    if (device_) device_->OnVertexBufferLock(this);
    locked_ = true;
    *data = data_.data() + offset;
    return OK;
}

HResult GlVertexBuffer::Unlock() {
    if (!locked_) return FAIL;
    locked_ = false;
    if (device_) device_->OnVertexBufferUnlock(this);
    return OK;
}

GlTexture::GlTexture(GlDevice* device, uint32_t name, uint32_t width, uint32_t height, std::string sourceFile,
                     bool opaque)
    : device_(device), name_(name), width_(width), height_(height), sourceFile_(std::move(sourceFile)),
      opaque_(opaque) {}

GlTexture::~GlTexture() {
    if (device_) device_->OnTextureDestroyed(this);
}

}  // namespace plat
