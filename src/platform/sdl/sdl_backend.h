// The real backend: an SDL2 window with an OpenGL (compatibility profile) device.
#pragma once
#include <memory>
#include "platform/backend.h"

namespace plat {
std::unique_ptr<Backend> CreateSdlBackend();
}
